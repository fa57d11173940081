// The application's side of event handling: the order an event travels (routed events,
// the frame-rate display, the application's own handlers, then the screens), focus, keys,
// the shortcut and debug keys, quit, configuration and timer events, screenshots, the
// cursor and input grab, and the statistics displays.
#include "app/Application.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Log.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "display/PointerGrab.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

bool Application::OnEvent(const Event& event)
{
    if (m_AppPaused && event.type >= SDL_KEYDOWN && event.type <= SDL_JOYAXISMOTION)
        return true;
    if (event.type == MAKO_ROUTEDEVENT) {
        EventReceiver* dest = static_cast<EventReceiver*>(event.user.data1);
        const Event* realEvent = static_cast<const Event*>(event.user.data2);
        if (dest == 0) {
            EventQueue::ReleaseEventData(event); // the wrapped event dies with the check
            MAKO_ASSERT(dest != 0);
        }
        MAKO_ASSERT(realEvent != 0);
        return EventQueue::DeliverRouted(event); // delivers, then releases the real event
    }
    if (OfferToOverlays(event))
        return true;
    if (RouteEvent(event))
        return true;
    return OfferToScreens(event);
}

bool Application::OnActiveEvent(const Event& event)
{
    LogAtLevel(3, "Application::OnActiveEvent, gain=%d, state=%d\n", event.active.gain,
               event.active.state);
    // Under X11 focus comes and goes with input focus rather than with iconifying, so
    // regaining either the application or the input focus resumes the game.
    bool regains =
        event.active.gain == 1 && (event.active.state & (SDL_APPACTIVE | SDL_APPINPUTFOCUS)) != 0;
    if (regains) {
        LogAtLevel(3, "Application::OnActiveEvent, FOCUS GAIN, calling DoPauseApp(false)\n");
        DoPauseApp(false);
        m_ActivationSeen = true;
    } else if ((event.active.state & SDL_APPINPUTFOCUS) && event.active.gain == 0) {
        LogAtLevel(3, "Application::OnActiveEvent, FOCUS LOST, calling DoPauseApp(true)\n");
        DoPauseApp(true);
    }
    return false;
}

bool Application::OnKeyDown(const Event& event)
{
    SDLKey key = event.key.keysym.sym;
    if ((key == SDLK_LALT || key == SDLK_RALT) && m_ShortcutTimer == 0 && m_TimerManager &&
        m_Config) {
        int timeout = static_cast<int>(m_Config->Retrieve("ShortcutKeyTimeout").ToDouble());
        m_ShortcutTimer = m_TimerManager->CreateTimer(this, timeout, 1, TIMER_REAL_TIME);
    }
    unsigned mods = event.key.keysym.mod & ~(KMOD_NUM | KMOD_CAPS);
    if (mods == KMOD_LALT || mods == KMOD_RALT) {
        if (key == SDLK_F4 || key == SDLK_RETURN) {
            if (m_FullScreen && !IsDialogVisible())
                return false;
            Screen* current = m_ScreenManager ? m_ScreenManager->GetCurrentScreen() : nullptr;
            if (key == SDLK_RETURN && current && current->HandlesDisplayToggle())
                return false;
            if (key == SDLK_F4)
                Quit();
            else
                m_DisplayToggleRequested = true;
            return true;
        }
    }
    if ((mods == KMOD_LCTRL || mods == KMOD_RCTRL) && HandleCtrlShortcut(key))
        return true;
    if (key == SDLK_F10) {
        Quit();
        return true;
    }
    return false;
}

