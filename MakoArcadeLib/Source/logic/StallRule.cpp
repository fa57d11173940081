#include "logic/StallRule.h"

#include "core/Log.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"

#include <algorithm>

void StallRule::Reset()
{
    m_Started = false;
    m_Still = 0;
    m_Astray = false;
}

double StallRule::GetTurn() const
{
    if (m_Still < kStillPasses)
        return 0.0;
    const double steps = (m_Still - kStillPasses) / kTurnStepPasses;
    return std::min(kFirstTurn * (1.0 + steps), kMostTurn);
}

void StallRule::Update(ArcadeGameLogic* logic)
{
    const PlayProgress now = PlayProgress::Measure(logic);
    if (!m_Started || now.NewStretchAfter(m_Best) || now.NearerThan(m_Best) || PaddleHolds(logic)) {
        // Play moved on: the least strength and count become the stretch's best (they only
        // fall within a stretch, so a brick that grows back is no step).
        if (!m_Started || now.NewStretchAfter(m_Best))
            m_Best = now;
        m_Best.strengthLeft = std::min(m_Best.strengthLeft, now.strengthLeft);
        m_Best.requiredLeft = std::min(m_Best.requiredLeft, now.requiredLeft);
        m_Started = true;
        m_Still = 0;
        if (m_Astray)
            SetBallsAstray(logic, 0.0);
        m_Astray = false;
        return;
    }
    if (++m_Still < kStillPasses)
        return;
    if (m_Still == kStillPasses)
        LogAtLevel(2,
                   "The level has come no nearer its end for %d passes; its balls are "
                   "turned from their paths.\n",
                   m_Still);
    SetBallsAstray(logic, GetTurn());
    m_Astray = true;
}

bool StallRule::PaddleHolds(ArcadeGameLogic* logic)
{
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (const Ball* ball = dynamic_cast<const Ball*>(actor);
            ball && !ball->IsDead() && ball->GetPaddle())
            return true;
    return false;
}

void StallRule::SetBallsAstray(ArcadeGameLogic* logic, double turn)
{
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (Ball* ball = dynamic_cast<Ball*>(actor); ball && !ball->IsDead())
            ball->SetAstray(ball->GetPaddle() ? 0.0 : turn);
}
