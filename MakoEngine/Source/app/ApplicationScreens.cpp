// The application's side of the screens: creating the screen manager at the end of
// engine start-up, ticking the shown screen each pass (and telling what saves were refused),
// and offering it the events that the application itself did not consume.
#include "app/Application.h"

#include "core/Log.h"
#include "core/SaveNotice.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"

void Application::InitScreenManager()
{
    m_ScreenManager = std::make_unique<ScreenManager>();
}

void Application::Tick()
{
    if (m_ScreenManager)
        m_ScreenManager->TickCurrentScreen();
    // A save another copy made first is told once the game can show it.
    SaveNotice::TellPending();
}

bool Application::OfferToScreens(const Event& event)
{
    return m_ScreenManager && m_ScreenManager->OnEvent(event);
}

bool Application::IsDialogVisible() const
{
    Screen* current = m_ScreenManager ? m_ScreenManager->GetCurrentScreen() : nullptr;
    return current && current->IsDialogVisible();
}

void* Application::CurrentScreenForNotice() const
{
    return m_ScreenManager ? m_ScreenManager->GetCurrentScreen() : nullptr;
}
