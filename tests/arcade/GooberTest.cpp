// Goobers of the game's own tables: theft from the paddle, destruction and its score,
// damage from balls and blasts, damage frames, homing and the speed cap, and the power-ups
// they release.
#include "FieldScene.h"

#include "core/Random.h"
#include "core/State.h"
#include "display/Image.h"
#include "field/Goober.h"
#include "field/Powerup.h"
#include "physics/PhysicsGeom.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fieldtest;

namespace {

// A ball whose energy the test raises, as the paddle's strokes would.
class EnergeticBall : public Ball
{
public:
    using Ball::Ball;
    using Ball::RaiseSpeedLevelBy;
};

class GooberTest : public FieldTest
{
protected:
    GooberTest() { MakoSrand(11); }

    // A goober of the named resource (plus extra keys) centred on (cx, cy), in the field.
    Goober* AddGoober(const std::string& resource, int cx, int cy, const std::string& extra = "")
    {
        Object* made = ClassManager::GetInstance()->InstantiateObject(
            bbtest::EvalLua("{class = 'Goober', resource = '" + resource + "'" + extra + "}"));
        Goober* goober = dynamic_cast<Goober*>(made);
        goober->SetPosition(cx - goober->GetWidth() / 2, cy - goober->GetHeight() / 2);
        return root->Place(goober);
    }

    // A bottom paddle, centred at (332, 408), known to the controller.
    Paddle* AddPaddle()
    {
        Paddle* paddle = root->Place(new Paddle(false, false));
        logic.paddles.push_back(paddle);
        return paddle;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (Actor* a : logic.texts.GetMembers())
            texts.push_back(static_cast<FlyingText*>(a)->GetLabel()->GetText());
        return texts;
    }

    static Vector2D Centre(const ArcadeStructure* s)
    {
        const auto p = s->GetGeom()->GetPosition();
        return Vector2D(p[0], p[1]);
    }
};

} // namespace

TEST_F(GooberTest, ThiefTakesLootOncePerCooldownAndSurvives)
{
    Paddle* paddle = AddPaddle();
    paddle->AddPhrase("BlingDiamond");
    paddle->AddPhrase("BlingDiamond");
    Goober* thief = AddGoober("ThiefGoober", 332, 380);
    thief->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ((std::vector<std::string>{"$-1,000"}), Texts());
    EXPECT_EQ(-1000, logic.score) << "the score may go below zero";
    ASSERT_NE(nullptr, paddle->GetLabel());
    EXPECT_EQ("Stole Diamond!", static_cast<Label*>(paddle->GetLabel())->GetText());
    EXPECT_FALSE(thief->IsDead());

    passes.Step(299);
    thief->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ(-1000, logic.score) << "stole again within the cooldown";
    passes.Step();
    thief->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ(-2000, logic.score);

    // An empty bag still starts the cooldown.
    passes.Step(300);
    thief->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ(-2000, logic.score);
    EXPECT_EQ(Goober::kStealCooldown, thief->GetStealCooldown());
}

TEST_F(GooberTest, PaddleDestroysANormalGooberForHalfItsScore)
{
    Paddle* paddle = AddPaddle();
    Goober* goober = AddGoober("NormalGoober", 332, 380);
    goober->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_TRUE(goober->IsDead());
    EXPECT_EQ((std::vector<std::string>{"$10"}), Texts());
    EXPECT_EQ(10, logic.score);
    EXPECT_EQ(1, sounds.Count("attention5.ogg"));
    EXPECT_EQ(1, sounds.Count("Goober Pop.ogg"));
    EXPECT_EQ(1u, logic.emitters.GetMembers().size()) << "no burst of pieces";
    // A dead goober ignores every further contact.
    goober->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ(10, logic.score);

    // Odd scores are halved downwards.
    Goober* odd = AddGoober("NormalGoober", 200, 300, ", gooberScore = 25");
    odd->HandleCollision(&logic, paddle, 332, 400, 0, 1, 0, true);
    EXPECT_EQ(22, logic.score);
}

