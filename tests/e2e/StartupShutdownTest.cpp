// The real program started headless, driven through its console and quit.
#include "e2e/ProgramRun.h"
#include "e2e/XvfbServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <vector>

#include <unistd.h>

using namespace bbtest;

namespace {

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every file and folder under the temporary home but the runs' own output files: what a
// run of the program put there, beside the folders the home starts with.
std::set<std::string> UnderHome(const TempHome& home)
{
    std::set<std::string> found;
    const std::filesystem::path root(home.Path());
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = std::filesystem::relative(entry.path(), root).string();
        const bool runOutput = StartsWith(name, "run") && name.find('/') == std::string::npos &&
                               (EndsWith(name, ".out") || EndsWith(name, ".err"));
        if (!runOutput)
            found.insert(name);
    }
    return found;
}

} // namespace

TEST(Startup, ConsoleQuitWritesTheLogKeepsTheConfigurationAndShutsDownInOrder)
{
    TempHome home;
    // The user's configuration asks for the detailed log.
    WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 3,\n}\n");
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();

    std::string log = ReadFile(GameLogPath());
    EXPECT_TRUE(StartsWith(log, "Initializing Mako Engine...\n")) << log.substr(0, 200);
    EXPECT_NE(std::string::npos, log.find("Startup Parameters = {")) << log;
    EXPECT_TRUE(EndsWith(log, "~Application - FINISHED\n")) << log.substr(log.size() - 400);
    EXPECT_NE(std::string::npos, log.find("~Application - SAFE_DELETE(m_Config)\n"));

    // Nothing was changed: the user's file stays as it was.
    EXPECT_EQ("LoadConfig {\n    log_level = 3,\n}\n", ReadFile(GameConfigPath()));
}

namespace {

// One start and quit in a fresh home with the options given: the log it wrote, and the
// configuration it left.
struct LoggedRun
{
    std::string log;
    std::string config;
};

LoggedRun StartAndQuit(const std::vector<std::string>& options, const std::string& userConfig)
{
    TempHome home;
    if (!userConfig.empty())
        WriteFile(GameConfigPath(), userConfig);
    std::vector<std::string> args = {"--console", "--windowed", "--nosound"};
    args.insert(args.end(), options.begin(), options.end());
    ProgramRun run(args);
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
    return {ReadFile(GameLogPath()),
            std::filesystem::exists(GameConfigPath()) ? ReadFile(GameConfigPath()) : std::string()};
}

// The lines the log holds after the level was set: what the level let through.
std::size_t LinesAfterTheLevelWasSet(const std::string& log)
{
    const std::size_t set = log.find("Application::Setting Log Level to ");
    if (set == std::string::npos)
        return 0;
    return static_cast<std::size_t>(std::count(log.begin() + set, log.end(), '\n'));
}

// The configuration's log_level line ("" when it has none).
std::string LogLevelLine(const std::string& config)
{
    const std::size_t at = config.find("log_level = ");
    return at == std::string::npos ? "" : config.substr(at, config.find('\n', at) - at);
}

} // namespace

