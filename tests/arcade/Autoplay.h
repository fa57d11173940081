#pragma once
// A headless player for play-field tests: moves the paddle only through its own input
// events (pointer motion, the per-frame move update, button press and release), as the
// game controller routes them.
#include "FieldScene.h"

#include "core/Random.h"
#include "physics/PhysicsGeom.h"
#include "scene/ArcadeEventHandler.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace fieldtest {

inline Event FieldEvent(int type, int data1 = 0, int data2 = 0)
{
    Event event{};
    event.type = static_cast<std::uint8_t>(type);
    event.user.data1 = reinterpret_cast<void*>(static_cast<std::intptr_t>(data1));
    event.user.data2 = reinterpret_cast<void*>(static_cast<std::intptr_t>(data2));
    return event;
}

// Plays with the paddle as a player would: keeps it under the ball, a little off its
// centre (a new offset after every stroke, so the ball's path keeps changing), and serves
// a held ball with a short press.
class Autoplay
{
public:
    explicit Autoplay(Paddle* paddle) : m_Paddle(paddle) {}

    // One tick of input, before the field ticks.
    void Play(const std::vector<Ball*>& balls)
    {
        Ball* ball = Lowest(balls);
        if (!ball)
            return;
        if (ball->GetPaddle() == m_Paddle) {
            // Serve: press, hold a few ticks, release.
            if (m_ServeTicks == 0)
                Send(FieldEvent(ARCADE_BUTTONDOWN));
            if (++m_ServeTicks == 6) {
                Send(FieldEvent(ARCADE_BUTTONUP));
                m_ServeTicks = 0;
            }
        }
        const Point<double> c = ball->GetGeom()->GetCenter();
        if (c.y < m_LastY)
            m_Offset = (MakoRand() % 41) - 20; // going up: choose the next stroke's offset
        m_LastY = c.y;
        const int paddleCentre = m_Paddle->GetX() + m_Paddle->GetWidth() / 2;
        const int move = std::clamp(int(c.x) + m_Offset - paddleCentre, -48, 48);
        Send(FieldEvent(ARCADE_POINTERMOVE, move, 0));
        Send(FieldEvent(ARCADE_PADDLEUPDATE));
    }

private:
    void Send(const Event& event) { m_Paddle->RouteEvent(event); }
    // The ball nearest the paddle's line (the one to save first).
    static Ball* Lowest(const std::vector<Ball*>& balls)
    {
        Ball* lowest = nullptr;
        for (Ball* b : balls)
            if (!lowest || b->GetGeom()->GetCenter().y > lowest->GetGeom()->GetCenter().y)
                lowest = b;
        return lowest;
    }

    Paddle* m_Paddle;
    int m_ServeTicks = 0;
    int m_Offset = 0;
    double m_LastY = 0;
};

} // namespace fieldtest
