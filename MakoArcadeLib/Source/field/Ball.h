#pragma once
// Ball: the round projectile of the play field.
#include "field/ArcadeStructure.h"

class Ball : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    Ball();
};
