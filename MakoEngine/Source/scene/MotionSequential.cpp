#include "scene/MotionSequential.h"

MAKO_IMPLEMENT_CLASS(MotionSequential, "MotionSequential", "AbstractMotion", nullptr,
                     &InstantiateObjectOfClass<MotionSequential>);