TEST(Startup, TheLogOptionsSetTheLevelOfThatRunOverTheConfiguration)
{
    // The shipped defaults name a level (1): the options still decide what is written.
    const LoggedRun quiet = StartAndQuit({"--log0"}, "");
    const LoggedRun plain = StartAndQuit({}, "");
    const LoggedRun two = StartAndQuit({"--log2"}, "");
    const LoggedRun chatty = StartAndQuit({"--log4"}, "");
    EXPECT_NE(std::string::npos, quiet.log.find("Application::Setting Log Level to 0\n"));
    EXPECT_NE(std::string::npos, plain.log.find("Application::Setting Log Level to 1\n"));
    EXPECT_NE(std::string::npos, two.log.find("Application::Setting Log Level to 2\n"));
    EXPECT_NE(std::string::npos, chatty.log.find("Application::Setting Log Level to 4\n"));
    std::printf("lines after the level was set: --log0 %zu, none %zu, --log2 %zu, --log4 %zu\n",
                LinesAfterTheLevelWasSet(quiet.log), LinesAfterTheLevelWasSet(plain.log),
                LinesAfterTheLevelWasSet(two.log), LinesAfterTheLevelWasSet(chatty.log));
    EXPECT_LE(LinesAfterTheLevelWasSet(quiet.log), LinesAfterTheLevelWasSet(plain.log));
    EXPECT_LT(LinesAfterTheLevelWasSet(plain.log), LinesAfterTheLevelWasSet(two.log));
    EXPECT_LT(LinesAfterTheLevelWasSet(two.log), LinesAfterTheLevelWasSet(chatty.log));
    // A line of level 3 (the chatty ones) shows only where the level allows it.
    const char* const level3 = "Saving All Player Data...\n";
    for (const LoggedRun* run : {&quiet, &plain})
        EXPECT_EQ(std::string::npos, run->log.find(level3));
    EXPECT_EQ(std::string::npos, two.log.find(level3));
    EXPECT_NE(std::string::npos, chatty.log.find(level3));
    // The level is that run's: the configuration written at the quit keeps its own.
    EXPECT_EQ(LogLevelLine(plain.config), LogLevelLine(quiet.config));
    EXPECT_EQ(LogLevelLine(plain.config), LogLevelLine(chatty.config));

    // A level the user's configuration names gives way to the option, and stays saved.
    const LoggedRun user = StartAndQuit({"--logoff"}, "LoadConfig {\n    log_level = 3,\n}\n");
    EXPECT_NE(std::string::npos, user.log.find("Application::Setting Log Level to 0\n"));
    EXPECT_EQ(std::string::npos, user.log.find(level3));
    EXPECT_EQ("log_level = 3,", LogLevelLine(user.config));
}

TEST(Startup, ConsoleQuitAlsoWorksWithARealWindow)
{
    if (!XvfbServer::IsInstalled())
        GTEST_SKIP() << "Xvfb is not installed";
    TempHome home;
    // The X library keeps some allocations until the process ends.
    WriteFile(home.Path() + "/lsan.supp", "leak:libX11.so\n");
    setenv("LSAN_OPTIONS", ("suppressions=" + home.Path() + "/lsan.supp").c_str(), 1);
    WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 3,\n}\n");
    // A server on a display it picks itself, so that it never races another test's.
    const std::string serverLog = home.Path() + "/xvfb.log";
    XvfbServer server("640x480x24", serverLog);
    ASSERT_NE("", server.GetDisplay()) << ReadFile(serverLog);
    const char* previous = getenv("DISPLAY");
    const std::string saved = previous ? previous : "";
    setenv("DISPLAY", server.GetDisplay().c_str(), 1);
    ProgramRun run({}, {"--console", "--windowed", "--nosound", "--nohwaccel"}, "");
    if (previous)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
    run.Send("SwitchToScreen('SplashScreen')\nAppQuit()\n");
    int status = run.Wait();
    unsetenv("LSAN_OPTIONS");
    ASSERT_EQ(0, status) << run.Errors() << CrashReports() << "X server:\n" << ReadFile(serverLog);
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("Calling SDL_SetVideoMode(640, 480, 32, 0)")) << log;
    EXPECT_TRUE(EndsWith(log, "~Application - FINISHED\n"));
}

