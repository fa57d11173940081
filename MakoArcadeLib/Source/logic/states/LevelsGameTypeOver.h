#pragma once
// A lost game of the "Levels" game type: the game screen is left at once; a letter
// that offers another try may restart the game.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class LevelsGameTypeOver : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "LevelsGameTypeOver"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;
};

} // namespace ArcadeGameStates
