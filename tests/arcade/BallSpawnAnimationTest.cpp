// The circle that marks a ball's arrival: it shrinks and fades in over its life time with
// one sound at its start, then tells its receivers on every tick that it has finished.
#include "FieldScene.h"

#include "core/EventReceiver.h"
#include "field/BallSpawnAnimation.h"
#include "scene/ArcadeEventHandler.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

#include <memory>

using namespace fieldtest;

namespace {

// Records the play-field events it receives.
class FinishRecorder : public EventReceiver
{
public:
    bool OnEvent(const Event& event) override
    {
        if (event.type == ARCADE_ANIMFINISH)
            finished.push_back(EventData1(event));
        return true;
    }
    std::vector<void*> finished;
};

class BallSpawnAnimationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    Actor* root = new Actor();
    bbtest::PassHarness passes{root, 640, 480};
    bbtest::SoundLog sounds;
    FinishRecorder receiver;

    ~BallSpawnAnimationTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }
};

} // namespace

TEST_F(BallSpawnAnimationTest, TheCircleShrinksAndFadesInThenReportsItsEndEveryTick)
{
    BallSpawnAnimation* spawn = new BallSpawnAnimation("BallSpawnAnimation1");
    spawn->AddEventReceiver(&receiver);
    root->AddChild(spawn, "");
    EXPECT_EQ(Point<int>(320, 240), spawn->GetCenter());
    EXPECT_EQ(48, spawn->CurrentRadius());
    EXPECT_EQ(0, spawn->CurrentAlpha());

    passes.Step(16);
    EXPECT_EQ(512u, spawn->GetElapsed());
    EXPECT_EQ(23, spawn->CurrentRadius());
    EXPECT_EQ(130, spawn->CurrentAlpha());
    // Drawn round its centre at that radius, in white.
    EXPECT_NE(0u, passes.Pixel(320, 240));
    EXPECT_NE(0u, passes.Pixel(320 + 21, 240));
    EXPECT_EQ(0u, passes.Pixel(320 + 26, 240));
    EXPECT_EQ(0u, passes.Pixel(320, 240 - 26));
    const std::uint32_t centre = passes.Pixel(320, 240);
    EXPECT_EQ((centre >> 16) & 255, centre & 255) << "not white";

    passes.Step(15); // 31 ticks
    passes.DispatchPostedEvents();
    EXPECT_TRUE(receiver.finished.empty()) << "finished before its life time was over";
    passes.Step(); // the 32nd tick brings it to 1024 ms
    passes.DispatchPostedEvents();
    ASSERT_EQ(1u, receiver.finished.size());
    EXPECT_EQ(static_cast<void*>(spawn), receiver.finished[0]);
    EXPECT_EQ(0, spawn->CurrentRadius());
    EXPECT_EQ(255, spawn->CurrentAlpha());
    passes.Step(2);
    passes.DispatchPostedEvents();
    EXPECT_EQ(3u, receiver.finished.size()) << "it reports its end on every later tick";

    ASSERT_EQ(1, sounds.Count("ballspawn.ogg"));
    EXPECT_EQ(0, sounds.Plays()[0].pan) << "the sound is not placed at the circle";
}

TEST_F(BallSpawnAnimationTest, TheRegistryMakesThemFromTablesWhosePositionIsTheCentre)
{
    std::unique_ptr<Object> made(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{class = 'BallSpawnAnimation', position = {100, 50}, initialRadius = 10, "
                        "lifeTime = 64, color = 'Red'}")));
    BallSpawnAnimation* spawn = dynamic_cast<BallSpawnAnimation*>(made.get());
    ASSERT_NE(nullptr, spawn);
    EXPECT_EQ(Point<int>(100, 50), spawn->GetCenter());
    EXPECT_EQ(Palette::Red, spawn->GetColor());
    LuaPlus::LuaObject position;
    spawn->RetrieveProperty(position, "position");
    EXPECT_EQ(Point<int>(100, 50), Point<int>(position));

    made.release();
    spawn->AddEventReceiver(&receiver);
    root->AddChild(spawn, "");
    passes.Step();
    passes.DispatchPostedEvents();
    EXPECT_TRUE(receiver.finished.empty());
    passes.Step();
    passes.DispatchPostedEvents();
    EXPECT_EQ(1u, receiver.finished.size());
    EXPECT_EQ(-68, sounds.Plays().at(0).pan); // centre x 100

    // Without a life time it is over at once: nothing left to draw, fully faded in.
    spawn->SetLifeTime(0);
    EXPECT_EQ(0, spawn->CurrentRadius());
    EXPECT_EQ(255, spawn->CurrentAlpha());
}
