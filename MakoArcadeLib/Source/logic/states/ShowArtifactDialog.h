#pragma once
// The letter that shows the artefact found in a won level; until it exists the game
// goes on to the end-of-level letter at once.
#include "logic/ArcadeState.h"

namespace ArcadeGameStates {

class ShowArtifactDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowArtifactDialog"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;
};

} // namespace ArcadeGameStates
