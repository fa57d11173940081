#pragma once
// No balls are left: the field clears, the "Game Over" caption shows and, after a pause
// (3 s; half a second in the "Levels" game type), the game ends: the "Levels" game type
// has its own end, any other shows the game-over letter.
#include "logic/ArcadeState.h"
#include "scene/ActorLink.h"
#include "screens/EndOfPlayAnimation.h"

#include <cstdint>

namespace ArcadeGameStates {

class GameOver : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "GameOver"; }
    void OnEnterState() override;
    void OnExitState() override;
    bool OnTimer(const Event& event) override;
    bool OnAnimFinish(const Event& event) override;

private:
    std::uint32_t m_Timer = 0;
    ActorLink<EndOfPlayAnimation> m_Caption;
};

} // namespace ArcadeGameStates
