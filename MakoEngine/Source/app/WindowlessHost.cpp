#include "app/WindowlessHost.h"

#include "core/EventQueue.h"
#include "scene/SceneHost.h"

WindowlessHost::WindowlessHost() : m_PreviousHost(SetAppHost(this)) {}

WindowlessHost::~WindowlessHost()
{
    if (GetAppHost() == this)
        SetAppHost(m_PreviousHost);
}

bool WindowlessHost::IsGamePaused() const
{
    return SceneHost::IsOwnGamePaused();
}

void WindowlessHost::PostEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                               void* data2)
{
    GetPostedEventQueue().Post(destination, type, code, data1, data2);
}