bool Application::HandleCtrlShortcut(SDLKey key)
{
    switch (key) {
    case SDLK_0:
        Log("WM_USER: wParam=0x%08x, lParam=0x%08x\n", 0u, 0u);
        return true;
    case SDLK_1:
        MakoLuaState::LoadString(m_LuaState, "ShowFPS()");
        return true;
    case SDLK_2:
        MakoLuaState::LoadString(m_LuaState, "CapFramerate()");
        return true;
    case SDLK_3: {
        LuaPlus::LuaObject report = m_LuaState->GetGlobal("LogResourceUsage");
        if (report.IsFunction())
            report.Call();
        return false;
    }
    case SDLK_4:
        MakoLuaState::LoadString(m_LuaState, "ShowVideoMemoryUsage()");
        return true;
    case SDLK_5:
        if (GetLogLevel() > 0) {
            Log("Decrementing Log Level from %d to %d\n", GetLogLevel(), GetLogLevel() - 1);
            SetLogLevel(GetLogLevel() - 1);
        }
        return true;
    case SDLK_6:
        if (GetLogLevel() < 4) {
            Log("Incrementing Log Level from %d to %d\n", GetLogLevel(), GetLogLevel() + 1);
            SetLogLevel(GetLogLevel() + 1);
        }
        return true;
    case SDLK_7:
        Log("Manually setting HW acceleration to: %s\n", m_HWAccel ? "OFF" : "ON");
        SetHWAccelEnabled(!m_HWAccel);
        return false;
    case SDLK_8:
        m_LogTickInfo = !m_LogTickInfo;
        Log("Tick logging set to: %s\n", m_LogTickInfo ? "TRUE" : "FALSE");
        return false;
    case SDLK_9:
        if (HasCommandLineArg("--debug"))
            m_FrameStepping = !m_FrameStepping;
        return false;
    case SDLK_BACKQUOTE:
        return true;
    case SDLK_p:
        m_ScreenshotRequested = true;
        return true;
    default:
        return false;
    }
}

bool Application::OnKeyUp(const Event& event)
{
    SDLKey key = event.key.keysym.sym;
    if (key == SDLK_LALT || key == SDLK_RALT)
        DisarmShortcutKeys();
    return false;
}

void Application::DisarmShortcutKeys()
{
    if (m_ShortcutTimer && m_TimerManager)
        m_TimerManager->KillTimer(m_ShortcutTimer);
    m_ShortcutTimer = 0;
    m_Flags &= ~APPFLAG_SHORTCUTS_ARMED;
}

bool Application::OnTimer(const Event& event)
{
    if (m_ShortcutTimer != 0 && EventData1Int(event) == m_ShortcutTimer) {
        if (m_TimerManager)
            m_TimerManager->KillTimer(m_ShortcutTimer);
        m_ShortcutTimer = 0;
        m_Flags |= APPFLAG_SHORTCUTS_ARMED;
    }
    return true;
}

bool Application::OnQuit()
{
    Quit();
    return true;
}

bool Application::OnConfigUpdate(const Event& event)
{
    WriteConfig();
    return true;
}

void Application::SetHWAccelEnabled(bool enabled)
{
    if (enabled != m_HWAccel)
        m_WindowRecreationRequested = true;
    m_HWAccel = enabled;
    ApplyBoolProperty("overrideHWAccelInConfig", true);
    if (m_Config)
        m_Config->SetBoolean("use_3d_acceleration", enabled);
}

void Application::ToggleFullScreen()
{
    if (m_FullScreen)
        UseWindowedScreen(m_Width, m_Height, 32);
    else
        UseFullScreen(m_Width, m_Height, 32);
}

void Application::NotifyDisplayChange()
{
    Event event = MakeEvent(MAKO_DISPLAYCHANGE);
    OnEvent(event);
}

bool Application::GrabInput(bool grab)
{
    bool previous = IsInputGrabbed();
    if (!RetrieveBoolProperty("allowGrabInputStateChange") || !SDL_WasInit(SDL_INIT_VIDEO))
        return previous;
    m_GrabPending = false;
    if (grab && !PointerGrab::TryGrab()) {
        // Another program holds the pointer, or the window cannot be seen: the grab is
        // asked for again in later passes (RetryPendingGrab) instead of waiting here.
        LogAtLevel(3, "Application::GrabInput: the pointer cannot be grabbed yet.\n");
        m_GrabPending = true;
        return previous;
    }
    SDL_WM_GrabInput(grab ? SDL_GRAB_ON : SDL_GRAB_OFF);
    return previous;
}

void Application::RetryPendingGrab()
{
    if (m_GrabPending && ++m_GrabRetryPasses % kGrabRetryPasses == 0)
        GrabInput(true);
}

bool Application::IsInputGrabbed() const
{
    return m_GrabPending ||
           (SDL_WasInit(SDL_INIT_VIDEO) && SDL_WM_GrabInput(SDL_GRAB_QUERY) == SDL_GRAB_ON);
}

