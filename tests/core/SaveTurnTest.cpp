// The turn is a lock file of the game's own that only a copy of the game counts as holding:
// another program or a stopped copy is not waited for, a live copy is waited for one budget a
// save pass, and a stop signal ends every wait at once. The holders are child processes.
#include "core/SaveTurn.h"

#include "core/StopSignal.h"
#include "core/Utility.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

long long MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

// A child process holding the turn of the folder of path as a copy of the game does; killed
// when it goes.
class TurnHolder
{
public:
    explicit TurnHolder(const std::string& path)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            std::abort();
        m_Pid = ::fork();
        if (m_Pid == 0) {
            const SaveTurn turn(path);
            if (::write(ready[1], turn.IsHeld() ? "y" : "n", 1) != 1)
                ::_exit(3);
            for (;;)
                ::pause();
        }
        char answer = 0;
        m_Held = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~TurnHolder()
    {
        ::kill(m_Pid, SIGKILL);
        ::waitpid(m_Pid, nullptr, 0);
    }
    bool Held() const { return m_Held; }
    int Pid() const { return m_Pid; }

private:
    int m_Pid = -1;
    bool m_Held = false;
};

} // namespace

// The lock is a plain file of this user's, mode 0600, in a folder the game made 0700: a link
// in its place is taken away (what it led to untouched), a second name of a card or a FIFO is
// never used, nor is a lock another user made; a lock made wider by an older copy is narrowed.
TEST(SaveTurn, TheLockIsAFileOfTheGamesOwnInAFolderNoOtherUserCanEnter)
{
    TempHome home;
    const std::string folder = home.Path() + "/made/cards";
    CreateDirectories(folder);
    struct stat status;
    ASSERT_EQ(0, ::stat(folder.c_str(), &status));
    EXPECT_EQ(0700u, status.st_mode & 0777);
    const std::string card = folder + "/Player1.card";
    const std::string lock = folder + "/" + SaveTurn::kLockName;
    WriteFile(card, "card");
    {
        const SaveTurn turn(card);
        ASSERT_TRUE(turn.IsHeld()) << turn.Why();
        ASSERT_EQ(0, ::lstat(lock.c_str(), &status));
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(0600u, status.st_mode & 0777);
    }
    fs::remove(lock);
    fs::create_symlink(card, lock);
    EXPECT_TRUE(SaveTurn(card).IsHeld());
    EXPECT_FALSE(fs::is_symlink(lock));
    EXPECT_EQ("card", ReadFile(card));

    fs::remove(lock);
    fs::create_hard_link(card, lock);
    EXPECT_FALSE(SaveTurn(card).IsHeld());
    EXPECT_EQ("card", ReadFile(card));

    fs::remove(lock);
    ASSERT_EQ(0, ::mkfifo(lock.c_str(), 0600));
    const SaveTurn onFifo(card);
    EXPECT_FALSE(onFifo.IsHeld());
    EXPECT_NE(std::string::npos, onFifo.Why().find("is a FIFO")) << onFifo.Why();

    fs::remove(lock);
    WriteFile(lock, "");
    ::chmod(lock.c_str(), 0644);
    EXPECT_TRUE(SaveTurn(card).IsHeld());
    ASSERT_EQ(0, ::stat(lock.c_str(), &status));
    EXPECT_EQ(0600u, status.st_mode & 0777);
    if (::geteuid() == 0) {
        ASSERT_EQ(0, ::chown(lock.c_str(), 65534, 65534));
        const SaveTurn theirs(card);
        EXPECT_FALSE(theirs.IsHeld());
        EXPECT_NE(std::string::npos, theirs.Why().find("another user")) << theirs.Why();
    } else {
        GTEST_SKIP() << "another user's lock needs root to be made: not tried";
    }
}

// A live copy holding the turn is waited for, but every turn of one save pass shares one
// budget; the clean-up at the start never waits. (Which holders are not waited for at all, the
// holder sweep of the real program shows.)
TEST(SaveTurn, ALiveCopyIsWaitedForOneBudgetASavePass)
{
    TempHome home;
    const std::string folder = home.Path() + "/cards";
    fs::create_directories(folder);
    const std::string card = folder + "/Player1.card";
    TurnHolder copy(card);
    ASSERT_TRUE(copy.Held());
    auto start = std::chrono::steady_clock::now();
    {
        const SaveTurn::Pass pass;
        for (const char* name : {"Player1.card", "Player2.card", "Player3.card"}) {
            const SaveTurn turn(folder + "/" + name);
            EXPECT_FALSE(turn.IsHeld());
            EXPECT_NE(std::string::npos, turn.Why().find("another copy of the game (process " +
                                                         std::to_string(copy.Pid())))
                << turn.Why();
        }
    }
    const long long pass = MsSince(start);
    EXPECT_GE(pass, SaveTurn::kPassBudgetMs - 50);
    EXPECT_LT(pass, SaveTurn::kPassBudgetMs + 1000);
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SaveTurn(card, SaveTurn::NO_WAIT).IsHeld());
    EXPECT_LT(MsSince(start), 500);
}

