#pragma once
// Shield: a band along one side of the field that bounces balls while it has a level.
#include "field/ArcadeStructure.h"

class Shield : public ArcadeStructure
{
};
