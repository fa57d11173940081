#pragma once
// Reads the text console (standard input, or any readable descriptor) without ever
// blocking: each call takes what is already waiting, whether the input is a terminal, a
// pipe or a file, so a main loop can poll it once per pass. The descriptor is not changed
// (no O_NONBLOCK), so a terminal shared with the parent shell is left as it was.
#include <string>

class ConsoleInput
{
public:
    // fd is borrowed, not closed; a negative fd is an input that is already at its end.
    explicit ConsoleInput(int fd);

    // Appends every byte waiting on the input (at most about 64 KiB per call) to out and
    // returns how many were appended. Returns 0 when nothing waits or the input has ended.
    size_t ReadAvailable(std::string& out);

    // True once the input reached its end (the writer closed the pipe, end of file) or
    // failed; nothing more is read after that.
    bool AtEnd() const { return m_AtEnd; }

private:
    int m_Fd;
    bool m_AtEnd;
};
