#pragma once
// The level's goal is met: the balls go, the victory music plays, and after the
// level-complete caption the artefact or the end-of-level letter follows.
#include "logic/ArcadeState.h"

#include <cstdint>

namespace ArcadeGameStates {

class LevelCompleted : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "LevelCompleted"; }
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnAnimFinish(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;

    // How long the level-complete caption shows before the game goes on (ms).
    static constexpr std::uint32_t kCaptionMs = 2500;

private:
    void GoOn();

    std::uint32_t m_CaptionTimer = 0;
};

} // namespace ArcadeGameStates
