// Two copies of the game saving one file at the same moment, each a process of its own with a
// keeper of its own: one copy is held inside its turn (the keeper's save gate) for as long as
// the test likes while the other saves (waiting within its budget, or giving up), or another
// program changes the file. Whatever the order, the file ends with one copy's bytes and the other
// copy was told its save was refused or not made; no save is ever lost without a word. The copies
// reach the file by one path, or from two homes whose cards link to one file.
#include "core/PlayerFileKeeper.h"
#include "core/Log.h"
#include "core/SaveTurn.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const PlayerFileKeeper::Wording kWording = {"held %1%: %2%\n", "held every: %1%\n"};

// One copy's keeper in a child process. It notes the file as read when it starts, saves its
// bytes when told ('s') or removes stale saves ('c', answering how many), and, when gated at a
// stage, says "gate" on reaching it and waits for 'g'. It answers each save with the outcome's
// number.
class KeeperCopy
{
public:
    KeeperCopy(const std::string& path, const std::string& bytes, const std::string& log,
               int gateStage)
        : m_Log(log)
    {
        int toChild[2], fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0)
            std::abort();
        m_Pid = ::fork();
        if (m_Pid == 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            RunChild(path, bytes, log, gateStage, toChild[0], fromChild[1]);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_To = toChild[1];
        m_From = fromChild[0];
        EXPECT_EQ("read", Answer());
    }
    ~KeeperCopy()
    {
        ::close(m_To);
        ::close(m_From);
        int status = 0;
        ::kill(m_Pid, SIGCONT);
        ::waitpid(m_Pid, &status, 0);
    }

    void Tell(char command) { EXPECT_EQ(1, ::write(m_To, &command, 1)); }
    // The child's next answer ("" when it ended).
    std::string Answer()
    {
        std::string line;
        char c;
        while (::read(m_From, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    // Waits until the child's log says it waits for its turn (true) or it answers first
    // (false, the answer kept in answer).
    bool WaitsForItsTurn(std::string& answer)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            if (LogHolds("waits for its turn"))
                return true;
            pollfd ready = {m_From, POLLIN, 0};
            if (::poll(&ready, 1, 5) == 1) {
                answer = Answer();
                return false;
            }
        }
        return false;
    }
    // Whether the child answers within ms milliseconds (the answer is left to Answer).
    bool AnswersWithin(int ms)
    {
        pollfd ready = {m_From, POLLIN, 0};
        return ::poll(&ready, 1, ms) == 1;
    }
    bool LogHolds(const std::string& text) const
    {
        std::error_code ec;
        return fs::exists(m_Log, ec) && ReadFile(m_Log).find(text) != std::string::npos;
    }
    int GetPid() const { return m_Pid; }

private:
    std::string m_Log;
    int m_Pid = -1;
    int m_To = -1;
    int m_From = -1;

    [[noreturn]] static void RunChild(const std::string& path, const std::string& bytes,
                                      const std::string& log, int gateStage, int in, int out)
    {
        SetLogEcho(false);
        SetLogFilePath(log);
        auto say = [out](const std::string& text) {
            const std::string line = text + "\n";
            if (::write(out, line.data(), line.size()) < 0)
                ::_exit(3);
        };
        PlayerFileKeeper::SetSaveGate([&](PlayerFileKeeper::SaveStage stage, const std::string&) {
            if (static_cast<int>(stage) != gateStage)
                return;
            say("gate");
            char c = 0;
            while (::read(in, &c, 1) == 1 && c != 'g') {
            }
        });
        PlayerFileKeeper keeper(kWording);
        keeper.NoteRead(path);
        say("read");
        char command;
        while (::read(in, &command, 1) == 1)
            if (command == 's')
                say(std::to_string(keeper.Save(path, bytes).outcome));
            else if (command == 'c')
                say(std::to_string(PlayerFileKeeper::RemoveStaleSaves(path)));
        ::_exit(0);
    }
};

// Where each copy finds the file: one path, or each its own home with a card that links to
// one file elsewhere (by an absolute link, or a relative one).
struct Layout
{
    const char* name;
    std::string pathA;
    std::string pathB;
    std::string target;
};

std::vector<Layout> Layouts(const std::string& root)
{
    const std::string shared = root + "/shared/Player1.card";
    WriteFile(shared, "read by both");
    fs::create_directories(root + "/homeA/cards");
    fs::create_directories(root + "/homeB/cards");
    fs::create_symlink(shared, root + "/homeA/cards/Player1.card");
    fs::create_symlink("../../shared/Player1.card", root + "/homeB/cards/Player1.card");
    return {{"one path", shared, shared, shared},
            {"two homes linking to one file", root + "/homeA/cards/Player1.card",
             root + "/homeB/cards/Player1.card", shared},
            {"a link and the file", root + "/homeA/cards/Player1.card", shared, shared}};
}

std::string Outcome(KeeperSaveOutcome outcome)
{
    return std::to_string(outcome);
}

} // namespace

