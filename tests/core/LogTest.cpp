#include "core/Log.h"
#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "core/Utf8.h"
#include "lua/LuaFunctionList.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <lua.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

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

    // So is one a reader holds open, where a write would not wait: nothing reaches the reader.
    SetLogFilePath("");
    fs::remove(LogPath() + ".bad");
    fs::remove(LogPath());
    ASSERT_EQ(0, ::mkfifo(LogPath().c_str(), 0600));
    const int reader = ::open(LogPath().c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_LE(0, reader);
    ASSERT_EQ(0, TryStartLogFile(LogPath()));
    Log("a line with a reader there\n");
    char got[16];
    EXPECT_GE(0, ::read(reader, got, sizeof got)) << "the log went into the FIFO";
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(LogPath() + ".bad")));
    const bool plain = fs::is_regular_file(fs::symlink_status(LogPath()));
    if (!plain)
        SetLogFilePath(""); // nothing more goes to the FIFO
    ASSERT_TRUE(plain) << "the log's place is still the FIFO";
    EXPECT_NE(std::string::npos, bbtest::ReadFile(LogPath()).find("a line with a reader there\n"));

    // A FIFO put in its place while the game runs is not written to: the lines wait.
    ASSERT_EQ(0, std::rename(LogPath().c_str(), (LogPath() + ".old").c_str()));
    ASSERT_EQ(0, ::mkfifo(LogPath().c_str(), 0600));
    bbtest::OutputCapture err(2);
    Log("a line while it is a FIFO\n");
    EXPECT_NE(std::string::npos, err.Text().find("Could not write the log file")) << err.Text();
    SetLogFilePath("");
}

