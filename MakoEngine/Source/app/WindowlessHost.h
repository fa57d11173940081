#pragma once
// An application host for passes run without a window or an application (the level check,
// the tests): the screen is 640 x 480, never full screen nor drawn by hardware, shortcut
// tips never show, requests to switch the display or quit are ignored and so is a request
// to pause the game (the scene's own pause flag, SceneHost::SetGamePaused, is what counts).
// Posted events go to the posted-event queue, for the owner's event phase to dispatch.
//
// While it lives it is the installed host; the one installed before comes back when it
// goes. What differs between its users (the timers, the pointer, deferred deletion, events
// sent to the host itself) each supplies. Main thread only.
#include "core/AppHost.h"

class WindowlessHost : public AppHost
{
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    WindowlessHost();
    ~WindowlessHost() override;
    WindowlessHost(const WindowlessHost&) = delete;
    WindowlessHost& operator=(const WindowlessHost&) = delete;

    bool IsGamePaused() const override;
    bool AreShortcutKeysArmed() const override { return false; }
    int GetWidth() const override { return kWidth; }
    int GetHeight() const override { return kHeight; }
    bool IsFullScreen() const override { return false; }
    bool IsHWAccelEnabled() const override { return false; }
    void PostEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;
    void PauseGame(bool) override {}
    void RequestDisplayToggle() override {}
    void Quit() override {}

private:
    AppHost* m_PreviousHost;
};
