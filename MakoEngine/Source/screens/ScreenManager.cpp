#include "screens/ScreenManager.h"

#include "core/AppHost.h"
#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "display/SurfaceManager.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "scene/Actor.h"
#include "screens/Screen.h"
#include "widgets/Button.h"

#include <boost/format.hpp>

#include <SDL.h>

using LuaPlus::LuaObject;

namespace {

ScreenManager* gScreenManager = nullptr;

// Surfaces of this type are the textures made from images' system-memory surfaces.
const int kTextureSurfaceType = 2;

Screen* ScreenFromLua(const LuaObject& value)
{
    return dynamic_cast<Screen*>(Object::GetObjectFromLua(value));
}

} // namespace

ScreenManager* ScreenManager::GetInstance()
{
    return gScreenManager;
}

ScreenManager::ScreenManager()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    m_ScreenDictionary.AssignNewTable(state);
    state->GetGlobals().SetObject("Screens", m_ScreenDictionary);

    m_GlobalOverlay = std::make_unique<Actor>();
    m_GlobalOverlay->SetPosition(0, 0);
    m_GlobalOverlay->SetSize(GetScreenWidth(), GetScreenHeight());
    ResourceManager* resources = GetResourceManager();
    if (resources && resources->FindInfo("GlobalOverlay", true))
        m_GlobalOverlay->AcquireAndApplyResource("GlobalOverlay");
    gScreenManager = this;
    CreateWindowsButtons();
}

ScreenManager::~ScreenManager()
{
    for (Screen* screen : AllScreens())
        delete screen;
    if (m_ScreenDictionary.IsSet())
        m_ScreenDictionary.GetState()->GetGlobals().SetNil("Screens");
    m_ScreenDictionary.Reset();
    m_GlobalOverlay.reset();
    if (gScreenManager == this)
        gScreenManager = nullptr;
}

std::vector<Screen*> ScreenManager::AllScreens() const
{
    std::vector<Screen*> screens;
    if (!m_ScreenDictionary.IsTable())
        return screens;
    for (LuaPlus::LuaTableIterator it(m_ScreenDictionary); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (key.IsString() && std::string(key.GetString()) == "current")
            continue;
        if (Screen* screen = ScreenFromLua(it.GetValue()))
            screens.push_back(screen);
    }
    return screens;
}

void ScreenManager::AddScreen(Screen* screen)
{
    MAKO_ASSERT(screen != 0);
    const std::string screenName = screen->GetName();
    MAKO_ASSERT_MSG(screenName != "current",
                    "The screen name of \"current\" is reserved for use by Mako.");
    MAKO_ASSERT_MSG(
        m_ScreenDictionary[screenName.c_str()].IsNil(),
        boost::str(boost::format("A Screen with name \"%1%\" already exists.") % screenName));
    m_ScreenDictionary.SetObject(screenName.c_str(), screen->GetLuaObject());
}

Screen* ScreenManager::GetScreen(const std::string& name) const
{
    if (name == "current")
        return GetCurrentScreen();
    return ScreenFromLua(m_ScreenDictionary[name.c_str()]);
}

Screen* ScreenManager::GetCurrentScreen() const
{
    LuaObject current = m_ScreenDictionary["current"];
    return current.IsNil() ? nullptr : ScreenFromLua(current);
}

void ScreenManager::SwitchToScreen(const std::string& name)
{
    LuaObject newScreenObject = m_ScreenDictionary[name.c_str()];
    // The name comes from a script or the console: a wrong one is theirs, not the program's.
    if (!newScreenObject.IsUserData())
        MAKO_THROW(Exception,
                   boost::str(boost::format("A Screen with name \"%1%\" does not exist.") % name));
    SwitchToScreen(ScreenFromLua(newScreenObject));
}

bool ScreenManager::SwitchToScreenIfPresent(const std::string& name, const char* asker)
{
    ScreenManager* screens = GetInstance();
    if (!screens || !screens->GetScreen(name)) {
        Log("WARNING: %s: there is no screen \"%s\" to go to.\n", asker, name.c_str());
        return false;
    }
    screens->SwitchToScreen(name);
    return true;
}

void ScreenManager::SwitchToScreen(Screen* newScreen)
{
    Screen* old = GetCurrentScreen();
    // The entry registered under the screen's name: a screen that was never added
    // leaves nothing shown, since the manager neither owns nor tracks it.
    if (newScreen)
        m_ScreenDictionary.SetObject("current", m_ScreenDictionary[newScreen->GetName().c_str()]);
    else
        m_ScreenDictionary.SetNil("current");

    // The game's pause is held by the dialogs of the screen shown: a screen left with a
    // pausing dialog still open takes its pause with it, so the next screen (a game
    // started from it, say) is not left paused with nothing to resume it.
    if (newScreen && newScreen != old && !newScreen->IsDialogVisible())
        if (AppHost* host = GetAppHost())
            host->PauseGame(false);

    const Event change = MakeEvent(MAKO_SCREENCHANGE, 0, newScreen, old);
    for (Screen* screen : AllScreens())
        GetPostedEventQueue().Post(screen, change);

    LogAtLevel(3, "ScreenManager::SwitchToScreen: Flushing vidmem.\n");
    SurfaceManager::GetInstance().All_DeleteSurfacesOfType(kTextureSurfaceType);
}

