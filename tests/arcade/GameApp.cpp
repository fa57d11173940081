#include "GameApp.h"

#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/TimerManager.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "players/PlayerManager.h"
#include "resources/ResourceManager.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/ScreenManager.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace bbtest {

void RunLua(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

std::vector<std::string> TableKeys(const std::string& expression)
{
    RunLua("_keys = {} for k in pairs(" + expression +
           " or {}) do if type(k) == 'string' then _keys[#_keys + 1] = k end end "
           "table.sort(_keys)");
    std::vector<std::string> keys;
    LuaPlus::LuaObject list = GetGlobalLuaState()->GetGlobal("_keys");
    for (int i = 1; list[i].IsString(); ++i)
        keys.push_back(list[i].GetString());
    RunLua("_keys = nil");
    return keys;
}

std::string ConfigText(const std::string& key)
{
    LuaPlus::LuaObject value = GetGlobalLuaState()->GetGlobal("ConstConfig")[key.c_str()];
    return value.IsString() ? value.GetString() : std::string();
}

namespace {

// The globals a player's skill writes (ApplyPlayerSkill): a game a test plays at another
// skill must not leave them to the next test of the process.
const char kSkillGlobals[] =
    "{'paddleInitialSizeOverride', 'defaultInitialBallSpeed', 'defaultMinBallSpeed', "
    "'defaultMaxBallOrdinarySpeed', 'defaultAddSpeedPerTick', 'defaultSpeedPerEnergy', "
    "'brickStrengthOverride', 'defaultAnvilStrength', 'defaultScoreBonusAtAdjustment', "
    "'defaultLootCaughtTargetAdjustment', 'defaultBallUsedTargetAdjustment', "
    "'defaultTimeBonusAtAdjustment'}";

// The user's configuration values (the process keeps one configuration for every test):
// kept at set-up, and put back through Config at tear-down, so that the music volume, the
// screen mode and the rest a test changed reach neither the next test nor the observers
// (the music's master volume) in another state than the configuration.
const char kKeepConfig[] =
    "GameApp_Config = {} for k, v in pairs(Config_Data) do GameApp_Config[k] = v end";
const char kRestoreConfig[] =
    "if GameApp_Config then "
    "for k in pairs(Config_Data) do if GameApp_Config[k] == nil then Config[k] = nil end end "
    "for k, v in pairs(GameApp_Config) do if rawget(Config_Data, k) ~= v then Config[k] = v end "
    "end GameApp_Config = nil end";

} // namespace

GameApp::GameApp()
{
    try {
        SetUp();
    } catch (...) {
        TearDown();
        throw;
    }
}

GameApp::~GameApp()
{
    TearDown();
}

void GameApp::SetUp()
{
    OpenGameResources();
    SettleSound();
    RunLua(kKeepConfig);
    RunLua(std::string("GameApp_SkillGlobals = {} for _, k in ipairs(") + kSkillGlobals +
           ") do GameApp_SkillGlobals[k] = _G[k] end");
    GetPostedEventQueue().Clear();
    m_ResourceManager.reset(&TestResources());
    SetDefaultProperties();
    m_TimerManager = std::make_unique<TimerManager>(this);
    for (const char* script : {"PlayerDefaults.lua", "Player.lua"})
        MakoLuaState::DoResourceFile(GetGlobalLuaState(), script);
    RunLua("Players = CreatePlayersTable() DummyPlayers = CreateDummyPlayersTable() "
           "for i = 1, 4 do Players[i] = CreatePlayer() end "
           "Players[1].Name = 'tester' Players.current[1] = Players[1] GameOptions = nil");
    m_PlayerManager = std::make_unique<PlayerManager>(GetGlobalLuaState());
    m_LevelManager = std::make_unique<LevelManager>();
    LoadGameLevels();
    InitScreenManager();
    m_ScreenManager->AddScreen(new ArcadeGameScreen());
    m_ScreenManager->AddScreen(new Screen("Elsewhere", "", nullptr));
}

void GameApp::TearDown()
{
    // The screens (and a running game) go first, while the players still exist.
    m_ScreenManager.reset();
    DeleteDeadActors();
    m_LevelManager.reset();
    m_PlayerManager.reset();
    m_TimerManager.reset();
    m_ResourceManager.release();
    GetPostedEventQueue().Clear();
    RunLua("GameOptions = nil");
    RunLua(std::string("if GameApp_SkillGlobals then for _, k in ipairs(") + kSkillGlobals +
           ") do _G[k] = GameApp_SkillGlobals[k] end GameApp_SkillGlobals = nil end");
    RunLua(kRestoreConfig);
    GetPostedEventQueue().Clear();
}

void GameApp::SettleSound()
{
    // The sound system outlives every application, and tests of other fixtures pause it,
    // set its volumes or lower the music (a game left with its menu open): each game
    // application starts it unpaused at the configured volumes.
    if (Sound::IsAppPaused())
        Sound::ResumeApp();
    if (Sound::IsGamePaused())
        Sound::Resume();
    if (Config* config = Config::GetCurrent()) {
        Sound::SetMusicVolume(static_cast<unsigned>(config->GetNumber("music_volume")));
        Sound::SetSFXVolume(static_cast<unsigned>(config->GetNumber("sfx_volume")));
    }
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->SetMasterVolume(Sound::MusicMasterVolume(Sound::GetMusicVolume()));
}

void GameApp::DispatchPosted()
{
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    while (queue.Take(event)) {
        if (event.type == MAKO_ROUTEDEVENT) {
            OnEvent(event); // delivers and releases the wrapped event
        } else {
            OnEvent(event);
            EventQueue::ReleaseEventData(event);
        }
    }
}

void GameApp::Pass(int passes)
{
    for (int i = 0; i < passes; ++i) {
        if (m_Flags & APPFLAG_GAME_PAUSE_REQUESTED)
            m_Flags = (m_Flags & ~APPFLAG_GAME_PAUSE_REQUESTED) | APPFLAG_GAME_PAUSED;
        DispatchPosted();
        m_TimerManager->Update();
        Tick();
        DeleteDeadActors();
    }
}

void GameApp::SwitchTo(const std::string& screen)
{
    m_ScreenManager->SwitchToScreen(screen);
    DispatchPosted();
}

Screen* GameApp::ShowWithoutItsTip(Screen* added, const std::string& name)
{
    m_ScreenManager->AddScreen(added);
    SwitchTo(name);
    Screen* screen = m_ScreenManager->GetScreen(name);
    for (Dialog* dialog : screen->GetDialogs())
        screen->StopDialog(dialog);
    Pass();
    return screen;
}

ArcadeGameScreen* GameApp::GameScreen() const
{
    return static_cast<ArcadeGameScreen*>(m_ScreenManager->GetScreen("GameScreen"));
}

Player* GameApp::CurrentPlayer() const
{
    return m_PlayerManager->GetCurrentPlayer(1);
}

void GameApp::StartGame()
{
    CreateGameOptionsForCurrentPlayer();
    ApplyBoolProperty("enableBrickDropAnimation", false);
    ApplyBoolProperty("enableStartLevelDialog", false);
    SwitchTo("GameScreen");
    Pass(30);
}

void GameApp::OpenLevel()
{
    CreateGameOptionsForCurrentPlayer();
    ApplyBoolProperty("enableBrickDropAnimation", true);
    ApplyBoolProperty("enableStartLevelDialog", false);
    SwitchTo("GameScreen");
}

void GameApp::OpenLetter()
{
    CreateGameOptionsForCurrentPlayer();
    ApplyBoolProperty("enableBrickDropAnimation", true);
    ApplyBoolProperty("enableStartLevelDialog", true);
    SwitchTo("GameScreen");
}

void GameApp::LoadCard(const std::string& folder, const std::string& card)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "Player1.card", std::ios::binary) << card;
    RunLua("Paths = Paths or {} Paths.PlayerData = '" + folder + "' LoadGameData()");
    DispatchPosted();
    Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
    Screens()->AddScreen(new ArcadeMapScreen());
    Screens()->AddScreen(new ArcadeLabScreen());
    Screens()->AddScreen(new ArcadeArtifactScreen());
    Screens()->AddScreen(new ArcadeMenuScreen());
}

