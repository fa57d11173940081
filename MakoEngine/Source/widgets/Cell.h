#pragma once
// Cell: one place of a Grid, a child actor of the grid at a fixed position with a fixed
// size and no image. It holds at most one actor (owned, a child of the cell), placed
// horizontally by the cell's alignment; the actor's vertical position is left alone.
#include "scene/Actor.h"
#include "widgets/HorizontalAlignment.h"

class Cell : public Actor
{
public:
    // Width and height must lie in 0..65535 (the actor's 16-bit size).
    Cell(int width, int height, HorizontalAlignment alignment);

    // Replaces the cell's actor (the previous one is removed and deleted; the one it holds
    // already is only realigned); the new one (may be null) is aligned and becomes a child.
    void SetActor(Actor* actor);
    Actor* GetActor() const { return m_Actor; }
    // Places the actor: centred, left (unchanged) or right. Another alignment value fails
    // with "Invalid horizontal alignment: <value>".
    void Align();
    void RemoveChild(Actor* child) override;

private:
    HorizontalAlignment m_Alignment;
    Actor* m_Actor = nullptr;
};
