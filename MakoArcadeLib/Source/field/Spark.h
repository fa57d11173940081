#pragma once
// Spark: one arc of chain lightning.
#include "field/ArcadeActor.h"

class Spark : public ArcadeActor
{
};