// However long an entry and whatever its characters (one to four bytes each, after any
// number of single bytes), the cut keeps whole characters only: the log stays valid UTF-8,
// keeps as much of the entry as fits, and still says it was cut.
TEST_F(LogTest, TheCutOfALongEntryNeverSplitsACharacter)
{
    StartLogFile(LogPath());
    const std::string characters[] = {"e", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB1"};
    int entries = 0;
    for (const std::string& character : characters) {
        for (size_t lead = 0; lead < 4; ++lead) {
            for (size_t count : {size_t(2100), 4094 / character.size() + 1}) {
                std::string entry(lead, 'a');
                for (size_t i = 0; i < count; ++i)
                    entry += character;
                entry += "\n";
                if (entry.size() <= 4095)
                    continue;
                SCOPED_TRACE(std::to_string(lead) + " bytes, then " + std::to_string(count) +
                             " characters of " + std::to_string(character.size()) + " bytes");
                bbtest::WriteFile(LogPath(), "");
                Log("%s", entry.c_str());
                ++entries;
                const std::string text = bbtest::ReadFile(LogPath());
                const std::string note =
                    " [cut: the entry held " + std::to_string(entry.size()) + " bytes]\n";
                ASSERT_GT(text.size(), note.size());
                ASSERT_EQ(note, text.substr(text.size() - note.size())) << text.substr(0, 80);
                const std::string kept = text.substr(0, text.size() - note.size());
                EXPECT_EQ(0u, entry.compare(0, kept.size(), kept)) << "a beginning of the entry";
                EXPECT_GT(kept.size() + character.size(), 4095 - note.size()) << "all that fits";
                EXPECT_LE(kept.size(), 4095 - note.size());
                for (size_t at = 0, length = 0; at < text.size(); at += length)
                    ASSERT_NE(Utf8::kInvalid, Utf8::Decode(text, at, length)) << "byte " << at;
            }
        }
    }
    EXPECT_GT(entries, 20);
}

// The log holds only valid UTF-8 whatever an entry quotes: a byte that belongs to no
// well-formed character is written as its escape, characters stay as they are, and an entry
// of such bytes too long for a line is still cut whole.
TEST_F(LogTest, BytesThatAreNoCharacterAreEscapedSoTheLogStaysUtf8)
{
    StartLogFile(LogPath());
    Log("[string \"Player1.card\"]:1: unexpected symbol near '%s'\n", "\xEF");
    Log("%s\n", "caf\xC3\xA9 \xC3 \xED\xA0\x80 \xF0\x9F\x8E\xB1 \xC0\xAF \xFF");
    Log("%s\n", std::string(3000, '\xFE').c_str());
    const std::string text = bbtest::ReadFile(LogPath());
    EXPECT_NE(std::string::npos, text.find("unexpected symbol near '\\xEF'\n")) << text;
    EXPECT_NE(std::string::npos,
              text.find("caf\xC3\xA9 \\xC3 \\xED\\xA0\\x80 \xF0\x9F\x8E\xB1 \\xC0\\xAF \\xFF\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\\xFE\\xFE")) << text.size();
    EXPECT_NE(std::string::npos, text.find(" [cut: the entry held 12001 bytes]\n")) << text.size();
    for (size_t at = 0, length = 0; at < text.size(); at += length)
        ASSERT_NE(Utf8::kInvalid, Utf8::Decode(text, at, length)) << "byte " << at;
}

// Whatever stands where the log goes, the log never writes through a link nor empties
// anything but a log file of its own: a link is replaced by a fresh log file (what it led to
// is untouched) and the log says so; a second name of another file is replaced likewise; a
// FIFO is set aside. Each place is tried at the start and while the game runs.
TEST_F(LogTest, NoLinkOrSecondNameAtTheLogsPlaceIsWrittenThroughOrEmptied)
{
    const std::string cards = m_Home.Path() + "/Player Cards";
    const std::string elsewhere = m_Home.Path() + "/elsewhere";
    const std::string card = cards + "/Player1.card";
    const std::string log = m_Home.Path() + "/Technical Support Files/MakoEngine.log";
    fs::create_directories(fs::path(log).parent_path());
    const std::string cardText = "Player { guid = 1, Name = \"Precious\" }\n";
    struct Place
    {
        const char* what;
        std::function<void(const std::string& log)> make;
        std::string said; // what the log says of what stood in its place
    };
    const Place places[] = {
        {"a link to a card",
         [&](const std::string& log) { fs::create_symlink("../Player Cards/Player1.card", log); },
         "held a link to \"../Player Cards/Player1.card\""},
        {"a link to a file elsewhere",
         [&](const std::string& log) { fs::create_symlink(elsewhere + "/notes", log); },
         "held a link to \"" + elsewhere + "/notes\""},
        {"a link to a missing card",
         [&](const std::string& log) { fs::create_symlink(cards + "/Player3.card", log); },
         "held a link to \"" + cards + "/Player3.card\""},
        {"a link to nothing elsewhere",
         [&](const std::string& log) { fs::create_symlink(elsewhere + "/none", log); },
         "held a link to \"" + elsewhere + "/none\""},
        {"a link to a FIFO",
         [&](const std::string& log) { fs::create_symlink(elsewhere + "/fifo", log); },
         "held a link to \"" + elsewhere + "/fifo\""},
        {"a second name of a card",
         [&](const std::string& log) { fs::create_hard_link(card, log); },
         "held a second name of another file"},
    };
    for (const Place& place : places) {
        for (const bool atStart : {true, false}) {
            SCOPED_TRACE(std::string(place.what) + (atStart ? " at the start" : " while running"));
            bbtest::RemoveTree(cards);
            bbtest::RemoveTree(elsewhere);
            bbtest::WriteFile(card, cardText);
            bbtest::WriteFile(elsewhere + "/notes", "mine\n");
            ASSERT_EQ(0, ::mkfifo((elsewhere + "/fifo").c_str(), 0600));
            fs::remove(log);
            if (atStart) {
                place.make(log);
                Log("a line before the file\n");
                if (TryStartLogFile(log) != 0) {
                    ADD_FAILURE() << "the log could not be started";
                    continue;
                }
            } else {
                ASSERT_EQ(0, TryStartLogFile(log));
                fs::remove(log);
                place.make(log);
                bbtest::OutputCapture err(2); // the refused write is said there
                Log("a line while it is there\n");
                EXPECT_EQ(1u, GetPendingLogLineCount());
            }
            Log("a line after\n");
            EXPECT_EQ(cardText, bbtest::ReadFile(card));
            EXPECT_EQ("mine\n", bbtest::ReadFile(elsewhere + "/notes"));
            EXPECT_FALSE(fs::exists(fs::symlink_status(cards + "/Player3.card")));
            EXPECT_FALSE(fs::exists(fs::symlink_status(elsewhere + "/none")));
            EXPECT_TRUE(fs::is_fifo(fs::symlink_status(elsewhere + "/fifo")));
            if (!atStart) {
                SetLogFilePath("");
                continue;
            }
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(log)));
            EXPECT_EQ(1u, fs::hard_link_count(log));
            const std::string text = bbtest::ReadFile(log);
            EXPECT_NE(std::string::npos, text.find("a line before the file\n")) << text;
            EXPECT_NE(std::string::npos, text.find("a line after\n")) << text;
            EXPECT_NE(std::string::npos, text.find("The log's place \"" + log + "\" " + place.said))
                << text;
            SetLogFilePath("");
        }
    }
}
