#include "screens/LevelCompleteAnimation.h"

LevelCompleteAnimation::LevelCompleteAnimation(EventReceiver* receiver)
    : EndOfPlayAnimation({500, "LevelCompleteLabel", "attention1.ogg", 2000}, std::string(),
                         receiver)
{
}
