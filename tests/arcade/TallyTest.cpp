// The end of a won level: the five bonuses against the level's targets, the player's record
// of the level in the card, the bonus letter and its half-second tally over the paused
// game, and where its buttons lead. Games run in the whole application (GameApp) with the
// pack's levels, as the current player (casual, adventure).
#include "GameApp.h"

#include "core/AtomicFile.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "display/Font.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/states/ShowEndLevelDialog.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/GameStart.h"
#include "support/MessageOf.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
using ArcadeGameStates::ShowEndLevelDialog;

namespace {

class TallyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->ApplyBoolProperty("enableStartLevelDialog", false);
        app->ApplyBoolProperty("enableBrickDropAnimation", false);
    }
    void TearDown() override { app.reset(); }

    // The current player's adventure has reached (unlockedEpisode, unlockedLevel) and
    // selects (episode, level).
    static void Reach(int unlockedEpisode, int unlockedLevel, int episode, int level)
    {
        RunLua("local m = Players[1].Game_Modes.Adventure or CreateGameModeTable() "
               "Players[1].Game_Modes.Adventure = m m.EpisodeUnlocked = " +
               std::to_string(unlockedEpisode) + " m.LevelUnlocked = " +
               std::to_string(unlockedLevel) + " m.EpisodeSelected = " + std::to_string(episode) +
               " m.LevelSelected = " + std::to_string(level));
    }

    // A game of the selected level (or of the named one) on the game screen.
    void Play(const std::string& levelName = "")
    {
        LuaPlus::LuaObject options = CreateGameOptionsForCurrentPlayer();
        if (!levelName.empty())
            options.SetString("levelName", levelName.c_str());
        app->SwitchTo("GameScreen");
        logic = app->GameScreen()->GetGameLogic();
        ASSERT_NE(nullptr, logic);
        ASSERT_NE(nullptr, logic->GetLevel());
    }

    std::string State() const { return logic->GetCurrentState() ? logic->GetStateName() : ""; }
    Level* GetLevel() const { return logic->GetLevel(); }

    template <typename Pred> int PassUntil(Pred done, int limit)
    {
        int n = 0;
        for (; n < limit && !done(); ++n)
            app->Pass();
        return n;
    }

    // The play's counters, then the level is won and its letter opens.
    void Win(int score, int elapsed, int lootCaught, int ballsUsed, int secret = 0)
    {
        logic->m_Score = score;
        logic->m_ElapsedTime = elapsed;
        logic->m_LootCaught = lootCaught;
        logic->m_BallsUsed = ballsUsed;
        logic->m_SecretFound = secret;
        logic->SetState("LevelCompleted");
        PassUntil(
            [&] { return State() == "ShowEndLevelDialog" || State() == "ShowArtifactDialog"; },
            300);
        if (State() == "ShowArtifactDialog") {
            // A level with an artefact shows it first; its letter closes with "okay".
            auto* card =
                dynamic_cast<Dialog*>(app->GameScreen()->Actor::GetChild("ArtifactDialog", false));
            ASSERT_NE(nullptr, card);
            card->OnEvent(
                MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(card->GetChild("OkayButton"))));
            PassUntil([&] { return State() == "ShowEndLevelDialog"; }, 30);
        }
        ASSERT_EQ("ShowEndLevelDialog", State());
        ASSERT_NE(nullptr, Letter());
    }

    EndLevelBonusDialog* Letter() const
    {
        return dynamic_cast<EndLevelBonusDialog*>(
            app->GameScreen()->Actor::GetChild("EndLevelBonusDialog", false));
    }
    std::string Text(const std::string& name) const
    {
        const Label* label = dynamic_cast<const Label*>(Letter()->GetChild(name));
        return label ? label->GetText() : "<missing " + name + ">";
    }
    // The save warning as the letter shows it: "Your progress could not be saved:" whole on
    // a line, between the paper's margins, in a hand a player reads, and clear of the
    // rows above and the best scores below.
    void ExpectTheWarningWholeOnThePaper(const std::string& reason)
    {
        SCOPED_TRACE(reason);
        EndLevelBonusDialog* letter = Letter();
        ASSERT_NE(nullptr, letter);
        std::vector<const Label*> lines;
        for (const char* name : {"messageLabel", "messageReasonLabel"})
            if (const auto* line = dynamic_cast<const Label*>(letter->GetChild(name));
                line && line->IsVisible())
                lines.push_back(line);
        ASSERT_FALSE(lines.empty());
        const std::string heading = "Your progress could not be saved:";
        EXPECT_TRUE(lines[0]->GetText().compare(0, heading.size(), heading) == 0)
            << lines[0]->GetText();
        const SDL_Rect paper = letter->GetScreenRect();
        const int left = paper.x + EndLevelBonusDialog::kMessageLeft;
        const int right = left + letter->GetMessageWidth();
        auto overlap = [](const SDL_Rect& a, const SDL_Rect& b) {
            return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
        };
        // What else is written on the paper (a caption, a figure, a star, a button).
        std::vector<const Actor*> others;
        for (const Actor* child : letter->GetChildren()) {
            const auto* label = dynamic_cast<const Label*>(child);
            const bool blank =
                label && label->GetText().find_first_not_of(' ') == std::string::npos;
            const bool warning = std::find(lines.begin(), lines.end(), label) != lines.end();
            if (!warning && child->IsVisible() && !blank && child->GetWidth() > 0 &&
                child->GetWidth() < paper.w / 2)
                others.push_back(child);
        }
        for (const Label* line : lines) {
            const std::string& text = line->GetText();
            EXPECT_EQ(std::string::npos, text.find('\n')) << text;
            EXPECT_GE(line->GetFont()->GetPointSize(), 10) << text;
            const SDL_Rect drawn = line->GetScreenRect();
            EXPECT_LE(drawn.w, letter->GetMessageWidth()) << text;
            EXPECT_GE(drawn.x, left) << text;
            EXPECT_LE(drawn.x + drawn.w, right) << text;
            for (const Actor* other : others)
                EXPECT_FALSE(overlap(drawn, other->GetScreenRect()))
                    << other->GetName() << " under \"" << text << '"';
            std::printf("%d pt, %d px: %s\n", line->GetFont()->GetPointSize(), drawn.w,
                        text.c_str());
        }
        // What made room for the reason keeps off the buttons.
        for (const Actor* other : others)
            for (const char* button : {"QuitButton", "ReplayButton", "NextButton"})
                if (other->GetName() != button &&
                    overlap(other->GetScreenRect(), letter->GetChild(button)->GetScreenRect()))
                    ADD_FAILURE() << other->GetName() << " lies on " << button;
    }

    // The warning as read, its lines joined.
    std::string Warning() const
    {
        const std::string reason = Text("messageReasonLabel");
        const bool second = Letter()->GetChild("messageReasonLabel")->IsVisible();
        return Text("messageLabel") + (second ? " " + reason : "");
    }

    int Frame(const std::string& name) const
    {
        return Letter()->Actor::GetChild(name, true)->GetFrame();
    }
    void Click(const std::string& button)
    {
        EndLevelBonusDialog* letter = Letter();
        letter->OnEvent(
            MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(letter->GetChild(button))));
        app->Pass();
    }

    LuaPlus::LuaObject Mode() const { return app->CurrentPlayer()->GetGameModeTable("Adventure"); }
    int ModeInt(const char* key) const { return Mode()[key].GetInteger(); }
    LuaPlus::LuaObject Record(const char* level) const { return Mode()["LevelRecords"][level]; }

    // Passes until the tally has ended, noting the pass of each step that played a sound
    // and the sounds it played.
    struct Step
    {
        int pass;
        std::vector<std::string> sounds;
    };
    std::vector<Step> RunTally(int limit = 250)
    {
        std::vector<Step> steps;
        for (int pass = 1; pass <= limit; ++pass) {
            const std::size_t before = sounds.Plays().size();
            app->Pass();
            if (sounds.Plays().size() == before)
                continue;
            Step step{pass, {}};
            for (std::size_t i = before; i < sounds.Plays().size(); ++i)
                step.sounds.push_back(sounds.Plays()[i].name);
            steps.push_back(step);
        }
        return steps;
    }

    std::unique_ptr<GameApp> app;
    ArcadeGameLogic* logic = nullptr;
    SoundLog sounds;
};

} // namespace