// A stop signal, asked before the wait or during it, ends every wait of the pass within the
// grace a stop leaves, and the reason names the signal.
TEST(SaveTurn, AStopEndsEveryWaitAtOnce)
{
    TempHome home;
    const std::string card = home.Path() + "/Player1.card";
    TurnHolder copy(card);
    ASSERT_TRUE(copy.Held());
    for (const bool during : {true, false}) {
        SCOPED_TRACE(during ? "the stop comes during the wait" : "the stop came before");
        std::thread signal;
        if (during)
            signal = std::thread([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                StopSignal::Request(SIGTERM);
            });
        else
            StopSignal::Request(SIGTERM);
        const auto start = std::chrono::steady_clock::now();
        {
            const SaveTurn::Pass pass;
            for (int i = 0; i < 3; ++i) {
                const SaveTurn turn(card);
                EXPECT_FALSE(turn.IsHeld());
                EXPECT_EQ(0u, turn.Why().find("SIGTERM came while")) << turn.Why();
            }
        }
        EXPECT_LT(MsSince(start), (during ? 300 : 0) + SaveTurn::kStopGraceMs + 500);
        if (signal.joinable())
            signal.join();
        StopSignal::Reset();
    }
}

// Copies taking turns one after another hand the lock on between them: a holder that has just
// taken it and not yet written its record, or is letting go of it, is still a copy of the game.
// A saver among them is never told that another program holds the lock, however long it has
// waited before, nor while a copy that took the lock is kept running before its record.
TEST(SaveTurn, CopiesHandingTheTurnOnAreNeverTakenForAnotherProgram)
{
    TempHome home;
    const std::string card = home.Path() + "/Player1.card";
    int locked[2];
    ASSERT_EQ(0, ::pipe(locked));
    if (const int taking = ::fork(); taking == 0) {
        const int fd =
            ::open((home.Path() + "/" + SaveTurn::kLockName).c_str(), O_RDWR | O_CREAT, 0600);
        if (::flock(fd, LOCK_EX) != 0 || ::write(locked[1], "l", 1) != 1)
            ::_exit(3);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
        while (std::chrono::steady_clock::now() < until) {
        }
        ::_exit(0);
    } else {
        ::close(locked[1]);
        char byte = 0;
        const bool took = ::read(locked[0], &byte, 1) == 1;
        ::close(locked[0]);
        if (took) {
            const SaveTurn turn(card);
            EXPECT_TRUE(turn.IsHeld()) << turn.Why();
        }
        ::waitpid(taking, nullptr, 0);
        ASSERT_TRUE(took) << "the first holder took no lock";
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
    std::vector<int> copies;
    for (int i = 0; i < 3; ++i) {
        const int pid = ::fork();
        if (pid == 0) {
            while (std::chrono::steady_clock::now() < until) {
                const SaveTurn turn(card);
                std::this_thread::sleep_for(std::chrono::milliseconds(turn.IsHeld() ? 30 : 1));
            }
            ::_exit(0);
        }
        copies.push_back(pid);
    }
    int turns = 0;
    while (std::chrono::steady_clock::now() < until) {
        const SaveTurn turn(card);
        EXPECT_TRUE(turn.IsHeld() || turn.Why().find("another copy") == 0) << turn.Why();
        turns += turn.IsHeld();
    }
    for (const int pid : copies)
        ::waitpid(pid, nullptr, 0);
    EXPECT_GT(turns, 0);
}

// Once the game has named its own folders, a turn taken in another folder (where a player's
// link leads) leaves no lock file there when it lets go; in the game's folders the lock stays.
TEST(SaveTurn, ATurnOutsideTheGamesFoldersLeavesNoLockFileBehind)
{
    TempHome home;
    const std::string cards = home.Path() + "/made/cards";
    const std::string outside = home.Path() + "/synced";
    CreateDirectories(cards);
    fs::create_directories(outside);
    SaveTurn::KeepLocksIn({cards + "/"});
    {
        const SaveTurn there(outside + "/Player1.card");
        EXPECT_TRUE(there.IsHeld()) << there.Why();
        EXPECT_TRUE(fs::exists(outside + "/" + SaveTurn::kLockName));
        const SaveTurn own(cards + "/Player1.card");
        EXPECT_TRUE(own.IsHeld()) << own.Why();
    }
    EXPECT_FALSE(fs::exists(outside + "/" + SaveTurn::kLockName));
    EXPECT_TRUE(fs::exists(cards + "/" + SaveTurn::kLockName));
    // A later turn there makes its lock anew, and takes it.
    {
        const SaveTurn again(outside + "/Player1.card");
        EXPECT_TRUE(again.IsHeld()) << again.Why();
    }
    EXPECT_FALSE(fs::exists(outside + "/" + SaveTurn::kLockName));
    SaveTurn::KeepLocksIn({});
}
