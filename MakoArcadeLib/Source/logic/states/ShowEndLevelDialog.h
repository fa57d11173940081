#pragma once
// The end of a won level. In the adventure the player's progress moves on (and is
// saved); then the game goes where the letter's "next" would take it. The bonus letter
// and its tally are still to come; its buttons are already answered.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowEndLevelDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowEndLevelDialog"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;

private:
    // Where "next" leads: the next level, a finished episode or game, or off the screen.
    void GoOn();
    // The completed level becomes the current one again (replay, quit).
    void RestoreCompletedLevel();

    int m_CompletedEpisode = 0;
    int m_CompletedLevel = 0;
};

} // namespace ArcadeGameStates
