#pragma once
// The last ball in play is gone: the paddles shatter, and when the ball-lost caption
// has ended the next serve follows, or the game is over when no ball is left.
#include "logic/ArcadeState.h"
#include "scene/ActorGroup.h"
#include "scene/ActorLink.h"
#include "screens/EndOfPlayAnimation.h"

#include <cstdint>

namespace ArcadeGameStates {

class AllBallsLost : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "AllBallsLost"; }
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnAnimFinish(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;

private:
    // The caption has ended: serve again or end the game.
    void GoOn();

    std::uint32_t m_ShatterTimer = 0;
    ActorLink<EndOfPlayAnimation> m_Caption;
    ActorGroup m_SetAside; // the balls that were in play when the last was lost
};

} // namespace ArcadeGameStates
