#include "crashrpt/CrashRpt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

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

} // namespace

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

    EXPECT_EQ("", crashrpt::GenerateErrorReport(nullptr, "text"));
    crashrpt::AddFile(nullptr, "x", "y"); // ignored
}
