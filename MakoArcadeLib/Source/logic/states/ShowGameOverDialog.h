#pragma once
// The letter after a lost game (the configuration's gameOverTitleText, gameOverNoteText and
// gameOverFromText), shown with the game paused over the lament of the main theme.
// "map" (called "lab" in the lab's game mode) leaves the game screen; "try again" plays the
// level lost once more from the start.
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
