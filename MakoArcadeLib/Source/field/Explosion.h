#pragma once
// Explosion: a short-lived blast that damages what its sensor reaches.
#include "field/ArcadeActor.h"

class Explosion : public ArcadeActor
{
};
