#pragma once
// A one-pixel outline of its parent actor in the border's colour. Add it as a child at
// (0, 0); without a parent it draws nothing.
#include "scene/Actor.h"

class Border : public Actor
{
public:
    explicit Border(const Color& color);
    void Draw(Canvas& canvas) override;
};
