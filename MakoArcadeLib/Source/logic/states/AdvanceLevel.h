#pragma once
// Between two levels of one game: the next level is loaded by its numbers (which the
// progress bookkeeping moved on), or the game ends after the last episode.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class AdvanceLevel : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "AdvanceLevel"; }
    void OnEnterState() override;
};

} // namespace ArcadeGameStates