bool Application::ShowCursor(bool show)
{
    bool previous = IsCursorShown();
    LogAtLevel(3, "Application::ShowCursor(%s) called, GetCursor returned=%08x, m_W.C.S.=%s\n",
               show ? "true" : "false", previous ? 1u : 0u, m_WasCursorShown ? "true" : "false");
    if (RetrieveBoolProperty("allowShowCursorStateChange") && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    LogAtLevel(3, "Application::ShowCursor(%s) finished, GetCursor returned=%08x\n",
               show ? "true" : "false", IsCursorShown() ? 1u : 0u);
    return previous;
}

bool Application::IsCursorShown() const
{
    return !SDL_WasInit(SDL_INIT_VIDEO) || SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

void Application::GetMousePosition(int& x, int& y) const
{
    x = y = 0;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetMouseState(&x, &y);
}

std::string FindScreenshotFileName(const std::string& folder, const std::string& appName)
{
    char name[320];
    for (int n = 0; n <= 9998; ++n) {
        std::snprintf(name, sizeof name, "%.256s_Screenshot-%04d.bmp", appName.c_str(), n);
        std::string path = folder + name;
        // Whatever stands at the name (a FIFO, a dangling link) is never opened or replaced.
        struct stat info;
        if (::lstat(path.c_str(), &info) == 0 || errno != ENOENT)
            continue;
        return path;
    }
    return std::string();
}

void Application::SaveScreenshot()
{
    SDL_Surface* surface = GetScreenshotSurface();
    if (!surface) {
        Log("WARNING: Could not save screenshot: %s\n", "no picture has been drawn");
        return;
    }
    std::string path = FindScreenshotFileName(m_DocumentsFolder, m_AppName);
    if (path.empty()) {
        Log("WARNING: Could not save screenshot: %s\n", "all 9999 screenshot names are taken");
        return;
    }
    Log("Saving screenshot to \"%s\"\n", path.c_str());
    std::string cause = SaveSurfaceAsBMP(surface, path);
    if (!cause.empty())
        Log("WARNING: Could not save the screenshot \"%s\": %s\n", path.c_str(), cause.c_str());
}

std::string SaveSurfaceAsBMP(SDL_Surface* surface, const std::string& path)
{
    // The picture is made in memory first (a BMP is never larger than a header, a full
    // palette and four bytes a pixel with row padding), so only a whole file reaches disk.
    const std::size_t capacity =
        54 + 1024 +
        static_cast<std::size_t>(surface->h) * (static_cast<std::size_t>(surface->w) * 4 + 4);
    if (capacity > static_cast<std::size_t>(INT_MAX))
        return "the picture is too large";
    std::string bytes(capacity, '\0');
    SDL_RWops* memory = SDL_RWFromMem(&bytes[0], static_cast<int>(capacity));
    if (!memory)
        return SDL_GetError();
    if (SDL_SaveBMP_RW(surface, memory, 0) != 0) {
        SDL_RWclose(memory);
        return SDL_GetError();
    }
    int size = SDL_RWtell(memory); // the encoder ends at the end of the file it wrote
    SDL_RWclose(memory);
    if (size <= 0)
        return "the picture could not be encoded";
    bytes.resize(static_cast<std::size_t>(size));
    // A screenshot is a new file of the game's own: never written through a link nor over
    // anything that stands at its name.
    const FileWriter::Result written = FileWriter::WriteOutput(path, bytes, FileWriter::NEW_ONLY);
    return written.Ok() ? std::string() : written.reason;
}

// WriteConfig(): true when the settings are saved (or needed no saving), else false and why.
MAKO_LUA_FUNCTION(WriteConfig)
{
    const std::string failure = GetApp() ? GetApp()->WriteConfig() : "there is no application";
    lua_pushboolean(L, failure.empty());
    if (failure.empty())
        return 1;
    lua_pushlstring(L, failure.data(), failure.size());
    return 2;
}

MAKO_LUA_FUNCTION(EnableUnicode)
{
    int previous = SDL_EnableUNICODE(static_cast<int>(lua_tonumber(L, -1)));
    lua_pushnumber(L, previous);
    return 1;
}

MAKO_LUA_FUNCTION(ShowFPS)
{
    Application* app = GetApp();
    if (app) {
        bool on = lua_gettop(L) > 0 && lua_isboolean(L, -1) ? lua_toboolean(L, -1) != 0
                                                            : !app->IsFPSCounterEnabled();
        app->EnableFPSCounter(on);
    }
    return 0;
}

MAKO_LUA_FUNCTION(ShowVideoMemoryUsage)
{
    Application* app = GetApp();
    if (app) {
        bool on = lua_gettop(L) > 0 && lua_isboolean(L, -1) ? lua_toboolean(L, -1) != 0
                                                            : !app->IsVideoMemoryCounterEnabled();
        app->EnableVideoMemoryCounter(on);
    }
    return 0;
}
