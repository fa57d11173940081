#pragma once
// The one keeper of the player's files (cards, the configuration, the debugger's connection
// list, the start-up script): it reads them, holds those that must not be written over, and
// writes them, so that each rule is made in one place:
//
// - what a file was is noted just before it is read (core/FileIdentity), through any link;
// - a held file (one that exists but could not be read or set aside, or that another copy
//   changed after this one read it, or every file of a copy that may not save) is never
//   written, and its hold is said once in the log;
// - a save writes only what this copy changed: bytes that are what this copy read (as its owner
//   would write them: NoteReadAs), or what the file holds, are never written, so a copy that
//   changed nothing never refuses another copy's save, nor touches the file at all;
// - a save that has something to write (bytes other than the file's, over the file this copy
//   read) takes the turn of the folder of the file really written (core/SaveTurn), waiting a
//   bounded time for another copy of the game, and never writes without it;
// - the file is checked against what this copy read before the turn is asked for, and under
//   the turn immediately before the rename: a file another copy changed is kept, and this
//   copy's file is held;
// - the bytes are written beside the target, synced and renamed over it (core/AtomicFile).
//
// Each kind of file has a keeper of its own (its wording names the kind); main thread only.
#include "core/FileIdentity.h"
#include "core/SaveTurn.h"
#include "core/UserDataFile.h"

#include <functional>
#include <map>
#include <string>

// What became of a save.
enum KeeperSaveOutcome {
    KEEPER_SAVED,     // the bytes were written
    KEEPER_UNCHANGED, // the bytes are what this copy read, or what the file holds: nothing of
                      // this copy's is unsaved, and nothing was written
    KEEPER_HELD,      // the file is held: nothing was written
    KEEPER_REFUSED,   // another copy changed the file after this one read it: it is kept, and
                      // held from now on
    KEEPER_NO_TURN,   // the turn could not be had: nothing was written, the file is not held
    KEEPER_FAILED,    // the write failed (error): the old file stays
};

struct KeeperSave
{
    KeeperSaveOutcome outcome;
    std::string reason; // unless saved or unchanged, why not, for the player
    int error;          // the errno value of a failed write, else 0
    // Whether the file now holds the bytes.
    bool IsSaved() const { return outcome == KEEPER_SAVED || outcome == KEEPER_UNCHANGED; }
};

class PlayerFileKeeper
{
public:
    // The log lines of a hold (boost::format): holdFile takes the file's path and the reason
    // ("Warning: the card \"%1%\" stays where it is (%2%): ..."), holdEvery the reason.
    struct Wording
    {
        const char* holdFile;
        const char* holdEvery;
    };
    explicit PlayerFileKeeper(const Wording& wording);
    PlayerFileKeeper(const PlayerFileKeeper&) = delete;
    PlayerFileKeeper& operator=(const PlayerFileKeeper&) = delete;

    // Notes what the file at path is as it is about to be read; a file never noted counts as
    // one that was missing, so a save never writes over a file this copy did not read. What
    // was noted of an earlier read (NoteReadAs) is forgotten.
    void NoteRead(const std::string& path);
    // Notes the bytes this copy would write for what it has just read and taken in (its data
    // as read, mended, in the saver's form): a later save of the same bytes changed nothing
    // of the player's, and is not written.
    void NoteReadAs(const std::string& path, const std::string& bytes);
    // Notes the file and reads it whole (ReadRegularFile).
    UserFileReadResult Read(const std::string& path, std::size_t maxBytes, std::string& text,
                            std::string& reason);
    // Notes the file and runs it as data (RunUserDataFile).
    int Run(LuaPlus::LuaState* state, const std::string& path,
            const LuaPlus::LuaObject& environment, const std::string& what, std::string& error);

    // Holds the file at path for the rest of the run (until Forget), said once in the log
    // (unless the caller said it already: said).
    void Hold(const std::string& path, const std::string& reason, bool said = false);
    // Holds every file for the rest of the run (this copy may not save), said once.
    void HoldEvery(const std::string& reason);
    bool IsHeld(const std::string& path) const;
    // Forgets the hold of the file at path, or of every file (not HoldEvery's).
    void Forget(const std::string& path);
    void ForgetEvery();

    // Writes bytes over the file at path under the rules above. NO_WAIT tries the turn once:
    // when another copy holds it, nothing is written (KEEPER_NO_TURN) and a later save
    // writes the bytes.
    KeeperSave Save(const std::string& path, const std::string& bytes,
                    SaveTurn::Patience patience = SaveTurn::WAIT);

    // Removes what saves of the file at path that a killed process cut short left beside the
    // file it leads to, in the turn of that folder; it never waits for the turn: when the turn
    // is not free at once, nothing is removed (a later start does it). Returns how many were
    // removed.
    static int RemoveStaleSaves(const std::string& path);

    // For tests that race two copies: where a save stands inside its turn. WRITTEN: the bytes
    // are written beside the target and synced, the file not yet checked again; CHECKED: it
    // was checked, the rename comes next.
    enum SaveStage { SAVESTAGE_WRITTEN, SAVESTAGE_CHECKED };
    using SaveGate = std::function<void(SaveStage stage, const std::string& target)>;
    // Calls gate at each stage of every save of this process (null: none). Only test builds
    // install one (the test support, and the test build of the program).
    static void SetSaveGate(SaveGate gate);

private:
    Wording m_Wording;
    std::map<std::string, std::string> m_Held; // path -> why it is held
    std::string m_HoldEveryReason;
    std::map<std::string, FileIdentity> m_Identities;
    // Path -> the bytes this copy would write for what it read (until it writes the file).
    std::map<std::string, std::string> m_ReadAs;

    // The answer of a save the file's check already decides (FileIdentity::CheckBeforeSave);
    // KEEPER_SAVED when the bytes are to be written.
    KeeperSave Decide(const std::string& path, const std::string& bytes);
    // The answer to a save over a file another copy changed after this one read it: the file
    // is kept, and held from now on.
    KeeperSave Refuse(const std::string& path);
    int WriteUnderTurn(const std::string& path, const std::string& bytes, bool& changed);
};