TEST_F(GooberTest, ActiveBallsDamageOncePerTickAndPassWhenTheyWillDestroy)
{
    Goober* goober = AddGoober("StrongGoober", 300, 200, ", strength = 5");
    auto strikingBall = [&](int energy) {
        EnergeticBall* ball = new EnergeticBall(300, 300, 0, 0, true);
        logic.AddBall(ball);
        ball->RaiseSpeedLevelBy(energy, nullptr);
        return ball;
    };
    Ball* ball = strikingBall(2);
    ASSERT_EQ(3, ball->GetHitStrength());
    EXPECT_FALSE(goober->AcceptsCollision(ball, 300, 215)) << "a ball that will not break it";
    goober->HandleCollision(&logic, ball, 300, 215, 0, 1, 0, true);
    goober->HandleCollision(&logic, ball, 300, 215, 0, 1, 0, true);
    EXPECT_EQ(3, goober->GetDamage()) << "damaged twice in one tick";
    EXPECT_EQ(0, ball->GetEnergy()) << "the ball did not shed its energy";
    EXPECT_EQ(2, sounds.Count("lead_bounce.ogg"));
    EXPECT_NE(nullptr, goober->GetFlash());

    passes.Step();
    Ball* second = strikingBall(3);
    EXPECT_TRUE(goober->AcceptsCollision(second, 300, 215)) << "stops a ball that breaks it";
    goober->HandleCollision(&logic, second, 300, 215, 0, 1, 0, true);
    EXPECT_TRUE(goober->IsDead());
    EXPECT_EQ(5, goober->GetDamage());
    EXPECT_EQ(1, second->GetEnergy()) << "shed other than what the goober had left";
    EXPECT_EQ(40, logic.score);
}

TEST_F(GooberTest, IndestructibleGoobersBounceEveryBallAndTakeNoDamage)
{
    Goober* rock = AddGoober("NormalGoober", 300, 200, ", strength = -1");
    Ball* ball = new Ball(300, 300, 0, 0, true);
    logic.AddBall(ball);
    EXPECT_FALSE(rock->AcceptsCollision(ball, 300, 215));
    for (int i = 0; i < 3; ++i)
        rock->HandleCollision(&logic, ball, 300, 215, 0, 1, 0, true);
    EXPECT_EQ(3, sounds.Count("lead_bounce.ogg"));
    Explosion* blast = Explosion::FromPower(300, 200, 5, 0, false);
    logic.AddExplosion(blast);
    rock->HandleCollision(&logic, blast, 300, 200, 0, 1, 0, true);
    EXPECT_EQ(0, rock->GetDamage());
    EXPECT_FALSE(rock->IsDead());
}

TEST_F(GooberTest, DamageFramesFollowTheDamage)
{
    // A four-frame picture and strength 10: damage 1 shows frame 1, 4 frame 2, 7 and 9
    // frame 3.
    Goober* strong = AddGoober("StrongGoober", 300, 200);
    ASSERT_EQ(4, strong->GetImage()->GetNumFrames());
    std::vector<int> frames;
    for (int damage : {0, 1, 3, 4, 6, 7, 9}) {
        strong->SetDamage(damage, nullptr, &logic, 300, 200);
        frames.push_back(strong->GetFrame());
    }
    EXPECT_EQ((std::vector<int>{0, 1, 1, 2, 2, 3, 3}), frames);
    strong->SetDamage(10, nullptr, &logic, 300, 200);
    EXPECT_TRUE(strong->IsDead());
}

TEST_F(GooberTest, HomingPullsTowardsANearPaddleAndTheSpeedIsCapped)
{
    AddPaddle();
    // No wandering and no gravity: only the pull moves these.
    const std::string calm = ", randomWalk = 0, gravity = {0, 0}, speedLimit = 0";
    Goober* far = AddGoober("ThiefGoober", 100, 100, calm);
    Goober* near = AddGoober("ThiefGoober", 200, 330, calm);
    Goober* always = AddGoober("ThiefGoober", 100, 160, calm + ", seekDistance = -1");
    passes.Step(3);
    EXPECT_NEAR(0.0, far->GetVelocity().x, 1e-3) << "pulled from beyond its seek distance";
    EXPECT_GT(near->GetVelocity().x, 0.0);
    EXPECT_GT(always->GetVelocity().x, 0.0);

    // A speed above the limit is cut to it before the tick's force is applied.
    Goober* fast = AddGoober("NormalGoober", 300, 200,
                             ", randomWalk = 0, gravity = {0, 0}, "
                             "speedLimit = 40");
    fast->GetPhysicsBody()->SetLinearVel(300, 400);
    passes.Step();
    EXPECT_NEAR(40.0, std::hypot(fast->GetVelocity().x, fast->GetVelocity().y), 1e-3);
    const Vector2D v = fast->GetPhysicsBody()->GetLinearVel();
    EXPECT_NEAR(0.6, v.x / v.Length(), 1e-3);
}

