#pragma once
// The game's application without a window, for driving the shell step by step: its
// protected parts reachable, the events it handles recorded, and helpers for keys, log
// capture and script resources.
#include "app/ArcadeApp.h"
#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/TimerManager.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptSource.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LogCaptureStart.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace apptest {

class TestApp : public ArcadeApp
{
public:
    using Application::DoPauseApp;
    using Application::FailCheck;
    using Application::HoldFrame;

    std::vector<int> seen;
    std::vector<std::intptr_t> words; // data1 of each
    std::vector<int> codes;

    TestApp() { m_LuaState = GetGlobalLuaState(); }

    bool OnEvent(const Event& event) override
    {
        if (event.type != MAKO_ROUTEDEVENT) {
            seen.push_back(event.type);
            words.push_back(EventData1Int(event));
            codes.push_back(event.user.code);
        }
        if (event.type == MAKO_SELECT) // a handler posting during the event phase
            PostEvent(nullptr, MAKO_RELOAD);
        return Application::OnEvent(event);
    }
    int Count(int type) const
    {
        int n = 0;
        for (int t : seen)
            n += t == type;
        return n;
    }

    void SetPaused(bool paused) { m_AppPaused = paused; }
    void SetFrameStepping(bool on) { m_FrameStepping = on; }
    bool IsFrameStepping() const { return m_FrameStepping; }
    void SetFullScreen(bool on) { m_FullScreen = on; }
    bool IsDisplayToggleRequested() const { return m_DisplayToggleRequested; }
    bool IsWindowRecreationRequested() const { return m_WindowRecreationRequested; }
    bool IsScreenshotRequested() const { return m_ScreenshotRequested; }
    bool IsLoggingTickInfo() const { return m_LogTickInfo; }
    void SetExePath(const std::string& path) { m_ExePath = path; }
    // Holds the frame with `key` queued behind whatever is already posted.
    void HoldOnce(const Event& key)
    {
        PostEvent(nullptr, key);
        HoldFrame();
    }

    void Parse(std::vector<std::string> args)
    {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        ParseCmdLineArgs(static_cast<int>(argv.size()), argv.data());
    }
    // Defaults, then the options (the start-up script in between is left out).
    void Settle()
    {
        SetDefaultProperties();
        ConvertCmdLineArgsToProperties();
    }
    // The configuration and the timers the application would own after start-up; the
    // application deletes both.
    // The tables of an earlier test's configuration are cleared first: one state holds
    // one configuration's tables.
    void MakeConfig()
    {
        MakoLuaState::LoadString(m_LuaState, "ConstConfig = nil; Config = nil; "
                                             "Config_Data = nil; Config_Metadata = nil");
        m_Config = std::make_unique<Config>(m_LuaState);
    }
    void MakeTimers() { m_TimerManager = std::make_unique<TimerManager>(this); }
    // Publishes the application to scripts as start-up does.
    void PublishToScripts() { m_LuaState->GetGlobals().SetObject("GlobalApp", GetLuaObject()); }
};

inline Event KeyDown(SDLKey sym, unsigned mods = 0)
{
    Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = static_cast<SDLMod>(mods);
    return event;
}

inline Event KeyUp(SDLKey sym)
{
    Event event = KeyDown(sym);
    event.type = SDL_KEYUP;
    return event;
}

inline void RunLua(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

// The lines of text, each with its line end.
inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Sends the log into a file of its own while it lives (the file is read back by Text);
// the log level is put back afterwards.
class LogCapture
{
public:
    explicit LogCapture(const std::string& path)
        : m_Path(path), m_Previous(GetLogFilePath()), m_Level(GetLogLevel())
    {
        bbtest::StartLogCapture(path);
    }
    ~LogCapture()
    {
        SetLogFilePath(m_Previous);
        SetLogLevel(m_Level);
    }
    std::string Text() const { return bbtest::ReadFile(m_Path); }
    // The lines of the capture that begin with prefix, each with its line end.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : SplitLines(Text()))
            if (line.compare(0, prefix.size(), prefix) == 0)
                lines.push_back(line);
        return lines;
    }

private:
    std::string m_Path;
    std::string m_Previous;
    int m_Level;
};

// Script resources by name while it lives (for the configuration defaults file).
class ScriptResources
{
public:
    ScriptResources()
    {
        m_Previous = ScriptSource::SetProvider([this](const std::string& name) {
            auto found = m_Scripts.find(name);
            if (found == m_Scripts.end())
                throw ResourceNotFoundException(MAKO_WHERE, "no script " + name, name);
            return found->second;
        });
        // The test's scripts stand for the program's own files.
        m_PreviousOwnCheck = ScriptSource::SetOwnCheck([](const std::string&) { return true; });
    }
    ~ScriptResources()
    {
        ScriptSource::SetProvider(m_Previous);
        ScriptSource::SetOwnCheck(m_PreviousOwnCheck);
    }
    void Add(const std::string& name, const std::string& text) { m_Scripts[name] = text; }

private:
    std::map<std::string, std::string> m_Scripts;
    ScriptSource::Provider m_Previous;
    ScriptSource::OwnCheck m_PreviousOwnCheck;
};

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bbtest::PrepareEngine();
        GetPostedEventQueue().Clear();
        app.reset(new TestApp());
    }
    void TearDown() override
    {
        app.reset();
        GetPostedEventQueue().Clear();
    }
    // A new application in place of the current one (the old one goes first: there is
    // one application at a time).
    TestApp& Fresh()
    {
        app.reset();
        GetPostedEventQueue().Clear();
        app.reset(new TestApp());
        return *app;
    }

    bbtest::TempHome home;
    std::unique_ptr<TestApp> app;
};

} // namespace apptest