// A is held inside its turn, just before its rename, while B saves: B waits for the turn and
// then finds A's file, which it keeps; or B saves first, and A keeps B's. Never both "saved".
TEST(PlayerFileKeeperRace, TheSecondCopyWaitsForTheTurnAndKeepsTheFirstCopysSave)
{
    int races = 0;
    for (const bool aFirst : {true, false}) {
        TempHome home;
        for (const Layout& layout : Layouts(home.Path())) {
            SCOPED_TRACE(std::string(layout.name) + (aFirst ? ", A first" : ", B first"));
            WriteFile(layout.target, "read by both");
            const std::string logs = home.Path() + "/" + std::to_string(races);
            KeeperCopy a(layout.pathA, "A's save", logs + "a.log",
                         PlayerFileKeeper::SAVESTAGE_CHECKED);
            KeeperCopy b(layout.pathB, "B's save", logs + "b.log", -1);
            if (aFirst) {
                a.Tell('s');
                ASSERT_EQ("gate", a.Answer());
                std::string early;
                b.Tell('s');
                EXPECT_TRUE(b.WaitsForItsTurn(early)) << "B saved without the turn: " << early;
                a.Tell('g');
                EXPECT_EQ(Outcome(KEEPER_SAVED), a.Answer());
                EXPECT_EQ(Outcome(KEEPER_REFUSED), early.empty() ? b.Answer() : early);
                EXPECT_EQ("A's save", ReadFile(layout.target));
            } else {
                b.Tell('s');
                EXPECT_EQ(Outcome(KEEPER_SAVED), b.Answer());
                a.Tell('s');
                EXPECT_EQ(Outcome(KEEPER_REFUSED), a.Answer());
                EXPECT_EQ("B's save", ReadFile(layout.target));
            }
            EXPECT_TRUE(fs::is_symlink(home.Path() + "/homeA/cards/Player1.card"));
            ++races;
        }
    }
    std::printf("%d races of two copies\n", races);
}

// Another program changes the file while A's bytes are written: A's check under the turn,
// just before the rename, keeps that file; A's save is refused and nothing of it is left.
TEST(PlayerFileKeeperRace, AFileChangedWhileTheBytesAreWrittenIsKeptAtTheRename)
{
    TempHome home;
    for (const Layout& layout : Layouts(home.Path())) {
        SCOPED_TRACE(layout.name);
        WriteFile(layout.target, "read by both");
        KeeperCopy a(layout.pathA, "A's save", home.Path() + "/a.log",
                     PlayerFileKeeper::SAVESTAGE_WRITTEN);
        a.Tell('s');
        ASSERT_EQ("gate", a.Answer());
        WriteFile(layout.target, "a sync tool's copy");
        a.Tell('g');
        EXPECT_EQ(Outcome(KEEPER_REFUSED), a.Answer());
        EXPECT_EQ("a sync tool's copy", ReadFile(layout.target));
        for (const auto& entry : fs::directory_iterator(fs::path(layout.target).parent_path()))
            EXPECT_EQ(std::string::npos, entry.path().string().find(".tmp.")) << entry.path();
    }
}

