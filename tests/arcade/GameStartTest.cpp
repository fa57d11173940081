// Starting a game: the start functions of the map and the menu, the program's start into
// the game, and the script function NextLevel, as they fill GameOptions.
#include "GameApp.h"

#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "screens/GameStart.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

class GameStartTest : public ::testing::Test
{
protected:
    void SetUp() override { app = std::make_unique<GameApp>(); }
    void TearDown() override { app.reset(); }

    static LuaPlus::LuaObject Options() { return GetGlobalLuaState()->GetGlobal("GameOptions"); }
    static int Int(const char* key) { return static_cast<int>(Options()[key].GetNumber()); }
    static std::string Text(const char* key)
    {
        LuaPlus::LuaObject value = Options()[key];
        return value.IsString() ? value.GetString() : "<" + std::string(value.TypeName()) + ">";
    }
    LuaPlus::LuaObject ModeTable(const std::string& mode)
    {
        return app->CurrentPlayer()->GetGameModeTable(mode);
    }

    std::unique_ptr<GameApp> app;
};

} // namespace

TEST_F(GameStartTest, MenuStartGivesANewPlayerTheFirstLevelAndKeepsANamedLevel)
{
    LuaPlus::LuaObject adventure = ModeTable("Adventure");
    adventure.SetNil("LevelSelected");
    adventure.SetNil("EpisodeSelected");
    RunLua("GameOptions = { ballsLeft = 9 } NextLevel('Caves')");
    app->CurrentPlayer()->GetOptionsTable().SetString("game.mode", "Lab");

    StartAdventureFromMenu("Elsewhere");
    EXPECT_EQ(1, adventure["LevelSelected"].GetNumber());
    EXPECT_EQ(1, adventure["EpisodeSelected"].GetNumber());
    EXPECT_EQ(1, Int("levelNumber"));
    EXPECT_EQ(1, Int("episodeNumber"));
    EXPECT_EQ(3, Int("ballsLeft"));
    EXPECT_EQ("Adventure", Text("gameType"));
    EXPECT_EQ("Caves", Text("levelName"));
    EXPECT_EQ(static_cast<void*>(app->CurrentPlayer()), Options()["player"].GetLightUserData());
    EXPECT_EQ(app->Screens()->GetScreen("Elsewhere"), app->Screens()->GetCurrentScreen());
}

TEST_F(GameStartTest, MapStartTruncatesTheSelectionAndForgetsANamedLevel)
{
    LuaPlus::LuaObject adventure = ModeTable("Adventure");
    adventure.SetNumber("LevelSelected", 2.7);
    adventure.SetNumber("EpisodeSelected", 3.2);
    RunLua("NextLevel('Caves')"); // makes GameOptions
    Options().SetInteger("ballsLeft", 0);

    StartAdventureFromMap("Elsewhere");
    EXPECT_EQ(2, Int("levelNumber"));
    EXPECT_EQ(3, Int("episodeNumber"));
    EXPECT_EQ(3, Int("ballsLeft"));
    EXPECT_EQ("EMPTY", Text("levelName"));
    EXPECT_EQ("Adventure", Text("gameType"));
}

TEST_F(GameStartTest, NextLevelWantsAString)
{
    RunLua("GameOptions = { levelName = 'EMPTY' }");
    {
        LogCapture log;
        RunLua("NextLevel()");
        RunLua("NextLevel({})");
        const std::string text = log.Text();
        const std::string line = "A level name must be specified.\n";
        const std::size_t first = text.find(line);
        ASSERT_NE(std::string::npos, first) << text;
        EXPECT_NE(std::string::npos, text.find(line, first + line.size())) << text;
    }
    EXPECT_EQ("EMPTY", Text("levelName"));
    RunLua("NextLevel(12)"); // a number is taken as its text
    EXPECT_EQ("12", Text("levelName"));
    RunLua("GameOptions = nil NextLevel('Caves')");
    EXPECT_EQ("Caves", Text("levelName"));
}

TEST_F(GameStartTest, ProgramStartMakesANewTableFromTheCurrentModesSelection)
{
    RunLua("GameOptions = { levelName = 'Caves', ballsLeft = 7 }");
    LuaPlus::LuaObject adventure = ModeTable("Adventure");
    adventure.SetNumber("LevelSelected", 4);
    adventure.SetNil("EpisodeSelected");

    LuaPlus::LuaObject made = CreateGameOptionsForCurrentPlayer();
    EXPECT_TRUE(made.IsTable());
    EXPECT_EQ(4, Int("levelNumber"));
    EXPECT_EQ(1, Int("episodeNumber"));
    EXPECT_EQ(3, Int("ballsLeft"));
    EXPECT_TRUE(Options()["levelName"].IsNil());
    EXPECT_EQ("Adventure", Text("gameType"));
    EXPECT_EQ(static_cast<void*>(app->CurrentPlayer()), Options()["player"].GetLightUserData());
}