// The acceleration of a goober's body over n passes with the given sub-step count.
static Vector2D Acceleration(bbtest::PassHarness& passes, FieldRoot* root, const Goober* g, int n,
                             int subSteps)
{
    root->world.SetCollisionIterations(subSteps);
    const Vector2D start = g->GetPhysicsBody()->GetLinearVel();
    passes.Step(n);
    return (g->GetPhysicsBody()->GetLinearVel() - start) * (1.0 / (n * 0.032));
}

TEST_F(GooberTest, GravityAndHomingAccelerateByTheirFiguresWhateverTheSubSteps)
{
    AddPaddle();
    // Without wandering and the cap: the pull of a thief that always seeks, and the bomb's
    // and the anvil's own gravity.
    const std::string calm = ", randomWalk = 0, speedLimit = 0";
    Goober* thief =
        AddGoober("ThiefGoober", 100, 160, calm + ", gravity = {0, 0}, seekDistance = -1");
    Goober* bomb = AddGoober("GooberBomb", 400, 100, calm);
    Goober* anvil = AddGoober("GooberAnvil", 500, 100, calm);
    const double seek = bbtest::EvalLua("Resources.ThiefGoober.seekPaddle").GetNumber();
    const double bombFall = bbtest::EvalLua("Resources.GooberBomb.gravity[2]").GetNumber();
    const double anvilFall = bbtest::EvalLua("Resources.GooberAnvil.gravity[2]").GetNumber();
    passes.Step(2);
    for (int subSteps : {10, 73, 200}) {
        SCOPED_TRACE(subSteps);
        const Vector2D a = Acceleration(passes, root, thief, 8, subSteps);
        EXPECT_NEAR(seek, a.x, seek * 0.01);
        EXPECT_NEAR(0.0, a.y, 1e-6);
    }
    root->world.SetCollisionIterations(10);
    const Vector2D b0 = bomb->GetPhysicsBody()->GetLinearVel();
    const Vector2D a0 = anvil->GetPhysicsBody()->GetLinearVel();
    passes.Step(5);
    root->world.SetCollisionIterations(73);
    passes.Step(5);
    EXPECT_NEAR(bombFall, (bomb->GetPhysicsBody()->GetLinearVel().y - b0.y) / 0.32,
                bombFall * 0.01);
    EXPECT_NEAR(anvilFall, (anvil->GetPhysicsBody()->GetLinearVel().y - a0.y) / 0.32,
                anvilFall * 0.01);
}

TEST_F(GooberTest, AShippedBombFallsAtItsTopSpeedAndAThiefComesDownToThePaddle)
{
    Paddle* paddle = AddPaddle();
    paddle->AddPhrase("BlingDiamond");
    // The bomb wanders a little but is at its cap of 40 pixels per second within half a
    // second, heading down.
    Goober* bomb = AddGoober("GooberBomb", 400, 60);
    passes.Step(16);
    const Vector2D v = bomb->GetPhysicsBody()->GetLinearVel();
    EXPECT_GT(v.y, 30.0);
    EXPECT_LT(v.Length(), 40.0 + 160.0 * 0.032 + 400.0 * 0.032 * 1.5);
    const double y0 = Centre(bomb).y;
    passes.Step(60);
    EXPECT_GT(Centre(bomb).y - y0, 50.0) << "about 40 pixels per second down";

    // A thief high above the field comes down to the paddle and steals.
    Goober* thief = AddGoober("ThiefGoober", 250, 60);
    const int n = passes.StepUntil([&] { return thief->GetStealCooldown() > 0; }, 900);
    EXPECT_LT(n, 900) << "the thief hovers at " << Centre(thief).x << ", " << Centre(thief).y;
    EXPECT_EQ(-1000, logic.score);
}

