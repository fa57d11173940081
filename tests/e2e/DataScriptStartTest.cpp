// The real program over a configuration and cards whose scripts would run without end in
// a C call or behind a pcall: it names and sets them aside, starts and quits, and a stop
// signal during such a start ends it at once.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kArgs = {"--console", "--windowed", "--nosound"};
const char kBacktracking[] = "local x = ('a'):rep(3000):find('.-.-.-.-.-.-b')\n";

void WriteHostileFiles()
{
    fs::create_directories(fs::path(GameConfigPath()).parent_path());
    fs::create_directories(fs::path(CardPath(1)).parent_path());
    WriteFile(GameConfigPath(), std::string(kBacktracking) + "LoadConfig { music_volume = 40 }\n");
    WriteFile(CardPath(1), "while true do pcall(function() while true do end end) end\n"
                           "Player { guid = 1 }\n");
    WriteFile(CardPath(2), std::string(kBacktracking) + "Player { guid = 2 }\n");
}

} // namespace

TEST(DataScriptStart, HostileConfigurationAndCardsAreSetAsideAndTheGameRuns)
{
    TempHome home;
    WriteHostileFiles();
    ProgramRun run(kArgs);
    run.Send("Config.music_volume = 33\nAppQuit()\n");
    ASSERT_EQ(0, run.Wait(60000)) << run.Errors() << CrashReports();

    // The warning names the file set aside and the reason (Lua shortens the file's name).
    const std::string log = ReadFile(GameLogPath());
    const std::size_t aside = log.find(GameConfigPath() + ".bad\": ");
    ASSERT_NE(std::string::npos, aside) << log.substr(0, 4000);
    EXPECT_NE(std::string::npos, log.substr(aside, log.find('\n', aside) - aside)
                                     .find("bumperlux.cfg:1: attempt to call method 'find'"));
    EXPECT_TRUE(fs::exists(CardPath(1) + ".bad"));
    EXPECT_TRUE(fs::exists(CardPath(2) + ".bad"));
    EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("music_volume = 33,"));
}

TEST(DataScriptStart, AStopSignalDuringTheStartEndsTheGamePromptly)
{
    TempHome home;
    WriteHostileFiles();
    ProgramRun run(kArgs);
    // Once the configuration is named the start is past it; today's program never got there.
    run.WaitForLogLine(GameConfigPath(), 10000);
    const auto start = std::chrono::steady_clock::now();
    run.Signal(SIGTERM);
    run.Wait(20000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15))
        << "SIGTERM did not end the game: " << run.Errors();
}

TEST(DataScriptStart, AConnectionListThatIsAFifoIsKeptAndTheDebuggerStarts)
{
    TempHome home;
    const std::string list =
        home.ConfigHome() + "/tessarine/bumperlux/RemoteLuaDebuggingServerNetworkConnection.txt";
    fs::create_directories(fs::path(list).parent_path());
    ASSERT_EQ(0, ::mkfifo(list.c_str(), 0600));
    ProgramRun run({"--console", "--windowed", "--nosound", "--luadebugport", "0"});
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait(30000)) << run.Errors() << CrashReports();
    const std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("Lua debugger listening on 127.0.0.1 port "));
    EXPECT_NE(std::string::npos,
              log.find("Warning: the debugger's connection list \"" + list +
                       "\" stays where it is (it could not be read: it is a FIFO, not a "
                       "regular file)"))
        << log.substr(0, 4000);
    EXPECT_TRUE(fs::is_fifo(list));
}
