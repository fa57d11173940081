// Leaving the game screen and the player's progress: unlocking and selecting levels in
// the player's card, finding a level's place in the level order, and the in-game menu's
// answers.
#include "core/AppHost.h"
#include "core/Config.h"
#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "scene/ArcadeEventHandler.h"
#include "screens/Dialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Button.h"

using LuaPlus::LuaObject;

namespace {

int ConfigNumber(const char* key, int fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    const Variant value = config->Retrieve(key);
    return value.GetType() == Variant::V_DOUBLE ? static_cast<int>(value.ToDouble()) : fallback;
}

void ChangeMasterVolume(int delta)
{
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->SetMasterVolume(music->GetMasterVolume() + delta);
}

// The options dialog opened over the in-game menu leaves the music where the menu put it,
// unless its music slider set the volume anew: that sets the configured level and drops the
// menu's lowering, which is taken again here so that closing the menu brings the music
// back to exactly the configured level.
void LowerMusicAgainAfterOptions(int menuAdjust)
{
    DirectMusic* music = Sound::GetDirectMusic();
    if (!music)
        return;
    const int configured = Sound::MusicMasterVolume(Sound::GetMusicVolume());
    if (music->GetMasterVolume() == configured)
        music->SetMasterVolume(configured - menuAdjust);
}

void ResumeGame()
{
    if (AppHost* host = GetAppHost())
        host->PauseGame(false);
}

} // namespace

void ArcadeGameLogic::LeaveGameScreen()
{
    LuaObject target;
    GetScriptField(target, "useScreenOnExit");
    if (target.IsString()) {
        ScreenManager::SwitchToScreenIfPresent(target.GetString(), "ArcadeGameLogic");
        return;
    }
    if (DirectMusic* music = Sound::GetDirectMusic()) {
        music->PlayMidi("Theme.mid", "Splash", true);
        music->SetMasterTempo(1.0f);
    }
    const char* screen = m_GameType == "Adventure" ? "MapScreen"
                         : m_GameType == "Lab"     ? "LabScreen"
                                                   : nullptr;
    if (screen)
        ScreenManager::SwitchToScreenIfPresent(screen, "ArcadeGameLogic");
}

void ArcadeGameLogic::QuitToScreen()
{
    KillTimer(m_ClockTimer);
    LeaveGameScreen();
}

void ArcadeGameLogic::AdvanceProgress()
{
    LuaObject exitScreen;
    GetScriptField(exitScreen, "useScreenOnExit");
    if (exitScreen.IsString() && std::string(exitScreen.GetString()) == "LevelEditorScreen")
        return;
    m_EpisodeFinished = m_GameFinished = false;
    LuaObject modeTable = GameProgress::ModeTable(m_Player);
    if (modeTable.IsTable())
        modeTable.SetInteger("ballsLeft", m_BallsLeft);

    const int episodes = GameProgress::EpisodeCount();
    const int episode = m_EpisodeNumber.value_or(1);
    const int level = m_LevelNumber.value_or(1);
    const int levels = GameProgress::LevelCount(episode);
    if (modeTable.IsTable()) {
        int levelUnlocked = GameProgress::IntField(modeTable, "LevelUnlocked", 1);
        int episodeUnlocked = GameProgress::IntField(modeTable, "EpisodeUnlocked", 1);
        if (episode == episodeUnlocked && level == levelUnlocked) {
            if (levelUnlocked < levels) {
                ++levelUnlocked;
            } else if (episodeUnlocked < episodes) {
                m_EpisodeFinished = true;
                ++episodeUnlocked;
                levelUnlocked = 1;
            } else if (episodeUnlocked == episodes) {
                m_GameFinished = true;
            }
        }
        modeTable.SetInteger("LevelUnlocked", levelUnlocked);
        modeTable.SetInteger("EpisodeUnlocked", episodeUnlocked);
    }

    if (level != levels) {
        m_LevelNumber = level + 1;
    } else if (episode != episodes) {
        m_LevelNumber = 1;
        m_EpisodeNumber = episode + 1;
        m_EpisodeFinished = true;
    }
    if (modeTable.IsTable()) {
        modeTable.SetInteger("LevelSelected", m_LevelNumber.value_or(1));
        modeTable.SetInteger("EpisodeSelected", m_EpisodeNumber.value_or(1));
    }
    if (GameDataIO* io = GameDataIO::GetInstance())
        io->SaveAllPlayerData();
}

void ArcadeGameLogic::SaveSelection()
{
    LuaObject modeTable = GameProgress::ModeTable(m_Player);
    if (modeTable.IsTable()) {
        if (m_LevelNumber)
            modeTable.SetInteger("LevelSelected", *m_LevelNumber);
        if (m_EpisodeNumber)
            modeTable.SetInteger("EpisodeSelected", *m_EpisodeNumber);
    }
    LuaObject globals = GetGlobalLuaState()->GetGlobals();
    LuaObject options = globals["GameOptions"];
    if (!options.IsTable())
        options = globals.CreateTable("GameOptions");
    if (m_EpisodeNumber)
        options.SetInteger("episodeNumber", *m_EpisodeNumber);
    if (m_LevelNumber)
        options.SetInteger("levelNumber", *m_LevelNumber);
}

void ArcadeGameLogic::FindLevelByName(const std::string& name)
{
    const LuaObject order = GameProgress::ConfigTable("LevelOrder");
    if (!order.IsTable())
        return;
    const int episodes = GameProgress::EpisodeCount() + 1;
    for (int e = 1; e <= episodes; ++e) {
        LuaObject levels = order[e];
        if (!levels.IsTable())
            continue;
        const int count = levels.GetCount();
        for (int l = 1; l <= count; ++l) {
            LuaObject entry = levels[l];
            if (entry.IsConvertibleToString() && name == entry.ToString()) {
                m_EpisodeNumber = e;
                m_LevelNumber = l;
                break;
            }
        }
    }
}

bool ArcadeGameLogic::OnDialogStopped(const Event& event)
{
    Dialog* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (!dialog)
        return false;
    const std::string& name = dialog->GetName();
    const Button* clicked = dialog->GetClickedButton();
    const std::string button = clicked ? clicked->GetName() : std::string();
    const int volumeAdjust = ConfigNumber("menuVolumeAdjust", 1000);
    if (name == "OptionsDialog") {
        LowerMusicAgainAfterOptions(volumeAdjust);
        return false;
    }
    if (name == "InGameMenuDialog") {
        ResumeGame();
        ChangeMasterVolume(volumeAdjust);
        if (button == "RestartButton") {
            SaveSelection();
            if (AppHost* host = GetAppHost())
                host->PostEvent(GetScreen(), ARCADE_RESTARTGAME);
            return true;
        }
        if (button == "ReturnButton")
            return true;
        if (button == "QuitButton") {
            QuitToScreen();
            return true;
        }
        return false;
    }
    if (name == "QuitDialog") {
        ResumeGame();
        if (button == "OkayButton") {
            QuitToScreen();
            return true;
        }
    }
    return false;
}
