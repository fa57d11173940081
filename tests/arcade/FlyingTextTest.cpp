// Flying texts on a stepping field: placed inside the field, slowed to their drift speed,
// kept apart from each other and from walls, faded and gone on time.
#include "FieldScene.h"

#include "support/engine/FieldWorld.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {

// The play field the shipped walls enclose.
constexpr int kFieldLeft = 16, kFieldRight = 624, kFieldTop = 36, kFieldBottom = 485;

class FlyingTextTest : public FieldTest
{
protected:
    FlyingText* Fly(const std::string& text, int duration, double x, double y, double vx, double vy)
    {
        FlyingText* t = new FlyingText(text, duration, x, y, vx, vy);
        logic.AddFlyingText(t);
        return t;
    }

    static void ExpectInside(const FlyingText* t, const char* what)
    {
        EXPECT_GE(t->GetX(), kFieldLeft) << what;
        EXPECT_LE(t->GetX() + t->GetWidth(), kFieldRight) << what;
        EXPECT_GE(t->GetY(), kFieldTop) << what;
        EXPECT_LE(t->GetY() + t->GetHeight(), kFieldBottom) << what;
    }
};

} // namespace

TEST_F(FlyingTextTest, TextsAtTheEdgesStartInsideTheFieldAndStayThere)
{
    FlyingText* topLeft = Fly("$1,000", 150, 2, 10, -200, -200);
    FlyingText* bottomRight = Fly("Lightning Ball!", 150, 638, 479, 200, 200);
    EXPECT_GT(topLeft->GetWidth(), 20);
    EXPECT_GT(topLeft->GetHeight(), 5);
    ExpectInside(topLeft, "top left, placed");
    ExpectInside(bottomRight, "bottom right, placed");
    EXPECT_EQ(kFieldLeft, topLeft->GetX());
    EXPECT_EQ(kFieldRight, bottomRight->GetX() + bottomRight->GetWidth());

    // Pushed outwards with no walls to hold them, they stop at the edge.
    for (int pass = 0; pass < 60; ++pass) {
        passes.Step();
        ExpectInside(topLeft, "top left, flying");
        ExpectInside(bottomRight, "bottom right, flying");
    }
    EXPECT_EQ(kFieldBottom, bottomRight->GetY() + bottomRight->GetHeight());
}

TEST_F(FlyingTextTest, AFastStartIsCutToTheDriftSpeedOnTheFirstTick)
{
    FlyingText* text = Fly("$250", 100, 320, 240, 200, 0);
    EXPECT_NEAR(200.0, text->GetPhysicsBody()->GetLinearVel().Length(), 1e-9);
    const int x0 = text->GetX();
    passes.Step();
    const Vector2D v = text->GetPhysicsBody()->GetLinearVel();
    EXPECT_NEAR(FlyingText::kSpeedCap, v.Length(), 1e-6);
    EXPECT_GT(v.x, 0.0);
    for (int pass = 0; pass < 30; ++pass) {
        passes.Step();
        EXPECT_LE(text->GetPhysicsBody()->GetLinearVel().Length(), FlyingText::kSpeedCap + 1e-6);
    }
    // About a second at 30 pixels per second, after the first push.
    EXPECT_GT(text->GetX() - x0, 25);
    EXPECT_LT(text->GetX() - x0, 60);
}

TEST_F(FlyingTextTest, TextsBornTogetherSeparateAndWallsHoldThem)
{
    FlyingText* a = Fly("$500", 150, 300, 200, 2, -20);
    FlyingText* b = Fly("$500", 150, 300, 200, 2, -20);
    // A wall just left of a third text that drifts towards it.
    ArcadeStructure* wall = root->Place(MakeBox(100, 280, 16, 100));
    wall->SetCategoryBits(128);
    FlyingText* c = Fly("Bonus", 150, 150, 330, -200, 0);
    passes.Step(20);
    const SDL_Rect ra = a->GetScreenRect(), rb = b->GetScreenRect();
    const bool overlap =
        ra.x < rb.x + rb.w && rb.x < ra.x + ra.w && ra.y < rb.y + rb.h && rb.y < ra.y + ra.h;
    EXPECT_FALSE(overlap) << "two texts still overlap";
    EXPECT_GE(c->GetX(), 116 - 1) << "the text went into the wall";
}

TEST_F(FlyingTextTest, TextAndShadowFadeOutTogetherAndTheTextIsGoneAtTheEnd)
{
    FlyingText* text = new FlyingText("x5 Combo!", 10, 320, 240, 0, 0, Palette::Red);
    logic.AddFlyingText(text);
    Label* label = text->GetLabel();
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(Palette::Red.r, label->GetTextColor().r);
    EXPECT_EQ(Palette::Red.g, label->GetTextColor().g);
    passes.Step(5);
    EXPECT_LT(label->GetAlpha(), 255);
    EXPECT_GT(label->GetAlpha(), 0);
    if (Label* shadow = label->GetShadow()) {
        EXPECT_EQ(label->GetAlpha(), shadow->GetAlpha());
    }
    passes.Step(5); // 320 ms: the fade of 300 ms is over
    EXPECT_TRUE(logic.texts.IsEmpty());
}
