#pragma once
// The level's content slides down into the field (when the application's
// enableBrickDropAnimation is set; otherwise the serve follows at once). A press of the
// fire button meanwhile is kept for the serve (ArcadeGameLogic::m_EarlyPress).
#include "logic/ArcadeState.h"

#include <cstdint>

namespace ArcadeGameStates {

class BrickDrop : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "BrickDrop"; }
    ~BrickDrop() override;
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnMouseButtonUp(const Event& event) override;

private:
    // Moves the content on towards its place, by at most `step` pixels.
    void DropBy(int step);

    std::uint32_t m_Timer = 0;
    int m_Dropped = 0; // pixels the content has come down so far
};

} // namespace ArcadeGameStates
