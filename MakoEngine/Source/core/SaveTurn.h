#pragma once
// The turn to check and write the user's files in one folder. A saver holds it from the check
// that a file is still the one it read (core/FileIdentity) to the end of its write, so two
// copies of the game saving into one folder at the same moment take turns, and the second sees
// the first one's file.
//
// The turn is an advisory lock (flock) on a lock file of the game's own, kLockName, in the
// folder of the file really written (the folder a link leads to, so copies that reach one file
// by different paths or homes take turns). The file is made mode 0600 and opened without
// following a link; one that is not a plain file of this user's with one name is never used.
// In the game's own folders (mode 0700) no other user can open it. The system lets go of the
// lock when a holder ends, also after a crash. The holder writes a record of itself into the
// file (kRecordTag, its process id and start time) so that a waiting copy can tell a copy of
// the game from any other program holding the lock, also across process namespaces.
//
// A turn is waited for a bounded time only, and only for a copy of the game: every turn taken
// while a Pass lives shares one budget (kPassBudgetMs), and a turn taken outside a pass has a
// budget of its own. A stopped copy is not waited for, nor a holder without a record past
// kRecordGraceMs unless it is running (a copy the processor keeps waiting mid-hand-over).
// A stop signal (core/StopSignal) cuts every wait after it to at most kStopGraceMs in all,
// so the program answers it at once. When the turn cannot be had, IsHeld is false and Why says
// why: the saver then keeps its file as it is and says so, never writing without the turn.
#include <string>
#include <vector>

class SaveTurn
{
public:
    // Whether taking the turn may wait for a holder (within the budget) or only tries once.
    enum Patience { WAIT, NO_WAIT };

    // Takes the turn of the folder that holds the file at path (through its links).
    explicit SaveTurn(const std::string& path, Patience patience = WAIT);
    ~SaveTurn();
    SaveTurn(const SaveTurn&) = delete;
    SaveTurn& operator=(const SaveTurn&) = delete;

    // Whether this process holds the turn.
    bool IsHeld() const { return m_Held; }
    // Why the turn could not be had ("" when it is held).
    const std::string& Why() const { return m_Why; }
    // The errno value when the file's folder or link cannot be reached, or the lock file cannot
    // be made there (a write there would fail the same way); 0 otherwise.
    int GetError() const { return m_Error; }

    // One save pass (every card, the configuration, a quit's saves): the turns taken while it
    // lives share one budget of waiting. Passes nest; the outermost sets the budget.
    class Pass
    {
    public:
        Pass();
        ~Pass();
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;
    };

    // The game's own folders (the cards', the configuration's), where the lock file stays
    // between turns. Once they are named, a turn taken in any other folder (the folder a
    // player's link leads to) removes its lock file as it lets go, so that nothing of the
    // game's is left there; until then every lock file stays.
    static void KeepLocksIn(const std::vector<std::string>& folders);

    // The name of the lock file in a folder.
    static const char* const kLockName;
    // What the holder's record starts with.
    static const char* const kRecordTag;
    // How long one save pass waits in all for copies of the game holding turns.
    static constexpr int kPassBudgetMs = 3000;
    // How long every wait together lasts once a stop signal came.
    static constexpr int kStopGraceMs = 250;
    // How long a holder is given to show a record from when a waiting copy first sees it
    // without one (a copy writes its record just after it took the lock, and clears it as it
    // lets go).
    static constexpr int kRecordGraceMs = 200;

private:
    int m_Fd = -1;
    bool m_Held = false;
    int m_Error = 0;
    std::string m_Why;
    std::string m_LockPath;
    std::string m_Folder;

    bool OpenLock(const std::string& folder);
    void Wait(const std::string& folder, Patience patience);
    // Whether the holder the system names (0: none named) is a copy of the game.
    bool IsCopy(int holder) const;
    // Whether to stop waiting for that holder (a copy of the game, or seen without a record
    // for unrecordedMs) after waitedMs, with the reason in m_Why.
    bool GiveUp(const std::string& folder, int holder, bool copy, long long waitedMs,
                long long unrecordedMs, Patience patience);
    void WriteRecord();
};
