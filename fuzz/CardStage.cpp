#include "CardStage.h"

#include "FuzzHost.h"
#include "FuzzSeeds.h"

#include "app/ArcadeApp.h"
#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Random.h"
#include "core/TimerManager.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/PlayerManager.h"
#include "players/TopRecordsList.h"
#include "players/TopRecordsManager.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceScanner.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/GameStart.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "sound/BASSSoundLoader.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace fuzz {

namespace {

// Passes the menu runs before the game starts, and the game after its start: enough for
// the menu to build the card and for the game to load the level and serve.
const int kMenuPasses = 5;
const int kGamePasses = 30;

std::string PackFolder()
{
    const char* pack = std::getenv("BB_TEST_ASSET_PACK");
    return pack && std::filesystem::is_directory(std::string(pack) + "/Levels") ? pack : "";
}

} // namespace

// The application with the game's screens and managers, made as the game's start-up makes
// them, without a window or sound device.
class CardStage::StageApp : public ArcadeApp
{
public:
    explicit StageApp(const std::string& pack)
    {
        SDL_InitSubSystem(SDL_INIT_VIDEO);
        if (!TTF_WasInit())
            TTF_Init();
        LuaPlus::LuaState* state = GetGlobalLuaState();
        m_LuaState = state;
        // The process's one configuration (the level entry's too), lent while this lives.
        m_Config.reset(&GlobalConfig());
        m_ResourceManager = std::make_unique<ResourceManager>(state);
        m_ResourceManager->AddLoader(new SDLImageLoader());
        m_ResourceManager->AddLoader(new BASSSoundLoader());
        const std::string source = SourceFolder();
        for (const std::string& folder : {source + "/MakoEngine/Source/scripts/", source + "/game/",
                                          source + "/MakoArcadeLib/Source/scripts/", pack})
            m_ResourceManager->AddScanner(new WindowsDirectoryResourceScanner(folder));
        m_ResourceManager->ScanAll();
        for (const char* script :
             {"Utility.lua", "bumperlux_Const.cfg", "PlayerDefaults.lua", "Player.lua",
              "PlayerManager.lua", "HighScoreManager.lua", "Resource.lua"})
            MakoLuaState::DoResourceFile(state, script);
        MakoLuaState::LoadString(state, "LoadConfig { music_volume = 0, sfx_volume = 0 }");
        for (const std::string& script : ArcadeApp::GetScriptNames())
            MakoLuaState::DoResourceFile(state, script);
        SetDefaultProperties();
        ApplyBoolProperty("enableStartLevelDialog", false);
        ApplyBoolProperty("enableBrickDropAnimation", false);
        m_TimerManager = std::make_unique<TimerManager>(this);
        MakoLuaState::LoadString(state, "Players = CreatePlayersTable() "
                                        "DummyPlayers = CreateDummyPlayersTable()");
        m_LevelManager = std::make_unique<LevelManager>();
        LoadLevels(pack);
        InitScreenManager();
        m_ScreenManager->AddScreen(new ArcadeMenuScreen());
        m_ScreenManager->AddScreen(new ArcadeMapScreen());
        m_ScreenManager->AddScreen(new ArcadeLabScreen());
        m_ScreenManager->AddScreen(new ArcadeArtifactScreen());
        m_ScreenManager->AddScreen(new ArcadeGameScreen());
        m_ScreenManager->AddScreen(new Screen("Elsewhere", "", nullptr));
        SwitchTo("Elsewhere");
    }
    ~StageApp() override
    {
        m_ScreenManager.reset();
        DeleteDeadActors();
        m_LevelManager.reset();
        m_TopRecordsManager.reset();
        m_PlayerManager.reset();
        m_GameRecordManager.reset();
        m_TimerManager.reset();
        GetPostedEventQueue().Clear();
        m_Config.release();
    }

    void Play(const std::string& folder)
    {
        MakoSrand(1);
        LuaPlus::LuaState* state = GetGlobalLuaState();
        MakoLuaState::LoadString(state, "math.randomseed(1) GameOptions = nil");
        state->GetGlobals().CreateTable("Paths").SetString("PlayerData", folder);
        // The managers are made for each run: the entry's own card world replaces them
        // while it lives.
        m_GameRecordManager = std::make_unique<GameRecordManager>(state);
        m_PlayerManager = std::make_unique<PlayerManager>(state);
        // The top-ten list the game keeps: every record of the card is ordered into it.
        m_TopRecordsManager = std::make_unique<TopRecordsManager>();
        m_TopRecordsManager->AddList(std::make_unique<TopGameRecordsList>(
            "Top Ten Scores", &TopGameRecordsList::ByGameScore));
        GameDataIO cards(folder);
        cards.LoadAllPlayerData(true);
        SwitchTo("MenuScreen");
        Pass(kMenuPasses);
        auto* menu = static_cast<ArcadeMenuScreen*>(m_ScreenManager->GetScreen("MenuScreen"));
        const bool cardShown = menu->GetCard() != nullptr;
        // Every other screen that shows the card or its records.
        for (const char* screen : {"MapScreen", "LabScreen", "ArtifactScreen", "MenuScreen"}) {
            SwitchTo(screen);
            Pass(kMenuPasses);
        }
        CreateGameOptionsForCurrentPlayer();
        SwitchTo("GameScreen");
        Pass(kGamePasses);
        auto* game = static_cast<ArcadeGameScreen*>(m_ScreenManager->GetScreen("GameScreen"));
        const Level* level = game->GetGameLogic() ? game->GetGameLogic()->GetLevel() : nullptr;
        if (std::getenv("BB_FUZZ_VERBOSE"))
            std::fprintf(stderr, "card stage: card %s, level %s\n",
                         cardShown ? "shown" : "not shown",
                         level ? level->GetLevelName().c_str() : "none");
        SwitchTo("Elsewhere");
        Pass(1);
        MakoLuaState::LoadString(state, "GameOptions = nil");
        m_TopRecordsManager.reset();
        m_PlayerManager.reset();
        m_GameRecordManager.reset();
    }