TEST_F(TallyTest, TheBonusesCountTheTargetsAndTheScoreBonusCountsTheFourBeforeIt)
{
    Reach(1, 1, 1, 1);
    Play();
    Level* level = GetLevel();
    const int T = static_cast<int>(level->GetTimeBonusAt());
    const int S = level->GetScoreBonusAt();
    const int B = level->GetBallUsedTarget();
    const int L = level->GetLootCaughtTarget();
    const int A = level->GetLootAmount();
    ASSERT_GT(A, 0);
    ASSERT_GT(L, 0);
    const int enoughLoot = (A * L + 99) / 100;

    struct Row
    {
        const char* what;
        int score, elapsed, caught, secret, balls;
        int time, loot, secretBonus, ball, big; // 1000 each when earned
    };
    const Row rows[] = {
        {"all five, the score 4000 short of its target", S - 4000, T, A, 1, B, 1, 1, 1, 1, 1},
        {"four, the score 4001 short", S - 4001, T, A, 1, B, 1, 1, 1, 1, 0},
        {"ten seconds over the time", S, T + 10, A, 0, B, 0, 1, 0, 1, 1},
        {"just enough loot", S, 0, enoughLoot, 0, B, 1, 1, 0, 1, 1},
        {"one piece of loot short", S, 0, enoughLoot - 1, 0, B, 1, 0, 0, 1, 1},
        {"a ball more than the target", 0, 0, 0, 0, B + 1, 1, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        logic->m_Score = row.score;
        logic->m_ElapsedTime = row.elapsed;
        logic->m_LootCaught = row.caught;
        logic->m_SecretFound = row.secret;
        logic->m_BallsUsed = row.balls;
        logic->ComputeLevelBonuses();
        EXPECT_EQ(row.time * 1000, logic->m_FastTimeBonus);
        EXPECT_EQ(row.time, logic->m_FastTimeEarned);
        EXPECT_EQ(row.loot * 1000, logic->m_AllLootBonus);
        EXPECT_EQ(row.secretBonus * 1000, logic->m_SecretBonus);
        EXPECT_EQ(row.ball * 1000, logic->m_OneBallBonus);
        EXPECT_EQ(row.big * 1000, logic->m_BigScoreBonus);
        EXPECT_EQ(row.big, logic->m_BigScoreEarned);
        const int stars = row.time + row.loot + row.secretBonus + row.ball + row.big;
        EXPECT_EQ(stars, logic->m_StarCount);
        EXPECT_EQ(row.score + 1000 * stars, logic->m_TotalScore);
        EXPECT_EQ(row.caught * 100 / A, logic->m_LootPercent);
        EXPECT_EQ(row.score, logic->m_Score); // the tally adds the bonuses to the score
    }
}

TEST_F(TallyTest, ALevelWithoutLootEarnsItsLootBonusOnlyWithATargetOfZero)
{
    RunLua(R"(rawset(Levels, "TallyBare", {
        fullName = "Bare Quay", music = "Harbour.mid",
        bricks = { "", "", ",,B,B,B,B" },
    }))");
    Reach(1, 1, 1, 1);
    Play("TallyBare");
    ASSERT_EQ(0, GetLevel()->GetLootAmount());
    logic->m_LootCaught = 3; // nothing to catch, whatever the count says
    logic->ComputeLevelBonuses();
    EXPECT_EQ(0, logic->m_LootPercent);
    EXPECT_EQ(0, logic->m_AllLootEarned);

    // The skill's adjustment brings the target down to 0.
    const int target = GetLevel()->GetLootCaughtTarget();
    RunLua("SavedAdjustment = defaultLootCaughtTargetAdjustment "
           "defaultLootCaughtTargetAdjustment = (SavedAdjustment or 0) - " +
           std::to_string(target));
    logic->ComputeLevelBonuses();
    EXPECT_EQ(0, GetLevel()->GetLootCaughtTarget());
    EXPECT_EQ(1, logic->m_AllLootEarned);
    EXPECT_EQ(1000, logic->m_AllLootBonus);
    RunLua("defaultLootCaughtTargetAdjustment = SavedAdjustment SavedAdjustment = nil");
}

