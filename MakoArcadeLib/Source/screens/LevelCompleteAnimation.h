#pragma once
// "Mission Complete!": the caption of a won level, after half a second, for two seconds.
#include "screens/EndOfPlayAnimation.h"

class LevelCompleteAnimation : public EndOfPlayAnimation
{
public:
    explicit LevelCompleteAnimation(EventReceiver* receiver);
};
