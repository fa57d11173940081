#include "screens/ArcadeGameScreen.h"

#include "app/Application.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/RootActor.h"
#include "screens/ScreenManager.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

#include <list>
#include <memory>

namespace {

const char* const kInGameMenu = "InGameMenuDialog";

void ShowWindowButtons(bool show)
{
    if (ScreenManager* screens = ScreenManager::GetInstance())
        screens->ShowWindowButtons(show);
}

} // namespace

ArcadeGameScreen::ArcadeGameScreen() : GameScreen("GameScreen", "bkgGame.jpg", nullptr) {}

// The screen's own destructor ends the controller before the play layer it fills.
ArcadeGameScreen::~ArcadeGameScreen() = default;

ArcadeGameLogic* ArcadeGameScreen::GetGameLogic() const
{
    return static_cast<ArcadeGameLogic*>(GetLogic());
}

// ---- Events --------------------------------------------------------------------------------

bool ArcadeGameScreen::OnEvent(const Event& event)
{
    if (event.type == SDL_MOUSEMOTION && !IsDialogVisible()) {
        if (Logic* logic = GetLogic())
            logic->OnEvent(event);
        return true;
    }
    return GameScreen::OnEvent(event);
}

bool ArcadeGameScreen::RouteEvent(const Event& event)
{
    if (HandleArcadeEvent(event))
        return true;
    return GameScreen::RouteEvent(event);
}

bool ArcadeGameScreen::OnRestartGame(const Event&)
{
    RestartGame();
    return true;
}

bool ArcadeGameScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) == static_cast<void*>(this)) {
        // A switch to this screen while it already shows a game (the console's
        // SwitchToScreen) keeps that game as it is, with its dialogs and input state.
        if (GetLogic())
            return false;
        if (Application* app = GetApp()) {
            app->GrabInput(true);
            app->ShowCursor(false);
        }
        ShowWindowButtons(false);
        BeginGame();
    } else if (GetLogic()) {
        EndGame();
        // The dialogs closed with the game hand their end to the next screen: the input
        // state is set here, not restored from before they opened.
        m_InputStateSaved = false;
        ShowWindowButtons(true);
        if (Application* app = GetApp()) {
            app->GrabInput(false);
            app->ShowCursor(true);
        }
        if (DirectMusic* music = Sound::GetDirectMusic())
            music->SetMasterTempo(1.0f);
    }
    return false;
}

void ArcadeGameScreen::RestartGame()
{
    EndGame();
    BeginGame();
}

void ArcadeGameScreen::BeginGame()
{
    m_FramesPlayed = 0;
    LuaPlus::LuaObject gameOptions = GameOptionsForNewGame();
    MAKO_ASSERT(gameOptions.IsTable());
    m_RootActor = new RootActor();
    m_RootActor->SetSize(GetWidth(), GetHeight());
    AddChild(m_RootActor, "RootActor");
    std::unique_ptr<ArcadeGameLogic> logic;
    try {
        logic = std::make_unique<ArcadeGameLogic>(this, m_RootActor, gameOptions);
    } catch (...) {
        // A controller that could not be built leaves no play layer behind.
        m_RootActor->Kill();
        m_RootActor = nullptr;
        throw;
    }
    ArcadeGameLogic* started = logic.get();
    SetLogic(logic.release());
    started->StartGame();
}

void ArcadeGameScreen::EndGame()
{
    const std::list<Dialog*> open = GetDialogs();
    for (Dialog* dialog : open)
        if (!dialog->IsStopping())
            StopDialog(dialog);
    if (m_RootActor) {
        m_RootActor->Kill();
        m_RootActor = nullptr;
    }
    SetLogic(nullptr);
}

// ---- Dialogs and the in-game menu ------------------------------------------------------------

bool ArcadeGameScreen::OnDialogStarted(const Event&)
{
    if (!m_InputStateSaved) {
        Application* app = GetApp();
        m_SavedCursorShown = app ? app->IsCursorShown() : true;
        m_SavedInputGrabbed = app ? app->IsInputGrabbed() : false;
        ShowWindowButtons(true);
        if (app) {
            app->ShowCursor(true);
            app->GrabInput(false);
        }
        m_InputStateSaved = true;
    }
    return false;
}

bool ArcadeGameScreen::OnDialogStopped(const Event&)
{
    if (IsDialogVisible())
        return false;
    MAKO_ASSERT(m_InputStateSaved == true);
    if (Application* app = GetApp()) {
        app->GrabInput(m_SavedInputGrabbed);
        app->ShowCursor(m_SavedCursorShown);
    }
    ShowWindowButtons(false);
    m_InputStateSaved = false;
    return false;
}

bool ArcadeGameScreen::OnDisplayChange(const Event&)
{
    // A change of the display during a game (full screen toggled, the window's mode lost)
    // pauses it under the menu. The start-up's own mode setting arrives before the game's
    // first frame and opens nothing.
    if (!IsDialogVisible() && GetLogic() && m_FramesPlayed > 0)
        ShowInGameMenu();
    return false;
}

void ArcadeGameScreen::Tick()
{
    GameScreen::Tick();
    if (GetLogic())
        ++m_FramesPlayed;
}

bool ArcadeGameScreen::OnPauseGame(const Event& event)
{
    if (EventCode(event) == 1)
        Sound::Pause();
    else
        Sound::Resume();
    return false;
}

void ArcadeGameScreen::ShowInGameMenu()
{
    if (IsDialogVisible() && GetTopDialog("")->GetName() == kInGameMenu)
        return;
    ClassManager* classes = ClassManager::Exists() ? ClassManager::GetInstance() : nullptr;
    if (!classes || !classes->GetClass(kInGameMenu, true)) {
        LogAtLevel(3, "ArcadeGameScreen::ShowInGameMenu: the game has no %s.\n", kInGameMenu);
        return;
    }
    LuaPlus::LuaObject params;
    params.AssignNewTable(GetGlobalLuaState());
    params.SetString("class", kInGameMenu);
    std::unique_ptr<Object> made(classes->InstantiateObject(params));
    Dialog* dialog = dynamic_cast<Dialog*>(made.get());
    MAKO_ASSERT_MSG(dialog != 0, "The in-game menu must be a dialog.");
    if (dialog->GetName().empty())
        dialog->ApplyStringProperty("name", kInGameMenu);

    if (DirectMusic* music = Sound::GetDirectMusic()) {
        Config* config = Config::GetCurrent();
        const double adjust = config ? config->GetNumber("menuVolumeAdjust") : 0.0;
        music->SetMasterVolume(static_cast<int>(music->GetMasterVolume() - adjust));
    }
    if (AppHost* host = GetAppHost())
        host->PauseGame(true);
    made.release();
    StartDialog(dialog, true);
}

// GetGameState(): the name of the running game's state; nil while no game runs or the game
// has no state yet. For the console and scripts that follow a game.
MAKO_LUA_FUNCTION(GetGameState)
{
    if (gLogic && gLogic->GetCurrentState()) {
        lua_pushstring(L, gLogic->GetStateName().c_str());
        return 1;
    }
    lua_pushnil(L);
    return 1;
}