TEST_F(TallyTest, TheRecordKeepsTheBestOfEveryPlayAndCountsEarlierStars)
{
    Reach(1, 1, 1, 1);
    Play();
    const int T = static_cast<int>(GetLevel()->GetTimeBonusAt());
    const int S = GetLevel()->GetScoreBonusAt();
    const int A = GetLevel()->GetLootAmount();

    // A first play: the record is made from the scripts' defaults and filled.
    logic->m_Score = S;
    logic->m_ElapsedTime = T - 20;
    logic->m_TimeLeft = 20;
    logic->m_LootCaught = A;
    logic->m_BallsUsed = 1;
    logic->m_SecretFound = 0;
    logic->SetBallsLeft(4);
    logic->ComputeLevelBonuses();
    EXPECT_TRUE(logic->m_RecordChanged);
    logic->SaveLevelRecord();
    LuaPlus::LuaObject record = Record("Welcome");
    ASSERT_TRUE(record.IsTable());
    EXPECT_EQ(0, record["award"].GetInteger()); // a default of CreateLevelRecordTable
    EXPECT_EQ(S + 4000, record["score"].GetInteger());
    EXPECT_EQ("EMPTY", std::string(record["artifact"].GetString()));
    EXPECT_EQ(1, record["fastTime"].GetInteger());
    EXPECT_EQ(20, record["time"].GetInteger());
    EXPECT_EQ(T - 20, record["timeTook"].GetInteger());
    EXPECT_EQ(1, record["allLoot"].GetInteger());
    EXPECT_EQ(100, record["loot"].GetInteger());
    EXPECT_EQ(1, record["noBallsLost"].GetInteger());
    EXPECT_EQ(1, record["gotBigScore"].GetInteger());
    EXPECT_EQ(0, record["secret"].GetInteger());
    EXPECT_EQ(4, record["ballsLeft"].GetInteger());
    EXPECT_EQ(4, ModeInt("ballsLeft"));
    EXPECT_EQ(4, logic->m_BestStarCount);
    EXPECT_TRUE(logic->m_NewBest.score && logic->m_NewBest.fastTime && !logic->m_NewBest.secret);

    // A worse play ten seconds over the time: no time star now, but the earlier one
    // counts; the stored score and artefact stay, the reserve and best-of values follow.
    logic->m_Score = 100;
    logic->m_ElapsedTime = T + 10;
    logic->m_LootCaught = 0;
    logic->m_BallsUsed = 3;
    logic->m_SecretFound = 1;
    logic->SetBallsLeft(2);
    logic->ComputeLevelBonuses();
    EXPECT_EQ(0, logic->m_FastTimeEarned);
    EXPECT_EQ(S + 4000, logic->m_PrevRecord.score);
    EXPECT_EQ(1, logic->m_PrevRecord.fastTime);
    EXPECT_FALSE(logic->m_RecordChanged);
    logic->SaveLevelRecord();
    record = Record("Welcome");
    EXPECT_EQ(S + 4000, record["score"].GetInteger());
    EXPECT_EQ(1, record["fastTime"].GetInteger());
    EXPECT_EQ(T - 20, record["timeTook"].GetInteger());
    EXPECT_EQ(2, record["ballsLeft"].GetInteger());
    EXPECT_EQ(1, record["secret"].GetInteger());
    EXPECT_EQ(S + 4000, record["best_FinalScore"].GetInteger());
    EXPECT_EQ(T - 20, record["best_TimeTook"].GetInteger());
    EXPECT_EQ(1, record["best_BallsUsed"].GetInteger());
    EXPECT_EQ(100, record["best_LootPercent"].GetInteger());
    EXPECT_EQ(5, logic->m_BestStarCount); // four earlier ones and the secret now
    EXPECT_EQ(1, logic->m_StarCount);
    EXPECT_TRUE(logic->m_RecordChanged); // the secret is new
    EXPECT_TRUE(logic->m_NewBest.secret);
    EXPECT_FALSE(logic->m_NewBest.score);

    // Faster and with fewer balls than any play before: the best-of values follow.
    logic->m_ElapsedTime = 5;
    logic->m_BallsUsed = 1;
    logic->ComputeLevelBonuses();
    logic->SaveLevelRecord();
    record = Record("Welcome");
    EXPECT_EQ(5, record["best_TimeTook"].GetInteger());
    EXPECT_EQ(T - 20, record["timeTook"].GetInteger()); // the time bonus was had before
}

