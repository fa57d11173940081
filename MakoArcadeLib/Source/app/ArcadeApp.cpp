#include "app/ArcadeApp.h"
#include "app/CommandLineOptions.h"
#include "app/SourceFolders.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/SaveNotice.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "logic/LevelManager.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "players/GameDataIO.h"
#include "players/TopRecordsList.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/Actor.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ArcadeSplashScreen.h"
#include "screens/ArcadeTestScreen.h"
#include "screens/GameStart.h"
#include "screens/GameTips.h"
#include "screens/MenuScreen.h"
#include "screens/OptionsDialog.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"

#include <SDL.h>

#include <memory>

namespace {

// The program resources that can become the window's icon, by resource number.
struct IconResource
{
    int id;
    const char* name;
};
const IconResource kIconResources[] = {{101, "AppIcon.png"}};

// The options page the menu screens open.
Dialog* NewOptionsDialog()
{
    return new OptionsDialog();
}

} // namespace

ArcadeApp::ArcadeApp() : Application("bumperlux", "bumperlux", AppCodeFromString("BLUX"), 640, 480)
{
    SetIconFromResource(101);
    SetWindowTitle("Bumperlux");
    m_SiteConfigFile = "site.cfg";
    MenuScreen::SetOptionsDialogFactory(&NewOptionsDialog);
}

ArcadeApp::~ArcadeApp()
{
    SaveNotice::SetTeller(nullptr);
}

void ArcadeApp::SetDefaultProperties()
{
    Application::SetDefaultProperties();
    ApplyBoolProperty("enableBrickDropAnimation", true);
    ApplyBoolProperty("enableStartLevelDialog", true);
    ApplyBoolProperty("loadAllResources", true);
}

void ArcadeApp::AddCommandLineOptions(CommandLineOptions& options)
{
    Application::AddCommandLineOptions(options);
    // The first screen is read where it is chosen (SwitchToFirstScreen).
    options.Add({"--menuscreen", "", "first screen", "start on the main menu"});
    options.Add({"--mapscreen", "", "first screen", "start on the map"});
    options.Add({"--gamescreen", "", "first screen", "start playing the selected level"});
    options.Add({"--testscreen", "", "first screen", "start on the developer test screen"});
    options.SetGroupConflictText("first screen",
                                 "Two first screens were given on the command line.");
    auto off = [this](const char* property) {
        return [this, property](const std::string&) { ApplyBoolProperty(property, false); };
    };
    options.Add(
        {"--skipletter", "", "", "no letter before a level", off("enableStartLevelDialog")});
    options.Add({"--skipdrop", "", "", "no brick drop when a level starts",
                 off("enableBrickDropAnimation")});
    options.Add(
        {"--noprecache", "", "", "no preloading on the splash screen", off("loadAllResources")});
    // Balls make their trail and motion-blur emitters but never start them.
    options.Add({"--lowFX", "", "", "no ball trails or blur",
                 [](const std::string&) { Ball::SetLowEffects(true); }});
}

void ArcadeApp::AddResourceScanners()
{
    if (!RetrieveBoolProperty("useExeResources"))
        GetResourceManager()->AddScanner(new WindowsDirectoryResourceScanner(
            SourceFolders::FindRoot() + "MakoArcadeLib/Source/"));
    Application::AddResourceScanners();
}

const std::vector<std::string>& ArcadeApp::GetScriptNames()
{
    static const std::vector<std::string> names = {"ArcadeColors.lua",
                                                   "Wall.lua",
                                                   "Ball.lua",
                                                   "ArcadeAnimations.lua",
                                                   "ArcadeDialogs.lua",
                                                   "ArcadeLabScreen.lua",
                                                   "ArcadeMapScreen.lua",
                                                   "ArcadeMenuScreen.lua",
                                                   "ArcadeGameLogic.lua",
                                                   "ArcadeArtifactScreen.lua",
                                                   "Artefact.lua",
                                                   "Brick.lua",
                                                   "ComboMeter.lua",
                                                   "DropTarget.lua",
                                                   "Explosion.lua",
                                                   "Fonts.lua",
                                                   "Goober.lua",
                                                   "HitMeter.lua",
                                                   "LaserBeam.lua",
                                                   "LevelCompiler.lua",
                                                   "Level.lua",
                                                   "MiscTemplates.lua",
                                                   "Paddle.lua",
                                                   "Particles.lua",
                                                   "PowerMeter.lua",
                                                   "Powerups.lua",
                                                   "ResourceBricks.lua",
                                                   "Shield.lua",
                                                   "Spawner.lua",
                                                   "StartupHelperFunctions.lua",
                                                   "TemporaryLevelResources.lua"};
    return names;
}

void ArcadeApp::LoadScripts()
{
    Application::LoadScripts();
    for (const std::string& name : GetScriptNames())
        MakoLuaState::DoResourceFile(m_LuaState, name);
}

void ArcadeApp::InitGame()
{
    LogAtLevel(3, "ArcadeApp::InitGame *****************\n");
    Application::InitGame();

    LogAtLevel(3, "ArcadeApp::InitDirectMusic *****************\n");
    if (Sound::IsActive())
        Sound::InitDirectMusic(RetrieveBoolProperty("enableMusic"));

    // Its making runs the script function SetupLevel.
    m_LevelManager = std::make_unique<LevelManager>();

    // The cards are read once, before the screens are made, so that the screens and the
    // top-ten lists they show start from every card's players and records.
    LogAtLevel(3, "ArcadeApp::LoadAllPlayerData *****************\n");
    if (GameDataIO* io = GameDataIO::GetInstance())
        io->LoadAllPlayerData(false);

    LogAtLevel(3, "ArcadeApp::AddScreens *****************\n");
    AddScreens();
    // A save another copy made first is told in a letter on the shown screen.
    SaveNotice::SetTeller([this](const std::string& text) {
        return ShowNoticeLetter(m_ScreenManager->GetCurrentScreen(), text);
    });

    SwitchToFirstScreen();
}

