// The application's hand-over to the sound system and to the player and score managers:
// starting, pausing and stopping them in the places the start-up sequence, the pause
// handling and the destructor name.
#include "app/Application.h"

#include "core/Log.h"
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

// The player, record and score managers belong to the players subsystem; a build without
// it starts and stops none.
void Application::InitPlayerManagers() {}

void Application::DestroyGameDataIO()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_GameDataIO)\n");
}

void Application::DestroyPlayerManagers()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_HighScoreManager)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_GameRecordManager)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_PlayerManager)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_TopRecordsManager)\n");
}