TEST_F(TallyTest, TheScoreMessageGoesByHowFarTheTotalIsFromTheTarget)
{
    const std::pair<int, const char*> rows[] = {
        {5001, "Amazing!!!"}, {5000, "Wow!"},       {2501, "Wow!"},       {2500, "Great Job!"},
        {1501, "Great Job!"}, {1500, "Good!"},      {501, "Good!"},       {500, "Just Made It"},
        {0, "Just Made It"},  {-1, "So Close!"},    {-1000, "So Close!"}, {-1001, "Almost"},
        {-3000, "Almost"},    {-3001, "Need More"},
    };
    for (const auto& [d, message] : rows)
        EXPECT_EQ(message, std::string(ShowEndLevelDialog::ScoreMessage(d))) << d;
}

// The verdict leaves out the score bonus that reaching the target adds: a total exactly at
// the target just makes it, one point short is close, and neither jumps by the bonus.
TEST_F(TallyTest, TheVerdictReadsTheTotalBeforeTheScoreBonus)
{
    const std::pair<int, const char*> plays[] = {
        {0, "Just Made It"}, {-1, "So Close!"}, {600, "Good!"}};
    for (const auto& [over, verdict] : plays) {
        Reach(1, 1, 1, 1);
        Play();
        const int S = GetLevel()->GetScoreBonusAt();
        // Slow, without loot and with many balls: the score bonus is the only one in reach.
        Win(S + over, 100000, 0, 99);
        RunTally();
        EXPECT_EQ(verdict, Text("scoreLabelMessage")) << over;
        EXPECT_EQ(over >= 0, logic->m_BigScoreEarned != 0) << over;
        EXPECT_EQ(S + over + (over >= 0 ? 1000 : 0), logic->GetScore()) << over;
        app->SwitchTo("Elsewhere");
    }
}

