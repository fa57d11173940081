#pragma once
// Plain stand-ins for the letter paper and the letter buttons, for tests that open a
// letter while the asset pack has no such picture yet: each name missing from the tests'
// resources is registered as a flat image of a letter's size. Names the pack has are left
// alone.
#include "display/Image.h"
#include "geometry/Color.h"
#include "resources/ResourceManager.h"
#include "support/engine/PassHarness.h"

namespace bbtest {

inline void EnsureLetterArt()
{
    struct Art
    {
        const char* name;
        int width, height;
    };
    const Art art[] = {
        {"bkgLetter.png", 600, 450},
        {"Button.yellow.png", 128, 40},
        {"Button.red.png", 128, 40},
        {"Button.green.png", 128, 40},
    };
    for (const Art& a : art)
        if (!TestResources().FindInfo(a.name, true))
            AddImageResource(a.name, new Image(a.width, a.height, 1, 0, Color(235, 225, 200)));
}

} // namespace bbtest
