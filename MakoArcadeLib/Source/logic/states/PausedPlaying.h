#pragma once
// Play frozen while the game is paused or the window is inactive: the paddles still
// follow the pointer; on resuming the balls count down and play goes on 2250 ms later
// with the paddles told the true state of the button.
#include "logic/ArcadeState.h"

#include <cstdint>

namespace ArcadeGameStates {

class PausedPlaying : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "PausedPlaying"; }
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnTimer(const Event& event) override;
    bool OnPauseGame(const Event& event) override;
    bool OnActiveEvent(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;

    // Every ball shows its count-down and the resume timer starts (anew).
    virtual void StartResumeCountdown();
    // Back to play, with the paddles told whether the button is held.
    virtual void Resume();

private:
    // Pauses (true) or resumes the clock, ball-lock and live-ball timers.
    void PausePlayTimers(bool pause);

    std::uint32_t m_CountdownTimer = 0;
};

} // namespace ArcadeGameStates
