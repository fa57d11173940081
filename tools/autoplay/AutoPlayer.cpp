#include "AutoPlayer.h"

#include "core/Event.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace autoplay {

namespace {

int CentreX(const Actor* a)
{
    return a->GetX() + a->GetWidth() / 2;
}
int CentreY(const Actor* a)
{
    return a->GetY() + a->GetHeight() / 2;
}

// A left-button press or release as SDL delivers it, handed to the controller.
void Click(ArcadeGameLogic* logic, bool down)
{
    Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    logic->OnEvent(event);
}

// A mouse motion as SDL delivers it, handed to the controller as the game screen does.
void Move(ArcadeGameLogic* logic, int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.xrel = static_cast<Sint16>(dx);
    event.motion.yrel = static_cast<Sint16>(dy);
    logic->OnEvent(event);
}

} // namespace

void AutoPlayer::PlayOnePass(ArcadeGameLogic* logic, bool movePaddle)
{
    const std::string state = logic->GetCurrentState() ? logic->GetStateName() : "";
    std::vector<Ball*> balls;
    bool held = false;
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor)) {
            balls.push_back(ball);
            held = held || ball->GetPaddle() != nullptr;
        }
    if (state == "WaitForSpawn" || held || m_ButtonDown) {
        // A serve waits for the paddle to reach the place it is aimed from, a while at most.
        if (!m_ButtonDown && ++m_WaitTicks > 30 && (!m_Steering || m_WaitTicks > kLongestSteer)) {
            Click(logic, true);
            m_ButtonDown = true;
            m_PressTicks = 0;
        } else if (m_ButtonDown && ++m_PressTicks == 6) {
            Click(logic, false);
            m_ButtonDown = false;
            m_WaitTicks = 0;
        }
    }
    if (!held) {
        m_ServeAim.reset();
        m_Steering = false;
    }
    if (!movePaddle || balls.empty())
        return;
    WatchProgress(logic);
    int dx = 0, dy = 0;
    for (Paddle* paddle : logic->GetPaddles()) {
        const bool vertical = paddle->IsVertical();
        Ball* target = Nearest(balls, paddle, vertical);
        if (!target)
            continue;
        int along = (vertical ? CentreY(target) : CentreX(target)) + m_Offset;
        if (const std::optional<StrokeAim> aim = Aim(logic, paddle, target))
            along = int(std::lround(aim->centre));
        const int centre = vertical ? paddle->GetY() + paddle->GetHeight() / 2
                                    : paddle->GetX() + paddle->GetWidth() / 2;
        const int move = std::clamp(along - centre, -48, 48);
        if (target->GetPaddle() == paddle)
            m_Steering = m_ServeAim && move != 0;
        int& axis = vertical ? dy : dx;
        if (axis == 0)
            axis = move;
    }
    const double y = CentreY(balls.front());
    if (y < m_LastY - 0.5 && !m_Rising)
        NewStroke(logic); // the ball turned upwards
    m_Rising = y < m_LastY - 0.5;
    m_LastY = y;
    // With side paddles, a ball that turns across the field was struck by one of them: a
    // new offset there too, or a ball met dead centre could cross between them for ever.
    const double x = CentreX(balls.front());
    const int across = x > m_LastX + 0.5 ? 1 : x < m_LastX - 0.5 ? -1 : 0;
    if (SidePaddles(logic) && across != 0 && m_Across != 0 && across != m_Across)
        NewStroke(logic);
    if (across != 0)
        m_Across = across;
    m_LastX = x;
    Move(logic, dx, dy);
}

void AutoPlayer::WatchProgress(ArcadeGameLogic* logic)
{
    const PlayProgress now = PlayProgress::Measure(logic);
    if (!m_Measured || now.NewStretchAfter(m_Best) || now.NearerThan(m_Best)) {
        m_Measured = true;
        m_Best = now;
        m_SinceProgress = 0;
    } else {
        ++m_SinceProgress;
    }
}

std::optional<StrokeAim> AutoPlayer::Aim(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball)
{
    if (m_SinceProgress < kRestlessPasses)
        return std::nullopt;
    const bool serve = ball->GetPaddle() == paddle;
    std::optional<double>& last = serve ? m_ServeAim : m_StrokeAim;
    const std::optional<StrokeAim> aim =
        serve ? AimServe(logic, paddle, ball, last) : AimStroke(logic, paddle, ball, last);
    if (aim)
        last = serve ? aim->centre : aim->u;
    return aim;
}

void AutoPlayer::NewStroke(ArcadeGameLogic* logic)
{
    m_Offset = DrawOffset(logic);
    m_StrokeAim.reset();
}

int AutoPlayer::DrawOffset(ArcadeGameLogic* logic) const
{
    int reach = 16;
    if (m_SinceProgress >= kRestlessPasses)
        for (Paddle* paddle : logic->GetPaddles())
            reach = std::max(
                reach, (paddle->IsVertical() ? paddle->GetHeight() : paddle->GetWidth()) / 2 - 2);
    return MakoRand() % (2 * reach + 1) - reach;
}

bool AutoPlayer::SidePaddles(ArcadeGameLogic* logic)
{
    for (Paddle* paddle : logic->GetPaddles())
        if (paddle->IsVertical())
            return true;
    return false;
}

// The ball nearest to the paddle's line among those in play.
Ball* AutoPlayer::Nearest(const std::vector<Ball*>& balls, Paddle* paddle, bool vertical)
{
    Ball* best = nullptr;
    double bestDistance = 1e9;
    const double line = vertical ? paddle->GetX() + paddle->GetWidth() / 2.0
                                 : paddle->GetY() + paddle->GetHeight() / 2.0;
    for (Ball* ball : balls) {
        const double distance = std::fabs((vertical ? CentreX(ball) : CentreY(ball)) - line);
        if (distance < bestDistance) {
            best = ball;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace autoplay