// Two copies on one card in a home of its own, A held inside its turn just before its rename.
struct HeldRace
{
    TempHome home;
    std::string path = home.Path() + "/cards/Player1.card";
    std::unique_ptr<KeeperCopy> a;
    std::unique_ptr<KeeperCopy> b;
    HeldRace()
    {
        WriteFile(path, "read by both");
        a = std::make_unique<KeeperCopy>(path, "A's save", home.Path() + "/a.log",
                                         PlayerFileKeeper::SAVESTAGE_CHECKED);
        b = std::make_unique<KeeperCopy>(path, "B's save", home.Path() + "/b.log", -1);
        a->Tell('s');
        EXPECT_EQ("gate", a->Answer());
    }
};

// A's write inside its turn lasts a while (a slow drive): B waits for it within its budget,
// never writing without the turn, and then keeps A's file, also when B was kept from looking
// (stopped) for longer than a holder's grace while A cleared its record to let go. Held past
// the budget, B gives up, writes nothing and says so; its next save finds A's file and keeps
// it. A save with nothing to write never asks for the turn.
TEST(PlayerFileKeeperRace, ACopyInsideItsTurnIsWaitedForWithinTheBudget)
{
    // A busy machine can take longer than B's budget (or the grace) to let A go and land its
    // rename; B then rightly gives up, and the race is run again.
    for (int attempt = 1, stalled = 0; stalled < 2; ++attempt) {
        HeldRace race;
        std::string early;
        auto start = std::chrono::steady_clock::now();
        race.b->Tell('s');
        ASSERT_TRUE(race.b->WaitsForItsTurn(early)) << "B saved without the turn: " << early;
        EXPECT_FALSE(race.b->AnswersWithin(300)) << "B went on without the turn";
        auto allowed = std::chrono::milliseconds(SaveTurn::kPassBudgetMs);
        if (stalled) {
            ::kill(race.b->GetPid(), SIGSTOP);
            ::usleep((SaveTurn::kRecordGraceMs + 100) * 1000);
            fs::resize_file(race.home.Path() + "/cards/" + SaveTurn::kLockName, 0);
            ::kill(race.b->GetPid(), SIGCONT);
            start = std::chrono::steady_clock::now();
            ::usleep(50 * 1000); // B looks while A still waits, not running
            allowed = std::chrono::milliseconds(SaveTurn::kRecordGraceMs);
        }
        race.a->Tell('g');
        EXPECT_EQ(Outcome(KEEPER_SAVED), race.a->Answer());
        const std::string answer = race.b->Answer();
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ("A's save", ReadFile(race.path));
        if (answer == Outcome(KEEPER_NO_TURN) && waited >= allowed && attempt < 5)
            continue;
        EXPECT_EQ(Outcome(KEEPER_REFUSED), answer)
            << (stalled ? "B stalled" : "B looking") << " after " << attempt << " races; B's log:\n"
            << ReadFile(race.home.Path() + "/b.log");
        ++stalled;
        attempt = 0;
    }
    {
        HeldRace race;
        const auto start = std::chrono::steady_clock::now();
        race.b->Tell('s');
        EXPECT_EQ(Outcome(KEEPER_NO_TURN), race.b->Answer());
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_LT(waited, std::chrono::milliseconds(SaveTurn::kPassBudgetMs + 1000));
        EXPECT_EQ("read by both", ReadFile(race.path));
        race.a->Tell('g');
        EXPECT_EQ(Outcome(KEEPER_SAVED), race.a->Answer());
        race.b->Tell('s');
        EXPECT_EQ(Outcome(KEEPER_REFUSED), race.b->Answer());
        EXPECT_EQ("A's save", ReadFile(race.path));
    }
    {
        HeldRace race;
        KeeperCopy same(race.path, "read by both", race.home.Path() + "/c.log", -1);
        const auto start = std::chrono::steady_clock::now();
        same.Tell('s');
        EXPECT_EQ(Outcome(KEEPER_UNCHANGED), same.Answer());
        // Had it asked for the turn, it would have waited the whole budget.
        EXPECT_LT(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(SaveTurn::kPassBudgetMs));
        race.a->Tell('g');
        EXPECT_EQ(Outcome(KEEPER_SAVED), race.a->Answer());
    }
}