TEST_F(TallyTest, WinningWelcomeShowsTheTargetsThenTalliesEveryHalfSecondOverThePausedGame)
{
    Reach(1, 1, 1, 1);
    Play();
    const int S = GetLevel()->GetScoreBonusAt();
    Win(S - 1000, 100, GetLevel()->GetLootAmount(), 1);
    EXPECT_EQ("Welcome Aboard", Text("missionLabel"));
    EXPECT_EQ("Over 3,000:", Text("scoreNeededLabel"));
    EXPECT_EQ("1 Ball Used:", Text("ballLabel"));
    EXPECT_EQ("03:15 Time Bonus:", Text("timeLabel")); // the level's 2 minutes, casual + 15 s
    EXPECT_EQ("95% Loot Caught:", Text("lootLabel"));
    EXPECT_EQ("$0", Text("topScoreValue"));
    for (const char* star : {"actorBallStar", "actorTimeStar", "actorLootStar", "actorSecretStar",
                             "actorScoreStar", "actorStar1"})
        EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame(star)) << star;

    // The letter pauses the game; the tally runs all the same, one step every 16 passes.
    const std::vector<Step> steps = RunTally();
    EXPECT_TRUE(app->IsGamePaused());
    const std::vector<std::vector<std::string>> expected = {
        {"laserShot1.ogg"},              // the score, a new best
        {"laserShot3.ogg", "Heal.ogg"},  // one ball
        {"laserShot3.ogg", "Heal.ogg"},  // the time
        {"laserShot3.ogg", "Heal.ogg"},  // the loot
        {"attention3.ogg"},              // no secret
        {"laserShot3.ogg", "Heal.ogg"},  // the score target
        {"claps.ogg", "laserShot2.ogg"}, // a new top score
        {"laserShot2.ogg", "Heal.ogg"},  // four award stars
        {"magic1.ogg"},                  // a new record
    };
    ASSERT_EQ(expected.size(), steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(expected[i], steps[i].sounds) << "step " << i;
        const int gap = i + 1 < steps.size() ? steps[i + 1].pass - steps[i].pass : 0;
        if (i + 2 < steps.size()) {
            EXPECT_EQ(16, gap) << "after step " << i;
        } else if (i + 2 == steps.size()) {
            EXPECT_EQ(32, gap) << "a silent signal before the last";
        }
    }
    EXPECT_LE(steps.front().pass, 33); // a silent signal first

    const int total = S - 1000 + 4000;
    EXPECT_EQ(total, logic->m_TotalScore);
    EXPECT_EQ(total, logic->GetScore());
    EXPECT_EQ("You Used 1", Text("ballLabelMessage"));
    EXPECT_EQ("You Took 01:40", Text("timeLabelMessage"));
    EXPECT_EQ("You Caught 100%", Text("lootLabelMessage"));
    EXPECT_EQ("Keep Looking!", Text("secretLabelMessage"));
    EXPECT_EQ("Great Job!", Text("scoreLabelMessage")); // 2,000 over before the score bonus
    EXPECT_EQ("$6,000", Text("scoreLabel"));
    EXPECT_EQ("$6,000", Text("topScoreValue"));
    EXPECT_EQ("New Record!", Text("messageLabel"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED, Frame("actorBallStar"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame("actorSecretStar"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED, Frame("actorStar4"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame("actorStar5"));
    // Four bonus stars and the top score burst (2), and four award stars.
    EXPECT_EQ(4 + 2 + 4, static_cast<int>(Letter()->GetBursts().GetMembers().size()));
    EXPECT_EQ(4, static_cast<int>(Letter()->GetFlyingLabels().GetMembers().size()));
    EXPECT_EQ("ShowEndLevelDialog", State());
}

TEST_F(TallyTest, WinningWelcomeFilesTheRecordUnlocksTheNextLevelAndNextGoesThere)
{
    Reach(1, 1, 1, 1);
    Play();
    logic->SetBallsLeft(3);
    Win(2500, 100, 0, 2);
    const int total = logic->m_TotalScore;
    LuaPlus::LuaObject record = Record("Welcome");
    ASSERT_TRUE(record.IsTable());
    EXPECT_EQ(total, record["score"].GetInteger());
    EXPECT_EQ(total, record["best_FinalScore"].GetInteger());
    EXPECT_EQ(3, record["ballsLeft"].GetInteger());
    EXPECT_EQ(2, ModeInt("LevelUnlocked"));
    EXPECT_EQ(2, ModeInt("LevelSelected"));
    EXPECT_EQ(1, ModeInt("EpisodeUnlocked"));

    Click("NextButton");
    EXPECT_EQ("Crates", GetLevel()->GetLevelName());
    EXPECT_EQ(2, logic->GetLevelNumber().value_or(0));
    EXPECT_FALSE(app->IsGamePaused());
}

// A level named from the console (NextLevel, then SwitchToScreen) is a game of the current
// player: "next" goes on to the level after it.
TEST_F(TallyTest, ALevelNamedFromTheConsoleIsPlayedByTheCurrentPlayerAndNextGoesOn)
{
    Reach(1, 1, 1, 1);
    RunLua("GameOptions = nil NextLevel('Crates')");
    app->SwitchTo("GameScreen");
    logic = app->GameScreen()->GetGameLogic();
    ASSERT_NE(nullptr, logic);
    ASSERT_NE(nullptr, GetLevel());
    EXPECT_EQ("Crates", GetLevel()->GetLevelName());
    EXPECT_EQ(app->CurrentPlayer(), logic->GetPlayer());
    Win(2500, 100, 0, 1);
    EXPECT_TRUE(Record("Crates").IsTable());

    Click("NextButton");
    EXPECT_EQ("FallingGold", GetLevel()->GetLevelName());
}

TEST_F(TallyTest, ReplayPlaysTheCompletedLevelAgainAndALowerTotalKeepsTheRecordsScore)
{
    Reach(1, 3, 1, 1);
    Play();
    Win(2500, 100, 0, 1);
    const int first = logic->m_TotalScore;
    EXPECT_EQ(2, ModeInt("LevelSelected")); // the selection moved on
    EXPECT_EQ(3, ModeInt("LevelUnlocked")); // an earlier level unlocks nothing

    Click("ReplayButton");
    EXPECT_EQ("Welcome", GetLevel()->GetLevelName());
    EXPECT_EQ(1, ModeInt("LevelSelected"));
    EXPECT_EQ(1, logic->GetLevelNumber().value_or(0));

    logic->SetBallsLeft(6);
    Win(100, 1000, 0, 3);
    LuaPlus::LuaObject record = Record("Welcome");
    EXPECT_EQ(first, record["score"].GetInteger());
    EXPECT_EQ("EMPTY", std::string(record["artifact"].GetString()));
    EXPECT_EQ(6, record["ballsLeft"].GetInteger());
    EXPECT_EQ(first, record["best_FinalScore"].GetInteger());
    EXPECT_EQ(1, record["best_BallsUsed"].GetInteger());
    // The stars of the first play show as earlier ones.
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED_BEFORE, Frame("actorBallStar"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED_BEFORE, Frame("actorStar1"));
    EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame("actorSecretStar"));
}

TEST_F(TallyTest, TheFurthestLastLevelOfAnEpisodeUnlocksTheNextEpisode)
{
    Reach(1, 5, 1, 5);
    Play();
    EXPECT_EQ("ScreamForHelp", GetLevel()->GetLevelName());
    Win(1000, 100, 0, 1);
    EXPECT_EQ(2, ModeInt("EpisodeUnlocked"));
    EXPECT_EQ(1, ModeInt("LevelUnlocked"));
    EXPECT_TRUE(logic->m_EpisodeFinished);
    EXPECT_TRUE(Record("ScreamForHelp").IsTable());
}

TEST_F(TallyTest, ClosingTheLetterEarlyStopsTheTallyAndKeepsThePointsAdded)
{
    Reach(1, 1, 1, 1);
    Play();
    Win(2000, 100, 0, 1);
    // Up to the one-ball bonus, the first to be added.
    PassUntil([&] { return logic->GetScore() > 2000; }, 100);
    ASSERT_EQ(3000, logic->GetScore());
    EXPECT_EQ(2, ModeInt("LevelSelected"));

    Click("QuitButton"); // no map in this program: the game stays on its screen
    EXPECT_FALSE(app->IsGamePaused());
    sounds.Clear();
    app->Pass(200);
    EXPECT_EQ(3000, logic->GetScore());
    EXPECT_EQ(0u, sounds.Plays().size());
    EXPECT_EQ(1, ModeInt("LevelSelected")); // quitting keeps the completed level selected
    EXPECT_EQ(nullptr, Letter());
}

TEST_F(TallyTest, TheLetterLightsAtMostFiveAwardStarsAndBurstsOnlyForPoints)
{
    Reach(1, 1, 1, 1);
    Play();
    auto* letter = new EndLevelBonusDialog("Test Mission", 12345);
    app->GameScreen()->StartDialog(letter, false);
    EXPECT_EQ("$12,345", Text("scoreLabel"));
    EXPECT_EQ("Mission Complete", letter->GetTitle()->GetText());
    const ActorGroup& bursts = letter->GetBursts();
    auto count = [&] { return static_cast<int>(bursts.GetMembers().size()); };

    letter->SetAward(0);
    EXPECT_EQ(0, count());
    EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame("actorStar1"));
    letter->SetAward(7); // more than there are: all five, no fault
    EXPECT_EQ(5, count());
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED, Frame("actorStar5"));
    letter->SetLastAward(9);
    EXPECT_EQ(5, count());
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED_BEFORE, Frame("actorStar5"));
    letter->SetLastAward(-3);
    EXPECT_EQ(EndLevelBonusDialog::STAR_NOT_EARNED, Frame("actorStar1"));

    letter->SetStar("Time", 1, 0); // no points: the frame only
    EXPECT_EQ(EndLevelBonusDialog::STAR_EARNED, Frame("actorTimeStar"));
    EXPECT_EQ(5, count());
    EXPECT_TRUE(letter->GetFlyingLabels().IsEmpty());
    letter->SetStar("Loot", 1, 1000);
    EXPECT_EQ(6, count());
    ASSERT_EQ(1u, letter->GetFlyingLabels().GetMembers().size());
    EXPECT_EQ("$1,000",
              static_cast<Label*>(letter->GetFlyingLabels().GetMembers().front())->GetText());

    letter->SetTopScore(2000, false);
    EXPECT_EQ(6, count());
    letter->SetTopScore(1234567, true); // a burst on each side
    EXPECT_EQ("$1,234,567", Text("topScoreValue"));
    EXPECT_EQ(8, count());

    EXPECT_NE(std::string::npos,
              MessageOf([&] { letter->SetStar("Nothing", 1, 0); }).find("actor != 0"));
    // The bursts and points go on while the game is paused behind the letter.
    app->PauseGame(true);
    app->Pass(40);
    app->PauseGame(false);
}

