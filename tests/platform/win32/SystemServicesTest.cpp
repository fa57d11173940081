#include "support/FileTree.h"
#include "support/TempHome.h"
#include "win32/Folders.h"
#include "win32/InstanceLock.h"
#include "win32/PerformanceCounter.h"
#include "win32/VersionInfo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Folder(int id)
{
    std::string path;
    EXPECT_TRUE(UserFolderPath(id, path));
    return path;
}

// Sets or clears an environment variable for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_Name(name)
    {
        const char* old = getenv(name);
        m_Had = old != nullptr;
        m_Old = old ? old : "";
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_Had)
            setenv(m_Name, m_Old.c_str(), 1);
        else
            unsetenv(m_Name);
    }

private:
    const char* m_Name;
    bool m_Had;
    std::string m_Old;
};

} // namespace

TEST(Folders, FollowTheXdgVariablesAndFallBackToHome)
{
    bbtest::TempHome home;
    EXPECT_EQ(home.DataHome(), Folder(CSIDL_PERSONAL));
    EXPECT_EQ(home.ConfigHome(), Folder(CSIDL_APPDATA));
    {
        // Empty and relative values do not count; a trailing '/' is dropped.
        ScopedEnv data("XDG_DATA_HOME", "");
        ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(home.Path() + "/.local/share", Folder(CSIDL_PERSONAL));
        EXPECT_EQ(home.Path() + "/.config", Folder(CSIDL_APPDATA));
    }
    {
        ScopedEnv data("XDG_DATA_HOME", (home.Path() + "/docs//").c_str());
        EXPECT_EQ(home.Path() + "/docs", Folder(CSIDL_PERSONAL));
    }
    {
        // A home as long as a folder variable may be (4,095 bytes) is named whole, the
        // fallback's part added: a folder too long for the system is the saves' to refuse.
        const std::string longHome = "/" + std::string(4094, 'h');
        ScopedEnv data("XDG_DATA_HOME", nullptr);
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        ScopedEnv homeVariable("HOME", longHome.c_str());
        EXPECT_EQ(longHome + "/.local/share", Folder(CSIDL_PERSONAL));
        EXPECT_EQ(longHome + "/.config", Folder(CSIDL_APPDATA));
    }
    std::string path = "junk";
    EXPECT_FALSE(UserFolderPath(0x26, path));
    EXPECT_EQ("", path);
}

TEST(InstanceLock, SecondHolderIsToldAndLockIsFreedWithItsHolder)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/BLUX.lock";
    ASSERT_EQ(INSTANCE_LOCK_TAKEN, TakeInstanceLock(path));
    EXPECT_EQ(INSTANCE_LOCK_TAKEN, TakeInstanceLock(path)); // asking again is harmless

    // Another open file description (as another process would have) cannot lock it.
    int other = open(path.c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    EXPECT_EQ(-1, flock(other, LOCK_EX | LOCK_NB));
    EXPECT_EQ(EWOULDBLOCK, errno);

    ReleaseInstanceLock(path);
    ASSERT_EQ(0, flock(other, LOCK_EX | LOCK_NB));
    EXPECT_EQ(INSTANCE_LOCK_HELD_ELSEWHERE, TakeInstanceLock(path));
    close(other); // the holder ends: its lock goes with it
    EXPECT_EQ(INSTANCE_LOCK_TAKEN, TakeInstanceLock(path));
    ReleaseInstanceLock(path);

    EXPECT_EQ(INSTANCE_LOCK_UNAVAILABLE, TakeInstanceLock(home.Path() + "/missing/BLUX.lock"));
}

