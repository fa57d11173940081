#pragma once
// Shield: a thin barrier along one side of the play field (normally in front of the lava)
// that bounces balls and goobers while it has a level. Its level, 0 to 6, shows as stacked
// coloured bands, the highest level's colour nearest the field; the power-up that raises
// shields calls IncreaseLevel, and every hit lowers all shields of the level by one, so
// shields raised together stay level. At level 0 a shield is hidden and its geometry off.
//
// A shield handles at most one hit per tick (however many sub-steps a ball touches it).
// Made by the level with its side, from the table <side>Shield (Shield.lua). Main thread
// only.
#include "field/ArcadeStructure.h"

#include <memory>
#include <string>
#include <vector>

class Shield : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    static constexpr int kMaxLevel = 6;
    // How much shorter the innermost band is at a flagged corner, pixels.
    static constexpr int kCornerInset = 11;

    // side: "Bottom", "Top", "Left" or "Right"; the table side + "Shield" is applied.
    explicit Shield(const std::string& side);

    // 0 hides the shield and switches its geometry off; 1..maxLevel shows it and switches
    // the geometry on. Any other level fails an assertion and changes nothing.
    void SetShieldLevel(int level);
    // One level up with "shield_added.ogg"; nothing at the top level.
    void IncreaseLevel();
    void Clear() { SetShieldLevel(0); }
    int GetLevel() const { return m_Level; }
    int GetMaxLevel() const { return m_MaxLevel; }
    const std::string& GetSide() const MAKO_LIFETIMEBOUND { return m_Side; }
    // Shorten the bands where the side starts or ends, so that they meet a neighbouring
    // shield in a mitred corner (set by the level).
    void SetCornerStart(bool on) { m_CornerStart = on; }
    void SetCornerEnd(bool on) { m_CornerEnd = on; }
    bool IsHorizontal() const { return m_Side == "Bottom" || m_Side == "Top"; }
    // The actor holding the band image of a level (0: an empty actor). The shield owns
    // them and draws them itself; they are not in the scene graph.
    Actor* GetLevelActor(int level) const MAKO_LIFETIMEBOUND
    {
        return m_LevelActors.at(level).get();
    }

    // Only forgets the hit of the tick that ends.
    void Tick() override;
    // The bands from the current level down to 1, each one thickness further out from the
    // field than the last; nothing at level 0.
    void Draw(Canvas& canvas) override;
    // A rectangle of the actor's size, category Shield, collide mask Ball, always bouncing;
    // the geometry is off at level 0.
    void UpdatePhysics(World* world) override;
    // A ball or goober lowers every raised shield of the level by one (once per tick for
    // this shield), with a spray of stars at the contact point and "shield_hit.ogg". No
    // hit callbacks run for shields.
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override;

private:
    // Draws one band: the level actor's image cut to length x thickness at (x, y) of the
    // canvas origin.
    void DrawBand(Canvas& canvas, int level, int along, int length, int outward) const;
    void StartHitSpray(ArcadeGameLogic* logic, double x, double y);

    std::string m_Side;
    int m_Level = 0;
    int m_MaxLevel = kMaxLevel;
    std::vector<std::unique_ptr<Actor>> m_LevelActors;
    bool m_HitThisTick = false;
    bool m_CornerStart = false;
    bool m_CornerEnd = false;
};
