// Another process holds a lock on every folder and file the game made in its home (found by
// walking the home, not from a list): another program of the same user, a program of another
// user, a copy of the game (allowed beside it, --multiapp) inside its turn (live, stopped, or
// killed there), also from outside the game's process namespace. Whatever holds what, the game
// starts, saves a changed card, quits and answers SIGTERM, each within its bound; a save that could
// not have its turn wrote nothing and was said in SaveData()'s answer; and only a card that changed
// asks for the turn at all. Each kind of holder is a case of its own, and prints its times.
#include "core/SaveTurn.h"
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kHolderArgs = {"--console", "--windowed", "--nosound", "--multiapp"};

// The bounds, in milliseconds, past what a start without any holder takes (start) or on their
// own. A holder that is no live copy of the game is not waited for; a live copy is waited for
// one budget per save pass; a stop cuts every wait short.
const int kStartSlackMs = 2500;
const int kNoWaitMs = 1500;
const int kBudgetWaitMs = SaveTurn::kPassBudgetMs + 2000;
const int kSigtermMs = 2000;

enum HolderKind {
    OTHER_PROGRAM, // another program of the same user
    OTHER_USER,    // a program of another user (nobody)
    LIVE_COPY,     // a copy of the game inside its turn
    STOPPED_COPY,  // the same, stopped there
    KILLED_COPY,   // the same, killed there
};

// Whether the holder keeps the game's save from being made.
bool KeepsTheTurn(HolderKind kind)
{
    return kind == OTHER_PROGRAM || kind == LIVE_COPY || kind == STOPPED_COPY;
}

// Whether the game waits for the holder (a budget) rather than giving up at once.
bool IsWaitedFor(HolderKind kind)
{
    return kind == LIVE_COPY;
}

long long MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

// Every folder and file the game made below the data and configuration homes.
std::vector<std::string> WalkTheHome(const TempHome& home)
{
    std::vector<std::string> found;
    for (const std::string& root : {home.DataHome(), home.ConfigHome()}) {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(root, error))
            found.push_back(entry.path().string());
    }
    return found;
}

// Whether the holder is a copy of the game (run with --multiapp, so it holds no
// single-instance lock).
bool IsCopy(HolderKind kind)
{
    return kind == LIVE_COPY || kind == STOPPED_COPY || kind == KILLED_COPY;
}

// Whether the path is a single-instance lock.
bool IsInstanceLock(const fs::path& place)
{
    return place.extension() == ".lock" && place.filename() != SaveTurn::kLockName;
}

// A process that holds a lock on every path it can open: as another user (nobody), or as a copy
// of the game taking the turn of each folder whose turn lock it finds (the others locked
// plainly, but for the single-instance lock). It answers how many it holds and then waits to
// be killed.
class Holder
{
public:
    Holder(const std::vector<std::string>& paths, HolderKind kind)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            std::abort();
        m_Pid = ::fork();
        if (m_Pid == 0) {
            ::close(ready[0]);
            Hold(paths, kind, ready[1]);
        }
        ::close(ready[1]);
        char text[32] = {};
        const ssize_t length = ::read(ready[0], text, sizeof text - 1);
        ::close(ready[0]);
        m_Held = length > 0 ? std::atoi(text) : -1;
    }
    ~Holder() { Kill(); }
    int Held() const { return m_Held; }
    void Signal(int number) { ::kill(m_Pid, number); }
    void Kill()
    {
        if (m_Pid <= 0)
            return;
        ::kill(m_Pid, SIGKILL);
        ::waitpid(m_Pid, nullptr, 0);
        m_Pid = -1;
    }

private:
    int m_Pid = -1;
    int m_Held = 0;

    [[noreturn]] static void Hold(const std::vector<std::string>& paths, HolderKind kind, int out)
    {
        if (kind == OTHER_USER &&
            (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(2);
        const bool copy = IsCopy(kind);
        std::vector<std::unique_ptr<SaveTurn>> turns;
        int held = 0;
        for (const std::string& path : paths) {
            const fs::path place(path);
            if (copy && IsInstanceLock(place))
                continue;
            if (copy && place.filename() == SaveTurn::kLockName) {
                turns.push_back(std::make_unique<SaveTurn>((place.parent_path() / "x").string()));
                held += turns.back()->IsHeld() ? 1 : 0;
                continue;
            }
            const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
                ++held;
        }
        const std::string text = std::to_string(held);
        if (::write(out, text.data(), text.size()) < 0)
            ::_exit(3);
        ::close(out);
        for (;;)
            ::pause();
    }
};

// The process of the game itself below a wrapper (unshare forks it), by the children lists.
int GameProcess(int wrapper)
{
    int pid = wrapper;
    for (int depth = 0; depth < 4; ++depth) {
        std::ifstream exe("/proc/" + std::to_string(pid) + "/comm");
        std::string name;
        if (std::getline(exe, name) && name == "bumperlux")
            return pid;
        std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) +
                               "/children");
        int child = 0;
        if (!(children >> child))
            return wrapper;
        pid = child;
    }
    return pid;
}

