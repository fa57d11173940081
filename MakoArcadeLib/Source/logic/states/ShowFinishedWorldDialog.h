#pragma once
// The letter after a finished episode; until the tip letters exist the game screen is
// left at once, as when a tip is not shown.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowFinishedWorldDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowFinishedWorldDialog"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;
};

} // namespace ArcadeGameStates
