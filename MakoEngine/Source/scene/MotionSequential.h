#pragma once
// Runs its children one after another and completes after the last one: the composite
// behaviour of AbstractMotion, made available to scripts.
#include "scene/AbstractMotion.h"

class MotionSequential : public AbstractMotion
{
    MAKO_DECLARE_CLASS();
};
