// The player's progress after a won adventure level: what is unlocked, where the selection
// moves, and the level order a name is found in.
#include "players/Player.h"

#include "GameFixture.h"
#include "LevelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using gametest::GameFixture;
using leveltest::Constants;

namespace {

class GameProgressTest : public GameFixture
{
protected:
    GameProgressTest()
        : constants{{"LevelOrder", "{ { 'A', 'B' }, { 'C', 'D' }, [11] = { 'Lab1' } }"},
                    {"EpisodeNames", "{ 'One', 'Two' }"}}
    {
        NewGame();
    }

    // A player whose adventure has reached (unlockedEpisode, unlockedLevel); the game is at
    // (episode, level).
    void Reach(int unlockedEpisode, int unlockedLevel, int episode, int level)
    {
        player = std::make_unique<Player>(bbtest::EvalLua(
            "{ Options = { ['game.mode'] = 'Adventure' }, Game_Modes = { Adventure = { "
            "EpisodeUnlocked = " +
            std::to_string(unlockedEpisode) + ", LevelUnlocked = " + std::to_string(unlockedLevel) +
            " } } }"));
        logic->m_Player = player.get();
        logic->m_EpisodeNumber = episode;
        logic->m_LevelNumber = level;
    }
    int Mode(const char* key) { return player->GetGameModeTable("Adventure")[key].GetInteger(); }

    Constants constants;
    std::unique_ptr<Player> player;
};

TEST_F(GameProgressTest, TheLastLevelOfAnEpisodeUnlocksTheNextEpisode)
{
    Reach(1, 2, 1, 2);
    logic->SetBallsLeft(4);
    logic->AdvanceProgress();
    EXPECT_EQ(2, Mode("EpisodeUnlocked"));
    EXPECT_EQ(1, Mode("LevelUnlocked"));
    EXPECT_TRUE(logic->m_EpisodeFinished);
    EXPECT_FALSE(logic->m_GameFinished);
    EXPECT_EQ(2, Mode("EpisodeSelected"));
    EXPECT_EQ(1, Mode("LevelSelected"));
    EXPECT_EQ(4, Mode("ballsLeft"));
}

TEST_F(GameProgressTest, ReplayingAnEarlierLevelUnlocksNothingButMovesTheSelectionOn)
{
    Reach(2, 1, 1, 1);
    logic->AdvanceProgress();
    EXPECT_EQ(2, Mode("EpisodeUnlocked"));
    EXPECT_EQ(1, Mode("LevelUnlocked"));
    EXPECT_EQ(1, Mode("EpisodeSelected"));
    EXPECT_EQ(2, Mode("LevelSelected"));
    EXPECT_FALSE(logic->m_EpisodeFinished);
}

TEST_F(GameProgressTest, TheLastLevelOfTheLastEpisodeWinsTheGameAndStays)
{
    Reach(2, 2, 2, 2);
    logic->AdvanceProgress();
    EXPECT_TRUE(logic->m_GameFinished);
    EXPECT_EQ(2, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(2, logic->GetLevelNumber().value_or(0));
    EXPECT_EQ(2, Mode("LevelSelected"));
}

TEST_F(GameProgressTest, TheLevelEditorsGamesLeaveTheCardAlone)
{
    Reach(1, 1, 1, 1);
    logic->SetScriptField("useScreenOnExit", bbtest::EvalLua("'LevelEditorScreen'"));
    logic->AdvanceProgress();
    EXPECT_EQ(1, Mode("LevelUnlocked"));
    EXPECT_TRUE(player->GetGameModeTable("Adventure")["LevelSelected"].IsNil());
    EXPECT_EQ(1, logic->GetLevelNumber().value_or(0));
}

TEST_F(GameProgressTest, ALevelIsFoundByNameInTheOrderTheBonusEpisodeIncluded)
{
    logic->m_EpisodeNumber = 5;
    logic->m_LevelNumber = 5;
    logic->FindLevelByName("NotListed");
    EXPECT_EQ(5, logic->GetEpisodeNumber().value_or(0));
    logic->FindLevelByName("D");
    EXPECT_EQ(2, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(2, logic->GetLevelNumber().value_or(0));

    Constants bonus{{"LevelOrder", "{ { 'A' }, { 'B' }, { 'Extra', 'A' } }"}};
    logic->FindLevelByName("A"); // listed twice: the last place counts
    EXPECT_EQ(3, logic->GetEpisodeNumber().value_or(0));
    EXPECT_EQ(2, logic->GetLevelNumber().value_or(0));
}

TEST_F(GameProgressTest, SavingTheSelectionWritesTheCardAndTheGameOptions)
{
    Reach(1, 1, 2, 1);
    bbtest::EvalLua("_G").SetNil("GameOptions");
    logic->SaveSelection();
    EXPECT_EQ(2, Mode("EpisodeSelected"));
    EXPECT_EQ(2, bbtest::EvalLua("GameOptions.episodeNumber").GetInteger());
    EXPECT_EQ(1, bbtest::EvalLua("GameOptions.levelNumber").GetInteger());
}

} // namespace
