#pragma once
// Shared set-up of the screen tests: the game's application object (without a window)
// with its screen manager, the asset archive's pictures and fonts, the configuration
// values screens and dialogs read, and small screens, logics and actors that record what
// reaches them.
#include "app/ArcadeApp.h"
#include "core/Event.h"
#include "resources/ResourceManager.h"
#include "scene/Actor.h"
#include "screens/Logic.h"
#include "screens/Screen.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class Config;
class ScreenManager;

namespace screentest {

// The game's application with the parts a test drives made reachable.
class TestApp : public ArcadeApp
{
public:
    using Application::InitScreenManager;
    using Application::IsDialogVisible;
    using Application::OfferToScreens;
    ScreenManager* Screens() const { return m_ScreenManager.get(); }
    void SetFullScreen(bool on) { m_FullScreen = on; }
    bool DisplayToggleRequested() const { return m_DisplayToggleRequested; }
    bool GamePauseAsked() const
    {
        return (m_Flags & (APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED)) != 0;
    }
};

class ScreenTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Delivers every posted event as the main loop does (to the application, which
    // offers it to the screens), then deletes killed actors.
    void DispatchPosted();
    // Types of the events posted for the application so far (not the routed ones).
    std::vector<int> TakePostedTypes();

    // A script value from an expression.
    static LuaPlus::LuaObject Table(const std::string& expression);
    static void Run(const std::string& text);

    std::unique_ptr<TestApp> app;
    ScreenManager* manager = nullptr;
    std::vector<int> postedTypes;

private:
    std::unique_ptr<ResourceManager> m_Resources;
};

// A screen that records what reaches its own handlers.
class RecordingScreen : public Screen
{
public:
    RecordingScreen(const std::string& name, std::vector<std::string>* log, Logic* logic = nullptr);
    ~RecordingScreen() override;

    void Tick() override;
    bool OnKeyDown(const Event& event) override;
    bool OnScreenChange(const Event& event) override;
    bool OnTimer(const Event& event) override;
    // Records "<dialog>:<clicked button or none>" for each stopped dialog.
    bool OnDialogStopped(const Event& event) override;

    std::vector<std::string> stopped;
    std::vector<std::pair<void*, void*>> changes; // (new, old) of each screen change
    static int s_Live;

private:
    std::vector<std::string>* m_Log;
};

// A logic that records ticks and the key presses and timer events offered to it.
class RecordingLogic : public Logic
{
public:
    explicit RecordingLogic(std::vector<std::string>* log) : m_Log(log) {}
    void Tick() override;
    bool OnKeyDown(const Event& event) override;
    bool OnTimer(const Event& event) override;
    bool consumeKeys = false;

private:
    std::vector<std::string>* m_Log;
};

// An actor that records key presses offered to it and may consume them.
class KeyActor : public Actor
{
public:
    KeyActor(const std::string& name, std::vector<std::string>* log, int zorder, bool consume);
    void Tick() override;
    bool OnKeyDown(const Event& event) override;

private:
    std::vector<std::string>* m_Log;
    bool m_Consume;
};

Event KeyDown(SDLKey key, SDLMod mod = KMOD_NONE);
Event KeyUp(SDLKey key, SDLMod mod = KMOD_NONE);

using bbtest::MessageOf;

} // namespace screentest
