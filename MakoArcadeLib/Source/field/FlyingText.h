#pragma once
// FlyingText: a short message (a score, a bonus name) that pops out of the play field,
// drifts away and fades. It shows one child Label in the font template "FlyingScoreFont"
// and is physical: once in a world it has a small box body of its own, so flying texts
// bump into each other and into walls instead of overlapping. It is placed fully inside
// the play-field rectangle (the Lua globals x2, x3, y2, y3), starts with the velocity it
// was given and is slowed to at most kSpeedCap from its first tick on, so that velocity is
// only the first push; where no wall holds it, it stops at the edge of the field. Text and actor
// fade out together over the duration and are killed at its end.
//
// Made by the controller, bricks, goobers and the combo meter and handed to the controller
// (ArcadeGameLogic::AddFlyingText), which puts it into the world. Units: pixels, pixels per
// second, durations in ticks of 30 ms. Main thread only.
#include "field/ArcadeActor.h"
#include "geometry/Color.h"

#include <string>

class Label;

class FlyingText : public ArcadeActor
{
    MAKO_DECLARE_CLASS();

public:
    static constexpr const char* kFontTemplate = "FlyingScoreFont";
    // The fastest a flying text drifts after its first tick, pixels per second.
    static constexpr double kSpeedCap = 30.0;
    // Its collision category, and what it bumps into: other flying texts and walls.
    static constexpr unsigned kCategoryBits = 1024;
    static constexpr unsigned kCollideBits = 1024 | 128;
    // The widest a text grows before its font shrinks.
    static constexpr int kWidthLimit = 400;

    // A text centred on (originX, originY) that starts at (velocityX, velocityY) and fades
    // out over duration x 30 ms, in the template's colour or in the colour given.
    FlyingText(const std::string& text, int duration, double originX, double originY,
               double velocityX, double velocityY);
    FlyingText(const std::string& text, int duration, double originX, double originY,
               double velocityX, double velocityY, const Color& color);
    ~FlyingText() override;

    // Centres the text on its origin, moves it inside the play field and gives it its body
    // there, moving at the start velocity. Once only.
    void UpdatePhysics(World* world) override;
    // The actor's tick, then the text follows its body, at most kSpeedCap fast.
    void Tick() override;

    Label* GetLabel() const { return m_Label; }

private:
    void Build(const std::string& text, int duration, const Color* color);
    // Moves the actor inside the play-field rectangle.
    void KeepInsideField();

    double m_OriginX;
    double m_OriginY;
    double m_VelocityX;
    double m_VelocityY;
    // A child: the actor owns it.
    Label* m_Label = nullptr;
};
