#pragma once
// LaserBeam: the beam a paddle with the laser fires across the field.
#include "field/ArcadeStructure.h"

class LaserBeam : public ArcadeStructure
{
};
