#pragma once
// The letter before a level. It shows while the level gets ready: each frame a few more
// bricks build their images, and when the last has, the letter's start button becomes
// usable. "start" goes on to the brick drop, "back" leaves the game screen. The score,
// balls and time labels and the hit meter are hidden behind it. The application's
// enableStartLevelDialog (false with the command-line switch --skipletter) skips it.
#include "logic/ArcadeState.h"
#include "scene/ActorLink.h"
#include "screens/StartLevelDialog.h"

#include <cstddef>

namespace ArcadeGameStates {

class ShowStartLevelDialog : public ArcadeState
{
public:
    // Bricks that build their images in one frame.
    static constexpr int kBricksPerFrame = 8;

    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowStartLevelDialog"; }
    void OnEnterState() override;
    void Tick() override;
    bool OnDialogStopped(const Event& event) override;

    // Whether the letter shows when there is no application to ask (the controller's
    // tests, which run without one); off unless set.
    static void ShowWithoutApplication(bool show);

private:
    std::size_t m_NextBrick = 0;
    bool m_Done = false;
    ActorLink<StartLevelDialog> m_Letter;
};

} // namespace ArcadeGameStates
