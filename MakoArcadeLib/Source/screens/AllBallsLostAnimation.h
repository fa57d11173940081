#pragma once
// The caption of the last ball in play lost (its text says why: "Ball Lost", "Paddle
// Destroyed!"), after 0.3 s, for a second.
#include "screens/EndOfPlayAnimation.h"

class AllBallsLostAnimation : public EndOfPlayAnimation
{
public:
    AllBallsLostAnimation(const std::string& text, EventReceiver* receiver);
};
