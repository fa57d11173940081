#include "core/Log.h"
#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "lua/LuaFunctionList.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

// Starts each test with no lines kept in memory and no log file, restoring the level.
class LogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Level = GetLogLevel();
        m_Echo = GetLogEcho();
        SetLogEcho(false);
        StartLogFile(m_Home.Path() + "/flushed.log");
        SetLogFilePath("");
        ASSERT_EQ(0u, GetPendingLogLineCount());
    }
    void TearDown() override
    {
        SetLogEcho(m_Echo);
        SetLogLevel(m_Level);
        SetLogFilePath("");
    }
    std::string LogPath() const { return m_Home.Path() + "/MakoEngine.log"; }

    bbtest::TempHome m_Home;
    int m_Level = 2;
    bool m_Echo = false;
};

} // namespace

TEST_F(LogTest, LinesBeforeTheFileIsKnownReachItInOrderAndLevelsFilter)
{
    SetLogLevel(2);
    Log("first %d\n", 1);
    LogAtLevel(3, "chatty\n");
    LogAtLevel(2, "second\n");
    bbtest::WriteFile(LogPath(), "stale contents\n");
    StartLogFile(LogPath());
    EXPECT_EQ(0u, GetPendingLogLineCount());
    EXPECT_EQ(LogPath(), GetLogFilePath());
    Log("third\n");
    SetLogLevel(3);
    LogAtLevel(3, "chatty now\n");
    LogAtLevel(4, "trace\n");
    EXPECT_EQ("first 1\nsecond\nCreated log file at \"" + LogPath() +
                  "\"\nWriting previous log entries to disk.\nthird\nchatty now\n",
              bbtest::ReadFile(LogPath()));
}

TEST_F(LogTest, KeptLinesAreCappedAndTheDropIsReported)
{
    for (size_t i = 0; i < MAX_PENDING_LOG_LINES + 5; ++i)
        Log("line %zu\n", i);
    EXPECT_EQ(MAX_PENDING_LOG_LINES, GetPendingLogLineCount());
    StartLogFile(LogPath());
    std::string text = bbtest::ReadFile(LogPath());
    // The two start-up lines pushed out two more: 7 dropped, "line 7" is the oldest kept.
    EXPECT_EQ(0u, text.find("(7 earlier log lines were dropped while the log file could not "
                            "be written.)\nline 7\nline 8\n"))
        << text.substr(0, 200);
    EXPECT_NE(std::string::npos,
              text.find("line 1004\nCreated log file at \"" + LogPath() + "\"\nWriting previous"));
}

TEST_F(LogTest, LinesKeptWhileTheFileCannotBeOpenedFollowLater)
{
    SetLogFilePath(m_Home.Path() + "/missing/MakoEngine.log");
    Log("while broken\n");
    EXPECT_EQ(1u, GetPendingLogLineCount());
    bbtest::WriteFile(LogPath(), "");
    SetLogFilePath(LogPath());
    Log("repaired\n");
    EXPECT_EQ("while broken\nrepaired\n", bbtest::ReadFile(LogPath()));

    try {
        StartLogFile(m_Home.Path() + "/missing/x.log");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Could not open log file:\nfile = " + m_Home.Path() +
                      "/missing/x.log\nerrno = 2\nerror string = No such file or directory",
                  e.GetMessage());
    }
    EXPECT_EQ(LogPath(), GetLogFilePath()); // a failed start keeps the working file
}

TEST_F(LogTest, EntriesAreEchoedOnlyWithTheConsoleUnchanged)
{
    // Without the console standard output stays quiet; the console's start shows the lines
    // still waiting for the file, then every entry.
    {
        bbtest::OutputCapture out(1);
        Log("waiting\n");
        EXPECT_EQ("", out.Text());
    }
    {
        bbtest::OutputCapture out(1);
        SetLogEcho(true);
        EXPECT_EQ("waiting\n", out.Text());
    }
    StartLogFile(LogPath());
    {
        bbtest::OutputCapture out(1);
        Log("%s\n", "100% done");
        EXPECT_EQ("100% done\n", out.Text());
    }
    {
        bbtest::OutputCapture out(1); // keeps the long line off the test's output
        Log("%s", std::string(5000, 'y').c_str());
    }
    SetLogEcho(false);
    {
        bbtest::OutputCapture out(1);
        Log("quiet again\n");
        EXPECT_EQ("", out.Text());
    }
    std::string text = bbtest::ReadFile(LogPath());
    EXPECT_NE(std::string::npos, text.find("waiting\n"));
    EXPECT_NE(std::string::npos, text.find("quiet again\n"));
    EXPECT_NE(std::string::npos, text.find("100% done\nyyy"));
}

