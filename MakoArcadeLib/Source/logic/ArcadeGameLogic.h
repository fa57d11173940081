#pragma once
// The running game controller of a level, as the play-field objects see it. The game
// logic implements it; one controller runs at a time and is reachable as gLogic while it
// runs. Play-field objects use gLogic when no controller is handed to them.
//
// Main thread only.
#include "core/Object.h"

#include <string>

class Actor;

class ArcadeGameLogic : public Object
{
public:
    // Something that may end the level happened at (x, y) on the play field (a structure
    // was destroyed or killed). Does nothing unless the controller is playing; otherwise
    // checks the level's goals and the balls left and switches state when the level is
    // won or every ball is lost.
    virtual void CheckForLevelEnd(double x, double y) = 0;
    // The actor of that name in the play layer of the game screen (searched through the
    // whole tree below it); null when there is none.
    virtual Actor* FindActor(const std::string& name) const = 0;
};

// The running controller; null while no game runs. The controller sets it when it starts
// and clears it when it ends.
extern ArcadeGameLogic* gLogic;
