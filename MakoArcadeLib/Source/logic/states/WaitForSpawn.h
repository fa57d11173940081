#pragma once
// The serve: fresh paddles, the balls appear after a short delay, and the fire button
// (or a serve request) starts play; a button held through the delay serves at once.
#include "logic/ArcadeState.h"

#include <cstdint>

namespace ArcadeGameStates {

class WaitForSpawn : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "WaitForSpawn"; }
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnMouseButtonUp(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;
    bool OnServe(const Event& event) override;

private:
    // Starts play (the clock anew) unless the spawn delay still runs.
    void Serve(std::uint8_t paddleEvent);

    std::uint32_t m_SpawnDelayTimer = 0;
    std::uint32_t m_SecondTimer = 0;
};

} // namespace ArcadeGameStates
