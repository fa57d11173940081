// The application's hand-over to the sound system and to the player and score managers:
// starting, pausing and stopping them in the places the start-up sequence, the pause
// handling and the destructor name.
#include "app/Application.h"

#include "core/Log.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/HighScoreManager.h"
#include "players/PlayerManager.h"
#include "players/TopRecordsList.h"
#include "players/TopRecordsManager.h"
#include "sound/Sound.h"

void Application::InitSound()
{
    Sound::Init(RetrieveBoolProperty("enableSound"));
}

void Application::QuitSound()
{
    Sound::Quit();
}

void Application::PauseSound()
{
    Sound::PauseApp();
}

void Application::ResumeSound()
{
    Sound::ResumeApp();
}

// The record manager first (the others observe it), the high scores, the players, the
// top-record lists (one, "Top Ten Scores"), then the object that loads and saves the
// cards. The game loads the cards when it starts (InitGame), once all of these exist.
void Application::InitPlayerManagers()
{
    m_GameRecordManager = std::make_unique<GameRecordManager>(m_LuaState);
    m_HighScoreManager = std::make_unique<HighScoreManager>(m_LuaState);
    m_PlayerManager = std::make_unique<PlayerManager>(m_LuaState);
    m_TopRecordsManager = std::make_unique<TopRecordsManager>();
    m_TopRecordsManager->AddList(
        std::make_unique<TopGameRecordsList>("Top Ten Scores", &TopGameRecordsList::ByGameScore));
    m_GameDataIO = std::make_unique<GameDataIO>(GetPlayerCardsFolder());
}

void Application::SavePlayerData()
{
    if (m_GameDataIO && m_PlayerManager && !SkipSaveOfCutShortStart())
        m_GameDataIO->SaveAllPlayerData();
}

void Application::DestroyGameDataIO()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_GameDataIO)\n");
    m_GameDataIO.reset();
}

void Application::DestroyPlayerManagers()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_HighScoreManager)\n");
    m_HighScoreManager.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_GameRecordManager)\n");
    m_GameRecordManager.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_PlayerManager)\n");
    m_PlayerManager.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_TopRecordsManager)\n");
    m_TopRecordsManager.reset();
}
