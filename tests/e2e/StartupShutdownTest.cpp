// The real program started headless, driven through its console and quit.
#include "e2e/ProgramRun.h"
#include "e2e/XvfbServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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

} // namespace

TEST(Startup, ConsoleQuitWritesLogAndConfigurationAndShutsDownInOrder)
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

    std::string config = ReadFile(GameConfigPath());
    EXPECT_TRUE(StartsWith(config, "LoadConfig {\n")) << config;
    EXPECT_NE(std::string::npos, config.find("    log_level = 3,\n")) << config;
    EXPECT_NE(std::string::npos, config.find("    music_volume = 50,\n")) << config;
    EXPECT_TRUE(EndsWith(config, "}\n")) << config;
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

TEST(Startup, ConflictingDisplayOptionsFailWithReport)
{
    TempHome home;
    const std::string message =
        "Both fullscreen and windowed modes were specified on the command line. Give only one of "
        "--fullscreen and --windowed (given: \"-f\" and \"--windowed\").";
    {
        // Without the crash reporter the report goes to standard error.
        ProgramRun run({"-f", "--windowed", "--nosound", "--disableCrashRpt"});
        run.CloseInput();
        EXPECT_NE(0, run.Wait());
        std::string report = run.Errors();
        EXPECT_NE(std::string::npos, report.find("Exception Thrown: Exception\n")) << report;
        EXPECT_NE(std::string::npos, report.find(message)) << report;
        EXPECT_NE(std::string::npos,
                  report.find("Function: Application::ConvertCmdLineArgsToProperties"))
            << report;
    }
    // With it, the report is a folder under the support folder.
    ProgramRun run({"-f", "--windowed", "--nosound"});
    run.CloseInput();
    EXPECT_NE(0, run.Wait());
    std::filesystem::path support = std::filesystem::path(GameLogPath()).parent_path();
    int reports = 0;
    for (const auto& entry : std::filesystem::directory_iterator(support)) {
        if (!entry.is_directory())
            continue;
        ++reports;
        std::string text = ReadFile((entry.path() / "Error Report.txt").string());
        EXPECT_NE(std::string::npos, text.find(message)) << text;
    }
    EXPECT_EQ(1, reports);
}

TEST(Startup, CommandLineMistakesAreToldOnStandardErrorInOneLine)
{
    TempHome home;
    const std::string port = "Error: The command line option --luadebugport needs a port number "
                             "from 0 to 65535 (0 picks a free port), not ";
    const struct
    {
        std::vector<std::string> args;
        std::string line;
    } cases[] = {
        {{"-f", "--windowed"},
         "Error: Both fullscreen and windowed modes were specified on the command line. Give only "
         "one of --fullscreen and --windowed (given: \"-f\" and \"--windowed\").\n"},
        {{"--luadebugport", "-1"}, port + "\"-1\".\n"},
        {{"--luadebugport", "65536"}, port + "\"65536\".\n"},
        {{"--luadebugport", "abc"}, port + "\"abc\".\n"},
        {{"--bogus"},
         "Error: The command line option \"--bogus\" is not one this program "
         "knows.\n"},
        {{"--windowed", "extra"},
         "Error: The command line option --windowed takes no value "
         "(given: \"--windowed extra\").\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::vector<std::string> args = c.args;
        args.push_back("--nosound");
        ProgramRun run(args);
        run.CloseInput();
        EXPECT_NE(0, run.Wait());
        // The reason comes before the line naming the report, which still carries it.
        const std::string errors = run.Errors();
        const std::size_t at = errors.find(c.line);
        EXPECT_NE(std::string::npos, at) << errors;
        EXPECT_LT(at, errors.find("the error report was saved in")) << errors;
        EXPECT_NE(std::string::npos, CrashReports().find(c.line.substr(7, 60)));
    }
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