TEST_F(LogTest, AnEntryTooLongIsCutAndStillEndsItsLine)
{
    StartLogFile(LogPath());
    // Without a line end of its own and with one: either way the next entry starts a line.
    for (const char* end : {"", "\n"}) {
        Log("%s%s", std::string(5000, 'y').c_str(), end);
        Log("next\n");
    }
    Log("%s\n", std::string(4094, 'z').c_str()); // just fits
    const std::string text = bbtest::ReadFile(LogPath());
    std::string kept;
    for (const char* held : {"5000", "5001"}) {
        const std::string cut = std::string(" [cut: the entry held ") + held + " bytes]\n";
        kept += std::string(4095 - cut.size(), 'y') + cut + "next\n";
    }
    EXPECT_NE(std::string::npos, text.find("\n" + kept));
    EXPECT_EQ(std::string::npos, text.find(std::string(4096, 'y')));
    EXPECT_NE(std::string::npos, text.find("\n" + std::string(4094, 'z') + "\n"));
}

TEST_F(LogTest, LogprintWritesItsTextLiterally)
{
    StartLogFile(LogPath());
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    RegisterLuaFunctions(L);
    EXPECT_EQ(0, luaL_dostring(L, "logprint('%d and %s') logprint(42) logprint()"));
    lua_close(L);
    std::string text = bbtest::ReadFile(LogPath());
    EXPECT_NE(std::string::npos, text.find("disk.\n%d and %s\n42\nnil\n")) << text;
}

TEST_F(LogTest, AFullDiskIsReportedOnceAndTheLinesWaitForTheFile)
{
    bbtest::OutputCapture errors(2);
    StartLogFile("/dev/full");
    Log("one\n");
    Log("two\n");
    std::string said = errors.Text();
    EXPECT_EQ("Warning: Could not write the log file \"/dev/full\": No space left on device. "
              "Log lines are kept in memory until it can be written.\n",
              said);
    EXPECT_EQ(4u, GetPendingLogLineCount()); // the two start-up lines and both entries

    // Once the file can be written, every kept line reaches it in order.
    SetLogFilePath(LogPath());
    Log("three\n");
    EXPECT_EQ(0u, GetPendingLogLineCount());
    EXPECT_EQ("Created log file at \"/dev/full\"\nWriting previous log entries to disk.\n"
              "one\ntwo\nthree\n",
              bbtest::ReadFile(LogPath()));

    // A later failure is reported again.
    bbtest::OutputCapture again(2);
    SetLogFilePath("/dev/full");
    Log("four\n");
    EXPECT_NE(std::string::npos, again.Text().find("Could not write the log file")) << "";
}

TEST_F(LogTest, ALogThatFillsTheDiskEndsInAWholeLineAndWritesNoLineTwice)
{
    const std::string line = "a line of the log, 32 bytes ...\n";
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(200, [&] {
        SetLogFilePath(LogPath());
        for (int i = 0; i < 10; ++i)
            Log("%s", line.c_str());
        return static_cast<int>(GetPendingLogLineCount());
    });
    // Six lines fit in 200 bytes; the seventh and later wait in memory.
    EXPECT_EQ(4, run.status);
    std::string all;
    for (int i = 0; i < 6; ++i)
        all += line;
    EXPECT_EQ(all, bbtest::ReadFile(LogPath()));
}

TEST_F(LogTest, AFifoWhereTheLogGoesIsSetAsideAndALogFileMade)
{
    ASSERT_EQ(0, ::mkfifo(LogPath().c_str(), 0600));
    Log("a line kept before the file\n");
    // Opening a FIFO for writing would wait for a reader for ever.
    ASSERT_EQ(0, TryStartLogFile(LogPath()));
    Log("a line after\n");
    struct stat status;
    ASSERT_EQ(0, ::lstat(LogPath().c_str(), &status));
    EXPECT_TRUE(S_ISREG(status.st_mode));
    ASSERT_EQ(0, ::lstat((LogPath() + ".bad").c_str(), &status));
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    const std::string text = bbtest::ReadFile(LogPath());
    EXPECT_NE(std::string::npos, text.find(".bad\": it is a FIFO, not a regular file")) << text;
    EXPECT_NE(std::string::npos, text.find("a line kept before the file\n")) << text;
    EXPECT_NE(std::string::npos, text.find("a line after\n")) << text;

    // A FIFO put in its place while the game runs is not written to: the lines wait.
    ASSERT_EQ(0, std::rename(LogPath().c_str(), (LogPath() + ".old").c_str()));
    ASSERT_EQ(0, ::mkfifo(LogPath().c_str(), 0600));
    bbtest::OutputCapture err(2);
    Log("a line while it is a FIFO\n");
    EXPECT_NE(std::string::npos, err.Text().find("Could not write the log file")) << err.Text();
    SetLogFilePath("");
}
