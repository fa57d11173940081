// A level of polygon bricks, turned and not, played to its end by the headless player:
// balls strike their slanted edges, and the paddle runs into a polygon that blocks it,
// which asks the brick where its outline crosses the paddle's line.
#include "GameFixture.h"

#include "autoplay/AutoPlayer.h"
#include "autoplay/GameOutcome.h"
#include "core/Random.h"
#include "field/Brick.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using gametest::GameFixture;

namespace {

class PolygonAutoplayTest : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    LevelManager m_Manager;
};

const char kPolygonLevel[] = R"(
Resources.PolyTriangle = { class = "Brick", textureOnly = "Stone", necessary = true,
                           polygon = { { 0, 0 }, { 0, 40 }, { 40, 40 } } }
Resources.PolyKite = { class = "Brick", textureOnly = "Stone", necessary = true, rotation = 30,
                       polygon = { { 0, 0 }, { 30, 10 }, { 40, 40 }, { 5, 30 } } }
Resources.PolyWedge = { class = "Brick", textureOnly = "Glass", necessary = true, rotation = 135,
                        polygon = { { 0, 0 }, { 48, 0 }, { 24, 20 } } }
-- On the paddle's line: the paddle stops against their slopes, and breaks them.
Resources.PolyStop = { class = "Brick", textureOnly = "Steel", necessary = true, strength = 2,
                       takeDamageOnCollision = { "Paddle" }, blockPaddle = true,
                       polygon = { { 0, 24 }, { 24, 0 }, { 48, 24 } } }
rawset(Levels, "Polygons", {
    fullName = "Polygons", music = "Harbour.mid",
    compiledBricks = {
        { resource = "PolyTriangle", position = { 3, 5 } },
        { resource = "PolyKite", position = { 7, 4 } },
        { resource = "PolyWedge", position = { 11, 6 } },
        { resource = "PolyKite", position = { 14, 3 } },
        { resource = "PolyTriangle", position = { 16, 7 } },
        { resource = "PolyStop", position = { 5, 25 } },
        { resource = "PolyStop", position = { 14, 25 } },
    },
    paddleStarts = { { position = { 288, 416 } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 40, -160 } } } }))";

} // namespace

TEST_F(PolygonAutoplayTest, ALevelOfPolygonBricksIsPlayedToItsEnd)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), kPolygonLevel);
    MakoSrand(7);
    NewGame("{gameType = 'Levels', levelName = 'Polygons', ballsLeft = 9}");
    logic->StartGame();
    ASSERT_NE(logic->GetLevel(), nullptr);
    int polygons = 0;
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (auto* brick = dynamic_cast<Brick*>(actor);
            brick && brick->GetShape() == STRUCTURE_SHAPE_TRIMESH)
            ++polygons;
    EXPECT_EQ(7, polygons);

    autoplay::AutoPlayer player;
    passes.SetDrawing(false);
    int played = 0;
    for (; played < 30000; ++played) {
        if (autoplay::OutcomeOfState(State()) != autoplay::GAME_IN_PLAY)
            break;
        player.PlayOnePass(logic, true);
        passes.Step();
    }
    EXPECT_EQ(autoplay::GAME_WON, autoplay::OutcomeOfState(State()))
        << State() << " after " << played << " passes, " << logic->CountRequiredBricks()
        << " required bricks left";
    std::printf("Polygons: won after %d passes with %d balls left\n", played,
                logic->GetBallsLeft());
}
