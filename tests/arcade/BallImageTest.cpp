// Ball images and effects: the composed image cache, drawing, the trail and motion-blur
// particles, low effects and the break-up into chunks.
#include "BallFixture.h"

#include "display/Image.h"
#include "field/Brick.h"
#include "physics/PhysicsGeom.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/Particle.h"
#include "support/MessageOf.h"

#include <cmath>

using namespace fieldtest;

namespace {

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(BallTest, TheImageCacheComposesEveryCoronaSubstanceAndSize)
{
    // Plain balls are their pack image; coronas widen the image to 1.5 times the ball.
    const int diameters[] = {8, 12, 16, 24, 32, 48, 64};
    for (int d : diameters) {
        Image* plain = Ball::RetrieveBallImage("None", "Rubber", d, 0);
        ASSERT_NE(nullptr, plain);
        EXPECT_EQ(Point<int>(d, d), plain->GetFrameSize());
        EXPECT_EQ(1, plain->GetNumFrames());
        Image* mace = Ball::RetrieveBallImage("Breakthru", "Lead", d, 0);
        EXPECT_EQ(Point<int>(d * 3 / 2, d * 3 / 2), mace->GetFrameSize());
    }
    // A normal ball with lightning of strength 2: the corona zoomed by 16 / 64, all frames.
    Image* lightning = Ball::RetrieveBallImage("Lightning", "None", 16, 2);
    EXPECT_EQ(Point<int>(24, 24), lightning->GetFrameSize());
    EXPECT_EQ(6, lightning->GetNumFrames());
    EXPECT_NE(lightning, Ball::RetrieveBallImage("Lightning", "None", 16, 3));
    // The ball sits in the middle of every frame: its centre pixel is opaque in each.
    SDL_Surface* surface = lightning->GetSDLSurface();
    SDL_LockSurface(surface);
    for (int frame = 0; frame < 6; ++frame) {
        const SDL_Rect r = lightning->GetFrameRect(frame);
        const Uint32 pixel =
            static_cast<Uint32*>(surface->pixels)[(r.y + 12) * surface->pitch / 4 + r.x + 12];
        EXPECT_EQ(255u, pixel >> 24) << "frame " << frame;
    }
    SDL_UnlockSurface(surface);

    EXPECT_PRED2(Holds, bbtest::MessageOf([] { Ball::RetrieveBallImage("Glue", "None", 16, 0); }),
                 "Illegal corona name: Glue\nThe coronas are None, Breakthru and Lightning.");
    EXPECT_PRED2(Holds,
                 bbtest::MessageOf([] { Ball::RetrieveBallImage("Lightning", "None", 16, 4); }),
                 "Illegal lightning strength: 4");
    EXPECT_PRED2(Holds, bbtest::MessageOf([] { Ball::RetrieveBallImage("None", "Jelly", 16, 0); }),
                 "Illegal substance name: Jelly");
    const std::string resolution =
        bbtest::MessageOf([] { Ball::RetrieveBallImage("None", "None", 20, 0); });
    EXPECT_PRED2(Holds, resolution, "Illegal resolution: 20");
    EXPECT_PRED2(Holds, resolution, "radiusIndex < (sizeof(BallRadii)/sizeof(BallRadii[0]))");
}

TEST_F(BallTest, BallsAreDrawnAtTheirScaleAndHalfTransparentWhileWaiting)
{
    AddBall(100, 100, 0, 0);
    AddBall(200, 100, 0, 0, false); // waiting for the paddle
    Ball* growing = AddBall(300, 100, 0, 0);
    growing->Grow();
    passes.Step();
    // The canvas keeps what was drawn in its colour channels.
    const auto red = [&](int x, int y) { return int((passes.Pixel(x, y) >> 16) & 0xFF); };
    EXPECT_GT(red(100, 100), 100);
    EXPECT_EQ(0, red(100, 109)); // radius 8
    // Waiting for the paddle: drawn at half strength.
    EXPECT_NEAR(red(100, 100) / 2.0, double(red(200, 100)), 3.0);
    // The growing ball shows the 24-pixel image at 8.25 / 12: about 16 pixels across.
    EXPECT_GT(red(300, 106), 0);
    EXPECT_EQ(0, red(300, 110));
    passes.Step(16);
    const Point<double> c = growing->GetGeom()->GetCenter();
    EXPECT_GT(red(int(c.x), int(c.y) + 10), 0);
    EXPECT_EQ(0, red(int(c.x), int(c.y) + 13));
}

TEST_F(BallTest, TrailsShowTheEnergyAndBlurFillsTheLastTicksPath)
{
    Ball* ball = AddBall(320, 240, 0, -200);
    ParticleEmitter* trail = ball->GetTrailEmitter();
    ParticleEmitter* blur = ball->GetMotionBlurEmitter();
    ASSERT_NE(nullptr, trail);
    ASSERT_NE(nullptr, blur);
    EXPECT_TRUE(trail->IsEmitting());
    EXPECT_TRUE(blur->IsEmitting());
    passes.Step(2);
    struct Row
    {
        int energy;
        const char* corona;
        bool made;
        Color color;
        double alpha;
    };
    const Row rows[] = {{0, "None", false, Color(), 0},
                        {3, "None", true, Color(255, 255, 204), 76.6},
                        {15, "None", true, Color(255, 255, 0), 255},
                        {0, "Breakthru", true, Palette::Yellow, 128}};
    for (const Row& r : rows) {
        ball->SetCorona(r.corona);
        SetSpeedAndEnergy(ball, 200, r.energy);
        Particle* p = Ball::CreateTrailParticle(trail, ball);
        EXPECT_EQ(r.made, p != nullptr) << r.energy;
        if (!p)
            continue;
        EXPECT_EQ(r.color, p->GetColor()) << r.energy;
        EXPECT_NEAR(r.alpha, p->m_ParticleAlpha, 0.01) << r.energy;
        EXPECT_NEAR(-r.alpha / 0.7, p->m_AlphaStep, 0.01) << r.energy;
        delete p;
    }
    // Blur copies: none at 10 pixels per tick (3 x 10 / 8 = 3), four at 12.
    ball->SetCorona("None");
    for (const auto& speed : {std::make_pair(10.0, 0), std::make_pair(12.0, 4)}) {
        SetSpeedAndEnergy(ball, speed.first / 0.032, 0);
        ball->GetPhysicsBody()->SetLinearVel(0, -speed.first / 0.032);
        passes.Step(3);
        EXPECT_EQ(speed.second, blur->GetNumParticles()) << speed.first;
    }
    // Each copy shows the ball's image, moved back along the path of the last tick.
    const int before = int(logic.particles->GetChildren().size());
    Particle* copy = Ball::CreateMotionBlurParticle(blur, ball);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(Point<int>(16, 16), Point<int>(copy->GetWidth(), copy->GetHeight()));
    EXPECT_EQ(ball->GetX(), copy->GetX());
    // This tick's four copies are out: a fifth goes back (4 - 4 + 1) / 4 of the 12-pixel
    // climb.
    EXPECT_NEAR(3.0f, copy->m_Position.y, 0.1f);
    delete copy;
    EXPECT_EQ(before, int(logic.particles->GetChildren().size()));

    // However fast the ball, no more than the most copies a pass (three a radius moved).
    Ball* fast = AddBall(40, 240, Ball::kFastestSpeed, 0);
    SetSpeedAndEnergy(fast, Ball::kFastestSpeed, 1);
    passes.Step(2);
    ASSERT_GT(3.0 * fast->GetMoveDelta().x / fast->GetRadius(), Ball::kMostBlurCopies + 8.0);
    EXPECT_EQ(Ball::kMostBlurCopies, fast->GetMotionBlurEmitter()->GetNumParticles());
}

TEST_F(BallTest, LowEffectsMakeTheEmittersButNeverStartThem)
{
    Ball::SetLowEffects(true);
    Ball* ball = AddBall(320, 240, 0, -500);
    Ball::SetLowEffects(false);
    SetSpeedAndEnergy(ball, 500, 5);
    ASSERT_NE(nullptr, ball->GetTrailEmitter());
    EXPECT_FALSE(ball->GetTrailEmitter()->IsEmitting());
    EXPECT_FALSE(ball->GetMotionBlurEmitter()->IsEmitting());
    passes.Step(5);
    EXPECT_TRUE(logic.particles->GetChildren().empty());
}

TEST_F(BallTest, AnExplodingBallBreaksIntoChunksOfItsImage)
{
    Ball* ball = AddBall(320, 240, 300, 0);
    ball->SetSize(24, 24, 5);
    passes.Step();
    ball->Explode(&logic);
    ASSERT_EQ(1u, logic.emitters.GetMembers().size());
    auto* emitter =
        dynamic_cast<BufferedIdenticalParticleEmitter*>(logic.emitters.GetMembers().front());
    ASSERT_NE(nullptr, emitter);
    EXPECT_EQ(48 * 48 / 40, int(logic.particles->GetChildren().size()));
    int outward = 0;
    for (Actor* a : logic.particles->GetChildren()) {
        Particle* p = static_cast<Particle*>(a);
        ASSERT_NE(nullptr, p->GetImage());
        const SDL_Rect chunk = p->GetImage()->GetFrameRect(0);
        EXPECT_LE(chunk.x + chunk.w, 48);
        EXPECT_LE(chunk.y + chunk.h, 48);
        // Around the ball's centre (each has moved for one tick), flying outward.
        EXPECT_LE(std::abs(p->GetX() + p->GetWidth() / 2 - 320), 40);
        EXPECT_LE(std::abs(p->GetY() + p->GetHeight() / 2 - 240), 40);
        const double dx = p->GetX() + p->GetWidth() / 2.0 - 320;
        if (dx * p->m_Velocity.x > 0 || std::fabs(dx) < 4)
            ++outward;
    }
    EXPECT_GT(outward, int(logic.particles->GetChildren().size()) / 2);
    passes.Step(40);
}
