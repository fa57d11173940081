#include "logic/states/ShowArtifactDialog.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"

namespace ArcadeGameStates {

void ShowArtifactDialog::OnEnterState()
{
    SetMusicTempo(1.0f);
    m_Logic->SetState("ShowEndLevelDialog");
}

bool ShowArtifactDialog::OnDialogStopped(const Event&)
{
    m_Logic->SetState("ShowEndLevelDialog");
    return false;
}

} // namespace ArcadeGameStates
