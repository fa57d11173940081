// Two copies of the real program on one home, started as a desktop session and a remote
// login would start them: each with a runtime folder of its own, or none. Every order of
// their wins (a level won raises the card's unlock and saves, as the tally does) and quits
// is played; afterwards the card holds every unlock either copy made, or the second copy was
// refused: at its start (one copy saves at a time), or, when copies are allowed side by side
// (--multiapp), at the save that would have undone the other's, which it says.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// One copy of the game, driven through its console.
class Copy
{
public:
    // runtime: the copy's XDG_RUNTIME_DIR, or "" for none.
    Copy(const std::string& runtime, bool multiapp)
    {
        if (runtime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        std::vector<std::string> args = {"--console", "--windowed", "--nosound"};
        if (multiapp)
            args.push_back("--multiapp");
        m_Run = std::make_unique<ProgramRun>(args);
    }

    // Whether the copy runs and has read the cards (false when it ended instead).
    bool Ready()
    {
        m_Run->Send("io.stderr:write('ready\\n')\n");
        return m_Run->WaitForErrorLine("ready");
    }
    // Wins a level on the card of the slot: raises the card's key by one and saves every
    // card, as the tally of a won level does.
    void Win(int slot, const std::string& key)
    {
        const std::string mode = "Players[" + std::to_string(slot) + "].Game_Modes.Adventure";
        m_Run->Send(mode + "." + key + " = " + mode + "." + key + " + 1 " +
                    "io.stderr:write('won ' .. tostring(SaveData()) .. '\\n')\n");
        EXPECT_TRUE(m_Run->WaitForErrorLine("won ")) << m_Run->Errors();
    }
    int Quit()
    {
        m_Run->Send("AppQuit()\n");
        return m_Run->Wait();
    }
    ProgramRun& Run() { return *m_Run; }

private:
    std::unique_ptr<ProgramRun> m_Run;
};

// The whole number after "key = " in text; -1 when missing.
int NumberAfter(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find(key + " = ");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size() + 3);
}

// The cards and the configuration as earlier sessions left them: cards 1 and 2 named, in the
// Adventure at level 2 of episode 1.
struct Saves
{
    std::string cards[4];
    std::string config;
};

Saves MakeSaves()
{
    Saves saves;
    ProgramRun seed({"--console", "--windowed", "--nosound"});
    seed.Send("for s = 1, 2 do local c = Players[s] c.Name = 'p' .. s "
              "c.Game_Modes = c.Game_Modes or {} c.Game_Modes.Adventure = CreateGameModeTable() "
              "c.Game_Modes.Adventure.LevelUnlocked = 2 end\nAppQuit()\n");
    EXPECT_EQ(0, seed.Wait()) << seed.Errors();
    // A start fills in what a card lacks (the tables of the game modes first used), as the
    // player's own earlier sessions did: the cards are taken as that start leaves them.
    ProgramRun again({"--console", "--windowed", "--nosound"});
    again.Send("AppQuit()\n");
    EXPECT_EQ(0, again.Wait()) << again.Errors();
    for (int slot = 1; slot <= 4; ++slot)
        saves.cards[slot - 1] = ReadFile(CardPath(slot));
    saves.config = ReadFile(GameConfigPath());
    EXPECT_EQ(2, NumberAfter(saves.cards[0], "LevelUnlocked"));
    return saves;
}

void PutBack(const Saves& saves)
{
    for (int slot = 1; slot <= 4; ++slot)
        WriteFile(CardPath(slot), saves.cards[slot - 1]);
    WriteFile(GameConfigPath(), saves.config);
}

// One step of an order: a copy (0 is A, 1 is B) wins or quits.
struct Step
{
    int copy;
    bool win;
};

