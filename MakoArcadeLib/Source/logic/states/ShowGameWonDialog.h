#pragma once
// The letters after the last episode of the game: five tip letters one after another
// ("finished.Game1" .. "finished.Game5"), each opened when the one before is closed, with
// applause and the theme's finale. After the last the game screen is left for the lab,
// where the bonus levels wait. A letter that is not shown (read before, or not written) is
// passed over; when none is left to show, the game screen is left at once.
#include "logic/ArcadeState.h"

#include <string>

namespace ArcadeGameStates {

class ShowGameWonDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowGameWonDialog"; }
    void OnEnterState() override;
    bool OnDialogStopped(const Event& event) override;

private:
    // Opens the first letter of the chain from index `from` on that can be shown; after
    // the chain, leaves for the lab.
    void ShowFrom(int from);
};

} // namespace ArcadeGameStates
