#pragma once
// PowerupKind: one of the registered power-up kinds (ExtraBall, BlingCoin, LetterB...).
// Each kind is a class of its own name with the parent class "Powerup", made from the
// resource table of that name, so the controller can tell kinds apart by class name. The
// kinds differ only in their tables, except two groups: the coin and gems start one of
// the spin animations "spin1".."spin3" at random each time they are spawned, and the gold
// brick shows its 96-pixel brick shape shrunk to a third. The list of kinds lives in
// PowerupKind.cpp. Main thread only.
#include "field/Powerup.h"

#include <string>
#include <vector>

class PowerupKind : public Powerup
{
public:
    // What sets a kind apart besides its table.
    struct Traits
    {
        const char* name;
        bool spins;          // a random spin animation at every spawn
        bool shrinksToThird; // the image is scaled to a third with smoothing
    };

    // The kind of that class name; raises when no such kind is registered.
    explicit PowerupKind(const std::string& kindName);

    Class* GetClass() const override { return m_Class; }
    // The spin of the kinds that spin, then the power-up's own spawn.
    bool OnSpawn(bool playSound) override;

    // Every registered kind, in registration order.
    static const std::vector<Traits>& GetKinds();
    // The traits of the named kind; null for a name that is not a kind.
    static const Traits* FindKind(const std::string& name);

private:
    Class* m_Class;
    const Traits* m_Traits;
};
