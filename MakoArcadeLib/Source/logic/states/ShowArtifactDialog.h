#pragma once
// The artefact letter of a won level that hid an artefact: the card ("Recovered!") on the
// game screen with the game paused, a chime and the level's closing music; when it closes
// the game goes on to the end-of-level letter. Without an artefact it goes on at once.
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
