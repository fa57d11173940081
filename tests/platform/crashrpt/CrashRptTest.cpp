#include "crashrpt/CrashRpt.h"
#include "crashrpt/Attachment.h"
#include "support/FileSizeLimit.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

using bbtest::Names;

namespace {

std::vector<std::pair<std::string, std::string>> g_Attach;
bool g_Proceed = true;

bool AttachFiles(crashrpt::Handle handle)
{
    for (const auto& file : g_Attach)
        crashrpt::AddFile(handle, file.first, file.second);
    return g_Proceed;
}

bool NeverAsked()
{
    ADD_FAILURE() << "the no-mailer prompt was shown";
    return false;
}

std::vector<std::string> Folders(const std::string& parent)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(parent))
        names.push_back(entry.path().filename().string());
    return names;
}

// The one folder below parent, the report's ("" when there is none or more than one).
std::string OnlyFolder(const std::string& parent)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory())
            found.push_back(it->path().string());
    return found.size() == 1 ? found[0] : "";
}

std::string LocalMinute()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H-%M", &local);
    return text;
}

// Runs crash in a child process with a reporter installed over the default handlers; the
// signal the child died of (0 when it did not die of one). Its standard error goes to
// errPath.
int CrashChild(const std::string& reports, const std::string& errPath, void (*crash)())
{
    const pid_t child = fork();
    if (child == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, STDERR_FILENO);
        for (int number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
            std::signal(number, SIG_DFL); // whatever the sanitizers put there
        g_Proceed = true;
        crashrpt::Handle handle =
            crashrpt::Install(&AttachFiles, "", "Crash Report for bumperlux", &NeverAsked, reports);
        for (const auto& file : g_Attach)
            crashrpt::AddFile(handle, file.first, file.second);
        crash();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

} // namespace

TEST(CrashRpt, ACrashSignalWritesAReportWithABacktraceAndEndsTheProgram)
{
    struct Case
    {
        int number;
        void (*crash)();
        const char* says;
    };
    // The report's text; how each signal ends the program, whatever stands in an attachment's
    // place, is the crash sweep's (CrashSweepTest).
    const Case cases[] = {
        {SIGABRT, [] { std::abort(); }, "The program was stopped by signal 6, SIGABRT (abort).\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        bbtest::TempHome home;
        const std::string reports = home.Path() + "/deep/Technical Support Files/";
        bbtest::WriteFile(home.Path() + "/MakoEngine.log", "last words\n");
        g_Attach = {{home.Path() + "/MakoEngine.log", "Engine Log File"},
                    {home.Path() + "/Player1.card", "Player 1 Game Data"}};
        const std::string before = LocalMinute();
        EXPECT_EQ(c.number, CrashChild(reports, home.Path() + "/err.txt", c.crash));
        const std::string after = LocalMinute();

        const std::string folder = OnlyFolder(reports);
        ASSERT_NE("", folder) << "no single report folder in " << reports;
        // The folders it made are the user's alone.
        EXPECT_EQ(fs::perms::owner_all, fs::status(folder).permissions());
        EXPECT_EQ(fs::perms::owner_all, fs::status(reports).permissions());
        const std::string name = fs::path(folder).filename().string();
        EXPECT_TRUE(name.rfind("Error Report " + before, 0) == 0 ||
                    name.rfind("Error Report " + after, 0) == 0)
            << name << " is not local time " << before;
        const std::string text = bbtest::ReadFile(folder + "/Error Report.txt");
        EXPECT_EQ(0u, text.find("Crash Report for bumperlux\nDate: ")) << text;
        const std::size_t trace = text.find(std::string(c.says) + "\nBacktrace:\n");
        const std::size_t files = text.find("\nAttached files:\n");
        ASSERT_NE(std::string::npos, trace) << text;
        ASSERT_NE(std::string::npos, files) << text;
        // Frames of this program, one a line, as addresses at least.
        const std::string frames = text.substr(trace, files - trace);
        EXPECT_NE(std::string::npos, frames.find("test_platform_crashrpt")) << frames;
        EXPECT_NE(std::string::npos, frames.find(")[0x")) << frames;
        EXPECT_NE(std::string::npos, text.find("\tEngine Log File: " + home.Path() +
                                               "/MakoEngine.log (copied as \"MakoEngine.log\")\n"))
            << text;
        EXPECT_NE(std::string::npos,
                  text.find("\tPlayer 1 Game Data: " + home.Path() + "/Player1.card (not found)\n"))
            << text;
        EXPECT_EQ("last words\n", bbtest::ReadFile(folder + "/MakoEngine.log"));
        EXPECT_NE(std::string::npos,
                  bbtest::ReadFile(home.Path() + "/err.txt")
                      .find("Crash Report for bumperlux: the error report was saved in \"" +
                            folder + "\".\n"));
    }
}

namespace {
int g_EarlierHandlerCalls = 0;
void EarlierHandler(int)
{
    ++g_EarlierHandlerCalls;
}
} // namespace

TEST(CrashRpt, ACaughtSignalGoesOnToTheEarlierHandlerWhichUninstallPutsBack)
{
    bbtest::TempHome home;
    struct sigaction original
    {
    };
    sigaction(SIGSEGV, nullptr, &original);
    auto previous = std::signal(SIGILL, &EarlierHandler);
    g_Attach.clear();
    crashrpt::Handle handle =
        crashrpt::Install(&AttachFiles, "", "Subject", &NeverAsked, home.Path() + "/reports");
    std::raise(SIGILL); // the report, then the earlier handler, and the program goes on
    EXPECT_EQ(1, g_EarlierHandlerCalls);
    const std::string folder = OnlyFolder(home.Path() + "/reports");
    ASSERT_NE("", folder);
    EXPECT_NE(std::string::npos, bbtest::ReadFile(folder + "/Error Report.txt")
                                     .find("signal 4, SIGILL (illegal instruction)"));
    crashrpt::Uninstall(handle);

    struct sigaction now
    {
    };
    sigaction(SIGSEGV, nullptr, &now);
    EXPECT_EQ(reinterpret_cast<void*>(original.sa_sigaction),
              reinterpret_cast<void*>(now.sa_sigaction));
    EXPECT_EQ(&EarlierHandler, std::signal(SIGILL, previous));
}

TEST(CrashRpt, ReportFolderHoldsTextAndCopiesOfAttachedFiles)
{
    bbtest::TempHome home;
    std::string support = home.DataHome() + "/bumperlux Documents/Technical Support Files";
    std::string cards = home.DataHome() + "/bumperlux Documents/Player Cards";
    bbtest::WriteFile(cards + "/Player1.card", "return { Name = \"Ann\" }\n");
    bbtest::WriteFile(support + "/MakoEngine.log", "log line\n");
    bbtest::WriteFile(home.Path() + "/other/MakoEngine.log", "other log\n");
    g_Attach = {{cards + "/Player1.card", "Player 1 Game Data"},
                {cards + "/Player2.card", "Player 2 Game Data"},
                {support + "/MakoEngine.log", "Engine Log File"},
                {home.Path() + "/other/MakoEngine.log", "Second Log"}};
    g_Proceed = true;

    crashrpt::Handle handle =
        crashrpt::Install(&AttachFiles, "", "Crash Report for bumperlux", &NeverAsked, support);
    crashrpt::AddFile(handle, cards + "/Player1.card", "Duplicate");
    std::string folder =
        crashrpt::GenerateErrorReport(handle, "Exception Thrown: ScriptError\n\nboom");
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(support), fs::path(folder).parent_path());
    EXPECT_EQ(0u, fs::path(folder).filename().string().find("Error Report "));
    EXPECT_EQ(fs::perms::owner_all, fs::status(folder).permissions());

    std::string text = bbtest::ReadFile(folder + "/Error Report.txt");
    EXPECT_EQ(0u, text.find("Crash Report for bumperlux\nDate: ")) << text;
    EXPECT_NE(std::string::npos,
              text.find("\n\nException Thrown: ScriptError\n\nboom\n\nAttached files:\n"))
        << text;
    // Attached before the callback ran, so it keeps its first description.
    EXPECT_NE(std::string::npos,
              text.find("\tDuplicate: " + cards + "/Player1.card (copied as \"Player1.card\")\n"))
        << text;
    EXPECT_EQ(std::string::npos, text.find("Player 1 Game Data")) << text;
    EXPECT_NE(std::string::npos,
              text.find("\tPlayer 2 Game Data: " + cards + "/Player2.card (not found)\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("(copied as \"2 - MakoEngine.log\")")) << text;

    EXPECT_EQ("return { Name = \"Ann\" }\n", bbtest::ReadFile(folder + "/Player1.card"));
    EXPECT_EQ("log line\n", bbtest::ReadFile(folder + "/MakoEngine.log"));
    EXPECT_EQ("other log\n", bbtest::ReadFile(folder + "/2 - MakoEngine.log"));
    EXPECT_FALSE(fs::exists(folder + "/Player2.card"));

    // A second report in the same second gets a folder of its own.
    std::string second = crashrpt::GenerateErrorReport(handle, "");
    ASSERT_FALSE(second.empty());
    EXPECT_NE(folder, second);
    EXPECT_NE(
        std::string::npos,
        bbtest::ReadFile(second + "/Error Report.txt").find("No error description was given."));
    EXPECT_EQ(3u, Folders(support).size()); // the log and two reports

    // The newest reports are kept, a few; a folder of the user's named like one stays.
    fs::create_directories(support + "/Error Report 2000-01-01 00-00-00/mine");
    for (int i = 0; i < crashrpt::kKeptReports; ++i)
        ASSERT_NE("", crashrpt::GenerateErrorReport(handle, ""));
    EXPECT_EQ(crashrpt::kKeptReports + 1u, Folders(support).size());
    EXPECT_TRUE(fs::exists(support + "/Error Report 2000-01-01 00-00-00/mine"));
    crashrpt::Uninstall(handle);
}

TEST(CrashRpt, NoReportWhenTheCallbackDeclinesOrTheFolderCannotBeMade)
{
    bbtest::TempHome home;
    g_Attach.clear();
    g_Proceed = false;
    crashrpt::Handle handle = crashrpt::Install(&AttachFiles, "support@example.org", "Subject",
                                                &NeverAsked, home.Path() + "/reports");
    EXPECT_EQ("", crashrpt::GenerateErrorReport(handle, "text"));
    EXPECT_FALSE(fs::exists(home.Path() + "/reports"));
    crashrpt::Uninstall(handle);

    g_Proceed = true;
    bbtest::WriteFile(home.Path() + "/file", "x");
    handle =
        crashrpt::Install(&AttachFiles, "", "Subject", &NeverAsked, home.Path() + "/file/reports");
    EXPECT_EQ("", crashrpt::GenerateErrorReport(handle, "text"));
    crashrpt::Uninstall(handle);

    // A link in the report folder's place is not followed.
    fs::create_directory(home.Path() + "/outside");
    fs::create_symlink(home.Path() + "/outside", home.Path() + "/linked");
    handle = crashrpt::Install(&AttachFiles, "", "Subject", &NeverAsked, home.Path() + "/linked/");
    EXPECT_EQ("", crashrpt::GenerateErrorReport(handle, "text"));
    EXPECT_TRUE(fs::is_empty(home.Path() + "/outside"));
    crashrpt::Uninstall(handle);

    EXPECT_EQ("", crashrpt::GenerateErrorReport(nullptr, "text"));
    crashrpt::AddFile(nullptr, "x", "y"); // ignored
}

TEST(CrashRpt, OnAFullDiskAReportIsWholeOrNotThereAndNoHalfCopyIsKept)
{
    bbtest::TempHome home;
    const std::string reports = home.Path() + "/reports";
    bbtest::WriteFile(home.Path() + "/big.log", std::string(4000, 'b'));
    g_Attach = {{home.Path() + "/big.log", "Big Log"}};
    g_Proceed = true;
    crashrpt::Handle handle = crashrpt::Install(&AttachFiles, "", "Subject", &NeverAsked, reports);

    // The attachment does not fit, the report does: it says so and no piece of it is kept.
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(1000, [&] {
        std::string folder = crashrpt::GenerateErrorReport(handle, "short");
        std::printf("%s", folder.c_str());
        return folder.empty() ? 1 : 0;
    });
    ASSERT_EQ(0, run.status);
    EXPECT_EQ(std::set<std::string>{"Error Report.txt"}, Names(run.output));
    const std::string text = bbtest::ReadFile(run.output + "/Error Report.txt");
    EXPECT_NE(std::string::npos,
              text.find("\tBig Log: " + home.Path() + "/big.log (not copied: File too large)\n"))
        << text;
    fs::remove_all(reports);

    // The report itself does not fit: no folder is left to be taken for a report.
    run = bbtest::RunWithFileSizeLimit(1000, [&] {
        return crashrpt::GenerateErrorReport(handle, std::string(2000, 'e')).empty();
    });
    EXPECT_EQ(1, run.status);
    EXPECT_TRUE(!fs::exists(reports) || fs::is_empty(reports));

    crashrpt::Uninstall(handle);
}

TEST(CrashRpt, ACopyThatOutlastsTheReportsTimeIsNotKept)
{
    bbtest::TempHome home;
    bbtest::WriteFile(home.Path() + "/card", "return {}\n");
    timespec passed{};
    clock_gettime(CLOCK_MONOTONIC, &passed);
    passed.tv_sec -= 1;
    char buffer[64];
    const crashrpt::CopyOutcome outcome =
        crashrpt::CopyAttachment((home.Path() + "/card").c_str(), (home.Path() + "/copy").c_str(),
                                 passed, buffer, sizeof buffer);
    EXPECT_EQ(crashrpt::CopyOutcome::OUT_OF_TIME, outcome.kind);
    EXPECT_STREQ("the report ran out of time", crashrpt::ReasonText(outcome));
    EXPECT_FALSE(fs::exists(home.Path() + "/copy"));
}
