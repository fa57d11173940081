#pragma once
// A menu screen of the game that also answers the play-field events (54 to 62): after the
// screen's own routing, an event of those types goes to its ArcadeEventHandler operation,
// so menus that show play-field actors (animations that end, paddles on a menu) hear them.
#include "scene/ArcadeEventHandler.h"
#include "screens/MenuScreen.h"

#include <string>

class ArcadeMenu : public MenuScreen, public ArcadeEventHandler
{
public:
    // As MenuScreen: the screen's name and the resource of its background.
    ArcadeMenu(const std::string& name, const std::string& backgroundResourceName);

    // The screen's own routing first; what it leaves of types 54 to 62 goes to the
    // play-field operations.
    bool RouteEvent(const Event& event) override;
};
