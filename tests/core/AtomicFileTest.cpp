// Whole-file writes on a disk that fills up, and the clean-up of what a killed save left.
#include "core/AtomicFile.h"
#include "core/OutputCapture.h"
#include "support/FileSizeLimit.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

using bbtest::Names;

namespace {


} // namespace

TEST(AtomicFile, AWriteThatRunsOutOfRoomKeepsTheOldFileAndLeavesNothingBehind)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/files/settings.cfg";
    bbtest::WriteFile(path, "old contents\n");

    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(64, [&] {
        int error = TryWriteFileAtomically(path, std::string(1000, 'x'));
        try {
            WriteFileAtomically(path, std::string(1000, 'y'));
        } catch (const FileWriteError& e) {
            std::printf("%s|%s|%s\n", e.GetPath().c_str(), e.GetCause().c_str(), e.what());
        }
        return error;
    });
    EXPECT_EQ(EFBIG, run.status);
    EXPECT_EQ(path + "|File too large|Could not write file:\nfile = " + path +
                  "\nerror = File too large\n",
              run.output);
    EXPECT_EQ("old contents\n", bbtest::ReadFile(path));
    EXPECT_EQ(std::set<std::string>{"settings.cfg"}, Names(home.Path() + "/files"));

    // With room, the new text replaces the old one whole.
    EXPECT_EQ(0, TryWriteFileAtomically(path, "new\n"));
    EXPECT_EQ("new\n", bbtest::ReadFile(path));
    EXPECT_EQ(ENOENT, TryWriteFileAtomically(home.Path() + "/missing/x.cfg", "x"));
}

TEST(AtomicFile, OnlyTheFilesOwnTemporaryNamesAreRemovedAsStale)
{
    bbtest::TempHome home;
    const std::string folder = home.Path() + "/cfg/";
    const std::string path = folder + "settings.cfg";
    bbtest::WriteFile(path, "kept\n");
    const std::set<std::string> others = {
        "settings.cfg",           "settings.cfg.bad",         "settings.cfg.backup",
        "settings.cfg.tmp.Ab12C", "settings.cfg.tmp.Ab12Cd7", "settings.cfg.tmp.Ab-2Cd",
        "other.cfg.tmp.Ab12Cd",   "xsettings.cfg.tmp.Ab12Cd"};
    for (const std::string& name : others)
        if (name != "settings.cfg")
            bbtest::WriteFile(folder + name, "x");
    bbtest::WriteFile(folder + "settings.cfg.tmp.Ab12Cd", std::string(4096, 'p'));
    bbtest::WriteFile(folder + "settings.cfg.tmp.ZZZZZZ", "");
    // A folder of that shape is not a file this program made.
    std::filesystem::create_directories(folder + "settings.cfg.tmp.dir000");

    EXPECT_TRUE(IsTemporaryFileNameOf("settings.cfg.tmp.Ab12Cd", "settings.cfg"));
    bbtest::OutputCapture out(1);
    EXPECT_EQ(2, RemoveStaleTemporaryFiles(path));
    std::string log = out.Text();
    EXPECT_NE(std::string::npos, log.find("Removed \"" + folder +
                                          "settings.cfg.tmp.Ab12Cd\", left over from a save "
                                          "of \"" +
                                          path + "\" that did not finish.\n"))
        << log;

    std::set<std::string> expected = others;
    expected.insert("settings.cfg.tmp.dir000");
    EXPECT_EQ(expected, Names(folder));
    EXPECT_EQ(0, RemoveStaleTemporaryFiles(home.Path() + "/no/such/folder/settings.cfg"));

    // A temporary name made by a write is one the clean-up recognises.
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(
        16, [&] { return TryWriteFileAtomically(path, std::string(100, 'z')); });
    EXPECT_EQ(EFBIG, run.status);
    EXPECT_EQ(expected, Names(folder));
}

// Setting aside renames the user's own entry: a link to a device goes, the device stays
// (the tests run as root on CI machines, where renaming /dev/full would break the system).
TEST(AtomicFile, SettingAsideNeverMovesADeviceNorALinkToIt)
{
    bbtest::TempHome home;
    const std::string link = home.Path() + "/Player1.card";
    std::filesystem::create_symlink("/dev/null", link);
    EXPECT_FALSE(KeepFileAside(link, "it is a device"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(link + ".bad"));

    EXPECT_FALSE(KeepFileAside("/dev/null", "it is a device"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_FALSE(std::filesystem::exists("/dev/null.bad"));
}
