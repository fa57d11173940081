#pragma once
// GameScreen: a screen with no behaviour of its own, the base of the play screen. Its
// logic (the game controller) is ticked and offered events by the screen.
#include "screens/Screen.h"

class GameScreen : public Screen
{
public:
    // A screen of that name over the background, owning the logic (may be null).
    GameScreen(const std::string& name, const std::string& backgroundResourceName, Logic* logic)
        : Screen(name, backgroundResourceName, logic)
    {
    }
};
