#include "logic/states/ShowFinishedWorldDialog.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"
#include "screens/GameTips.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

namespace ArcadeGameStates {

namespace {

// The episode of the lab's levels.
constexpr int kLabEpisode = 11;

} // namespace

void ShowFinishedWorldDialog::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    // The progress has moved on already: the episode finished is the one before.
    const int episode = logic->m_EpisodeNumber.value_or(1);
    const std::string tip = episode == kLabEpisode
                                ? std::string("finished.Lab")
                                : "finished." + GameProgress::EpisodeName(episode - 1);
    if (!ShowGameTip(logic->GetGameScreen(), tip, "Congrats!", false)) {
        logic->LeaveGameScreen();
        return;
    }
    Sound::PlaySound("claps.ogg", false);
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->PlayMidi("Theme.mid", "EpisodeOver", true);
}

bool ShowFinishedWorldDialog::OnDialogStopped(const Event&)
{
    m_Logic->LeaveGameScreen();
    return false;
}

} // namespace ArcadeGameStates