bool ScreenManager::OnEvent(const Event& event)
{
    if (Object::OnEvent(event))
        return true;
    if (m_GlobalOverlay && m_GlobalOverlay->OnEvent(event))
        return true;
    Screen* current = GetCurrentScreen();
    return current && current->OnEvent(event);
}

void ScreenManager::Draw(Canvas& canvas)
{
    if (Screen* current = GetCurrentScreen())
        current->Render(canvas);
    if (m_GlobalOverlay)
        m_GlobalOverlay->Render(canvas);
}

void ScreenManager::TickCurrentScreen()
{
    Screen* current = GetCurrentScreen();
    if (current && current->CanTick())
        current->Tick();
}

// ---- Window buttons -----------------------------------------------------------------------

void ScreenManager::ShowWindowButtons(bool show)
{
    m_ShowWindowButtons = show;
    UpdateWindowButtons();
}

void ScreenManager::UpdateWindowButtons()
{
    Actor* group = m_GlobalOverlay ? m_GlobalOverlay->GetChild("WindowButtons", false) : nullptr;
    if (!group)
        return;
    const bool fullScreen = GetAppHost() && GetAppHost()->IsFullScreen();
    group->SetVisible(m_ShowWindowButtons && fullScreen, true);
}

bool ScreenManager::OnDisplayChange(const Event&)
{
    UpdateWindowButtons();
    return false;
}

namespace {

// One window button of the overlay's corner: 20 pixels apart, `fromRight` pixels from the
// group's right edge, 5 below its top.
struct WindowButtonLayout
{
    const char* log;
    const char* image;
    int x;
    const char* name;
    int fromRight;
};

} // namespace

void ScreenManager::CreateWindowsButtons()
{
    Actor* group = new Actor();
    group->ApplyStringProperty("name", "WindowButtons");
    group->SetPosition(0, 0);
    group->SetSize(m_GlobalOverlay->GetWidth(), m_GlobalOverlay->GetHeight());
    m_GlobalOverlay->AddChild(group, "");

    Config* config = Config::GetCurrent();
    const std::string font = config ? config->GetString("ButtonFont") : std::string();
    const WindowButtonLayout layouts[] = {
        {"Screen::CreateWindowsButtons m_MinButton\n", "btnMin.png", 572, "MinimizeButton", 63},
        {"Screen::CreateWindowsButtons m_ResButton\n", "btnRes.png", 592, "RestoreButton", 43},
        {"Screen::CreateWindowsButtons m_CloseButton\n", "btnClose.png", 612, "CloseButton", 23},
    };
    for (const WindowButtonLayout& layout : layouts) {
        LogAtLevel(3, "%s", layout.log);
        Button* button =
            Button::Make(layout.image, "", font, 12, layout.x, 5, layout.name, nullptr);
        button->AddEventReceiver(this);
        const std::string name = layout.name;
        if (name == "MinimizeButton") {
            LogAtLevel(3, "Screen::CreateWindowsButtons afterMAKE\n");
            button->SetShortcutKey(SDLK_SPACE); // Alt+Space
            button->SetUseAltShortcutKey(true);
        } else if (name == "RestoreButton") {
            button->SetShortcutKey(SDLK_RETURN); // Alt+Enter
            button->SetUseAltShortcutKey(true);
        } else {
            button->SetAltFunctionKey(SDLK_F4); // Alt+F4
        }
        button->SetClickSound("click2.ogg");
        button->SetPosition(group->GetX() + group->GetWidth() - layout.fromRight,
                            group->GetY() + 5);
        group->AddChild(button, "");
    }
}

bool ScreenManager::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    AppHost* app = GetAppHost();
    const bool fullScreen = app && app->IsFullScreen();
    if (name == "MinimizeButton") {
        if (SDL_WasInit(SDL_INIT_VIDEO))
            SDL_WM_IconifyWindow();
        return true;
    }
    if (name == "RestoreButton" && fullScreen) {
        app->RequestDisplayToggle();
        app->PostEvent(nullptr, MAKO_VALUECHANGE);
        return true;
    }
    if (name == "CloseButton" && fullScreen) {
        app->Quit();
        return true;
    }
    return false;
}

// ---- Script function ----------------------------------------------------------------------

// SwitchToScreen("name"): shows the registered screen of that name.
MAKO_LUA_FUNCTION(SwitchToScreen)
{
    if (lua_gettop(L) < 1 || !lua_isstring(L, -1)) {
        Log("ERROR: Bad parameter(s) to SwitchToScreen.\nUsage: SwitchToScreen(\"name of "
            "screen\")\n");
        return 0;
    }
    const std::string name = lua_tostring(L, -1);
    if (ScreenManager* manager = ScreenManager::GetInstance())
        manager->SwitchToScreen(name);
    return 0;
}
