#pragma once
// A brick for the developer test screen: a default brick with one resource applied.
#include "field/Brick.h"

#include <string>

class TestBrick : public Brick
{
public:
    explicit TestBrick(const std::string& resourceName);
};