TEST(Startup, CommandLineMistakesAreToldInOneLineWithTheOptionsAndNoReport)
{
    TempHome home;
    const struct
    {
        std::vector<std::string> args;
        std::string line; // the first line on standard error
    } cases[] = {
        {{"--bogus"}, "The command line option \"--bogus\" is not one this program knows."},
        {{"--version"}, "The command line option \"--version\" is not one this program knows."},
        {{"stray"}, "The command line word \"stray\" is not an option (options begin with \"-\")."},
        {{"-5"}, "The command line option \"-5\" is not one this program knows."},
        {{""}, "An empty word on the command line is not an option (options begin with \"-\")."},
        {{"--luadebugport", "80", "81"},
         "The command line word \"81\" after \"--luadebugport 80\" is not an option (options "
         "begin with \"-\")."},
        {{"--luadebugport", "70000"},
         "The command line option --luadebugport needs a port number from 0 to 65535 (0 picks "
         "a free port), not \"70000\"."},
        {{"--luadebugger"},
         "The command line option \"--luadebugger\" is not one this program "
         "knows (did you mean \"--luadebug\"?)."},
        {{"--console=no"},
         "The command line option --console takes no value (given: \"--console=no\")."},
        {{"-f", "--windowed"},
         "Both fullscreen and windowed modes were specified on the command line. Give only one "
         "of --fullscreen and --windowed (given: \"-f\" and \"--windowed\")."},
    };
    const std::set<std::string> before = UnderHome(home);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        std::vector<std::string> args = c.args;
        args.push_back("--nosound");
        ProgramRun run(args);
        run.CloseInput();
        EXPECT_EQ(2, run.Wait());
        const std::string errors = run.Errors();
        EXPECT_TRUE(StartsWith(errors, "bumperlux: " + c.line + "\nUsage: bumperlux [option]...\n"))
            << errors;
        EXPECT_NE(std::string::npos, errors.find(" -w --windowed ")) << errors;
        EXPECT_TRUE(EndsWith(errors, "\"bumperlux --help\" says what each does.\n")) << errors;
        EXPECT_LE(std::count(errors.begin(), errors.end(), '\n'), 10) << errors;
        EXPECT_EQ("", run.Output());
        // No crash: no report, and no folder or log made for a start that never began.
        EXPECT_EQ("", CrashReports());
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(GameLogPath()).parent_path()));
        EXPECT_EQ(before, UnderHome(home));
    }
}

TEST(Startup, AnOptionListThatCannotBeWrittenIsAFailureToldOnStandardError)
{
    TempHome home;
    const std::set<std::string> before = UnderHome(home);
    for (const char* help : {"--help", "-h"}) {
        // Standard output is a full device: the list is lost, and the program says so.
        ProgramRun run({"sh", "-c", "exec \"$0\" \"$@\" >/dev/full"}, {help}, "dummy");
        run.CloseInput();
        EXPECT_EQ(1, run.Wait()) << help;
        EXPECT_EQ("bumperlux: The option list could not be written to standard output (No "
                  "space left on device).\n",
                  run.Errors())
            << help;
        EXPECT_EQ(before, UnderHome(home)) << help;
    }
    EXPECT_EQ("", CrashReports());
}

TEST(Startup, HelpListsTheOptionsOnStandardOutput)
{
    TempHome home;
    const std::set<std::string> before = UnderHome(home);
    std::string first;
    for (const char* help : {"--help", "-h"}) {
        ProgramRun run({help});
        run.CloseInput();
        EXPECT_EQ(0, run.Wait()) << help;
        EXPECT_EQ("", run.Errors()) << help;
        const std::string list = run.Output();
        EXPECT_TRUE(StartsWith(list, "Usage: bumperlux [option]...\n")) << list;
        EXPECT_NE(std::string::npos, list.find("  --luadebugport N ")) << list;
        if (first.empty())
            first = list;
        EXPECT_EQ(first, list) << help;
        EXPECT_EQ(before, UnderHome(home)) << help;
    }
    EXPECT_EQ("", CrashReports());
}

TEST(Startup, SecondInstanceExitsWithOneAndLeavesTheFirstLogAlone)
{
    TempHome home;
    ProgramRun first({"--console", "--windowed", "--nosound"});
    // The first instance holds the lock from before its log exists.
    ASSERT_TRUE(first.WaitForLogLine("Starting main loop.")) << first.Errors();
    std::string before = ReadFile(GameLogPath());

    ProgramRun second({"--windowed", "--nosound"});
    second.CloseInput();
    EXPECT_EQ(1, second.Wait());
    std::string after = ReadFile(GameLogPath());
    EXPECT_EQ(0u, after.find(before.substr(0, 40)));

    ProgramRun third({"--windowed", "--nosound", "--multiapp", "--console"});
    third.Send("AppQuit()\n");
    EXPECT_EQ(0, third.Wait());

    first.Send("AppQuit()\n");
    EXPECT_EQ(0, first.Wait());
}

TEST(Startup, ScriptErrorOnTheConsoleDoesNotEndTheGame)
{
    TempHome home;
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("this is not lua\n");
    run.Send("error('boom')\n");
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("boom")) << log;
}
