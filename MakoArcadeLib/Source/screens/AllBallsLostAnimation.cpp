#include "screens/AllBallsLostAnimation.h"

AllBallsLostAnimation::AllBallsLostAnimation(const std::string& text, EventReceiver* receiver)
    : EndOfPlayAnimation({300, "AllBallsLostLabel", "attention4.ogg", 1000}, text, receiver)
{
}
