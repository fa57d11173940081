// Power-ups on the field: released by breaking bricks, falling towards the attracting
// wall, caught by the paddle or lost in lava, their bursts, trails and sounds, every kind
// made from its table, and the loot bricks count.
#include "BallFixture.h"
#include "PaddleScene.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Random.h"
#include "display/Image.h"
#include "field/Brick.h"
#include "field/PowerupKind.h"
#include "field/Wall.h"
#include "scene/Animation.h"
#include "scene/BufferedIdenticalParticleEmitter.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace fieldtest;

namespace {

class PowerupTest : public PaddleTest
{
protected:
    PowerupTest() { MakoSrand(7); }

    // A power-up of that kind from its table, its centre at (cx, cy), handed to the
    // controller (so it is in the field's world), at rest.
    Powerup* Drop(const std::string& kind, double cx, double cy, bool spawn = false)
    {
        Powerup* powerup = dynamic_cast<Powerup*>(MakeStructure("{class = '" + kind + "'}"));
        EXPECT_NE(nullptr, powerup) << kind;
        if (!powerup)
            return nullptr;
        powerup->SetPosition(int(cx) - powerup->GetWidth() / 2, int(cy) - powerup->GetHeight() / 2);
        logic.AddPowerup(powerup);
        powerup->GetPhysicsBody()->SetLinearVel(0, 0);
        if (spawn)
            powerup->OnSpawn(true);
        return powerup;
    }
    Brick* AddBrick(const std::string& table, int x, int y)
    {
        Brick* brick = dynamic_cast<Brick*>(MakeStructure(table));
        EXPECT_NE(nullptr, brick) << table;
        brick->SetPosition(x, y);
        return root->Place(brick);
    }
    Wall* AddWall(const std::string& name, bool dangerous, bool attracts)
    {
        Wall* wall = new Wall(name);
        wall->SetDangerous(dangerous);
        wall->SetAttractPowerups(attracts);
        root->Place(wall);
        logic.walls.push_back(wall);
        return wall;
    }
    int EmittersNamed(const std::string& name) const
    {
        int n = 0;
        for (Actor* emitter : logic.emitters.GetMembers())
            n += emitter->GetName() == name;
        return n;
    }
    static Vector2D Velocity(Powerup* p) { return p->GetPhysicsBody()->GetLinearVel(); }
    static std::pair<double, double> Pull(const Powerup* p)
    {
        const Point<double> d = p->ChooseFallDirection();
        return {d.x, d.y};
    }
};

} // namespace

TEST_F(PowerupTest, ABrokenBrickReleasesItsPowerupWhichFallsAndExpandsThePaddleThatCatchesIt)
{
    PaddleProbe* paddle = AddPaddle();
    logic.paddles.push_back(paddle);
    logic.onCollect = [](Powerup* p, Paddle* by) {
        p->OnCollected(by, gLogic);
        if (by && p->GetKindName() == "ExpandPaddle") {
            by->Expand();
            by->TintFlash("Blue");
        }
    };
    AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 1, powerups = 'ExpandPaddle'}",
             300, 150);
    Ball* ball = new Ball(316, 220, 0, -300, true);
    logic.AddBall(ball);
    ASSERT_LT(passes.StepUntil([&] { return !logic.powerups.empty(); }, 60), 60);

    Powerup* powerup = logic.powerups.front();
    EXPECT_EQ("ExpandPaddle", powerup->GetKindName());
    EXPECT_EQ(1, sounds.Count("powerupCreationSound.ogg"));
    EXPECT_EQ(1, EmittersNamed("GoodPowerupCreationEmitter"));
    EXPECT_EQ(nullptr, powerup->GetCreationEmitter()) << "handed to the controller";
    EXPECT_EQ(1u, powerup->GetChildren().size()) << "the trail rides on it";

    // It falls: its sideways speed stays, its downward speed grows every tick.
    const Vector2D before = Velocity(powerup);
    passes.Step(3);
    const Vector2D after = Velocity(powerup);
    EXPECT_NEAR(before.x, after.x, 1e-6);
    EXPECT_GT(after.y, before.y + 1.0);
    EXPECT_FLOAT_EQ(80.0f, float(Powerup::GetGravity()));

    // Moved over the paddle, it drops onto it and is caught.
    powerup->GetPhysicsBody()->SetPosition(332, 370);
    powerup->GetPhysicsBody()->SetLinearVel(0, 50);
    ActorLink<Powerup> watch;
    watch.Set(powerup);
    ASSERT_LT(passes.StepUntil([&] { return !logic.collected.empty(); }, 60), 60);
    EXPECT_EQ(powerup, logic.collected.front());
    EXPECT_EQ(std::vector<std::string>{"ExpandPaddle"}, logic.combos);
    EXPECT_FALSE(logic.checks.empty()) << "the catch may end the level";
    passes.Step();
    EXPECT_EQ(nullptr, watch.Get()) << "the paddle kills what it caught";
    EXPECT_EQ(1, EmittersNamed("PaddleEdgePowerupCollectedEmitter") / 2);
    EXPECT_EQ(1, EmittersNamed("GoodPowerupCollectedEmitter"));

    passes.Step(12);
    EXPECT_DOUBLE_EQ(88.0, paddle->GetWidthPx());
}