void ArcadeApp::AddScreens()
{
    LogAtLevel(3, "ArcadeApp::Add ArcadeSplashScreen *****************\n");
    m_ScreenManager->AddScreen(new ArcadeSplashScreen());
    LogAtLevel(3, "ArcadeApp::Add ArcadeMenuScreen *****************\n");
    m_ScreenManager->AddScreen(new ArcadeMenuScreen());
    LogAtLevel(3, "ArcadeApp::Add ArcadeGameScreen *****************\n");
    m_ScreenManager->AddScreen(new ArcadeGameScreen());
    m_ScreenManager->AddScreen(new ArcadeMapScreen());
    m_ScreenManager->AddScreen(new ArcadeArtifactScreen());
    m_ScreenManager->AddScreen(new ArcadeTestScreen());
    m_ScreenManager->AddScreen(new ArcadeLabScreen());
}

void ArcadeApp::SwitchToFirstScreen()
{
    if (HasCommandLineArg("--testscreen")) {
        m_ScreenManager->SwitchToScreen("TestScreen");
        LoadLevelScripts();
    } else if (HasCommandLineArg("--menuscreen")) {
        m_ScreenManager->SwitchToScreen("MenuScreen");
        LoadLevelScripts();
    } else if (HasCommandLineArg("--mapscreen")) {
        m_ScreenManager->SwitchToScreen("MapScreen");
        LoadLevelScripts();
    } else if (HasCommandLineArg("--gamescreen")) {
        LoadLevelScripts();
        // The first current player's selection of its current game mode, 3 balls.
        LuaPlus::LuaObject gameOptionsTable = CreateGameOptionsForCurrentPlayer();
        if (!gameOptionsTable.IsTable())
            FailCheck(__FILE__, __LINE__, "ArcadeApp::InitGame", "gameOptionsTable.IsTable()");
        m_ScreenManager->SwitchToScreen("GameScreen");
    } else {
        m_ScreenManager->SwitchToScreen("SplashScreen");
    }
}

void ArcadeApp::ShutdownGame()
{
    SavePlayerData();
    m_LevelManager.reset();
    Ball::FreeBallImages();
}

void ArcadeApp::Draw()
{
    Application::Draw();
}

void ArcadeApp::LoadLevelScripts()
{
    LuaPlus::LuaObject fromPackage;
    RetrieveProperty(fromPackage, "loadLevelsFromFunFile");
    if (fromPackage.IsBoolean() && fromPackage.GetBoolean())
        return;
    // Levels assigned again must compile again: start from an empty table of levels.
    MakoLuaState::LoadString(m_LuaState, "if ClearLevels then ClearLevels() end");
    // A level file that does not compile or run is reported and skipped; the others load.
    for (const std::string& name : LevelManager::GetLevelFileNames())
        LevelManager::RunLevelFile(m_LuaState, name);
}

// ---- Window icon --------------------------------------------------------------------------

void ArcadeApp::SetIconFromResource(int resourceId)
{
    m_IconResourceId = resourceId;
}

void ArcadeApp::OnWindowCreated()
{
    Application::OnWindowCreated();
    ApplyWindowIcon();
}

void ArcadeApp::ApplyWindowIcon()
{
    if (m_IconResourceId == 0 || !SDL_WasInit(SDL_INIT_VIDEO) || !GetResourceManager())
        return;
    const char* name = nullptr;
    for (const IconResource& icon : kIconResources)
        if (icon.id == m_IconResourceId)
            name = icon.name;
    std::string reason;
    if (!name) {
        reason = "the program has no icon resource of that number";
    } else if (!GetResourceManager()->FindInfo(name, true)) {
        reason = std::string("the resource \"") + name + "\" is missing";
    } else if (ObjectBoundary::Contain(
                   [&] {
                       std::unique_ptr<Image> image(Actor::NewImageFromResource(name));
                       SDL_WM_SetIcon(image->GetSDLSurface(), nullptr);
                   },
                   &reason)) {
        return;
    }
    // A window without its icon is only worth a warning.
    Log("WARNING: Coult not load application's icon; iconResourceNumber = %d; reason = %s\n",
        m_IconResourceId, reason.c_str());
}

// ---- Scores and scripts -------------------------------------------------------------------

namespace {

// A record's score as the arcade orders it: a number, or what a function the game's scripts
// kept there gives; a record without either (or whose function fails) has none.
bool ArcadeScore(const LuaPlus::LuaObject& record, double* score)
{
    const LuaPlus::LuaObject value = record.IsTable() ? record["gameScore"] : LuaPlus::LuaObject();
    if (!value.IsFunction())
        return TopGameRecordsList::GameScore(record, score);
    return ObjectBoundary::Guard("A game record", "it counts as having no score",
                                 [&] { *score = ReadIntegerFromObject(value); });
}

} // namespace

bool CompareGameScores(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b)
{
    // A record without a score counts as none and comes after every scored one.
    return TopGameRecordsList::ByScore(a, b, &ArcadeScore);
}

// ReloadLevels(): runs the level scripts again.
MAKO_LUA_FUNCTION(ReloadLevels)
{
    (void)L;
    if (ArcadeApp* app = dynamic_cast<ArcadeApp*>(GetApp()))
        app->LoadLevelScripts();
    return 0;
}