// The start-up clean-up of saves a killed copy left never waits: beside a live copy's save in
// its turn it removes nothing, answers at once, and the copy's save lands.
TEST(PlayerFileKeeperRace, TheCleanUpOfStaleSavesNeverWaitsAndLeavesASaveInItsTurnAlone)
{
    HeldRace race;
    const auto start = std::chrono::steady_clock::now();
    race.b->Tell('c');
    EXPECT_EQ("0", race.b->Answer());
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(SaveTurn::kPassBudgetMs));
    race.a->Tell('g');
    EXPECT_EQ(Outcome(KEEPER_SAVED), race.a->Answer());
    EXPECT_EQ("A's save", ReadFile(race.path));
}

// A save that may not wait tries the turn once: beside a copy inside its turn it writes
// nothing, answers within less than a wait would take, and the bytes are written by the next
// save once the turn is free.
TEST(PlayerFileKeeperRace, ASaveThatMayNotWaitTriesTheTurnOnce)
{
    HeldRace race;
    PlayerFileKeeper keeper(kWording);
    const std::string other = race.home.Path() + "/cards/Other.card";
    keeper.NoteRead(other);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KEEPER_NO_TURN, keeper.Save(other, "mine", SaveTurn::NO_WAIT).outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(SaveTurn::kPassBudgetMs));
    EXPECT_FALSE(fs::exists(other));
    race.a->Tell('g');
    EXPECT_EQ(Outcome(KEEPER_SAVED), race.a->Answer());
    EXPECT_EQ(KEEPER_SAVED, keeper.Save(other, "mine", SaveTurn::NO_WAIT).outcome);
    EXPECT_EQ("mine", ReadFile(other));
}

// A copy that saves what it read (its data as its owner would write it) writes nothing,
// whoever saved the file since: the newer file stays and is not held, so the copy's own later
// change over it is refused as any other.
TEST(PlayerFileKeeper, ACopyThatChangedNothingWritesNothingWhoeverSavedSince)
{
    TempHome home;
    const std::string path = home.Path() + "/Player1.card";
    WriteFile(path, "the file as written by hand");
    PlayerFileKeeper keeper(kWording);
    keeper.NoteRead(path);
    keeper.NoteReadAs(path, "as the saver writes it");
    WriteFile(path, "another copy's save");
    EXPECT_EQ(KEEPER_UNCHANGED, keeper.Save(path, "as the saver writes it").outcome);
    EXPECT_EQ("another copy's save", ReadFile(path));
    EXPECT_FALSE(keeper.IsHeld(path));
    EXPECT_EQ(KEEPER_REFUSED, keeper.Save(path, "a change").outcome);
    EXPECT_EQ("another copy's save", ReadFile(path));
    // A fresh read forgets what the earlier one was taken in as.
    keeper.ForgetEvery();
    keeper.NoteRead(path);
    EXPECT_EQ(KEEPER_SAVED, keeper.Save(path, "as the saver writes it").outcome);
    EXPECT_EQ("as the saver writes it", ReadFile(path));
    // A change saved and then undone is saved undone: what was read counts until a write.
    keeper.NoteReadAs(path, "as the saver writes it");
    EXPECT_EQ(KEEPER_SAVED, keeper.Save(path, "changed").outcome);
    EXPECT_EQ(KEEPER_SAVED, keeper.Save(path, "as the saver writes it").outcome);
    EXPECT_EQ("as the saver writes it", ReadFile(path));
}