TEST_F(PowerupTest, LavaSwallowsAPowerupWithItsSoundAndBreaksItsImageIntoPieces)
{
    AddWall("BottomWall", true, false);
    Powerup* lost = Drop("ExpandPaddle", 200, 430);
    ActorLink<Powerup> watch;
    watch.Set(lost);
    ASSERT_LT(passes.StepUntil([&] { return !watch.Get() || watch.Get()->IsDead(); }, 60), 60);
    EXPECT_EQ(1, sounds.Count("lostPowerup.ogg"));
    EXPECT_EQ(0, sounds.Count("lostLoot.ogg"));
    int pieces = 0;
    for (Actor* actor : logic.emitters.GetMembers())
        if (auto* e = dynamic_cast<BufferedIdenticalParticleEmitter*>(actor))
            if (e->GetName() != "LavaSplashEmitterSmall")
                pieces += e->GetNumParticles();
    EXPECT_EQ(25, pieces) << "(32 x 32) / 40 pieces";
    EXPECT_EQ(1u, logic.checks.size());
    EXPECT_TRUE(logic.collected.empty());

    sounds.Clear();
    Powerup* coin = Drop("BlingCoin", 260, 430);
    ActorLink<Powerup> coinWatch;
    coinWatch.Set(coin);
    passes.StepUntil([&] { return !coinWatch.Get() || coinWatch.Get()->IsDead(); }, 60);
    EXPECT_EQ(1, sounds.Count("lostLoot.ogg"));
    EXPECT_EQ(0, sounds.Count("lostPowerup.ogg"));
}

TEST_F(PowerupTest, EveryKindIsMadeFromItsTableFallsAndIsCaughtByThePaddle)
{
    EXPECT_FALSE(ClassManager::GetInstance()->GetClass("Powerup")->CanInstantiate());
    ASSERT_EQ(35u, PowerupKind::GetKinds().size());
    AddPaddle();
    std::set<std::string> caught;
    int caughtAtY = 0;
    logic.onCollect = [&](Powerup* p, Paddle*) {
        caught.insert(p->GetKindName());
        caughtAtY = p->GetY() + p->GetHeight() / 2;
    };
    for (const PowerupKind::Traits& kind : PowerupKind::GetKinds()) {
        logic.collected.clear();
        Powerup* p = Drop(kind.name, 332, 340, true);
        ASSERT_NE(nullptr, p) << kind.name;
        EXPECT_EQ(kind.name, p->GetClass()->GetName());
        EXPECT_EQ("Powerup", p->GetClass()->GetParentName());
        EXPECT_LE(passes.StepUntil([&] { return !logic.collected.empty(); }, 60), 59) << kind.name;
        EXPECT_GT(caughtAtY, 360) << kind.name << " fell onto the paddle";
    }
    EXPECT_EQ(35u, caught.size());
}