TEST_F(GooberTest, DestroyedGooberReleasesItsPowerupsInsideTheField)
{
    Goober* goober = AddGoober("NormalGoober", 20, 40, ", powerups = {'BlingDiamond'}");
    goober->SetDamage(1, nullptr, &logic, 20, 40);
    ASSERT_EQ(1u, logic.powerups.size());
    Powerup* released = logic.powerups.front();
    EXPECT_GE(released->GetX(), 16);
    EXPECT_GE(released->GetY(), 36);
    delete released;
    // A name that is no power-up kind is named and left out when it is set; the kinds
    // beside it stay.
    bbtest::LogCapture log;
    for (const char* kind : {"Goober", "OptionsDialog", "Player", "|TripWire()|", ""}) {
        const std::vector<Powerup*> made =
            AddGoober("NormalGoober", 300, 200,
                      std::string(", powerups = {'") + kind + "', 'BlingDiamond'}")
                ->CreatePowerups();
        ASSERT_EQ(1u, made.size()) << kind;
        EXPECT_EQ("BlingDiamond", made[0]->GetClass()->GetName());
        delete made[0];
        EXPECT_NE(log.Text().find(std::string("powerups: \"") + kind +
                                  "\" is not a kind of power-up; it is left out"),
                  std::string::npos)
            << kind << "\n"
            << log.Text();
    }
    // The maker itself still refuses such a name.
    EXPECT_EQ("\"Player\" is not a kind of power-up",
              bbtest::MessageOf([] { Powerup::CreateOfKind("Player"); }));
}

TEST_F(GooberTest, EveryShippedGooberIsMadeFromItsTable)
{
    for (const char* name :
         {"NormalGoober", "DestructiveGoober", "SuicideGoober", "BomberGoober", "StrongGoober",
          "ThiefGoober", "Boulder", "Snowball", "GooberBomb", "GooberAnvil", "SmartBomb"}) {
        Goober* g = AddGoober(name, 300, 200);
        EXPECT_NE(nullptr, g->GetImage()) << name;
        passes.Step();
        g->Kill();
    }
    // The bomb's fuse and whistle, and again for the bomb the bomber drops as it dies in play.
    EXPECT_EQ(2, sounds.Count("fuse.ogg"));
    EXPECT_EQ(2, sounds.Count("Whistle.ogg"));
    EXPECT_EQ(1, sounds.Count("tracking.ogg"));
}

TEST_F(GooberTest, BomberDropsABombWhenDestroyedDuringPlay)
{
    class Playing : public State
    {
    public:
        const char* GetName() const override { return "Playing"; }
    };
    logic.AddState(new Playing());
    logic.SetState("Playing");
    Goober* bomber = AddGoober("BomberGoober", 300, 200);
    ASSERT_EQ(1u, bomber->GetFactories().size());
    bomber->SetDamage(1, nullptr, &logic, 300, 200);
    ASSERT_EQ(1u, logic.extras.GetMembers().size());
    const Goober* bomb = dynamic_cast<Goober*>(logic.extras.GetMembers().front());
    ASSERT_NE(nullptr, bomb);
    EXPECT_EQ("Bomb.png", bomb->GetImageName());
    EXPECT_NEAR(300.0, Centre(bomb).x, 1.0);
    EXPECT_EQ(1, sounds.Count("fuse.ogg"));
}

TEST_F(GooberTest, FlashCoversTheGooberOfEveryShapeForFourTicks)
{
    for (const char* shape :
         {"", ", rectangle = {40, 20}", ", polygon = {{0, 0}, {36, 0}, {18, 24}}"}) {
        Goober* g = AddGoober("NormalGoober", 300, 200, std::string(shape) + ", strength = -1");
        g->Flash();
        ASSERT_NE(nullptr, g->GetFlash()) << shape;
        EXPECT_EQ(g->GetWidth(), g->GetFlash()->GetWidth()) << shape;
        EXPECT_EQ(g->GetHeight(), g->GetFlash()->GetHeight()) << shape;
        passes.Step(4);
        EXPECT_NE(nullptr, g->GetFlash()) << "gone early" << shape;
        passes.Step();
        EXPECT_EQ(nullptr, g->GetFlash()) << shape;
        g->Kill();
    }
}
