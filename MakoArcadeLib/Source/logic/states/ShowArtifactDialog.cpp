#include "logic/states/ShowArtifactDialog.h"

#include "core/Event.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "screens/Artefact.h"
#include "screens/ArtifactDialog.h"
#include "screens/Screen.h"
#include "sound/Sound.h"

#include <memory>

namespace ArcadeGameStates {

void ShowArtifactDialog::OnEnterState()
{
    auto* artefact = dynamic_cast<Artefact*>(m_Logic->GetArtefact());
    Screen* screen = m_Logic->GetGameScreen();
    if (!artefact || !screen) {
        m_Logic->SetState("ShowEndLevelDialog");
        return;
    }
    std::unique_ptr<ArtifactDialog> letter(new ArtifactDialog(*artefact));
    screen->StartDialog(letter.release(), true);
    Sound::PlaySound("Pickup_Secret03.ogg", false);
    SetMusicTempo(1.0f);
    m_Logic->PlayLevelMusic("LevelComplete", true);
}

bool ShowArtifactDialog::OnDialogStopped(const Event& event)
{
    // Only the letter's own end moves on; a dialog opened over it (the in-game menu on a
    // display change) leaves it waiting.
    auto* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (dialog && dialog->GetName() == "ArtifactDialog")
        m_Logic->SetState("ShowEndLevelDialog");
    return false;
}

} // namespace ArcadeGameStates
