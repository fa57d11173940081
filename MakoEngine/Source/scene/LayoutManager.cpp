#include "scene/LayoutManager.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(LayoutManager, "LayoutManager", "Object", nullptr, nullptr);
