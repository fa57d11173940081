// Explosions on a stepping field: what the blast strikes and how hard, its lifetime and
// fireball, what it does to balls and the paddle, and blasts made from script tables.
#include "FieldScene.h"
#include "StruckStructure.h"

#include "display/Image.h"
#include "field/Collider.h"
#include "scene/ActorLink.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {

class ExplosionTest : public FieldTest
{
protected:

    Explosion* Blast(Explosion* explosion)
    {
        logic.AddExplosion(explosion);
        return explosion;
    }
};

} // namespace

TEST_F(ExplosionTest,
       AnExplosivePowerOfTwoBlastsARadiusOf32ForFourTicksWithSoundFireballAndParticles)
{
    ActorLink<Explosion> blast;
    blast.Set(Blast(Explosion::FromPower(320, 240, 2, 0, false)));
    EXPECT_DOUBLE_EQ(32.0, blast->GetBlastRadius());
    EXPECT_EQ(4, blast->GetLifetime());
    EXPECT_EQ(2, blast->GetMinDamage());
    EXPECT_EQ(3, blast->GetMaxDamage());

    // The fireball is as wide as the blast, centred on it.
    EXPECT_EQ(64, blast->GetWidth());
    EXPECT_EQ(320, blast->GetX() + blast->GetWidth() / 2);
    EXPECT_EQ(240, blast->GetY() + blast->GetHeight() / 2);
    EXPECT_EQ(1, sounds.Count(Explosion::kSoundName));
    ASSERT_EQ(1u, logic.emitters.GetMembers().size());
    const Actor* emitter = logic.emitters.GetMembers().front();
    EXPECT_EQ(blast->GetX(), emitter->GetX());
    EXPECT_EQ(blast->GetWidth(), emitter->GetWidth());

    // The sensor lives its 4 ticks and one more; the fireball plays through to its last
    // frame meanwhile, and the explosion goes with the sensor.
    const int frames = blast->GetImage()->GetNumFrames();
    int lastFrame = 0;
    for (int pass = 1; pass <= 5; ++pass) {
        passes.Step();
        ASSERT_TRUE(blast) << "gone after pass " << pass;
        EXPECT_GE(blast->GetFrame(), lastFrame);
        lastFrame = blast->GetFrame();
    }
    EXPECT_EQ(frames - 1, lastFrame);
    passes.Step();
    EXPECT_FALSE(blast);
    EXPECT_TRUE(logic.explosions.IsEmpty());

    // A wider blast draws a wider fireball.
    Explosion* wide = Blast(Explosion::FromPower(200, 200, 4, 48, false));
    EXPECT_EQ(96, wide->GetWidth());
    EXPECT_EQ(5, wide->GetLifetime());
}

TEST_F(ExplosionTest, DamageFallsFromTheCentreToTheRimAndEachStructureIsStruckOnce)
{
    // One brick over the centre, one whose nearest edge lies 28 pixels off it, and a goober
    // and a drop target out of reach.
    StruckStructure* centre = root->Place(MakeStruckBox("Brick", 304, 232, 32, 16, 5));
    StruckStructure* rim = root->Place(MakeStruckBox("Brick", 348, 232, 32, 16, 5));
    StruckStructure* far = root->Place(MakeStruckBox("Goober", 420, 232, 16, 16));
    StruckStructure* target = root->Place(MakeStruckBox("DropTarget", 100, 100, 16, 16));
    Explosion* blast = Blast(Explosion::FromPower(320, 240, 2, 0, false));
    passes.Step(6);

    ASSERT_EQ(1u, centre->blows.size()) << "struck more than once, or never";
    EXPECT_EQ(blast, centre->blows[0].striker);
    EXPECT_EQ(3, centre->blows[0].damage);
    EXPECT_EQ(2, centre->strength);
    ASSERT_EQ(1u, rim->blows.size());
    EXPECT_EQ(2, rim->blows[0].damage);
    EXPECT_EQ(3, rim->strength);
    EXPECT_TRUE(far->blows.empty());
    EXPECT_TRUE(target->blows.empty());

    // A stronger blast (radius 56, damage 3 to 6) across a row of targets 0, 10, 24 and 38
    // pixels from its centre: the nearer, the harder; goobers and drop targets are struck
    // like bricks.
    std::vector<StruckStructure*> row;
    for (int i = 0; i < 4; ++i)
        row.push_back(
            root->Place(MakeStruckBox(i % 2 ? "Goober" : "DropTarget", 196 + 14 * i, 388, 8, 16)));
    Blast(Explosion::FromPower(200, 396, 5, 0, false));
    passes.Step(2);
    const int expected[] = {6, 5, 4, 3};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(1u, row[i]->blows.size()) << "target " << i;
        EXPECT_EQ(expected[i], row[i]->blows[0].damage) << "target " << i;
    }

    // A blast with no maximum of its own strikes with its minimum everywhere.
    StruckStructure* flat = root->Place(MakeStruckBox("Brick", 500, 100, 16, 16));
    Blast(new Explosion(508, 108, 40, 2, 4, -1, false));
    passes.Step(2);
    ASSERT_EQ(1u, flat->blows.size());
    EXPECT_EQ(4, flat->blows[0].damage);
}

