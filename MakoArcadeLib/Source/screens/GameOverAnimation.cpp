#include "screens/GameOverAnimation.h"

GameOverAnimation::GameOverAnimation(const std::string& text, EventReceiver* receiver)
    : EndOfPlayAnimation({300, "GameOverLabel", "attention3.ogg", 1000}, text, receiver)
{
}
