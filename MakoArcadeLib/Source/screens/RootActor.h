#pragma once
// The root of the play field on the game screen: the game controller's play layer. It
// never ticks its subtree itself (the controller drives every play-field object), and it
// always has its parent's size, so the play field covers the screen it is put on.
#include "scene/Actor.h"

class RootActor : public Actor
{
public:
    RootActor();

    // Nothing: the game controller ticks the play field.
    void Tick() override;
    // Takes the parent, then the parent's width and height.
    void SetParent(Actor* parent) override;
};