TEST_F(TallyTest, InTheLabTheLetterOffersOkayAndTheLabAndUnlocksNothing)
{
    Reach(1, 1, 1, 1);
    RunLua("Players[1].Options['game.mode'] = 'Lab'");
    Play("Welcome");
    Win(1000, 100, 0, 1);
    auto caption = [&](const char* name) {
        return static_cast<Button*>(Letter()->GetChild(name))->GetLabel()->GetText();
    };
    EXPECT_EQ("okay", caption("NextButton"));
    EXPECT_EQ("lab", caption("QuitButton"));
    EXPECT_EQ("replay", caption("ReplayButton"));
    EXPECT_EQ(1, ModeInt("LevelUnlocked"));
    EXPECT_TRUE(app->CurrentPlayer()->GetGameModeTable("Lab")["LevelRecords"]["Welcome"].IsTable());
    RunLua("Players[1].Options['game.mode'] = 'Adventure'");
}

TEST_F(TallyTest, ASaveThatFailsIsToldOnTheLetterAndTheNextSaveTriesAgain)
{
    TempHome home;
    GameDataIO cards(home.Path() + "/cards/");
    Reach(1, 1, 1, 1);
    Play();
    SetInjectedWriteFault(ENOSPC);
    Win(2500, 100, 0, 1);
    SetInjectedWriteFault(0);
    EXPECT_EQ("Your progress could not be saved: No space left on device", Warning());
    ExpectTheWarningWholeOnThePaper("No space left on device");
    RunTally();
    // The end of the tally does not hide it behind "New Record!".
    EXPECT_EQ("Your progress could not be saved: No space left on device", Warning());

    Click("NextButton");
    Win(2500, 100, 0, 1);
    EXPECT_EQ("", cards.GetLastSaveFailure());
    EXPECT_NE(std::string::npos, ReadFile(cards.GetCardPath(1)).find("LevelUnlocked = 3,"));
    RunTally();
    EXPECT_EQ("New Record!", Text("messageLabel"));
}