    CardStage::LevelPlay PlayLevel(const std::string& name, int passes)
    {
        MakoSrand(1);
        LuaPlus::LuaState* state = GetGlobalLuaState();
        MakoLuaState::LoadString(state, "math.randomseed(1)");
        LuaPlus::LuaObject options = state->GetGlobals().CreateTable("GameOptions");
        options.SetString("gameType", "Levels");
        options.SetString("levelName", name);
        options.SetInteger("ballsLeft", 3);
        SwitchTo("GameScreen");
        auto* game = static_cast<ArcadeGameScreen*>(m_ScreenManager->GetScreen("GameScreen"));
        CardStage::LevelPlay play;
        for (int i = 0; i < passes; ++i) {
            if (i % 25 == 10)
                ClickLeft();
            Pass(1);
            ArcadeGameLogic* logic = game->GetGameLogic();
            const Level* level = logic ? logic->GetLevel() : nullptr;
            if (level && level->GetLevelName() == name)
                play.started = true;
            if (logic && logic->CountBallsInPlay() > 0)
                play.served = true;
            // A level with nothing left to break is over at once, served or not; one still
            // playing or waiting for its serve after all the passes stays on the field.
            play.stuck =
                logic && (logic->IsInState("Playing") || logic->IsInState("WaitForSpawn") ||
                          logic->IsInState("SpawnBall"));
            play.state = logic && logic->GetCurrentState() ? logic->GetStateName() : "";
        }
        SwitchTo("Elsewhere");
        Pass(1);
        MakoLuaState::LoadString(state, "GameOptions = nil");
        return play;
    }

    void ScanFolder(const std::string& folder)
    {
        WindowsDirectoryResourceScanner scanner(folder);
        ResourceInfoMap found = MakeResourceInfoMap();
        scanner.Scan(found);
        std::vector<std::string> names;
        for (const auto& entry : found)
            names.push_back(entry.first);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            m_ResourceManager->AddInfo(name, found[name].release());
    }

private:
    // The left button pressed and released, as the main loop hands SDL's events on.
    void ClickLeft()
    {
        for (std::uint8_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            Event event{};
            event.type = type;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            OnEvent(event);
        }
    }

    // The pack's level files, run in name order as the splash screen runs them.
    void LoadLevels(const std::string& pack)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(pack + "/Levels"))
            if (entry.path().extension() == ".lua")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        LuaPlus::LuaState* state = GetGlobalLuaState();
        MakoLuaState::LoadString(state, "ClearLevels()");
        for (const std::string& name : names)
            MakoLuaState::DoResourceFile(state, name);
    }

    void SwitchTo(const std::string& screen)
    {
        m_ScreenManager->SwitchToScreen(screen);
        DispatchPosted();
    }

    // Every posted event goes to the application, as the main loop's event phase does.
    void DispatchPosted()
    {
        EventQueue& queue = GetPostedEventQueue();
        Event event;
        while (queue.Take(event)) {
            OnEvent(event);
            if (event.type != MAKO_ROUTEDEVENT)
                EventQueue::ReleaseEventData(event);
        }
    }

    // One main-loop pass each, without drawing or sleeping.
    void Pass(int passes)
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
};

CardStage::CardStage() = default;
CardStage::~CardStage() = default;

CardStage* CardStage::Get()
{
    static bool tried = false;
    static CardStage* stage = nullptr;
    if (tried)
        return stage;
    tried = true;
    const std::string pack = PackFolder();
    if (pack.empty())
        return nullptr;
    PrepareEngineOnce();
    stage = new CardStage();
    stage->m_App = std::make_unique<StageApp>(pack);
    return stage;
}

void CardStage::Play(const std::string& folder)
{
    m_App->Play(folder);
}

CardStage::LevelPlay CardStage::PlayLevel(const std::string& name, int passes)
{
    return m_App->PlayLevel(name, passes);
}

void CardStage::ScanFolder(const std::string& folder)
{
    m_App->ScanFolder(folder);
}

std::string CardStage::Pack()
{
    return PackFolder();
}

} // namespace fuzz
