#pragma once
// Frame deadlines of the main loop on a fixed grid, one every period: frames begin at the
// period's rate on average however late each wake-up comes (SDL_Delay sleeps at least
// what it is asked, never less). A pass that ends more than a whole period after its
// deadline starts a new grid from that moment, so the loop never runs a burst of short
// frames to make up for a stall or a pause. Times are SDL_GetTicks milliseconds; the
// arithmetic wraps with them.
#include <cstdint>

class FramePacer
{
public:
    explicit FramePacer(std::uint32_t period) : m_Period(period) {}

    // A new grid: the next frame is due one period after now.
    void Start(std::uint32_t now) { m_Next = now + m_Period; }
    // Milliseconds still to wait at now before the next frame is due (0 when it is).
    std::uint32_t WaitAt(std::uint32_t now) const;
    // The due frame began at now (after its wait): the deadline moves on by one period,
    // or a new grid starts when now is a whole period or more past the deadline.
    void Advance(std::uint32_t now);
    std::uint32_t GetNextDeadline() const { return m_Next; }

private:
    std::uint32_t m_Period;
    std::uint32_t m_Next = 0;
};