// Another copy saved the card after this one read it: the level's first save is refused, the
// second (the unlock) finds the card held, and the letter says so from the first, with no
// "New Record!"; SaveData() names the card, and so does every later save of this play.
TEST_F(TallyTest, ACardAnotherCopySavedIsToldOnTheLetterThroughEverySaveOfTheLevel)
{
    TempHome home;
    GameDataIO cards(home.Path() + "/cards/");
    cards.NoteRead(cards.GetCardPath(1));
    WriteFile(cards.GetCardPath(1), "Player {Name = 'saved by another copy'}");
    Reach(1, 1, 1, 1);
    Play();
    Win(2500, 100, 0, 1);
    const std::string told = "Your progress could not be saved: another copy of the game saved "
                             "this card after this one read it, and its card was kept";
    EXPECT_EQ(told, Warning());
    ExpectTheWarningWholeOnThePaper("another copy saved the card");
    RunTally();
    EXPECT_EQ(told, Warning());
    EXPECT_TRUE(cards.IsSlotUnsaved(1));
    RunLua("SaveOk__, Unsaved__ = SaveData()");
    EXPECT_FALSE(GetGlobalLuaState()->GetGlobal("SaveOk__").GetBoolean());
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("Unsaved__")[1].IsString());
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("Unsaved__")[2].IsNil());
    EXPECT_EQ("Player {Name = 'saved by another copy'}", ReadFile(cards.GetCardPath(1)));
}

