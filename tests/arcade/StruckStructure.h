#pragma once
// Targets for the tests of things that strike by themselves (explosions, sparks): a
// structure that answers to one of the game's class names (Brick, Goober, Ball, Paddle...)
// without being one, and records every blow it takes: a collision whose other party deals
// damage of its own accord (GetStrikeDamage), as the game's bricks read it.
#include "core/ClassManager.h"
#include "field/ArcadeStructure.h"

#include <string>
#include <vector>

namespace fieldtest {

// The registered class of that name, or a bare record made for the tests when the game
// has none yet (it stays for the program's life).
inline Class* ClassNamed(const std::string& name)
{
    if (Class* known = ClassManager::GetInstance()->GetClass(name, true))
        return known;
    return new Class(name, "ArcadeStructure", nullptr, nullptr);
}

class StruckStructure : public ArcadeStructure
{
public:
    struct Blow
    {
        const ArcadeStructure* striker;
        int damage;
        double x, y;
    };

    explicit StruckStructure(const std::string& className, int strength = 100)
        : m_Class(ClassNamed(className)), strength(strength)
    {
        // Drop targets are bricks to the collision filter.
        m_CategoryBits =
            className == "DropTarget" ? CategoryBitOf("Brick") : CategoryBitOf(className);
    }

    Class* GetClass() const override { return m_Class; }

    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override
    {
        ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
        const int damage = other->GetStrikeDamage(x, y);
        if (damage > 0) {
            blows.push_back({other, damage, x, y});
            strength -= damage;
        }
    }

    Class* m_Class;
    int strength;
    std::vector<Blow> blows;
};

// A struck box of the class with its top-left corner at (x, y).
inline StruckStructure* MakeStruckBox(const std::string& className, int x, int y, double w,
                                      double h, int strength = 100)
{
    StruckStructure* box = new StruckStructure(className, strength);
    box->SetRectangle(w, h, false);
    box->SetPosition(x, y);
    return box;
}

// A struck, movable circle of the class centred on (cx, cy).
inline StruckStructure* MakeStruckCircle(const std::string& className, int cx, int cy,
                                         double radius)
{
    StruckStructure* circle = new StruckStructure(className);
    circle->SetCircle(radius);
    circle->SetMovable(true);
    circle->SetPosition(cx - int(radius), cy - int(radius));
    return circle;
}

} // namespace fieldtest
