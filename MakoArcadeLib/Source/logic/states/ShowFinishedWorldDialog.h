#pragma once
// The letter after the last level of an episode ("finished.<episode name>", or
// "finished.Lab" after the lab's tenth level), to applause and the theme's fanfare. Closing
// it leaves the game screen; a letter that is not shown (read before, or not written)
// leaves at once.
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