// What may stand where the lock goes, and whether the lock may be taken there: only a plain
// file, or nothing (a plain file is made). Anything else (a link wherever it leads, a FIFO, a
// folder) is a lock that cannot be taken, and taking it neither waits nor changes anything:
// no file is made or emptied where a link leads, a FIFO is never waited on.
TEST(InstanceLock, OnlyAPlainFileOrNothingAtItsPlaceIsTakenAndNoLinkIsFollowed)
{
    namespace fs = std::filesystem;
    struct Place
    {
        const char* what;
        std::function<void(const std::string& lock, const std::string& folder)> make;
        bool taken;
    };
    const std::string card = "Player2.card";
    const Place places[] = {
        {"nothing", [](const std::string&, const std::string&) {}, true},
        {"a plain file",
         [](const std::string& lock, const std::string&) { bbtest::WriteFile(lock, "old"); }, true},
        {"a link to a card",
         [&](const std::string& lock, const std::string& folder) {
             fs::create_symlink(folder + "/" + card, lock);
         },
         false},
        {"a relative link to a card",
         [&](const std::string& lock, const std::string&) { fs::create_symlink(card, lock); },
         false},
        {"a link to a missing card",
         [](const std::string& lock, const std::string& folder) {
             fs::create_symlink(folder + "/Player3.card", lock);
         },
         false},
        {"a link to a file elsewhere",
         [](const std::string& lock, const std::string& folder) {
             fs::create_symlink(folder + "/elsewhere/notes", lock);
         },
         false},
        {"a link to nothing elsewhere",
         [](const std::string& lock, const std::string& folder) {
             fs::create_symlink(folder + "/elsewhere/none", lock);
         },
         false},
        {"a link to a FIFO",
         [](const std::string& lock, const std::string& folder) {
             fs::create_symlink(folder + "/elsewhere/fifo", lock);
         },
         false},
        {"a FIFO",
         [](const std::string& lock, const std::string&) {
             ASSERT_EQ(0, ::mkfifo(lock.c_str(), 0600));
         },
         false},
        {"a folder",
         [](const std::string& lock, const std::string&) {
             fs::create_directories(lock + "/inside");
         },
         false},
        // A plain file, but a card's: a lock is a file of its own (the turn to save keeps the
        // same rule).
        {"a second name of a card",
         [&](const std::string& lock, const std::string& folder) {
             fs::create_hard_link(folder + "/" + card, lock);
         },
         false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(std::string("the lock's place holds ") + place.what);
        bbtest::TempHome home;
        const std::string folder = home.Path() + "/cards";
        const std::string lock = folder + "/BLUX.lock";
        bbtest::WriteFile(folder + "/" + card, "Player { guid = 2 }\n");
        bbtest::WriteFile(folder + "/elsewhere/notes", "mine\n");
        ASSERT_EQ(0, ::mkfifo((folder + "/elsewhere/fifo").c_str(), 0600));
        place.make(lock, folder);
        const auto before = bbtest::TreeOf(folder);

        std::string why;
        const InstanceLockResult result = TakeInstanceLock(lock, &why);
        EXPECT_EQ(place.taken ? INSTANCE_LOCK_TAKEN : INSTANCE_LOCK_UNAVAILABLE, result);
        // What stands there is said: a link with where it leads.
        const std::string what = place.what;
        if (what == "a second name of a card") {
            EXPECT_EQ("it is a second name of another file", why);
        } else if (!place.taken) {
            EXPECT_NE(std::string::npos, why.find(", not a plain file")) << why;
        }
        if (what.find("link") != std::string::npos) {
            EXPECT_EQ("it is a link to \"" + fs::read_symlink(lock).string() +
                          "\", not a plain file",
                      why);
        }
        EXPECT_EQ(place.taken, IsInstanceLockHeld(lock));
        ReleaseInstanceLock(lock);
        // Nothing changed but the lock file made where there was nothing.
        auto after = bbtest::TreeOf(folder);
        if (what == "nothing") {
            EXPECT_EQ("file ", after["BLUX.lock"]);
            after.erase("BLUX.lock");
        }
        EXPECT_EQ(before, after);
    }
}

TEST(VersionInfo, TheRunningProgramCarriesTheBuildVersion)
{
    unsigned handle = 7;
    unsigned size = GetFileVersionInfoSizeA("/proc/self/exe", &handle);
    ASSERT_GT(size, 0u);
    EXPECT_EQ(0u, handle);
    std::vector<char> block(size);
    ASSERT_NE(0, GetFileVersionInfoA("/proc/self/exe", 0, size, block.data()));

    void* value = nullptr;
    unsigned length = 0;
    ASSERT_NE(0, VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(4u, length);
    uint16_t translation[2];
    std::memcpy(translation, value, 4);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(0x04b0, translation[1]);

    ASSERT_NE(0, VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", &value,
                                &length));
    EXPECT_STREQ("1.0.0.0", static_cast<const char*>(value));
    EXPECT_EQ(8u, length);
    EXPECT_EQ(
        0, VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\Comments", &value, &length));
    EXPECT_EQ(0, VerQueryValueA(block.data(), "\\StringFileInfo\\04070000\\FileVersion", &value,
                                &length));

    // Other files carry none.
    errno = 0;
    EXPECT_EQ(0u, GetFileVersionInfoSizeA("/bin/sh", &handle));
    EXPECT_EQ(ENODATA, errno);
    EXPECT_EQ(0u, GetFileVersionInfoSizeA("/no/such/program", &handle));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_EQ(0, GetFileVersionInfoA("/proc/self/exe", 0, size - 1, block.data()));
}

TEST(PerformanceCounter, CountsNanosecondsForward)
{
    int64_t frequency = 0, first = 0, second = 0;
    ASSERT_NE(0, QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(1000000000, frequency);
    ASSERT_NE(0, QueryPerformanceCounter(&first));
    usleep(2000);
    ASSERT_NE(0, QueryPerformanceCounter(&second));
    EXPECT_GE(second - first, 2000000);
}
