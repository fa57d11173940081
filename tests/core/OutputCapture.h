#pragma once
// Captures what a test writes to standard output or standard error: while it lives the
// descriptor points at a temporary file; Text() ends the capture and returns the bytes.
#include <cstdio>
#include <string>
#include <unistd.h>

namespace bbtest {

class OutputCapture
{
public:
    explicit OutputCapture(int fd) : m_Fd(fd)
    {
        std::fflush(fd == 1 ? stdout : stderr);
        m_File = std::tmpfile();
        m_Saved = dup(fd);
        dup2(fileno(m_File), fd);
    }
    ~OutputCapture() { Text(); }
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    std::string Text()
    {
        if (m_Saved >= 0) {
            std::fflush(m_Fd == 1 ? stdout : stderr);
            dup2(m_Saved, m_Fd);
            close(m_Saved);
            m_Saved = -1;
            std::rewind(m_File);
            char buffer[4096];
            size_t got;
            while ((got = std::fread(buffer, 1, sizeof buffer, m_File)) > 0)
                m_Text.append(buffer, got);
            std::fclose(m_File);
        }
        return m_Text;
    }

private:
    int m_Fd;
    int m_Saved;
    std::FILE* m_File;
    std::string m_Text;
};

} // namespace bbtest