TEST_F(PowerupTest, FallsAtItsGravityWhateverBallIsOnTheField)
{
    // No ball (the field's 10 sub-steps), a slow large ball, and a small ball so fast that
    // it asks the world for many more sub-steps; each is kept in the middle of the field.
    struct Case
    {
        const char* name;
        int size;
        double speed;
    };
    for (const Case& c : {Case{"no ball", -1, 0.0}, Case{"slow large ball", 6, 150.0},
                          Case{"fast radius-4 ball", 0, 3650.0}}) {
        SCOPED_TRACE(c.name);
        Ball* ball = nullptr;
        if (c.size >= 0) {
            ball = AddBall(320, 300, c.speed, 0);
            ball->SetSize(BallRadii[c.size], BallRadii[c.size], c.size);
            // A ball at the top speed keeps up to three times that (plus 50) after a kick.
            if (c.speed > 3000.0)
                SetSpeedAndEnergy(ball, (c.speed - 50.0) / 3.0, 3);
        }
        const auto keepBall = [&] {
            if (ball) {
                ball->GetPhysicsBody()->SetPosition(320, 300);
                ball->GetPhysicsBody()->SetLinearVel(c.speed, 0);
            }
        };
        Powerup* p = Drop("ExpandPaddle", 100, 60);
        for (int i = 0; i < 2; ++i, passes.Step())
            keepBall();
        const Vector2D start = Velocity(p);
        int fewest = 1000;
        for (int i = 0; i < 20; ++i, passes.Step()) {
            keepBall();
            fewest = std::min(fewest, root->world.GetLastSubSteps());
        }
        const double fall = (Velocity(p).y - start.y) / (20 * 0.032);
        EXPECT_NEAR(Powerup::GetGravity(), fall, Powerup::GetGravity() * 0.01);
        EXPECT_NEAR(start.x, Velocity(p).x, 1e-6);
        if (c.speed > 3000.0) {
            EXPECT_GE(fewest, 70) << "sub-steps of the fast small ball";
        }
        p->Kill();
        if (ball)
            ball->Kill();
        passes.Step();
    }
    // Released at rest in the middle of the field, it reaches the paddle's line in 2 to 3
    // seconds.
    Powerup* p = Drop("ExpandPaddle", 300, 240);
    const int n = passes.StepUntil([&] { return p->GetY() + p->GetHeight() / 2 >= 416; }, 200);
    EXPECT_GE(n * 0.032, 2.0);
    EXPECT_LE(n * 0.032, 3.0);
}

TEST_F(PowerupTest, KindsReadTheirTablesAndATableAppliedLaterWins)
{
    struct Expect
    {
        const char* kind;
        int score;
        bool loot, secret;
        int sounds;
    };
    const Expect table[] = {
        {"BlingCoin", 100, true, false, 1}, {"BlingDiamond", 1000, true, false, 1},
        {"BlingRuby", 250, true, false, 1}, {"GoldBrickPowerup", 150, true, false, 0},
        {"Secret", 0, false, true, 2},      {"ExtraBall", 0, false, false, 1}};
    for (const Expect& e : table) {
        sounds.Clear();
        Powerup* p = Drop(e.kind, 200, 200);
        EXPECT_EQ(e.score, p->GetScore()) << e.kind;
        EXPECT_EQ(e.loot, p->IsLoot()) << e.kind;
        EXPECT_EQ(e.secret, p->IsSecret()) << e.kind;
        EXPECT_EQ(e.sounds > 0, p->OnSpawn(true)) << e.kind;
        EXPECT_EQ(e.sounds, int(sounds.Plays().size())) << e.kind;
        EXPECT_FALSE(p->OnSpawn(false)) << e.kind << " without sound";
    }
    auto* diamond = dynamic_cast<Powerup*>(MakeStructure("{class = 'BlingDiamond', score = 5}"));
    ASSERT_NE(nullptr, diamond);
    EXPECT_EQ(5, diamond->GetScore());
    delete diamond;

    // The gold brick shows its brick shape at a third, and its circle follows.
    Powerup* gold = Drop("GoldBrickPowerup", 300, 200);
    EXPECT_EQ(32, gold->GetWidth());
    EXPECT_DOUBLE_EQ(16.0, gold->GetRadius());
}

TEST_F(PowerupTest, ThePullComesFromTheNearestAttractingWallByItsCentreLine)
{
    Powerup* p = Drop("Split", 100, 240);
    // No attracting wall: straight down.
    AddWall("LeftWall", false, false);
    EXPECT_EQ(std::make_pair(0.0, 1.0), Pull(p));
    Wall* left = logic.walls.front();
    left->SetAttractPowerups(true);
    EXPECT_EQ(std::make_pair(-1.0, 0.0), Pull(p));
    // The right wall's centre line lies far beyond the field; the left one's as far on its
    // side: the power-up at x 100 is nearer the left's.
    AddWall("RightWall", false, true);
    EXPECT_EQ(std::make_pair(-1.0, 0.0), Pull(p));
    p->SetPosition(600, 224);
    EXPECT_EQ(std::make_pair(1.0, 0.0), Pull(p));
    // Equally near: the first in the controller's list pulls.
    const int mid = (left->GetX() + left->GetWidth() / 2 + logic.walls[1]->GetX() +
                     logic.walls[1]->GetWidth() / 2) /
                    2;
    p->SetPosition(mid - p->GetWidth() / 2, 224);
    EXPECT_EQ(std::make_pair(-1.0, 0.0), Pull(p));

    // The force is added each tick towards the chosen wall.
    p->SetPosition(100, 224);
    p->SyncToPhysics();
    passes.Step(3);
    EXPECT_LT(Velocity(p).x, -1.0);
}

