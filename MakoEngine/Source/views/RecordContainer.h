#pragma once
// A placeholder actor that marks where a top-record list's title or rows go. With the
// configuration value DebugRecordContainers set to true it is filled red, so its area can
// be seen.
#include "scene/Actor.h"

class RecordContainer : public Actor
{
public:
    RecordContainer(int x, int y, int width, int height);
};
