#pragma once
// The letter after a lost game; until it exists its enter only remembers the level
// lost, and its buttons are answered.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowGameOverDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowGameOverDialog"; }
    void OnEnterState() override;
    void OnExitState() override;
    bool OnDialogStopped(const Event& event) override;

private:
    int m_Episode = 0;
    int m_Level = 0;
};

} // namespace ArcadeGameStates
