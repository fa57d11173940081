#pragma once
// The first state of a game: applies the options, sets the level counters and the
// heads-up display to a fresh start, and goes on to load the level.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class Start : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "Start"; }
    void OnEnterState() override;
};

} // namespace ArcadeGameStates
