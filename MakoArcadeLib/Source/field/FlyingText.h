#pragma once
// FlyingText: a short physical message that pops out of the field and fades.
#include "field/ArcadeActor.h"

class FlyingText : public ArcadeActor
{
};
