#pragma once
// Positions the children of a container actor. Actors refer to their layout manager
// (not owned) and ask it to lay the children out again when a child is appended or
// removed; the manager must outlive the actors that use it.
#include "core/Class.h"
#include "core/Object.h"

class Actor;

class LayoutManager : public Object
{
    MAKO_DECLARE_CLASS();

public:
    // Places the container's children; a failure part-way leaves the children before
    // the failing one placed.
    virtual void LayoutContainer(Actor* container) = 0;
};
