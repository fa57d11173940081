#pragma once
// A won level of the "Levels" game type: the game screen is left at once.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class LevelsGameTypeCompleted : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "LevelsGameTypeCompleted"; }
    void OnEnterState() override;
};

} // namespace ArcadeGameStates
