#include "core/PlayerFileKeeper.h"

#include "core/AtomicFile.h"
#include "core/Log.h"
#include "core/SaveTurn.h"

#include <boost/format.hpp>

#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

PlayerFileKeeper::SaveGate gSaveGate;

// The gate a test names in the environment: says where the save stands, then waits until the
// test makes the file named by the gate's number, or "open", in the folder it names.
void EnvironmentGate(PlayerFileKeeper::SaveStage stage, const std::string& target)
{
    const char* folder = std::getenv("BB_SAVE_GATE");
    if (!folder || !*folder)
        return;
    static int count = 0;
    const int number = ++count;
    std::fprintf(stderr, "save gate %d: %s %s\n", number,
                 stage == PlayerFileKeeper::SAVESTAGE_WRITTEN ? "written" : "checked",
                 target.c_str());
    std::fflush(stderr);
    const std::string open = std::string(folder) + "/open";
    const std::string mine = std::string(folder) + "/" + std::to_string(number);
    while (::access(open.c_str(), F_OK) != 0 && ::access(mine.c_str(), F_OK) != 0) {
        const struct timespec step = {0, 2 * 1000000L};
        ::nanosleep(&step, nullptr);
    }
}

void PassGate(PlayerFileKeeper::SaveStage stage, const std::string& target)
{
    if (gSaveGate)
        gSaveGate(stage, target);
    else
        EnvironmentGate(stage, target);
}

} // namespace

PlayerFileKeeper::PlayerFileKeeper(const Wording& wording) : m_Wording(wording) {}

void PlayerFileKeeper::SetSaveGate(SaveGate gate)
{
    gSaveGate = std::move(gate);
}

void PlayerFileKeeper::NoteRead(const std::string& path)
{
    m_Identities[path] = FileIdentity::Of(path);
}

UserFileReadResult PlayerFileKeeper::Read(const std::string& path, std::size_t maxBytes,
                                          std::string& text, std::string& reason)
{
    NoteRead(path);
    return ReadRegularFile(path, maxBytes, text, reason);
}

int PlayerFileKeeper::Run(LuaPlus::LuaState* state, const std::string& path,
                          const LuaPlus::LuaObject& environment, const std::string& what,
                          std::string& error)
{
    NoteRead(path);
    return RunUserDataFile(state, path, environment, what, error);
}

void PlayerFileKeeper::Hold(const std::string& path, const std::string& reason, bool said)
{
    if (!m_Held.emplace(path, reason).second || said)
        return;
    Log("%s", boost::str(boost::format(m_Wording.holdFile) % path % reason).c_str());
}

void PlayerFileKeeper::HoldEvery(const std::string& reason)
{
    if (!m_HoldEveryReason.empty())
        return;
    m_HoldEveryReason = reason;
    Log("%s", boost::str(boost::format(m_Wording.holdEvery) % reason).c_str());
}

bool PlayerFileKeeper::IsHeld(const std::string& path) const
{
    return !m_HoldEveryReason.empty() || m_Held.count(path) != 0;
}

void PlayerFileKeeper::Forget(const std::string& path)
{
    m_Held.erase(path);
}

void PlayerFileKeeper::ForgetEvery()
{
    m_Held.clear();
}

int PlayerFileKeeper::RemoveStaleSaves(const std::string& path)
{
    const SaveTurn turn(path);
    return turn.IsHeld() ? RemoveStaleTemporaryFiles(path) : 0;
}

KeeperSave PlayerFileKeeper::Save(const std::string& path, const std::string& bytes)
{
    if (!m_HoldEveryReason.empty())
        return KeeperSave{KEEPER_HELD, m_HoldEveryReason, 0};
    const auto held = m_Held.find(path);
    if (held != m_Held.end())
        return KeeperSave{KEEPER_HELD, held->second, 0};
    // From the first check to the rename: another copy saving there now waits for it.
    const SaveTurn turn(path);
    // A folder or link that cannot be reached fails as the write would.
    if (turn.GetError() != 0)
        return KeeperSave{KEEPER_FAILED, std::strerror(turn.GetError()), turn.GetError()};
    if (!turn.IsHeld()) {
        Log("Warning: \"%s\" was not saved: %s. The file stays as it was.\n", path.c_str(),
            turn.Why().c_str());
        return KeeperSave{KEEPER_NO_TURN, turn.Why(), 0};
    }
    switch (m_Identities[path].CheckBeforeSave(path, bytes)) {
    case FILESAVE_UNCHANGED:
        return KeeperSave{KEEPER_UNCHANGED, "", 0};
    case FILESAVE_CHANGED:
        Hold(path, kFileChangedSinceRead);
        return KeeperSave{KEEPER_REFUSED, kFileChangedSinceRead, 0};
    case FILESAVE_WRITE:
        break;
    }
    bool changed = false;
    if (const int error = WriteUnderTurn(path, bytes, changed)) {
        if (changed) {
            Hold(path, kFileChangedSinceRead);
            return KeeperSave{KEEPER_REFUSED, kFileChangedSinceRead, 0};
        }
        return KeeperSave{KEEPER_FAILED, std::strerror(error), error};
    }
    m_Identities[path] = FileIdentity::OfWritten(path, bytes);
    return KeeperSave{KEEPER_SAVED, "", 0};
}

int PlayerFileKeeper::WriteUnderTurn(const std::string& path, const std::string& bytes,
                                     bool& changed)
{
    const FileIdentity& read = m_Identities[path];
    return TryWriteFileAtomically(path, bytes, [&](const std::string& target) {
        PassGate(SAVESTAGE_WRITTEN, target);
        // However long the write took, the file is still the one read, or it is kept.
        if (read.CheckBeforeSave(path, bytes) == FILESAVE_CHANGED) {
            changed = true;
            return ECANCELED;
        }
        PassGate(SAVESTAGE_CHECKED, target);
        return 0;
    });
}
