#pragma once
// The serve: fresh paddles, the balls appear after a short delay, and the fire button
// (or a serve request) starts play. A press heard before the balls are there (in the
// brick drop or the delay) is kept and serves the moment they appear, as does a button
// held through the delay; only a serve with no press waiting shows the prompt, so the
// prompt never invites a press that would do nothing.
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
    // Starts play (the clock anew); during the spawn delay the press is kept instead.
    void Serve(std::uint8_t paddleEvent);
    // The balls are there: a press kept from before serves them, or the prompt asks for one.
    void ServeOrPrompt();

    std::uint32_t m_SpawnDelayTimer = 0;
    std::uint32_t m_SecondTimer = 0;
};

} // namespace ArcadeGameStates
