#include "logic/states/ShowGameOverDialog.h"

#include "core/Config.h"
#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"
#include "screens/GameOverDialog.h"
#include "screens/Screen.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

namespace ArcadeGameStates {

namespace {

// The configuration's text of that key; empty when it has none.
std::string ConfigText(const char* key)
{
    Config* config = Config::GetCurrent();
    LuaPlus::LuaObject value = config ? config->GetObject(key) : LuaPlus::LuaObject();
    return value.IsString() ? value.GetString() : std::string();
}

} // namespace

void ShowGameOverDialog::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    // Nothing said during play stays on the marquee under the letter.
    logic->ShowMessage("", 0);
    SetMusicTempo(1.0f);
    m_Episode = logic->m_EpisodeNumber.value_or(1);
    m_Level = logic->m_LevelNumber.value_or(1);
    Screen* screen = logic->GetGameScreen();
    if (!screen)
        return;
    GameOverDialog* letter =
        new GameOverDialog(LetterDialog::NameOf(logic->m_Player), ConfigText("gameOverNoteText"),
                           ConfigText("gameOverFromText"), ConfigText("gameOverTitleText"));
    if (GameProgress::ModeName(logic->m_Player) == "Lab")
        letter->SetButtonText("MapButton", "lab");
    screen->StartDialog(letter, true);
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->PlayMidi("Theme.mid", "Lost", true);
}

void ShowGameOverDialog::OnExitState()
{
    m_Logic->GetGoobers().KillAll();
    m_Logic->GetBricks().KillAll();
    m_Logic->GetDropTargets().KillAll();
    m_Logic->GetPowerups().KillAll();
    m_Logic->GetFlyingTexts().KillAll();
}

bool ShowGameOverDialog::OnDialogStopped(const Event& event)
{
    ArcadeGameLogic* logic = m_Logic;
    const std::string button = ClickedButtonName(event);
    if (button == "MapButton") {
        logic->LeaveGameScreen();
        return true;
    }
    if (button == "ReplayButton") {
        LogAtLevel(4, "ShowEndLevelDialog: e:%d l:%d le:%d ll:%d \n",
                   logic->m_EpisodeNumber.value_or(0), logic->m_LevelNumber.value_or(0), m_Episode,
                   m_Level);
        logic->m_EpisodeNumber = m_Episode;
        logic->m_LevelNumber = m_Level;
        logic->SaveSelection();
        logic->SetState("Start");
        return true;
    }
    if (button == "QuitButton") {
        logic->QuitToScreen();
        return true;
    }
    return false;
}

} // namespace ArcadeGameStates