TEST_F(PowerupTest, ABrickReleasesOnceSpreadOverDistinctColumnsAndRowsWithOneSound)
{
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 1,"
                            " powerups = {'Split', 'BigBall', 'Laser'}, powerupIsLoot = true}",
                            300, 200);
    brick->Destroy(nullptr, &logic, 316, 208, false);
    ASSERT_EQ(3u, logic.powerups.size());
    EXPECT_EQ(1, sounds.Count("powerupCreationSound.ogg")) << "only the first asks for sound";
    std::set<double> xs, ys;
    for (Powerup* p : logic.powerups) {
        const Vector2D v = Velocity(p);
        xs.insert(v.x);
        ys.insert(v.y);
        bool column = false, row = false;
        for (int i = 0; i < 7; ++i) {
            column = column || std::fabs(v.x - Brick::PowerupSpread(i, 7)) < 1e-9;
            row = row || std::fabs(v.y - Brick::PowerupSpread(i, 7)) < 1e-9;
        }
        EXPECT_TRUE(column && row) << v.x << ", " << v.y;
    }
    EXPECT_EQ(3u, xs.size());
    EXPECT_EQ(3u, ys.size());
    EXPECT_TRUE(brick->CreatePowerups().size() == 3u) << "a fresh set once released";
}

TEST_F(PowerupTest, PaddleBrokenBricksLiftTheirPowerupsAndFastBallsAreCapped)
{
    PaddleProbe* paddle = AddPaddle();
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 1,"
                            " powerups = {'Laser', 'GoldBrickPowerup'}}",
                            300, 300);
    const Vector2D centre(brick->GetX() + brick->GetWidth() / 2.0,
                          brick->GetY() + brick->GetHeight() / 2.0);
    brick->Destroy(paddle, &logic, 250, 320, false);
    ASSERT_EQ(2u, logic.powerups.size());
    Powerup* laser = logic.powerups[0];
    Powerup* gold = logic.powerups[1];
    EXPECT_EQ(int(centre.x) - 16, laser->GetX());
    EXPECT_EQ(int(centre.y) - 40 - 16, laser->GetY());
    EXPECT_EQ(250 - 16, gold->GetX()) << "gold stays where it broke";

    Brick* second = AddBrick(
        "{class = 'Brick', textureOnly = 'Stone', strength = 1, powerups = 'Split'}", 100, 100);
    Ball* fast = AddBall(50, 50, 3000, 0);
    second->Destroy(fast, &logic, 116, 108, false);
    ASSERT_EQ(3u, logic.powerups.size());
    const Vector2D v = Velocity(logic.powerups[2]);
    EXPECT_NEAR(300.0, v.x, 100.0 + 1e-9) << "capped at 300, then spread";
    EXPECT_LE(std::fabs(v.y), 100.0 + 1e-9);
}

TEST_F(PowerupTest, BricksCountTheirLootValueAndSecrets)
{
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 1, extraLoot = 2,"
                            " powerups = {'BlingDiamond', 'BlingRuby', 'Secret', 'Split'}}",
                            300, 200);
    brick->CountLoot();
    EXPECT_EQ(4, brick->GetLootCount());
    EXPECT_EQ(1000 + 250 + 500, brick->GetLootValue());
    EXPECT_TRUE(brick->HasSecret());
    brick->CountLoot();
    EXPECT_EQ(4, brick->GetLootCount()) << "counting again builds nothing new";

    Brick* plain = AddBrick("{class = 'Brick', textureOnly = 'Stone', powerups = 'Split'}", 0, 0);
    plain->CountLoot();
    EXPECT_EQ(0, plain->GetLootCount());
    EXPECT_FALSE(plain->HasSecret());

    // Only power-up kinds: another name was left out when it was set.
    Brick* bad = AddBrick("{class = 'Brick', textureOnly = 'Stone', powerups = 'Brick'}", 0, 50);
    bad->CountLoot();
    EXPECT_EQ(0, bad->GetLootCount());
}

