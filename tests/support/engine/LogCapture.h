#pragma once
// Points the log at a file of its own while it lives, at log level 3 (everything the game
// writes at level 3 or below), and gives back what was written; the previous log file and
// level come back when it goes. Each capture has its own file, so tests may run side by
// side.
#include "core/Log.h"
#include "support/engine/LogCaptureStart.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace bbtest {

class LogCapture
{
public:
    LogCapture() : m_Previous(GetLogFilePath()), m_Level(GetLogLevel())
    {
        static int count = 0;
        m_Path = ::testing::TempDir() + "log-capture-" + std::to_string(getpid()) + "-" +
                 std::to_string(++count) + ".log";
        StartLogCapture(m_Path);
        SetLogLevel(3);
    }
    ~LogCapture()
    {
        SetLogFilePath(m_Previous);
        SetLogLevel(m_Level);
        std::remove(m_Path.c_str());
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string Text() const
    {
        std::ifstream in(m_Path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

private:
    std::string m_Path;
    std::string m_Previous;
    int m_Level;
};

} // namespace bbtest