// Every interleaving of the two copies' steps, each copy's own steps in their order.
void Interleave(const std::vector<Step>& a, const std::vector<Step>& b, std::vector<Step>& done,
                std::vector<std::vector<Step>>& out)
{
    if (a.empty() && b.empty()) {
        out.push_back(done);
        return;
    }
    for (int side = 0; side < 2; ++side) {
        const std::vector<Step>& from = side == 0 ? a : b;
        if (from.empty())
            continue;
        done.push_back(from.front());
        const std::vector<Step> rest(from.begin() + 1, from.end());
        Interleave(side == 0 ? rest : a, side == 0 ? b : rest, done, out);
        done.pop_back();
    }
}

std::vector<std::vector<Step>> Orders(bool aWins, bool bWins)
{
    std::vector<Step> a, b;
    if (aWins)
        a.push_back({0, true});
    a.push_back({0, false});
    if (bWins)
        b.push_back({1, true});
    b.push_back({1, false});
    std::vector<Step> done;
    std::vector<std::vector<Step>> out;
    Interleave(a, b, done, out);
    return out;
}

std::string Describe(const std::vector<Step>& order)
{
    std::string text;
    for (const Step& step : order)
        text += std::string(step.copy == 0 ? "A" : "B") + (step.win ? " wins, " : " quits, ");
    return text;
}

// Plays every order of the copies' steps with --multiapp, A with a runtime folder of its own
// and B with none, each from the same saves; check(order, outputs of A and B) judges each.
// winSlot and winKey give each copy's win.
void PlayEveryOrder(bool aWins, bool bWins, const int winSlot[2], const char* const winKey[2],
                    const std::function<void(const std::vector<Step>&, const std::string*)>& check)
{
    TempHome home;
    const Saves saves = MakeSaves();
    const std::string runtimeA = home.Path() + "/run-a";
    fs::create_directories(runtimeA);
    int runs = 0;
    for (const std::vector<Step>& order : Orders(aWins, bWins)) {
        SCOPED_TRACE(Describe(order));
        PutBack(saves);
        Copy copies[2] = {Copy(runtimeA, true), Copy("", true)};
        ASSERT_TRUE(copies[0].Ready()) << copies[0].Run().Errors();
        ASSERT_TRUE(copies[1].Ready()) << copies[1].Run().Errors();
        for (const Step& step : order) {
            if (step.win)
                copies[step.copy].Win(winSlot[step.copy], winKey[step.copy]);
            else
                EXPECT_EQ(0, copies[step.copy].Quit()) << copies[step.copy].Run().Errors();
        }
        const std::string outputs[2] = {copies[0].Run().Output(), copies[1].Run().Output()};
        check(order, outputs);
        runs += 2;
    }
    std::printf("%d orders, %d runs of the game\n", runs / 2, runs);
}

const char* const kHeld = "\" stays where it is (it changed after this copy of the game read it";

} // namespace