TEST_F(PowerupTest, ABrickShowsThePowerupsItHoldsAsIconsOfTheirOwnPictures)
{
    // The same brick, plain, with the anonymous mark, and showing what it holds.
    auto picture = [&](const std::string& extra) {
        Brick* brick =
            AddBrick("{class = 'Brick', textureOnly = 'Stone', brickSize = 'Double'" + extra + "}",
                     100, 100);
        brick->CreateBrickImage();
        SDL_Surface* surface = brick->GetImage()->GetSDLSurface();
        std::vector<std::uint8_t> pixels;
        SDL_LockSurface(surface);
        for (int y = 0; y < surface->h; ++y) {
            const auto* row =
                static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
            pixels.insert(pixels.end(), row, row + surface->w * surface->format->BytesPerPixel);
        }
        SDL_UnlockSurface(surface);
        brick->Kill();
        return pixels;
    };
    const auto plain = picture("");
    const auto anonymous = picture(", showAnonymousPowerup = true, powerups = 'ExpandPaddle'");
    const auto shown = picture(", showPowerup = true, powerups = 'ExpandPaddle'");
    EXPECT_NE(plain, anonymous);
    EXPECT_NE(plain, shown);
    EXPECT_NE(anonymous, shown) << "the held power-up's own picture, not the anonymous mark";
}

TEST_F(PowerupTest, CollectionEffectsNeedAPaddleAndAColourAndSurviveAMissingController)
{
    PaddleProbe* paddle = AddPaddle();
    Powerup* coin = Drop("BlingCoin", 100, 100);
    coin->OnCollected(nullptr, &logic);
    EXPECT_EQ(1, EmittersNamed("GoldPowerupCollectedEmitter"));
    EXPECT_EQ(0, EmittersNamed("PaddleEdgePowerupCollectedEmitter")) << "granted: no paddle";
    coin->OnCollected(paddle, &logic);
    EXPECT_EQ(2, EmittersNamed("GoldPowerupCollectedEmitter")) << "built again when needed";
    EXPECT_EQ(2, EmittersNamed("PaddleEdgePowerupCollectedEmitter"));

    // Spawned twice: two bursts and two trails.
    Powerup* twice = Drop("Faster", 200, 100);
    twice->OnSpawn(false);
    twice->OnSpawn(false);
    EXPECT_EQ(2, EmittersNamed("BadPowerupCreationEmitter"));
    EXPECT_EQ(2u, twice->GetChildren().size());

    // With no controller running, nothing touches a particle manager; sounds still play.
    Powerup* alone = Drop("ExtraBall", 300, 100);
    gLogic = nullptr;
    sounds.Clear();
    EXPECT_TRUE(alone->OnSpawn(true));
    alone->OnCollected(paddle, nullptr);
    alone->Shatter();
    gLogic = &logic;
    EXPECT_EQ(1, sounds.Count("powerupCreationSound.ogg"));
    EXPECT_EQ(0, EmittersNamed("GoodPowerupCreationEmitter"));
    EXPECT_TRUE(alone->GetChildren().empty());
}

TEST_F(PowerupTest, CoinsAndGemsSpinAnewAtEverySpawnAndTrailsStartOnAPowerupAtRest)
{
    std::set<std::string> spins;
    for (const char* kind : {"BlingCoin", "BlingDiamond", "BlingEmerald", "BlingRuby"}) {
        Powerup* gem = Drop(kind, 200, 200);
        for (int i = 0; i < 12; ++i) {
            gem->OnSpawn(false);
            ASSERT_NE(nullptr, gem->GetAnimation()) << kind;
            spins.insert(gem->GetAnimation()->GetAnimationName());
        }
    }
    EXPECT_EQ((std::set<std::string>{"spin1", "spin2", "spin3"}), spins);
    Powerup* plain = Drop("Laser", 300, 200, true);
    EXPECT_EQ(nullptr, plain->GetAnimation());

    // A power-up held still: its trail particles start on its centre.
    const std::set<Actor*> before(logic.particles->GetChildren().begin(),
                                  logic.particles->GetChildren().end());
    plain->Tick();
    EXPECT_EQ(0.0f, plain->GetLastMove().x);
    EXPECT_EQ(0.0f, plain->GetLastMove().y);
    plain->GetChildren().front()->Tick();
    int fresh = 0;
    for (Actor* particle : logic.particles->GetChildren()) {
        if (before.count(particle))
            continue;
        ++fresh;
        EXPECT_NEAR(300, particle->GetX() + particle->GetWidth() / 2, 1);
        EXPECT_NEAR(200, particle->GetY() + particle->GetHeight() / 2, 1);
    }
    EXPECT_GT(fresh, 0);
}
