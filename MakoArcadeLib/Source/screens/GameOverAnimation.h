#pragma once
// The caption of a game with no balls left, after 0.3 s, for a second.
#include "screens/EndOfPlayAnimation.h"

class GameOverAnimation : public EndOfPlayAnimation
{
public:
    GameOverAnimation(const std::string& text, EventReceiver* receiver);
};
