#include "core/PlayerFileKeeper.h"

#include "core/AtomicFile.h"
#include "core/Log.h"
#include "core/SaveTurn.h"

#include <boost/format.hpp>

#include <dirent.h>

#include <cerrno>
#include <cstring>

namespace {

// Made on first use: a test build installs its gate during static initialisation.
PlayerFileKeeper::SaveGate& Gate()
{
    static PlayerFileKeeper::SaveGate gate;
    return gate;
}

// Whether a save of the file at path that was cut short left a temporary file beside the file
// its links lead to.
bool HasTemporaryFiles(const std::string& path)
{
    const LinkTarget target = FollowLinks(path);
    if (target.error != 0)
        return false;
    const std::string folder = FolderOf(target.path);
    const std::string name = target.path.substr(target.path.rfind('/') + 1);
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(entries))
        if (IsTemporaryFileNameOf(entry->d_name, name)) {
            found = true;
            break;
        }
    ::closedir(entries);
    return found;
}

void PassGate(PlayerFileKeeper::SaveStage stage, const std::string& target)
{
    if (Gate())
        Gate()(stage, target);
}

} // namespace

PlayerFileKeeper::PlayerFileKeeper(const Wording& wording) : m_Wording(wording) {}

void PlayerFileKeeper::SetSaveGate(SaveGate gate)
{
    Gate() = std::move(gate);
}

void PlayerFileKeeper::NoteRead(const std::string& path)
{
    m_Identities[path] = FileIdentity::Of(path);
    m_ReadAs.erase(path);
}

void PlayerFileKeeper::NoteReadAs(const std::string& path, const std::string& bytes)
{
    m_ReadAs[path] = bytes;
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
    // Most starts find nothing to remove, and make no lock either.
    if (!HasTemporaryFiles(path))
        return 0;
    // Never waits: a copy saving there now keeps its files, and a later start removes them.
    const SaveTurn turn(path, SaveTurn::NO_WAIT);
    return turn.IsHeld() ? RemoveStaleTemporaryFiles(path) : 0;
}

KeeperSave PlayerFileKeeper::Refuse(const std::string& path)
{
    Hold(path, kFileChangedSinceRead);
    return KeeperSave{KEEPER_REFUSED, kFileChangedSinceRead, 0};
}

KeeperSave PlayerFileKeeper::Decide(const std::string& path, const std::string& bytes)
{
    switch (m_Identities[path].CheckBeforeSave(path, bytes)) {
    case FILESAVE_UNCHANGED:
        return KeeperSave{KEEPER_UNCHANGED, "", 0};
    case FILESAVE_CHANGED:
        return Refuse(path);
    case FILESAVE_WRITE:
        break;
    }
    return KeeperSave{KEEPER_SAVED, "", 0};
}

KeeperSave PlayerFileKeeper::Save(const std::string& path, const std::string& bytes,
                                  SaveTurn::Patience patience)
{
    if (!m_HoldEveryReason.empty())
        return KeeperSave{KEEPER_HELD, m_HoldEveryReason, 0};
    const auto held = m_Held.find(path);
    if (held != m_Held.end())
        return KeeperSave{KEEPER_HELD, held->second, 0};
    // Nothing of this copy's to save: whatever another copy made of the file since stays.
    const auto readAs = m_ReadAs.find(path);
    if (readAs != m_ReadAs.end() && readAs->second == bytes)
        return KeeperSave{KEEPER_UNCHANGED, "", 0};
    // Bytes the file holds already, or a file another copy saved since, need no turn: the
    // turn is taken only to write.
    const KeeperSave decided = Decide(path, bytes);
    if (decided.outcome != KEEPER_SAVED)
        return decided;
    // From the check before the rename to the rename: another copy saving there now waits
    // for it, and one that saved while this one waited is seen by that check.
    const SaveTurn turn(path, patience);
    // A folder or link that cannot be reached fails as the write would.
    if (turn.GetError() != 0)
        return KeeperSave{KEEPER_FAILED, std::strerror(turn.GetError()), turn.GetError()};
    if (!turn.IsHeld()) {
        Log("Warning: \"%s\" was not saved: %s. The file stays as it was.\n", path.c_str(),
            turn.Why().c_str());
        return KeeperSave{KEEPER_NO_TURN, turn.Why(), 0};
    }
    bool changed = false;
    if (const int error = WriteUnderTurn(path, bytes, changed))
        return changed ? Refuse(path) : KeeperSave{KEEPER_FAILED, std::strerror(error), error};
    // From now on the written file is what this copy compares with.
    m_Identities[path] = FileIdentity::OfWritten(path, bytes);
    m_ReadAs.erase(path);
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
