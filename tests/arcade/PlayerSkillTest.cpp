// The player's skill applied to the globals that levels, paddles, balls and bricks read,
// and the skill helpers scripts use.
#include "GameApp.h"

#include "logic/PlayerSkill.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

class PlayerSkillTest : public ::testing::Test
{
protected:
    void SetUp() override { app = std::make_unique<GameApp>(); }
    void TearDown() override { app.reset(); }

    void UseSkill(const std::string& skill)
    {
        app->CurrentPlayer()->GetOptionsTable().SetString("player.skill", skill);
    }
    static LuaPlus::LuaObject Global(const char* name)
    {
        return GetGlobalLuaState()->GetGlobal(name);
    }
    static double Number(const char* name) { return Global(name).GetNumber(); }

    std::unique_ptr<GameApp> app;
};

} // namespace

TEST_F(PlayerSkillTest, EachSkillWritesItsRowAndTheBallsOfGameOptions)
{
    struct Expected
    {
        const char* skill;
        int paddle, balls;
        double strength, initialSpeed, anvil, scoreAdjust, ballAdjust;
    };
    const Expected rows[] = {
        {"kid", 4, 5, 0.5, 120.0, 1, -2000, 2},
        {"casual", 3, 4, 1.0, 150.0, 2, -1000, 0},
        {"gamer", 3, 3, 1.25, 180.0, 3, 0, 0},
    };
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.skill);
        RunLua("GameOptions = { ballsLeft = 3, levelName = 'EMPTY' }");
        UseSkill(row.skill);
        ApplyPlayerSkill();
        EXPECT_EQ(row.paddle, Number("paddleInitialSizeOverride"));
        EXPECT_EQ(row.balls, Global("GameOptions")["ballsLeft"].GetNumber());
        EXPECT_EQ("EMPTY", std::string(Global("GameOptions")["levelName"].GetString()));
        EXPECT_EQ(row.strength, Number("brickStrengthOverride"));
        EXPECT_EQ(row.initialSpeed, Number("defaultInitialBallSpeed"));
        EXPECT_EQ(row.anvil, Number("defaultAnvilStrength"));
        EXPECT_EQ(row.scoreAdjust, Number("defaultScoreBonusAtAdjustment"));
        EXPECT_EQ(row.ballAdjust, Number("defaultBallUsedTargetAdjustment"));
    }
}

TEST_F(PlayerSkillTest, FractionsAreWrittenBackAtSinglePrecision)
{
    UseSkill("kid");
    ApplyPlayerSkill();
    // 0.030 has no exact binary value: the global holds the float's, not the double's.
    EXPECT_EQ(static_cast<double>(0.030f), Number("defaultAddSpeedPerTick"));
    EXPECT_NE(0.030, Number("defaultAddSpeedPerTick"));
    EXPECT_EQ(1.0, Number("defaultTimeBonusAtAdjustment"));
    UseSkill("casual");
    ApplyPlayerSkill();
    EXPECT_EQ(static_cast<double>(0.060f), Number("defaultAddSpeedPerTick"));
    EXPECT_EQ(0.25, Number("defaultTimeBonusAtAdjustment"));
}

TEST_F(PlayerSkillTest, WithoutGameOptionsNoneIsMadeAndTheOtherGlobalsAreStillWritten)
{
    RunLua("GameOptions = nil paddleInitialSizeOverride = 99 brickStrengthOverride = 99");
    UseSkill("gamer");
    RunLua("ApplyPlayerSkill()"); // as the level loading calls it
    EXPECT_TRUE(Global("GameOptions").IsNil());
    EXPECT_EQ(3, Number("paddleInitialSizeOverride"));
    EXPECT_EQ(1.25, Number("brickStrengthOverride"));
}

TEST_F(PlayerSkillTest, AnUnknownSkillIsLoggedAndPlaysAsCasual)
{
    LogCapture log;
    RunLua("GameOptions = {}");
    UseSkill("wizard");
    ApplyPlayerSkill();
    EXPECT_NE(std::string::npos, log.Text().find("\"wizard\"")) << log.Text();
    EXPECT_EQ(4, Global("GameOptions")["ballsLeft"].GetNumber());
    EXPECT_EQ(150.0, Number("defaultInitialBallSpeed"));
}

TEST_F(PlayerSkillTest, ScriptHelpersReadTheRowOfACardsSkill)
{
    RunLua("local card = CreatePlayer() card.Options['player.skill'] = 'gamer' "
           "SkillProbe = { GetAnvilStrength(card), GetBallsLeft(card), "
           "GetBallsLeft({ Options = { ['player.skill'] = 'kid' } }), GetBallsLeft({}) }");
    LuaPlus::LuaObject probe = Global("SkillProbe");
    EXPECT_EQ(3, probe[1].GetNumber());
    EXPECT_EQ(3, probe[2].GetNumber());
    EXPECT_EQ(5, probe[3].GetNumber());
    EXPECT_EQ(4, probe[4].GetNumber()); // a card without a skill plays as casual

    // Without a card: the current player's; anvils read it each time one is made.
    UseSkill("kid");
    RunLua("SkillProbe = { GetAnvilStrength(), Resources.GooberAnvil.strength() }");
    probe = Global("SkillProbe");
    EXPECT_EQ(1, probe[1].GetNumber());
    EXPECT_EQ(1, probe[2].GetNumber());
    RunLua("SkillProbe = nil");
}
