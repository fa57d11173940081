#pragma once
// A render cache of an actor's subtree: the subtree is drawn once into an off-screen
// canvas and afterwards only that picture is drawn, until the source asks for a redraw
// (Actor::ReFlatten). Only the source's m_FlattenedActor refers to it; the source deletes
// it. The cache holds the subtree relative to the source's own origin, so it shows the
// same wherever the source stands. An empty (0 x 0) cache draws nothing.
//
// Main thread only.
#include "scene/Actor.h"

#include <memory>

class FlattenedActor : public Actor
{
public:
    FlattenedActor(Actor* source, bool alphaCanvas, bool autoSize, int width, int height);
    ~FlattenedActor() override;

    // The cache size; a different size drops the cached picture.
    void SetSize(int width, int height);
    // Drops the cached picture; with auto size the cache takes the source's extent.
    void Refresh();
    // Makes the empty cache canvas (none may exist yet).
    void CreateCanvas();
    Canvas* GetCanvas() const MAKO_LIFETIMEBOUND { return m_Canvas.get(); }
    Actor* GetSource() const { return m_Source; }

    // Fills the cache when it is empty, then draws the cached picture at the canvas
    // origin. The source has already translated the canvas and tested its visibility.
    void Render(Canvas& canvas) override;

private:
    void DeleteCanvas();

    std::unique_ptr<Canvas> m_Canvas;
    Actor* m_Source;
    bool m_AlphaCanvas;
    bool m_AutoSize;
};
