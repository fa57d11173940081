#pragma once
// Play: the field runs with the level's forces, the clock counts, locked balls are
// replaced, and losing focus or pausing the game freezes play.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class Playing : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "Playing"; }
    void OnEnterState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnMouseButtonUp(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;
    bool OnActiveEvent(const Event& event) override;
    bool OnPauseGame(const Event& event) override;
    bool OnAnimFinish(const Event& event) override;
    bool OnKeyDown(const Event& event) override;

private:
    // The developer keys (Ctrl+Alt held on one side).
    void DeveloperKey(int key);
    // A cleared level was asked for: the next tick removes the bricks and checks.
    bool m_ClearLevel = false;
};

} // namespace ArcadeGameStates