// However long the reason, the warning is read whole: the reasons are those real saves
// gave, with the cards under a very long folder path: another copy's save, a FIFO in the
// card's place, a folder in its place, and four cards at once, each for a reason of its own.
TEST_F(TallyTest, TheSaveWarningStaysWholeOnThePaperWhateverTheReason)
{
    TempHome home;
    const std::string folder =
        home.Path() + "/" + std::string(90, 'l') + "/" + std::string(90, 'o') + "/Player Cards/";
    Reach(1, 1, 1, 1);
    auto another = [](GameDataIO& cards) {
        cards.NoteRead(cards.GetCardPath(1));
        WriteFile(cards.GetCardPath(1), "Player {Name = 'another copy'}");
    };
    // A file the reader cannot read stays where it is, held with why.
    auto unreadable = [](const std::string& path) { RunLua("ReadPlayerCard('" + path + "')"); };
    auto fifo = [&](GameDataIO& cards, int slot) {
        std::filesystem::create_directories(
            std::filesystem::path(cards.GetCardPath(slot)).parent_path());
        ASSERT_EQ(0, mkfifo(cards.GetCardPath(slot).c_str(), 0600));
        unreadable(cards.GetCardPath(slot));
    };
    auto directory = [&](GameDataIO& cards, int slot) {
        std::filesystem::create_directories(cards.GetCardPath(slot) + "/inside");
        unreadable(cards.GetCardPath(slot));
    };
    auto four = [&](GameDataIO& cards) {
        another(cards);
        fifo(cards, 2);
        directory(cards, 3);
        WriteFile(cards.GetCardPath(4), "Player {Name = 'another copy of card 4'}");
    };
    const std::vector<std::pair<const char*, std::function<void(GameDataIO&)>>> failures = {
        {"another copy", another},
        {"a FIFO", [&](GameDataIO& cards) { fifo(cards, 1); }},
        {"a folder", [&](GameDataIO& cards) { directory(cards, 1); }},
        {"four cards", four}};
    int round = 0;
    for (const auto& [name, fail] : failures) {
        GameDataIO cards(folder + std::to_string(++round) + "/");
        fail(cards);
        Play();
        Win(2500, 100, 0, 1);
        ExpectTheWarningWholeOnThePaper(name);
        EXPECT_NE(std::string::npos, Warning().find("could not be saved")) << name;
        if (round == static_cast<int>(failures.size())) {
            // A reason that names a file by a path longer than the paper is wide.
            const std::string path = folder + std::string(200, 'x') + "/Player1.card";
            Letter()->ShowWarning("Your progress could not be saved:",
                                  "it could not be read: " + path + ": Permission denied");
            ExpectTheWarningWholeOnThePaper("a very long path");
            EXPECT_NE(std::string::npos, Warning().find("Permission denied")) << Warning();
        }
        app->SwitchTo("Elsewhere");
        app->Pass();
    }
}