Screen* GameApp::Show(const std::string& name)
{
    SwitchTo(name);
    Screen* screen = Screens()->GetScreen(name);
    EXPECT_EQ(screen, Screens()->GetCurrentScreen()) << name;
    const auto dialogs = screen->GetDialogs();
    for (Dialog* dialog : dialogs)
        screen->StopDialog(dialog);
    Pass(3);
    return screen;
}

bool GameApp::WinToTally(int score, int secret)
{
    ArcadeGameLogic* logic = GameScreen()->GetGameLogic();
    if (!logic)
        return false;
    logic->m_Score = score;
    logic->m_SecretFound = secret;
    logic->SetState("LevelCompleted");
    for (int n = 0; n < 300 && !logic->IsInState("ShowEndLevelDialog"); ++n) {
        Pass();
        if (auto* letter =
                dynamic_cast<Dialog*>(GameScreen()->Actor::GetChild("ArtifactDialog", false)))
            letter->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0,
                                      static_cast<Object*>(letter->GetChild("OkayButton"))));
    }
    return logic->IsInState("ShowEndLevelDialog");
}

void GameApp::ClickLeft()
{
    for (std::uint8_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        OnEvent(event);
    }
}

void GameApp::SetFullScreen(bool on)
{
    m_FullScreen = on;
    m_ScreenManager->UpdateWindowButtons();
}

void GameApp::SendKey(int key, int mods)
{
    Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    event.key.keysym.mod = static_cast<SDLMod>(mods);
    OnEvent(event);
    DispatchPosted();
}

} // namespace bbtest
