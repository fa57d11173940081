#pragma once
// BallSpawnAnimation: marks the point where a new ball is about to appear. A filled circle
// that shrinks from its initial radius to nothing while it fades in from transparent to
// opaque, with "ballspawn.ogg" on its first tick. Once its life time is over it posts the
// play-field event ARCADE_ANIMFINISH (data: itself) to its receivers on every tick until it
// is removed; the game controller then takes the ball the circle holds onto the field. The
// circle owns that ball until it is taken: a circle removed before its end (the level won or
// lost, the game left) deletes the ball with itself.
//
// The actor's rectangle is the circle's bounding box at the start, so its sound is panned
// by the centre; the circle takes the actor's colour (white unless the table says else).
// Times in milliseconds, one tick counting 32. No physics. Main thread only.
#include "field/ArcadeActor.h"
#include "geometry/Point.h"

#include <cstdint>
#include <memory>
#include <string>

class Ball;

class BallSpawnAnimation : public ArcadeActor
{
    MAKO_DECLARE_CLASS();

public:
    // White, all settings 0, then the named resource applied (none for an empty name).
    explicit BallSpawnAnimation(const std::string& resourceName = "");
    ~BallSpawnAnimation() override;

    // The ball that appears when the circle has run: held (replacing, and deleting, one
    // held before) until TakeBall hands it on; null once taken or when none was given.
    void HoldBall(std::unique_ptr<Ball> ball);
    std::unique_ptr<Ball> TakeBall();
    Ball* GetHeldBall() const { return m_Ball.get(); }

    // The centre of the circle, in the parent's coordinates.
    void SetCenter(int x, int y);
    const Point<int>& GetCenter() const MAKO_LIFETIMEBOUND { return m_Center; }
    void SetInitialRadius(unsigned radius);
    unsigned GetInitialRadius() const { return m_InitialRadius; }
    void SetLifeTime(unsigned milliseconds) { m_LifeTime = milliseconds; }
    unsigned GetLifeTime() const { return m_LifeTime; }
    std::uint32_t GetElapsed() const { return m_Elapsed; }

    // The circle now: its radius (pixels) and alpha (0..255). A life time of 0 counts as
    // over.
    int CurrentRadius() const;
    int CurrentAlpha() const;

    void Tick() override;
    void Draw(Canvas& canvas) override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& animationClass);

private:
    // Places the actor's rectangle around the circle at its initial radius.
    void PlaceAroundCircle();
    // The part of the life time gone, 0..1 (1 for a life time of 0).
    double Progress() const;

    Point<int> m_Center;
    unsigned m_InitialRadius = 0;
    std::uint32_t m_Elapsed = 0;
    unsigned m_LifeTime = 0;
    std::unique_ptr<Ball> m_Ball;
};
