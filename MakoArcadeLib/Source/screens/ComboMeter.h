#pragma once
// ComboMeter: an invisible actor of the play field that pays a bonus when the player
// collects a set number of distinct qualifying items, each within a time window of the
// previous one, optionally in a fixed order. Items are brick textures (Colors), caught
// power-up class names (Powerups) or the string value of a tagged brick property (Custom).
// Combos are data: a list of Lua tables given as the property "combos" (the script global
// defaultCombos is the shipped list). Malformed data is refused when it is applied, with
// the engine's assertion exception naming the combo. A paid combo adds its reward to the
// score, sounds, sends a flying "Combo: <reward>" and shows its reward text on the marquee
// for 3 s; a combo paid as many times as its repetitions allow leaves the list until the
// list is applied again. Windows run on frame-rate timers. Main thread only.
#include "scene/Actor.h"

#include <cstdint>
#include <string>
#include <vector>

class ArcadeGameLogic;
class Brick;

class ComboMeter : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    enum ComboType { COLORS = 0, POWERUPS = 1, CUSTOM = 2 };

    struct Combo
    {
        ComboType type = COLORS;
        int numberRequired = 0;
        double timePerItem = 0.0; // seconds allowed before each next item
        int rewardScore = 0;
        std::vector<std::string> requirements; // empty: any item counts
        bool inOrder = false;                  // requirements in order, cyclically
        bool mustDestroy = true;               // bricks: destroying hits only, else others only
        std::string property;                  // Custom: the brick property naming the item
        int repetitions = -1;                  // -1: without limit
        std::string rewardText;
        int completions = 0;
        std::uint32_t timer = 0;
        std::vector<std::string> progress;
    };

    // Sounds of a payout: below kMagicReward "attention5.ogg", else "Pickup_Magic33.ogg",
    // and from kClapsReward on "claps.ogg" as well.
    static constexpr int kMagicReward = 500;
    static constexpr int kClapsReward = 1500;
    static constexpr int kMarqueeMs = 3000;

    ComboMeter();
    // Kills every running window.
    ~ComboMeter() override;

    // The paddle caught an object of that class name at (x, y).
    virtual void OnPaddleHit(const std::string& item, ArcadeGameLogic* logic, double x, double y);
    // A ball hit the brick at (x, y); destroyed tells whether the hit destroyed it.
    virtual void OnBrickHit(Brick* brick, bool destroyed, ArcadeGameLogic* logic, double x,
                            double y);

    const std::vector<Combo>& GetCombos() const MAKO_LIFETIMEBOUND { return m_Combos; }

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& c);

protected:
    // The end of a combo's window: the attempt fails. Other timers go to Actor.
    bool OnTimer(const Event& event) override;

private:
    void SetCombos(const LuaPlus::LuaObject& value);
    void ClearCombos();
    // Offers the item to combo i; true when that paid it out.
    bool AdvanceCombo(std::size_t i, const std::string& item, ArcadeGameLogic* logic, double x,
                      double y);
    void PayCombo(Combo& combo, ArcadeGameLogic* logic, double x, double y);
    // Removes the combos that have been paid as often as their repetitions allow.
    void RemoveSpentCombos();

    std::vector<Combo> m_Combos;
};
