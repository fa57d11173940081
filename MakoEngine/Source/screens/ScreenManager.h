#pragma once
// ScreenManager: the application's one registry of screens. Screens are kept by name in
// the global script table `Screens`, each as its script object; `Screens.current` holds
// the shown screen (nil until the first switch). The manager switches between screens,
// draws the shown screen with a global overlay above it, and routes events to both. The
// overlay carries the window buttons (minimise, restore, close), shown only while the
// program runs full screen.
//
// The manager owns every registered screen and the overlay; its destructor deletes them
// and sets `Screens` to nil. While it lives it is the current manager (GetInstance).
// Main thread only.
#include "core/Object.h"

#include <memory>
#include <string>
#include <vector>

class Actor;
class Canvas;
class Screen;

class ScreenManager : public Object
{
public:
    ScreenManager();
    ~ScreenManager() override;

    // The manager of the running program; null when none exists.
    static ScreenManager* GetInstance();

    // Enters the screen (owned from now on) under its name. The name "current" is
    // reserved and a name already taken raises; the shown screen does not change.
    void AddScreen(Screen* screen);
    // Shows the named screen; an unknown name raises and changes nothing. "current"
    // re-selects the shown screen.
    void SwitchToScreen(const std::string& name);
    // Shows the screen (null shows none). Every registered screen is then sent, through
    // the posted-event queue, one MAKO_SCREENCHANGE (data1 new, data2 old), and the
    // textures of every image are dropped so the new screen uploads its own.
    void SwitchToScreen(Screen* screen);
    // Shows the named screen when the running program has one; otherwise (a test, a build
    // without that screen) logs a warning naming the asker and the screen and stays where
    // it is. Gives whether it switched.
    static bool SwitchToScreenIfPresent(const std::string& name, const char* asker);
    Screen* GetCurrentScreen() const;
    // The registered screen of that name, or null.
    Screen* GetScreen(const std::string& name) const;

    // The manager's own handlers, then the overlay, then the shown screen.
    bool OnEvent(const Event& event) override;
    // The shown screen, then the overlay.
    void Draw(Canvas& canvas);
    // Ticks the shown screen (when it may tick now).
    void TickCurrentScreen();

    void ShowWindowButtons(bool show);
    // The overlay's "WindowButtons" are visible exactly when wanted and full screen.
    void UpdateWindowButtons();
    Actor* GetGlobalOverlay() const MAKO_LIFETIMEBOUND { return m_GlobalOverlay.get(); }

protected:
    bool OnDisplayChange(const Event& event) override;
    bool OnButtonClick(const Event& event) override;
    void CreateWindowsButtons();

private:
    // Every registered screen (keys other than "current"), in table order.
    std::vector<Screen*> AllScreens() const;

    LuaPlus::LuaObject m_ScreenDictionary;
    std::unique_ptr<Actor> m_GlobalOverlay;
    bool m_ShowWindowButtons = true;
};