// Whether a game can run in a process namespace of its own here (unshare needs the right).
bool CanUnshare()
{
    return std::system("unshare -p -f --mount-proc --kill-child true >/dev/null 2>&1") == 0;
}

std::unique_ptr<ProgramRun> StartGame(bool ownNamespace)
{
    if (!ownNamespace)
        return std::make_unique<ProgramRun>(kHolderArgs);
    return std::make_unique<ProgramRun>(
        std::vector<std::string>{"unshare", "-p", "-f", "--mount-proc", "--kill-child"},
        kHolderArgs, "dummy");
}

// Starts the game and waits until it reads console lines; the time that took, or -1.
long long TimedStart(ProgramRun& run, std::chrono::steady_clock::time_point started)
{
    run.Send("io.stderr:write('ready\\n')\n");
    return run.WaitForErrorLine("ready", 60000) ? MsSince(started) : -1;
}

// The card files' bytes.
std::string CardsAsTheyAre()
{
    std::string text;
    for (const auto& entry : fs::directory_iterator(fs::path(CardPath(1)).parent_path()))
        if (entry.path().extension() == ".card")
            text += entry.path().filename().string() + ": " + ReadFile(entry.path().string());
    return text;
}

void SweepOneHolder(HolderKind kind, bool ownNamespace, const char* name)
{
    if (ownNamespace && !CanUnshare())
        GTEST_SKIP() << "no process namespace of its own can be made here";
    if (kind == OTHER_USER && ::geteuid() != 0)
        GTEST_SKIP() << "another user's process needs root to be made";
    TempHome home;
    // The home and its data and configuration folders are open to every user, as they often
    // are: only the game's own folders keep others out.
    for (const std::string& folder : {home.Path(), home.Path() + "/.local"})
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    // Earlier sessions left two named cards.
    auto started = std::chrono::steady_clock::now();
    ProgramRun seed(kHolderArgs);
    const long long baseline = TimedStart(seed, started);
    seed.Send("for s = 1, 2 do Players[s].Name = 'p' .. s end SaveData() AppQuit()\n");
    ASSERT_EQ(0, seed.Wait()) << seed.Errors();
    ASSERT_GT(baseline, 0);

    const std::vector<std::string> paths = WalkTheHome(home);
    long long times[4] = {0, 0, 0, 0}; // start, save pass, quit, SIGTERM
    for (const bool bySigterm : {false, true}) {
        SCOPED_TRACE(bySigterm ? "ended by SIGTERM" : "ended by AppQuit()");
        Holder holder(paths, kind);
        if (kind == OTHER_USER)
            // No other user can open anything the game made.
            EXPECT_EQ(0, holder.Held());
        else
            EXPECT_EQ(static_cast<long>(paths.size()) -
                          (IsCopy(kind) ? std::count_if(paths.begin(), paths.end(),
                                                        [](const std::string& path) {
                                                            return IsInstanceLock(path);
                                                        })
                                        : 0),
                      holder.Held());
        if (kind == STOPPED_COPY)
            holder.Signal(SIGSTOP);
        if (kind == OTHER_PROGRAM && !ownNamespace && !bySigterm) {
            // Without --multiapp the single-instance lock is held too: the start ends at once.
            started = std::chrono::steady_clock::now();
            ProgramRun alone(std::vector<std::string>(kHolderArgs.begin(), kHolderArgs.end() - 1));
            alone.CloseInput();
            EXPECT_EQ(1, alone.Wait(60000)) << alone.Errors();
            EXPECT_LE(MsSince(started), baseline + kStartSlackMs);
        }
        if (kind == KILLED_COPY)
            holder.Kill();
        const std::string before = CardsAsTheyAre();
        // What a copy killed inside its save leaves: the start's clean-up tries to remove it.
        const std::string leftover = CardPath(1) + ".tmp.Kil1ed";
        WriteFile(leftover, "half a card");
        started = std::chrono::steady_clock::now();
        auto run = StartGame(ownNamespace);
        times[0] = TimedStart(*run, started);
        ASSERT_GT(times[0], 0) << run->Errors();
        EXPECT_LE(times[0], baseline + kStartSlackMs) << "the start waited for a holder";
        EXPECT_EQ(before, CardsAsTheyAre());
        // Removed only in the turn, and only while no copy without --multiapp runs.
        EXPECT_EQ(kind == OTHER_PROGRAM || KeepsTheTurn(kind), fs::exists(leftover));
        fs::remove(leftover);

        // Card 1 changes; card 2 does not, and never asks for the turn.
        started = std::chrono::steady_clock::now();
        run->Send("Players[1].Name = 'changed' local ok, unsaved = SaveData() "
                  "io.stderr:write('saved ' .. tostring(ok) .. ' ' .. tostring(unsaved[1]) .. "
                  "' ' .. tostring(unsaved[2]) .. '\\n')\n");
        if (bySigterm && IsWaitedFor(kind)) {
            // SIGTERM while the save waits for the copy's turn: answered at once.
            ASSERT_TRUE(run->WaitForOutputLine("waits for its turn", 30000)) << run->Output();
            started = std::chrono::steady_clock::now();
            ::kill(ownNamespace ? GameProcess(run->GetPid()) : run->GetPid(), SIGTERM);
            EXPECT_EQ(0, run->Wait(60000)) << run->Errors();
            times[3] = MsSince(started);
            EXPECT_LE(times[3], kSigtermMs) << run->Errors();
            EXPECT_EQ(before, CardsAsTheyAre());
            break;
        }
        ASSERT_TRUE(run->WaitForErrorLine("saved ", 60000)) << run->Errors();
        const long long pass = MsSince(started);
        const std::string errors = run->Errors();
        const std::string answer = errors.substr(errors.find("saved "));
        if (KeepsTheTurn(kind)) {
            // Nothing written without the turn, and said where the player looks.
            EXPECT_EQ(0u, answer.find("saved false ")) << answer;
            EXPECT_EQ(std::string::npos, answer.find("saved false nil")) << answer;
            EXPECT_EQ(before, CardsAsTheyAre());
        } else {
            EXPECT_EQ(0u, answer.find("saved true nil nil")) << answer;
            EXPECT_NE(std::string::npos, ReadFile(CardPath(1)).find("changed"));
        }
        EXPECT_NE(std::string::npos, answer.find(" nil\n")) << "card 2 asked for the turn";
        EXPECT_LE(pass, IsWaitedFor(kind) ? kBudgetWaitMs : kNoWaitMs) << answer;
        if (!bySigterm)
            times[1] = pass;

        started = std::chrono::steady_clock::now();
        if (bySigterm)
            ::kill(ownNamespace ? GameProcess(run->GetPid()) : run->GetPid(), SIGTERM);
        else
            run->Send("AppQuit()\n");
        EXPECT_EQ(0, run->Wait(60000)) << run->Errors();
        times[bySigterm ? 3 : 2] = MsSince(started);
        EXPECT_LE(times[bySigterm ? 3 : 2], bySigterm           ? kSigtermMs
                                            : IsWaitedFor(kind) ? kBudgetWaitMs
                                                                : kNoWaitMs + 1000)
            << run->Errors();
        if (KeepsTheTurn(kind)) {
            EXPECT_EQ(before, CardsAsTheyAre());
        }
    }
    std::printf(
        "holder \"%s\" of %zu paths: start %lld ms (%lld ms without a holder), save pass %lld ms, "
        "quit %lld ms, SIGTERM %lld ms\n",
        name, paths.size(), times[0], baseline, times[1], times[2], times[3]);
}

} // namespace

TEST(HolderSweep, AnotherProgramOfTheSameUser)
{
    SweepOneHolder(OTHER_PROGRAM, false, "another program");
}

TEST(HolderSweep, AProgramOfAnotherUser)
{
    SweepOneHolder(OTHER_USER, false, "another user");
}

TEST(HolderSweep, ACopyInsideItsTurn)
{
    SweepOneHolder(LIVE_COPY, false, "a copy in its turn");
}

TEST(HolderSweep, ACopyStoppedInsideItsTurn)
{
    SweepOneHolder(STOPPED_COPY, false, "a stopped copy");
}

TEST(HolderSweep, ACopyKilledInsideItsTurn)
{
    SweepOneHolder(KILLED_COPY, false, "a copy killed in its turn");
}

TEST(HolderSweep, AnotherProgramOutsideTheGamesProcessNamespace)
{
    SweepOneHolder(OTHER_PROGRAM, true, "another program, other namespace");
}

TEST(HolderSweep, ACopyOutsideTheGamesProcessNamespace)
{
    SweepOneHolder(LIVE_COPY, true, "a copy, other namespace");
}
