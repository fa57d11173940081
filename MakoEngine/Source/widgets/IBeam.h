#pragma once
// IBeam: the blinking caret of a text box, a black rectangle that shows for 500 ms and
// hides for 500 ms, on a frame-rate timer of its own (none without a timer manager).
#include "scene/Actor.h"

#include <cstdint>

class IBeam : public Actor
{
public:
    IBeam(int width, int height);
    ~IBeam() override;

protected:
    bool OnTimer(const Event& event) override;

private:
    std::uint32_t m_BlinkTimer = 0;
};