// Without --multiapp the second copy is refused at its start, whatever its runtime folder
// (its own, or none), before or after the first copy's win; the first copy's win stays.
TEST(TwoCopies, ASecondCopyIsRefusedWhateverItsRuntimeFolder)
{
    TempHome home;
    const Saves saves = MakeSaves();
    const std::string runtimeA = home.Path() + "/run-a";
    const std::string runtimeB = home.Path() + "/run-b";
    fs::create_directories(runtimeA);
    fs::create_directories(runtimeB);
    int runs = 0;
    for (const std::string& runtime : {runtimeB, std::string()}) {
        for (bool secondAfterWin : {false, true}) {
            SCOPED_TRACE("B's runtime folder \"" + runtime + "\", B starting " +
                         (secondAfterWin ? "after" : "before") + " A's win");
            PutBack(saves);
            Copy first(runtimeA, false);
            ASSERT_TRUE(first.Ready()) << first.Run().Errors();
            if (secondAfterWin)
                first.Win(1, "LevelUnlocked");
            Copy second(runtime, false);
            second.Run().CloseInput();
            EXPECT_EQ(1, second.Run().Wait()) << second.Run().Errors();
            EXPECT_EQ("Another instance of this program is already running.\n",
                      second.Run().Errors());
            if (!secondAfterWin)
                first.Win(1, "LevelUnlocked");
            EXPECT_EQ(0, first.Quit()) << first.Run().Errors();
            EXPECT_EQ(3, NumberAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
            runs += 2;
        }
    }
    std::printf("%d orders, %d runs of the game\n", runs / 2, runs);
}

// A lock that cannot be taken (something that is no file stands where it goes) is said on
// standard error, and the copy plays without saving anything.
TEST(TwoCopies, ACopyThatCannotTakeTheLockPlaysWithoutSaving)
{
    TempHome home;
    const Saves saves = MakeSaves();
    const fs::path lock = fs::path(CardPath(1)).parent_path() / "BLUX.lock";
    fs::remove(lock);
    fs::create_directories(lock);
    Copy copy(home.RuntimeDir(), false);
    ASSERT_TRUE(copy.Ready()) << copy.Run().Errors();
    copy.Win(1, "LevelUnlocked");
    EXPECT_EQ(0, copy.Quit());
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(saves.cards[slot - 1], ReadFile(CardPath(slot))) << slot;
    EXPECT_EQ(saves.config, ReadFile(GameConfigPath()));
    EXPECT_NE(std::string::npos,
              copy.Run().Errors().find("Warning: the single-instance lock cannot "
                                       "be taken: "))
        << copy.Run().Errors();
    EXPECT_NE(std::string::npos,
              copy.Run().Errors().find("; this copy of the game plays without saving.\n"));
}

// With --multiapp a copy that changed nothing never undoes the other's win, in every order.
TEST(TwoCopies, WithMultiappACopyThatChangedNothingNeverUndoesTheOthersWin)
{
    const int slots[2] = {1, 1};
    const char* const keys[2] = {"LevelUnlocked", "LevelUnlocked"};
    PlayEveryOrder(true, false, slots, keys, [](const std::vector<Step>&, const std::string* out) {
        EXPECT_EQ(3, NumberAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
        for (int copy = 0; copy < 2; ++copy)
            EXPECT_EQ(std::string::npos, out[copy].find(kHeld)) << out[copy];
    });
}

// With --multiapp wins on two cards are both kept, in every order.
TEST(TwoCopies, WithMultiappWinsOnTwoCardsAreBothKept)
{
    const int slots[2] = {1, 2};
    const char* const keys[2] = {"LevelUnlocked", "LevelUnlocked"};
    PlayEveryOrder(true, true, slots, keys, [](const std::vector<Step>&, const std::string*) {
        EXPECT_EQ(3, NumberAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
        EXPECT_EQ(3, NumberAfter(ReadFile(CardPath(2)), "LevelUnlocked"));
    });
}

// With --multiapp two wins on one card: the first saved stays, and the second copy's save is
// refused and said, never written over the first.
TEST(TwoCopies, WithMultiappASecondWinOnOneCardIsRefusedAndSaid)
{
    const int slots[2] = {1, 1};
    const char* const keys[2] = {"LevelUnlocked", "EpisodeUnlocked"};
    PlayEveryOrder(true, true, slots, keys,
                   [](const std::vector<Step>& order, const std::string* out) {
                       // Each copy wins before it quits: the first step is the first win.
                       const int first = order[0].copy;
                       const std::string card = ReadFile(CardPath(1));
                       EXPECT_EQ(first == 0 ? 3 : 2, NumberAfter(card, "LevelUnlocked")) << card;
                       EXPECT_EQ(first == 1 ? 2 : 1, NumberAfter(card, "EpisodeUnlocked")) << card;
                       EXPECT_NE(std::string::npos, out[1 - first].find(kHeld)) << out[1 - first];
                       EXPECT_EQ(std::string::npos, out[first].find(kHeld)) << out[first];
                   });
}