TEST_F(ExplosionTest, BallsArePushedButNotDamagedAndOnlyAHarmfulBlastNearThePaddleEndsIt)
{
    StruckStructure* ball = root->Place(MakeStruckCircle("Ball", 330, 240, 8));
    Blast(Explosion::FromPower(320, 240, 2, 0, false));
    passes.Step(3);
    EXPECT_GT(ball->GetPhysicsBody()->GetLinearVel().x, 1.0) << "the ball was not pushed away";
    EXPECT_TRUE(ball->blows.empty());

    // A paddle 8 pixels under the centre: the harmless blast never reaches it, a harmful one
    // shatters it, and one whose centre is more than half its radius away leaves it alone.
    Paddle* paddle = new Paddle();
    paddle->SetPosition(80, 408);
    root->Place(paddle);
    Explosion* harmless = Blast(new Explosion(112, 400, 32, 2, 1, 1, false));
    EXPECT_EQ(0u, harmless->GetCollider()->GetCollideBits() & 16u);
    passes.Step(4);
    EXPECT_TRUE(logic.checks.empty());

    Blast(new Explosion(112, 380, 32, 2, 1, 1, true)); // 20 pixels above the paddle's top
    passes.Step(4);
    EXPECT_TRUE(logic.checks.empty()) << "a paddle beyond half the radius was hurt";
    EXPECT_FALSE(paddle->IsDead());
    ActorLink<Paddle> survivor;
    survivor.Set(paddle);
    Blast(new Explosion(112, 400, 32, 2, 1, 1, true));
    passes.Step(4);
    EXPECT_EQ(1u, logic.checks.size());
    EXPECT_FALSE(survivor) << "the paddle was not shattered";
}

TEST_F(ExplosionTest, AScriptBlastGoesOffAtItsRectanglesCentreAndEndsWithItsSensorWhenKilled)
{
    Explosion* scripted = dynamic_cast<Explosion*>(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{resource = 'Explosion', position = {100, 200}, size = {20, 20}}")));
    ASSERT_NE(nullptr, scripted);
    Blast(scripted);
    EXPECT_DOUBLE_EQ(32.0, scripted->GetBlastRadius());
    EXPECT_EQ(2, scripted->GetLifetime());
    EXPECT_EQ(110, scripted->GetX() + scripted->GetWidth() / 2);
    EXPECT_EQ(210, scripted->GetY() + scripted->GetHeight() / 2);

    StruckStructure* brick = root->Place(MakeStruckBox("Brick", 102, 202, 16, 16));
    passes.Step();
    EXPECT_EQ(1u, brick->blows.size());

    // Killing the explosion ends its sensor too; nothing calls back into it afterwards.
    ActorLink<Collider> sensor;
    sensor.Set(scripted->GetCollider());
    ASSERT_TRUE(sensor);
    scripted->Kill();
    EXPECT_FALSE(sensor);
    passes.Step(3);
    EXPECT_EQ(1u, brick->blows.size());
}

TEST_F(ExplosionTest, ABrickBrokenDuringAContactCanSetOffABlastLightningAndAScoreText)
{
    // What a breaking brick makes, made from inside the world's step.
    static StruckStructure* s_Brick;
    StruckStructure* brick = root->Place(MakeStruckBox("Brick", 300, 200, 32, 16));
    s_Brick = brick;
    StruckStructure* neighbour = root->Place(MakeStruckBox("Brick", 340, 200, 32, 16));
    brick->AddHitCallback(
        [](ArcadeGameLogic* logic, ArcadeStructure*, double, double, double, double, double,
           void*) {
            if (s_Brick->IsDead())
                return;
            logic->AddExplosion(Explosion::FromPower(316, 208, 2, 0, false));
            logic->AddSpark(new Spark(316, 208, 316, 208, s_Brick, 4, logic, 64, 2, 4, 1, 2));
            logic->AddFlyingText(new FlyingText("$100", 50, 316, 208, 2, -20));
            s_Brick->Kill();
        },
        nullptr);
    StruckStructure* ball = root->Place(MakeStruckCircle("Ball", 316, 240, 8));
    ball->SetCollideBits(2);
    ball->GetPhysicsBody()->SetLinearVel(0, -400);
    passes.StepUntil([&] { return !logic.texts.IsEmpty(); }, 10);
    ASSERT_EQ(1u, logic.explosions.GetMembers().size());
    ASSERT_EQ(1u, logic.sparks.GetMembers().size());
    passes.Step(3);
    EXPECT_EQ(1u, neighbour->blows.size()) << "the blast missed the neighbour";
    EXPECT_GE(logic.sparks.GetMembers().size(), 2u) << "the lightning did not fork";
    const FlyingText* text = static_cast<FlyingText*>(logic.texts.GetMembers().front());
    EXPECT_NE(nullptr, text->GetPhysicsBody());
    passes.Step(10);
}
