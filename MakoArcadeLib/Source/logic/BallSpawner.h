#pragma once
// A ball start shown as an object: made by class name from the same table as a level's ball
// start, it looks like the ball the start would serve (its ballProps and activateBall
// applied) and, when the start varies its position, shows the area of that variance as a
// translucent white rectangle around itself. It takes no part in physics or play.
//
// Main thread only.
#include "core/Class.h"
#include "geometry/Point.h"
#include "scene/Actor.h"

class BallSpawner : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    BallSpawner();

    // "variance" ({x, y}: the half-size of the area a served ball starts in); every
    // property change rebuilds the look.
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& c);
    // Made from a table: the look of everything the table gave.
    void Initialize() override;

    // The variance area (when not (0, 0)), then the ball's picture.
    void Draw(Canvas& canvas) override;

    // Takes the picture of a ball made with the spawner's ballProps and activateBall.
    void RebuildLook();
    const Point<double>& GetVariance() const MAKO_LIFETIMEBOUND { return m_Variance; }

private:
    Point<double> m_Variance{0.0, 0.0};
};
