// What a file was when it was read, and what a save over it may do: a save goes ahead only
// over the file it read (or where nothing stands now), whatever another writer changed:
// the bytes at the same size and time, the time alone, the file behind a link.
#include "core/FileIdentity.h"
#include "core/AtomicFile.h"
#include "core/SaveTurn.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// Writes bytes at path as another copy of the game would, then gives the file the times it
// had before: only its bytes tell the change.
void RewriteKeepingTimes(const std::string& path, const std::string& bytes)
{
    struct stat before;
    ASSERT_EQ(0, ::stat(path.c_str(), &before));
    WriteFile(path, bytes);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), times, 0));
}

// Moves the file's modification time on by a second, its bytes unchanged.
void Touch(const std::string& path)
{
    struct stat now;
    ASSERT_EQ(0, ::stat(path.c_str(), &now));
    struct timespec times[2] = {now.st_atim, now.st_mtim};
    times[1].tv_sec += 1;
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), times, 0));
}

} // namespace

TEST(FileIdentity, ASaveGoesAheadOnlyOverTheFileItRead)
{
    TempHome home;
    const std::string path = home.Path() + "/Player1.card";

    // Missing when read: it must still be missing, or the newer file is kept.
    const FileIdentity none = FileIdentity::Of(path);
    EXPECT_TRUE(none.IsMissing());
    EXPECT_EQ(FILESAVE_WRITE, none.CheckBeforeSave(path, "mine"));
    WriteFile(path, "theirs");
    EXPECT_EQ(FILESAVE_CHANGED, none.CheckBeforeSave(path, "mine"));
    EXPECT_EQ(FILESAVE_CHANGED, FileIdentity().CheckBeforeSave(path, "mine"));

    // Read: unchanged bytes need no save, changed ones go over the file read.
    const FileIdentity read = FileIdentity::Of(path);
    EXPECT_TRUE(read.Holds("theirs"));
    EXPECT_EQ(FILESAVE_UNCHANGED, read.CheckBeforeSave(path, "theirs"));
    EXPECT_EQ(FILESAVE_WRITE, read.CheckBeforeSave(path, "mine"));

    // Another writer's bytes at the same size and time, or the same bytes at a new time.
    RewriteKeepingTimes(path, "THEIRS");
    EXPECT_EQ(FILESAVE_CHANGED, read.CheckBeforeSave(path, "mine"));
    // Bytes that are what was read lose nothing of this copy's: the newer file stays.
    EXPECT_EQ(FILESAVE_UNCHANGED, read.CheckBeforeSave(path, "theirs"));
    const FileIdentity reread = FileIdentity::Of(path);
    Touch(path);
    EXPECT_FALSE(reread.IsStill(path));
    EXPECT_EQ(FILESAVE_CHANGED, reread.CheckBeforeSave(path, "mine"));

    // Gone: writing loses nobody's save.
    fs::remove(path);
    EXPECT_EQ(FILESAVE_WRITE, reread.CheckBeforeSave(path, "mine"));

    // After this copy's own write, the written file is the one read; a write by another copy
    // right after it still shows.
    ASSERT_EQ(0, TryWriteFileAtomically(path, "mine"));
    const FileIdentity written = FileIdentity::OfWritten(path, "mine");
    EXPECT_TRUE(written.IsStill(path));
    EXPECT_EQ(FILESAVE_UNCHANGED, written.CheckBeforeSave(path, "mine"));
    EXPECT_EQ(FILESAVE_WRITE, written.CheckBeforeSave(path, "mine, later"));
    RewriteKeepingTimes(path, "MINE");
    EXPECT_EQ(FILESAVE_CHANGED, written.CheckBeforeSave(path, "mine, later"));
}

TEST(FileIdentity, AFileIsKnownThroughItsLinkAndNothingElseIsEverTakenForIt)
{
    TempHome home;
    const std::string target = home.Path() + "/synced/Player1.card";
    const std::string link = home.Path() + "/Player1.card";
    WriteFile(target, "card");
    ASSERT_EQ(0, ::symlink(target.c_str(), link.c_str()));
    const FileIdentity read = FileIdentity::Of(link);
    EXPECT_TRUE(read.Holds("card"));
    EXPECT_EQ(FILESAVE_WRITE, read.CheckBeforeSave(link, "card, played"));
    // Another copy saved through the target's own name.
    WriteFile(target, "card, theirs");
    EXPECT_EQ(FILESAVE_CHANGED, read.CheckBeforeSave(link, "card, played"));

    // What cannot be read whole is never written over: a folder, a FIFO.
    const std::string folder = home.Path() + "/Player2.card";
    fs::create_directories(folder);
    EXPECT_FALSE(FileIdentity::Of(folder).IsMissing());
    EXPECT_EQ(FILESAVE_CHANGED, FileIdentity::Of(folder).CheckBeforeSave(folder, "card"));
    const std::string fifo = home.Path() + "/Player3.card";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    EXPECT_EQ(FILESAVE_CHANGED, FileIdentity::Of(fifo).CheckBeforeSave(fifo, "card"));
}

// One turn per folder the files really lie in: a second turn of the same folder (here asked
// by this process, which never waits for itself) is not had and says why, another folder is
// another turn, and a folder that is not there gives none.
TEST(SaveTurn, CopiesSavingIntoOneFolderTakeTurns)
{
    TempHome home;
    const std::string path = home.Path() + "/cards/Player1.card";
    fs::create_directories(home.Path() + "/cards");
    fs::create_symlink(path, home.Path() + "/Player1.card");
    {
        const SaveTurn first(path);
        EXPECT_TRUE(first.IsHeld());
        const SaveTurn second(home.Path() + "/cards/bumperlux.cfg");
        EXPECT_FALSE(second.IsHeld());
        EXPECT_NE(std::string::npos, second.Why().find("holds the turn")) << second.Why();
        // A link is the folder of its target.
        EXPECT_FALSE(SaveTurn(home.Path() + "/Player1.card").IsHeld());
        EXPECT_TRUE(SaveTurn(home.Path() + "/settings.cfg").IsHeld());
    }
    EXPECT_TRUE(SaveTurn(path).IsHeld());
    EXPECT_FALSE(SaveTurn(home.Path() + "/missing/Player1.card").IsHeld());
}
