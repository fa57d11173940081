#include "logic/states/ShowStartLevelDialog.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowStartLevelDialog::OnEnterState()
{
    if (!GameProgress::AppFlag("enableStartLevelDialog", true)) {
        m_Logic->SetState("BrickDrop");
        return;
    }
    // No letter to show yet: the player starts the level at once.
    m_Logic->SetState("BrickDrop");
}

bool ShowStartLevelDialog::OnDialogStopped(const Event& event)
{
    const std::string button = ClickedButtonName(event);
    if (button == "StartButton") {
        m_Logic->SetState("BrickDrop");
        return true;
    }
    if (button == "QuitButton") {
        m_Logic->QuitToScreen();
        return true;
    }
    return false;
}

} // namespace ArcadeGameStates
