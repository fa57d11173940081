#pragma once
// The serve: play starts at once, and the balls waiting above the field come to life.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class SpawnBall : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "SpawnBall"; }
    void OnEnterState() override;
};

} // namespace ArcadeGameStates
