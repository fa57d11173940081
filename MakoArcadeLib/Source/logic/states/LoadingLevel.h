#pragma once
// Loads the level the controller's name or numbers point at, lets it fill the field,
// builds the walls, sets the level's counters and labels and carries the reserve of
// balls over; then the start-level letter. A level that cannot be had or built (a broken
// table, a brick the physics would refuse, more objects than a level may hold) is logged
// with its name and what failed (also kept in the controller's script field
// "levelFailure"), its half-built field is cleared, and the game leaves for the screen it
// came from.
#include "logic/ArcadeState.h"

#include <string>

class Level;

namespace ArcadeGameStates {

class LoadingLevel : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "LoadingLevel"; }
    void OnEnterState() override;

private:
    // The level to play (null when there is none) and the name it goes by in the log.
    Level* FetchLevel(std::string& wanted);
    // Fetches the level and fills the field with it and its walls; false (logged, the
    // field cleared) when that fails.
    bool BuildLevel();
    void ClearField();
    void ShowLevelLabels(Level* level);
    void CarryBallsOver();
};

} // namespace ArcadeGameStates
