#include "screens/Logic.h"

MAKO_IMPLEMENT_CLASS(Logic, "Logic", "Object", nullptr, nullptr);
