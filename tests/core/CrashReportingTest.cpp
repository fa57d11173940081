#include "core/CrashReporting.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/OutputCapture.h"
#include "core/UserDataFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void Install(std::vector<std::string> args, const std::string& folder)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(&arg[0]);
    InstallCrashReporter(static_cast<int>(argv.size()), argv.data(), "bumperlux", folder);
}

} // namespace

TEST(CrashReporting, AReportCopiesTheLargestCardOrConfigurationTheGameReads)
{
    EXPECT_GE(crashrpt::kMaxAttachmentBytes, kUserFileMaxBytes);
}

TEST(CrashReporting, DisabledByTheOptionInAnyCase)
{
    UninstallCrashReporter();
    Install({"bumperlux", "--windowed", "--DISABLECRASHRPT"}, "/unused");
    EXPECT_FALSE(IsCrashReportingEnabled());
    Install({"--disableCrashRpt"}, "/unused"); // the program path is not an option
    EXPECT_TRUE(IsCrashReportingEnabled());
    UninstallCrashReporter();
    EXPECT_FALSE(IsCrashReportingEnabled());
}

TEST(CrashReporting, ReportGoesToAReportFolderWithTheAttachedFiles)
{
    bbtest::TempHome home;
    std::string support = home.DataHome() + "/bumperlux Documents/Technical Support Files";
    std::string logPath = support + "/MakoEngine.log";
    bbtest::WriteFile(logPath, "");
    StartLogFile(logPath);
    bbtest::WriteFile(home.Path() + "/bumperlux.cfg", "Config_Data = {}\n");
    AddCrashReportFile(home.Path() + "/bumperlux.cfg", "Global Config File");
    AddCrashReportFile(logPath, "Engine Log File");
    Install({"bumperlux"}, support);
    ASSERT_TRUE(IsCrashReportingEnabled());

    ResourceNotFoundException error(MAKO_WHERE, "No resource named Ball.png", "Ball.png");
    {
        bbtest::OutputCapture err(2);
        error.Report();
        EXPECT_NE(std::string::npos,
                  err.Text().find("Crash Report for bumperlux: the error report was saved in"));
    }
    UninstallCrashReporter();
    SetLogFilePath("");

    std::string report;
    for (const auto& entry : fs::directory_iterator(support)) {
        if (entry.is_directory())
            report = entry.path().string();
    }
    ASSERT_FALSE(report.empty());
    std::string text = bbtest::ReadFile(report + "/Error Report.txt");
    EXPECT_EQ(0u, text.find("Crash Report for bumperlux\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\n\n" + error.ToString() + "\n\nAttached files:\n"))
        << text;
    EXPECT_NE(std::string::npos,
              text.find("\tGlobal Config File: " + home.Path() + "/bumperlux.cfg (copied"))
        << text;
    EXPECT_EQ("Config_Data = {}\n", bbtest::ReadFile(report + "/bumperlux.cfg"));
    // The log was written before the report, so its copy holds the error too.
    EXPECT_NE(std::string::npos,
              bbtest::ReadFile(report + "/MakoEngine.log").find(error.ToString() + "\n"));
}

TEST(CrashReporting, WithoutReporterTheReportIsLoggedAndShown)
{
    UninstallCrashReporter();
    bbtest::TempHome home;
    StartLogFile(home.Path() + "/MakoEngine.log");
    ScriptError error(MAKO_WHERE, "attempt to call a nil value");
    std::string shown;
    {
        bbtest::OutputCapture err(2);
        error.Report();
        shown = err.Text();
    }
    SetLogFilePath("");
    EXPECT_NE(std::string::npos, shown.find("[Stop] Error\n" + error.ToString() + "\n")) << shown;
    EXPECT_EQ(0u, error.ToString().find("Exception Thrown: ScriptError\n"));
    EXPECT_NE(std::string::npos,
              bbtest::ReadFile(home.Path() + "/MakoEngine.log").find(error.ToString() + "\n"));
}

TEST(CrashReporting, NoMailerPromptAsksInANoticeBox)
{
    EXPECT_STREQ("We were unable to automatically detect an application that could be\n"
                 "used to send e-mail.  If you would still like to help us diagnose\n"
                 "the cause of the error, we can save the error report to a location\n"
                 "of your choosing.  This report can then be e-mailed to us manually.\n\n"
                 "To save the report, press OK.  Otherwise, press Cancel to exit.\n",
                 CRASH_REPORT_NO_MAILER_TEXT);
    bbtest::OutputCapture err(2);
    EXPECT_TRUE(CrashReportNoMailerPrompt());
    EXPECT_NE(std::string::npos,
              err.Text().find(std::string("[Notice] Notice\n") + CRASH_REPORT_NO_MAILER_TEXT));
}

TEST(CrashReporting, AFaultLeavesAReportWithTheFilesAttachedAfterInstalling)
{
    bbtest::TempHome home;
    const std::string support = home.DataHome() + "/bumperlux Documents/Technical Support Files/";
    const std::string logPath = support + "MakoEngine.log";
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGSEGV, SIG_DFL); // not the sanitizer's report: the program's own end
        UninstallCrashReporter();
        Install({"bumperlux"}, support);
        bbtest::WriteFile(logPath, "Starting main loop.\n");
        AddCrashReportFile(logPath, "Engine Log File");
        // An address no page holds, read from a volatile so that no compiler sees through it.
        volatile std::uintptr_t unmapped = 16;
        *reinterpret_cast<volatile int*>(unmapped) = 1;
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(SIGSEGV, WTERMSIG(status));

    std::string report;
    for (const auto& entry : fs::directory_iterator(support))
        if (entry.is_directory())
            report = entry.path().string();
    ASSERT_FALSE(report.empty());
    const std::string text = bbtest::ReadFile(report + "/Error Report.txt");
    EXPECT_NE(std::string::npos, text.find("SIGSEGV (invalid memory access), at address 0x10.\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("\nBacktrace:\n")) << text;
    EXPECT_EQ("Starting main loop.\n", bbtest::ReadFile(report + "/MakoEngine.log"));
}
