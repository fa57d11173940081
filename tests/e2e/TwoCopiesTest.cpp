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
    // runtime: the copy's XDG_RUNTIME_DIR, or "" for none. gate: the folder of its saves'
    // gate (BB_SAVE_GATE of the test build of the program, bumperlux-gated), or "" for none
    // (the game itself). dataHome: its XDG_DATA_HOME, or "" for the test's.
    Copy(const std::string& runtime, bool multiapp, const std::string& gate = "",
         const std::string& dataHome = "")
    {
        if (runtime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        std::vector<std::string> args = {"--console", "--windowed", "--nosound"};
        if (multiapp)
            args.push_back("--multiapp");
        const std::string home = getenv("XDG_DATA_HOME");
        if (!gate.empty())
            setenv("BB_SAVE_GATE", gate.c_str(), 1);
        if (!dataHome.empty())
            setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        if (gate.empty())
            m_Run = std::make_unique<ProgramRun>(args);
        else
            m_Run =
                std::make_unique<ProgramRun>(std::string(BB_BINARY_DIR) + "/bumperlux-gated", args);
        unsetenv("BB_SAVE_GATE");
        setenv("XDG_DATA_HOME", home.c_str(), 1);
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
        StartWin(slot, key);
        FinishWin();
    }
    // The win without waiting for its save: "won true" or "won false" and why the card of the
    // slot was not saved follow on standard error (FinishWin).
    void StartWin(int slot, const std::string& key)
    {
        const std::string mode = "Players[" + std::to_string(slot) + "].Game_Modes.Adventure";
        m_Run->Send(mode + "." + key + " = " + mode + "." + key + " + 1 " +
                    "local ok, unsaved = SaveData() io.stderr:write('won ' .. tostring(ok) .. "
                    "' ' .. tostring(unsaved[" +
                    std::to_string(slot) + "]) .. '\\n')\n");
    }
    // The line of the win's save ("won true nil", "won false <why>").
    std::string FinishWin()
    {
        EXPECT_TRUE(m_Run->WaitForErrorLine("won ")) << m_Run->Errors();
        const std::string errors = m_Run->Errors();
        const std::size_t at = errors.find("won ");
        return at == std::string::npos ? "" : errors.substr(at, errors.find('\n', at) - at);
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
int IntAfter(const std::string& text, const std::string& key)
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
    // Slots 3 and 4 have no card.
    for (int slot = 1; slot <= 2; ++slot)
        saves.cards[slot - 1] = ReadFile(CardPath(slot));
    saves.config = fs::exists(GameConfigPath()) ? ReadFile(GameConfigPath()) : "";
    EXPECT_EQ(2, IntAfter(saves.cards[0], "LevelUnlocked"));
    return saves;
}

// The saved file of text, or none where it is "".
void PutBack(const std::string& path, const std::string& text)
{
    fs::remove(path);
    if (!text.empty())
        WriteFile(path, text);
}

void PutBack(const Saves& saves)
{
    for (int slot = 1; slot <= 4; ++slot)
        PutBack(CardPath(slot), saves.cards[slot - 1]);
    PutBack(GameConfigPath(), saves.config);
}

// The text of the file at path, "" when there is none.
std::string Saved(const std::string& path)
{
    return fs::exists(path) ? ReadFile(path) : "";
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
            EXPECT_EQ(3, IntAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
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
        EXPECT_EQ(saves.cards[slot - 1], Saved(CardPath(slot))) << slot;
    EXPECT_EQ(saves.config, Saved(GameConfigPath()));
    EXPECT_NE(std::string::npos,
              copy.Run().Errors().find("Warning: the single-instance lock cannot "
                                       "be taken: "))
        << copy.Run().Errors();
    EXPECT_NE(std::string::npos,
              copy.Run().Errors().find("; this copy of the game plays without saving.\n"));
    EXPECT_NE(std::string::npos, ReadFile(GameLogPath()).find("plays without saving.\n"));
}

// A home that cannot be written (its folders below a file, as a read-only home is for a user
// whom permissions bind): the warning is said once, though the log goes to standard error too.
TEST(TwoCopies, ACopyWhoseHomeCannotBeWrittenSaysSoOnce)
{
    TempHome home;
    WriteFile(home.Path() + "/not-a-folder", "x");
    setenv("XDG_DATA_HOME", (home.Path() + "/not-a-folder/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.Path() + "/not-a-folder/config").c_str(), 1);
    Copy copy(home.RuntimeDir(), false);
    ASSERT_TRUE(copy.Ready()) << copy.Run().Errors();
    EXPECT_EQ(0, copy.Quit());
    const std::string errors = copy.Run().Errors();
    const std::string warning = "; this copy of the game plays without saving.";
    const std::size_t first = errors.find(warning);
    EXPECT_NE(std::string::npos, first) << errors;
    EXPECT_EQ(std::string::npos, errors.find(warning, first + 1)) << errors;
}

// With --multiapp a copy that changed nothing never undoes the other's win, in every order.
TEST(TwoCopies, WithMultiappACopyThatChangedNothingNeverUndoesTheOthersWin)
{
    const int slots[2] = {1, 1};
    const char* const keys[2] = {"LevelUnlocked", "LevelUnlocked"};
    PlayEveryOrder(true, false, slots, keys, [](const std::vector<Step>&, const std::string* out) {
        EXPECT_EQ(3, IntAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
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
        EXPECT_EQ(3, IntAfter(ReadFile(CardPath(1)), "LevelUnlocked"));
        EXPECT_EQ(3, IntAfter(ReadFile(CardPath(2)), "LevelUnlocked"));
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
                       EXPECT_EQ(first == 0 ? 3 : 2, IntAfter(card, "LevelUnlocked")) << card;
                       EXPECT_EQ(first == 1 ? 2 : 1, IntAfter(card, "EpisodeUnlocked")) << card;
                       EXPECT_NE(std::string::npos, out[1 - first].find(kHeld)) << out[1 - first];
                       EXPECT_NE(std::string::npos,
                                 out[1 - first].find("Not saved: the card of \"p1\" (slot 1)"));
                       EXPECT_EQ(std::string::npos, out[first].find(kHeld)) << out[first];
                   });
}

namespace {

// The gate of a copy's saves (BB_SAVE_GATE): the copy stops at each stage of a save inside
// its turn ("save gate N: written|checked <file>" on standard error) until the test lets it on.
class SaveGate
{
public:
    explicit SaveGate(const std::string& folder) : m_Folder(folder)
    {
        fs::create_directories(folder);
    }
    const std::string& Folder() const { return m_Folder; }
    // Waits until the copy stands at the stage named of a save of the file target; the
    // gate's number, 0 when it never came there.
    int Reached(Copy& copy, const char* stage, const std::string& target)
    {
        const std::string text = std::string(stage) + " " + target;
        if (!copy.Run().WaitForErrorLine(text))
            return 0;
        const std::string errors = copy.Run().Errors();
        const std::size_t gate = errors.rfind("save gate ", errors.find(text));
        return gate == std::string::npos ? 0 : std::atoi(errors.c_str() + gate + 10);
    }
    void Release(int n) { WriteFile(m_Folder + "/" + std::to_string(n), ""); }
    // Lets every later save of the copy through.
    void Open() { WriteFile(m_Folder + "/open", ""); }

private:
    std::string m_Folder;
};

const char* const kWaits = "waits for its turn: another copy of the game (process ";

// What a race of a slow save ends with: the card and what each copy said.
struct RaceEnd
{
    std::string card;
    std::string wonA; // "won true nil", "won false <why>", or "" when A did not win
    std::string wonB;
    std::string outA;
    std::string outB;
};

// B's step while A's save stands inside its turn, just before its rename.
// A_QUITS: A's save is the one of its quit, B wins meanwhile.
enum WhileHeld { B_WINS, B_QUITS, B_WINS_AFTER, A_QUITS };

// A wins on card 1 (its level) with its save held inside its turn, past any fixed wait, while
// B (card 1 too, its episode) does its step; B must wait for the turn. cardA and cardB are
// the paths each copy knows card 1 by; homeB is B's data home ("" for A's).
RaceEnd RaceASlowSave(WhileHeld step, bool multiapp, const std::string& homeB,
                      const std::string& card)
{
    static int races = 0;
    SaveGate gate(std::string(getenv("HOME")) + "/gate" + std::to_string(++races));
    RaceEnd end;
    Copy a("", multiapp, gate.Folder());
    Copy b("", multiapp, "", homeB);
    EXPECT_TRUE(a.Ready()) << a.Run().Errors();
    EXPECT_TRUE(b.Ready()) << b.Run().Errors();
    if (step == B_WINS_AFTER) {
        b.Win(1, "EpisodeUnlocked");
        end.wonB = b.FinishWin();
    }
    if (step == A_QUITS)
        a.Run().Send("local m = Players[1].Game_Modes.Adventure "
                     "m.LevelUnlocked = m.LevelUnlocked + 1 AppQuit()\n");
    else
        a.StartWin(1, "LevelUnlocked");
    int bQuit = -1;
    if (step != B_WINS_AFTER) {
        const int written = gate.Reached(a, "written", card);
        EXPECT_NE(0, written) << a.Run().Errors();
        gate.Release(written);
        const int checked = gate.Reached(a, "checked", card);
        EXPECT_NE(0, checked) << a.Run().Errors();
        if (step == B_QUITS) {
            // B changed nothing: its quit asks for no turn and ends while A's save is held.
            b.Run().Send("AppQuit()\n");
            bQuit = b.Run().Wait();
        } else {
            b.StartWin(1, "EpisodeUnlocked");
            // B tries, and waits: with the turn taken from it, its save would be done already.
            EXPECT_TRUE(b.Run().WaitForOutputLine(kWaits, 20000)) << b.Run().Output();
        }
        gate.Release(checked);
    }
    if (step != A_QUITS)
        end.wonA = a.FinishWin();
    if (step != B_QUITS)
        end.wonB = b.FinishWin();
    gate.Open();
    EXPECT_EQ(0, step == B_QUITS ? bQuit : b.Quit()) << b.Run().Errors();
    EXPECT_EQ(0, step == A_QUITS ? a.Run().Wait() : a.Quit()) << a.Run().Errors();
    end.card = ReadFile(card);
    end.outA = a.Run().Output();
    end.outB = b.Run().Output();
    return end;
}

// The card holds both copies' unlocks, or the copy whose unlock is missing said so, in
// SaveData()'s answer and in its log.
void ExpectNothingLostUnsaid(const RaceEnd& end)
{
    const bool levelKept = IntAfter(end.card, "LevelUnlocked") == 3;
    const bool episodeKept = IntAfter(end.card, "EpisodeUnlocked") == 2;
    if (!end.wonA.empty() && !levelKept) {
        EXPECT_EQ(0u, end.wonA.find("won false another copy")) << end.wonA;
        EXPECT_NE(std::string::npos, end.outA.find(kHeld)) << end.outA;
    }
    if (!end.wonB.empty() && !episodeKept) {
        EXPECT_EQ(0u, end.wonB.find("won false another copy")) << end.wonB;
        EXPECT_NE(std::string::npos, end.outB.find(kHeld)) << end.outB;
    }
    EXPECT_TRUE(levelKept || episodeKept) << end.card;
}

} // namespace

// With --multiapp, A's save of a win is held inside its turn while B wins or quits: B's win
// waits for the turn, then keeps A's card and says its win was not saved; B's quit, with
// nothing to write, asks for no turn at all; a win of B's before A's makes A say so. Nothing
// is ever lost without a word.
TEST(TwoCopies, ASlowSaveIsNeverUndoneAndTheLoserSaysSo)
{
    TempHome home;
    const Saves saves = MakeSaves();
    int races = 0;
    for (const WhileHeld step : {B_WINS, B_QUITS, B_WINS_AFTER, A_QUITS}) {
        SCOPED_TRACE("step " + std::to_string(step));
        PutBack(saves);
        const RaceEnd end = RaceASlowSave(step, true, "", CardPath(1));
        ExpectNothingLostUnsaid(end);
        // The copy whose save came first saved; the other's win is the one not saved.
        const bool bFirst = step == B_WINS_AFTER;
        if (step != A_QUITS) {
            EXPECT_EQ("won true nil", bFirst ? end.wonB : end.wonA);
        }
        EXPECT_EQ(bFirst ? 2 : 3, IntAfter(end.card, "LevelUnlocked")) << end.card;
        EXPECT_EQ(bFirst ? 2 : 1, IntAfter(end.card, "EpisodeUnlocked")) << end.card;
        ++races;
    }
    std::printf("%d races with a save held inside its turn\n", races);
}

// Two homes whose card 1 links to one file, each copy alone in its home (no --multiapp):
// the copies take turns on the file the links lead to, the same race as above.
TEST(TwoCopies, TwoHomesWhoseCardsLinkToOneFileTakeTurns)
{
    TempHome home;
    const Saves saves = MakeSaves();
    PutBack(saves);
    const std::string shared = home.Path() + "/synced/Player1.card";
    WriteFile(shared, saves.cards[0]);
    const std::string homeB = home.Path() + "/homeB/.local/share";
    const std::string cardsA = fs::path(CardPath(1)).parent_path().string();
    const std::string cardsB = homeB + "/bumperlux Documents/Player Cards";
    fs::create_directories(cardsB);
    for (int slot = 2; slot <= 4; ++slot)
        PutBack(cardsB + "/Player" + std::to_string(slot) + ".card", saves.cards[slot - 1]);
    int races = 0;
    for (const WhileHeld step : {B_WINS, B_QUITS, B_WINS_AFTER, A_QUITS}) {
        SCOPED_TRACE("step " + std::to_string(step));
        WriteFile(shared, saves.cards[0]);
        for (const std::string& cards : {cardsA, cardsB}) {
            fs::remove(cards + "/Player1.card");
            fs::create_symlink(shared, cards + "/Player1.card");
        }
        const RaceEnd end = RaceASlowSave(step, false, homeB, shared);
        ExpectNothingLostUnsaid(end);
        // The save that had the turn first stands, a quit's as much as a win's.
        const bool bFirst = step == B_WINS_AFTER;
        EXPECT_EQ(bFirst ? 2 : 3, IntAfter(end.card, "LevelUnlocked")) << end.card;
        EXPECT_EQ(bFirst ? 2 : 1, IntAfter(end.card, "EpisodeUnlocked")) << end.card;
        EXPECT_TRUE(fs::is_symlink(cardsA + "/Player1.card"));
        EXPECT_TRUE(fs::is_symlink(cardsB + "/Player1.card"));
        ++races;
    }
    std::printf("%d races of two homes on one linked card\n", races);
}
