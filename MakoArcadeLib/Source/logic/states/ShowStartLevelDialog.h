#pragma once
// The letter before a level. Until the letter exists the level goes straight on to the
// brick drop, with or without the application's enableStartLevelDialog.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowStartLevelDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowStartLevelDialog"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;
};

} // namespace ArcadeGameStates
