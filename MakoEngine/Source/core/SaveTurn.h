#pragma once
// The turn to check and write the user's files in one folder. A saver holds it from the check
// that a file is still the one it read (core/FileIdentity) to the end of its write, so two
// copies of the game saving into one folder at the same moment take turns, and the second sees
// the first one's file. It is an advisory lock (flock) on the folder of the file really
// written (the folder of the file a link leads to, so copies that reach one file by different
// paths or homes take turns), which no file of the user's is ever made for, and which the
// system lets go when a holder ends, also after a crash.
//
// A turn is never skipped: a copy waits for it as long as the holder is alive and not stopped
// (its write may be slow: a network drive, a slow disk). When the turn cannot be had (the
// folder cannot be opened or locked, the holder is stopped, or, where the system does not say
// who holds it, after kUnknownHolderWaitMs), IsHeld is false and Why says why: the saver then
// holds its save and says so, never writing without the turn.
#include <string>

class SaveTurn
{
public:
    // Waits for the turn of the folder that holds the file at path (through its links).
    explicit SaveTurn(const std::string& path);
    ~SaveTurn();
    SaveTurn(const SaveTurn&) = delete;
    SaveTurn& operator=(const SaveTurn&) = delete;

    // Whether this process holds the turn.
    bool IsHeld() const { return m_Held; }
    // Why the turn could not be had ("" when it is held).
    const std::string& Why() const { return m_Why; }
    // The errno value when the file's folder or link cannot be reached at all (a write there
    // would fail the same way); 0 otherwise.
    int GetError() const { return m_Error; }

    // How long a copy waits when the system does not say which process holds the turn.
    static const int kUnknownHolderWaitMs = 60000;

private:
    int m_Fd = -1;
    bool m_Held = false;
    int m_Error = 0;
    std::string m_Why;

    void Wait(const std::string& folder);
};
