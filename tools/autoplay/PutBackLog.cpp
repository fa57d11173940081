#include "PutBackLog.h"

#include "field/FieldBounds.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"

namespace autoplay {

PutBackLog& PutBackLog::Installed()
{
    static PutBackLog log;
    Ball::SetPutBackObserver(&log);
    return log;
}

void PutBackLog::OnPutBack(const Ball& ball, double x, double y, double depth, bool paddleTouched)
{
    const FieldBounds field = FieldBounds::Current();
    PutBack putBack;
    putBack.x = x;
    putBack.y = y;
    putBack.depth = depth;
    putBack.pastFace = x < field.left || x > field.right || y < field.top || y > field.bottom;
    // A paddle that touched the ball in this pass, or lies within a pixel of its edge, is
    // pressing it (a paddle that closes the gap beside a wall squeezes the ball into it).
    putBack.pressed = paddleTouched;
    const double reach = ball.GetRadius() + 1.0;
    if (gLogic)
        for (const Paddle* paddle : gLogic->GetPaddles())
            putBack.pressed =
                putBack.pressed ||
                (paddle && !paddle->IsDead() && x > paddle->GetX() - reach &&
                 x < paddle->GetX() + paddle->GetWidth() + reach && y > paddle->GetY() - reach &&
                 y < paddle->GetY() + paddle->GetHeight() + reach);
    Record& record = m_Records[&ball];
    auto rank = [](const PutBack& p) { return (p.Escaping() ? 2 : 0) + (p.pastFace ? 1 : 0); };
    const bool worse = record.count == 0 || rank(putBack) > rank(record.worst) ||
                       (rank(putBack) == rank(record.worst) && putBack.depth > record.worst.depth);
    if (worse)
        record.worst = putBack;
    ++record.count;
}

int PutBackLog::Take(const Ball* ball, PutBack& worst)
{
    const auto found = m_Records.find(ball);
    if (found == m_Records.end()) {
        worst = PutBack();
        return 0;
    }
    const int count = found->second.count;
    worst = found->second.worst;
    m_Records.erase(found);
    return count;
}

} // namespace autoplay
