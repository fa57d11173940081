// Level starts shown as objects: a ball spawner looks like the ball its start serves and
// shows its variance; a paddle spawner looks like its paddle, turned the way it faces, with
// its laser emitter and its ball placed against the hitting face.
#include "FieldScene.h"

#include "core/ClassManager.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "geometry/Rect.h"
#include "logic/BallSpawner.h"
#include "logic/PaddleSpawner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using namespace fieldtest;

namespace {

template <typename T> std::unique_ptr<T> MakeOwned(const std::string& table)
{
    Object* made = ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua(table));
    T* typed = dynamic_cast<T*>(made);
    if (!typed)
        delete made;
    return std::unique_ptr<T>(typed);
}

// The red channel of the canvas's pixel at (x, y).
std::uint32_t Red(const Canvas& canvas, int x, int y)
{
    const SDL_Surface* s = canvas.GetTargetImage()->GetSDLSurface();
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch);
    return (row[x] >> 16) & 0xFF;
}

class SpawnerTest : public FieldTest
{
};

TEST_F(SpawnerTest, ABallSpawnerLooksLikeItsBallAndShowsItsVariance)
{
    auto plain = MakeOwned<BallSpawner>("{ resource = 'BallSpawner' }");
    ASSERT_TRUE(plain);
    ASSERT_NE(plain->GetImage(), nullptr);
    EXPECT_EQ(plain->GetWidth(), 16); // a ball of the default size
    EXPECT_EQ(plain->GetVariance().x, 0.0);

    // Its start's ballProps change the ball it looks like.
    auto big = MakeOwned<BallSpawner>("{ class = 'BallSpawner', ballProps = { size = 6 } }");
    ASSERT_TRUE(big);
    EXPECT_GT(big->GetWidth(), plain->GetWidth());

    // The variance area: translucent white, 2x by 2y, centred on the spawner's corner.
    auto varied = MakeOwned<BallSpawner>("{ class = 'BallSpawner', variance = { 10, 5 } }");
    ASSERT_TRUE(varied);
    LuaPlus::LuaObject props = bbtest::EvalLua("{}");
    varied->RetrieveClassicProperties(props);
    EXPECT_EQ(props["variance"][1].GetNumber(), 10.0);
    EXPECT_EQ(props["variance"][2].GetNumber(), 5.0);
    Canvas canvas(64, 64, CANVAS_OWNS_TARGET);
    canvas.FillRect(MakeRect(0, 0, 64, 64), Color(0, 0, 0));
    canvas.Translate(32, 32);
    varied->Draw(canvas);
    EXPECT_GT(Red(canvas, 32 - 9, 32 - 4), 30u); // inside the area: a quarter white
    EXPECT_LT(Red(canvas, 32 - 9, 32 - 4), 90u);
    EXPECT_EQ(Red(canvas, 32 - 12, 32 - 7), 0u); // outside
}

TEST_F(SpawnerTest, APaddleSpawnerFacesItsWayAndPlacesItsBallAgainstTheFace)
{
    auto up = MakeOwned<PaddleSpawner>("{ resource = 'BallAndPaddleSpawner', laser = true }");
    ASSERT_TRUE(up);
    BallSpawner* ball = up->GetBallSpawner();
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(ball->GetName(), "ball");
    // Facing up: the ball sits above the paddle's centre line, centred across it.
    EXPECT_LT(ball->GetY() + ball->GetHeight() / 2, up->GetHeight() / 2);
    EXPECT_EQ(ball->GetX() + ball->GetWidth() / 2, up->GetWidth() / 2);
    EXPECT_TRUE(up->GetLaserEmitter()->IsVisible());

    // No ballStart: no ball; no laser: the emitter hides.
    auto side = MakeOwned<PaddleSpawner>("{ resource = 'VerticalPaddleSpawner' }");
    ASSERT_TRUE(side);
    EXPECT_EQ(side->GetBallSpawner(), nullptr);
    EXPECT_FALSE(side->GetLaserEmitter()->IsVisible());

    // A ball start that is not activated shows an inactive ball.
    auto held = MakeOwned<PaddleSpawner>(
        "{ class = 'PaddleSpawner', ballStart = { paddleName = 'P', deactivate = true } }");
    ASSERT_TRUE(held);
    LuaPlus::LuaObject activate;
    held->GetBallSpawner()->GetScriptField(activate, "activateBall");
    ASSERT_TRUE(activate.IsBoolean());
    EXPECT_FALSE(activate.GetBoolean());
    LuaPlus::LuaObject props = bbtest::EvalLua("{}");
    held->RetrieveClassicProperties(props);
    EXPECT_EQ(props["ballStart"]["paddleName"].GetString(), std::string("P"));
}

} // namespace
