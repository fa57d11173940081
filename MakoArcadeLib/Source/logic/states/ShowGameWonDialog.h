#pragma once
// The letters after the last episode; until the tip letters exist the game screen is
// left at once, as when a tip is not shown.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowGameWonDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowGameWonDialog"; }
    void OnEnterState() override;
};

} // namespace ArcadeGameStates
