#pragma once
// The turn to check and write the user's files in one folder. A saver holds it from the check
// that a file is still the one it read (core/FileIdentity) to the end of its write, so two
// copies of the game saving into one folder at the same moment take turns, and the second sees
// the first one's file. It is an advisory lock (flock) on the folder itself, which no file of
// the user's is ever made for, and which the system lets go when a holder ends, also after a
// crash.
//
// A folder that cannot be opened or locked gives no turn (the check and write go on, as they
// would fail or succeed anyway); a turn another process keeps past the wait is not waited for
// any longer (a copy stopped in the middle of a save must not stop the others saving).
#include <string>

class SaveTurn
{
public:
    // Waits at most waitMs for the turn of the folder that holds the file at path.
    explicit SaveTurn(const std::string& path, int waitMs = kDefaultWaitMs);
    ~SaveTurn();
    SaveTurn(const SaveTurn&) = delete;
    SaveTurn& operator=(const SaveTurn&) = delete;

    // Whether this process holds the turn.
    bool IsHeld() const { return m_Held; }

    // Far longer than any save of a card or the configuration takes.
    static const int kDefaultWaitMs = 2000;

private:
    int m_Fd = -1;
    bool m_Held = false;
};
