#pragma once
// The level's goal is met: the balls go, the victory music plays, and after the
// level-complete caption the artefact or the end-of-level letter follows.
#include "logic/ArcadeState.h"
#include "scene/ActorLink.h"
#include "screens/EndOfPlayAnimation.h"

#include <cstdint>

namespace ArcadeGameStates {

class LevelCompleted : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "LevelCompleted"; }
    void OnEnterState() override;
    void OnExitState() override;
    void Tick() override;
    bool OnAnimFinish(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;

private:
    void GoOn();

    ActorLink<EndOfPlayAnimation> m_Caption;
};

} // namespace ArcadeGameStates
