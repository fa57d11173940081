// The application object: construction, the start-up sequence, window creation, the
// shut-down steps and the destructor's fixed deletion order.
#include "app/Application.h"
#include "app/SourceFolders.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/CrashReporting.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PropertyAccessor.h"
#include "core/PropertyType.h"
#include "core/Random.h"
#include "core/Shell.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "debugger/LuaDebugger.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "display/DisplayUtils.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "perf/BlitPerformanceManager.h"
#include "perf/PerformanceCounterManager.h"
#include "perf/TickPerformanceManager.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/HighScoreManager.h"
#include "players/PlayerManager.h"
#include "players/TopRecordsManager.h"
#include "resources/MemoryBudget.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsApplicationResourceScanner.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "screens/D3DAvailableVidMemCounter.h"
#include "screens/FPSCounter.h"
#include "screens/ScreenManager.h"
#include "sound/BASSSoundLoader.h"
#include "sound/DirectMusicLoader.h"
#include "win32/Folders.h"

#include <boost/format.hpp>

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <unistd.h>

namespace {

Application* gApp = nullptr;

// Logs one step of the shut-down, then deletes what the member owns.
template <typename T> void SafeDelete(std::unique_ptr<T>& member, const char* line)
{
    LogAtLevel(3, "%s", line);
    member.reset();
}

// Without a graphical display SDL draws into the terminal as coloured text: the player is
// told once why the game looks so, and what it needs.
void WarnOfTextDisplay(const std::string& appName)
{
    static bool warned = false;
    if (warned || !IsTextDisplay())
        return;
    warned = true;
    const char* display = std::getenv("DISPLAY");
    const std::string which =
        display && *display ? "\"" + std::string(display) + "\" could not be opened" : "not set";
    std::fprintf(stderr,
                 "%s: no graphical display (DISPLAY %s), so the game is drawn as text in this "
                 "terminal; start it in a desktop session to see it.\n",
                 appName.c_str(), which.c_str());
    std::fflush(stderr);
}

} // namespace

Application* GetApp()
{
    return gApp;
}

MAKO_IMPLEMENT_CLASS(Application, "Application", "Object", &Application::RegisterProperties,
                     nullptr);

Application::Application(const std::string& appName, const std::string& folderName,
                         std::uint32_t appCode, int width, int height)
{
    gApp = this;
    SetAppHost(this);
    SetLogLevel(2);
    m_ConfigFile = "MakoEngineApp.cfg";
    InitFileNames(appName);
    InitFolderNames(folderName);
    m_AppCode = appCode;
    m_Width = width;
    m_Height = height;
}

Application::~Application()
{
    DestroyGameDataIO();
    DestroyDisplayObjects();
    SafeDelete(m_ResourceManager, "~Application - SAFE_DELETE(m_ResourceManager)\n");
    DestroyDisplayManagers();
    // Only what InitEngine started is stopped: an application made without it (a test's)
    // leaves SDL, SDL_ttf and the sound system to whoever started them. The steps are
    // logged either way.
    LogAtLevel(3, "~Application - TTF_Quit\n");
    if (m_StartedTTF && TTF_WasInit())
        TTF_Quit();
    LogAtLevel(3, "~Application - SDL_Quit\n");
    if (m_StartedSDL)
        SDL_Quit();
    SafeDelete(m_TimerManager, "~Application - SAFE_DELETE(m_TimerManager)\n");
    LogAtLevel(3, "~Application - Sound::Quit()\n");
    if (m_StartedSound)
        QuitSound();
    SafeDelete(m_Config, "~Application - SAFE_DELETE(m_Config)\n");
    SafeDelete(m_Shell, "~Application - SAFE_DELETE(m_Shell)\n");
    DestroyPlayerManagers();
    LogAtLevel(3, "~Application - LuaRemoteDebuggingServer\n");
    if (IsLuaDebuggerActive())
        ShutdownLuaDebugger();
    // Posted events may still own script values: release them while the state lives. The
    // state itself outlives the application: the program entry closes it last.
    GetPostedEventQueue().Clear();
    SafeDelete(m_BlitPerformanceManager, "~Application - SAFE_DELETE(m_BlitPerformanceManager)\n");
    SafeDelete(m_TickPerformanceManager, "~Application - SAFE_DELETE(m_TickPerformanceManager)\n");
    SafeDelete(m_PerformanceCounterManager,
               "~Application - SAFE_DELETE(m_PerformanceCounterManager)\n");
    // The documents folder InitPaths set is this application's: files written after it
    // (by a later application of the process) go to the folder that one sets up.
    if (!m_DocumentsFolder.empty())
        SetDocumentsFolderPath("");
    LogAtLevel(3, "~Application - FINISHED\n");
    if (GetAppHost() == this)
        SetAppHost(nullptr);
    gApp = nullptr;
}

void Application::InitEngine(int argc, char** argv)
{
    InitProgram(argc, argv);
    InitFolders();
    InitSubsystems();
    if (IsLuaDebuggerActive())
        Log("Waiting for Lua Debugger.\n");
}

void Application::InitProgram(int argc, char** argv)
{
    Log("Initializing Mako Engine...\n");
    Log("Build date and time: \"%s\", \"%s\"\n", MakoBuildDate(), MakoBuildTime());
    Log("Crash reporting is %s.\n", IsCrashReportingEnabled() ? "ENABLED" : "DISABLED");

    m_PerformanceCounterManager = std::make_unique<PerformanceCounterManager>();
    m_TickPerformanceManager = std::make_unique<TickPerformanceManager>();
    m_TickPerformanceManager->AddCounter(m_PerformanceCounterManager.get());
    m_BlitPerformanceManager = std::make_unique<BlitPerformanceManager>();
    m_TickPerformanceManager->AddCounter(m_BlitPerformanceManager.get());

    m_LuaState = GetGlobalLuaState();
    InitLuaState(m_LuaState);
    m_LuaState->GetGlobals().SetObject("GlobalApp", GetLuaObject());

    ParseCmdLineArgs(argc, argv);
    SetAppVersion(ReadApplicationVersion(GetArg(0)));
    Log("App Version: %s\n", GetAppVersion().c_str());
    InitExePath();

    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    // A mistake on the command line ends the start here, before anything is read or made.
    CheckCommandLine();

    SetDefaultProperties();
    RunStartupScript();
    ConvertCmdLineArgsToProperties();
    LogStartupParameters();

    if (!RetrieveBoolProperty("allowMultipleInstances"))
        TakeSingleInstanceLock();
}

void Application::InitFolders()
{
    InitPaths();
    InitLog();
    if (!IsDirectX7Available())
        throw DirectX7NotAvailable(MAKO_WHERE, m_AppName);
    if (!RetrieveBoolProperty("keepCWD"))
        ChdirToExePath();
    Log("Current directory: %s\n", RetrieveStringProperty("cwd").c_str());
    LogMemoryStatus();
    // Every random helper of the program draws from this one generator.
    MakoSrand(static_cast<unsigned>(std::time(nullptr)));

    m_IsRunning = false;
    m_ActivationSeen = false;
    m_DisplayToggleRequested = false;
    m_WindowRecreationRequested = false;
}

void Application::InitSubsystems()
{
    Log("Initializing resource management subsystem...\n");
    InitResources();
    if (RetrieveBoolProperty("enableLuaDebugger"))
        StartLuaDebugger();

    m_Config = std::make_unique<Config>(m_LuaState);
    ReadConfig();

    int consoleFd = RetrieveBoolProperty("enableConsole") ? STDIN_FILENO : -1;
    m_Shell = std::make_unique<Shell>(m_LuaState, consoleFd);
    Log("Loading scripts...\n");
    LoadScripts();
    // Before any screen, whichever the game starts with: the configuration's resources
    // that load only when used are never pre-loaded, and one of each kind stays loaded.
    m_ResourceManager->SetOnDemandPrefixesFromList(m_Config->GetObject("loadOnDemand"));
    // What the game holds decoded stays within the configuration's budget.
    const LuaPlus::LuaObject budget = m_Config->GetObject("memory_budget_mb");
    MemoryBudget::SetLimitFromSetting("memory_budget_mb",
                                      budget.IsNumber() ? budget.GetNumber() : 0, !budget.IsNil());
    Log("The budget for what the game holds decoded: %lld MB\n",
        MemoryBudget::GetLimit() / MemoryBudget::kMegabyte);

    Log("Initializing SDL...\n");
    // No SDL timer subsystem: its thread wakes every millisecond for callbacks the engine
    // never sets; SDL_GetTicks and SDL_Delay work without it.
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0)
        MAKO_THROW(Exception, "Couldn't initialize SDL");
    m_StartedSDL = true;
    if (TTF_Init() == -1)
        MAKO_THROW(Exception, "Couldn't initialize SDL_ttf");
    m_StartedTTF = true;

    // Timers made without a target signal the application.
    m_TimerManager = std::make_unique<TimerManager>(this);
    Log("Initializing BASS...\n");
    m_StartedSound = true;
    InitSound();

    Log("Creating the Display Manager...\n");
    InitDisplayManager();

    Log("Creating player and score management subsystems...\n");
    InitPlayerManagers();
    HoldSavesWhenRefused();

    Log("Signalling all Config observers...\n");
    m_Config->SignalAllObservers();

    InitLogLevel();
    InitScreenManager();
}

namespace {

// The port the start-up property luaDebuggerPort names: DEFAULT_PORT when it is not set,
// 0 for any free port. Anything but a whole number from 0 to 65535 fails naming the key.
uint16_t LuaDebuggerPortFrom(const LuaPlus::LuaObject& value)
{
    if (value.IsNil())
        return LuaDebugger::DEFAULT_PORT;
    const double number = value.IsNumber() ? value.GetNumber() : -1.0;
    if (!value.IsNumber() || number < 0.0 || number > 65535.0 ||
        number != static_cast<double>(static_cast<long>(number)))
        MAKO_THROW(Exception, "The start-up property luaDebuggerPort must be a port number from "
                              "0 to 65535 (0 picks a free port).");
    return static_cast<uint16_t>(number);
}

} // namespace

void Application::StartLuaDebugger()
{
    // The debugger answers on the loopback address only, unless the start-up property
    // luaDebuggerAddress names another address to listen on; luaDebuggerPort (or the
    // command line's --luadebugport) names its port, 0 for one the system picks.
    LuaPlus::LuaObject address;
    RetrieveProperty(address, "luaDebuggerAddress");
    std::string listenHost = LuaNetworkServer::DEFAULT_LISTEN_HOST;
    if (address.IsString() && address.GetStrLen() > 0)
        listenHost = address.GetString();
    LuaPlus::LuaObject portValue;
    RetrieveProperty(portValue, "luaDebuggerPort");
    const uint16_t port = LuaDebuggerPortFrom(portValue);
    SetDebuggedLuaState("Main", m_LuaState->GetCState());
    std::string folder = m_AppDataFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    // From here to the line with the port is the debugger's start: it never waits for another
    // copy's turn to save its connection list.
    Log("Starting the Lua debugger.\n");
    InitLuaDebugger(folder + "RemoteLuaDebuggingServerNetworkConnection.txt", port, listenHost);
    // Whoever starts the game (a test with port 0, usually) learns the port from the log.
    const uint16_t listening = GetLuaDebuggerPort();
    if (listening == 0) {
        // Nobody can connect, so there is nothing to warn about but the failure itself, said
        // where the person who started the game sees it too.
        const std::string text = boost::str(
            boost::format("Warning: the script debugger could not listen on %1% port %2%; "
                          "only clients it reattaches can reach it.\n") %
            listenHost % port);
        Log("%s", text.c_str());
        std::fputs(text.c_str(), stderr);
        return;
    }
    Log("Lua debugger listening on %s port %u.\n", listenHost.c_str(), unsigned(listening));
    // Said where the person who started the game sees it, whatever the log level.
    std::fprintf(stderr,
                 "Warning: the script debugger is on (--luadebug): any program that connects "
                 "to %s port %u can run any code as this user.\n",
                 listenHost.c_str(), unsigned(listening));
}

void Application::LogStartupParameters()
{
    LuaPlus::LuaObject table;
    table.AssignNewTable(m_LuaState);
    RetrieveAllProperties(table);
    table.SetNil("class");
    std::string text;
    SerializeToString(text, table, SERIALIZE_SORTED, m_LuaState);
    Log("Startup Parameters = %s\n", text.c_str());
}

void Application::TakeSingleInstanceLock()
{
    // Beside the cards, which hold what a second copy would undo: every start that saves
    // them sees the lock, whatever its runtime folder or configuration folder.
    const std::string cards = DocumentsFolderOfEnvironment() + "Player Cards/";
    switch (::TakeSingleInstanceLock(m_AppCode, cards, m_SavingRefused)) {
    case SINGLE_INSTANCE_ALONE:
        m_SavingRefused.clear();
        return;
    case SINGLE_INSTANCE_OTHER_RUNNING:
        std::exit(1);
    case SINGLE_INSTANCE_UNAVAILABLE:
        return;
    }
}

void Application::HoldSavesWhenRefused()
{
    if (m_SavingRefused.empty())
        return;
    if (m_Config)
        m_Config->HoldEveryFile(m_SavingRefused);
    if (m_GameDataIO)
        m_GameDataIO->HoldEveryFile(m_SavingRefused);
}

void Application::InitResources()
{
    m_ResourceManager = std::make_unique<ResourceManager>(m_LuaState);
    AddResourceLoaders();
    m_ResourceManager->AddScanner(new WindowsDirectoryResourceScanner("Site\\", true));
    AddResourceScanners();
    m_ResourceManager->ScanAll();
}

void Application::AddResourceLoaders()
{
    m_ResourceManager->AddLoader(new SDLImageLoader());
    m_ResourceManager->AddLoader(new BASSSoundLoader());
    m_ResourceManager->AddLoader(new DirectMusicLoader());
}

void Application::AddResourceScanners()
{
    if (RetrieveBoolProperty("useExeResources")) {
        m_ResourceManager->AddScanner(new WindowsApplicationResourceScanner());
    } else {
        // From the source tree: the engine's sources, then the game's folder with the
        // configuration files the program otherwise carries inside itself.
        const std::string root = SourceFolders::FindRoot();
        m_ResourceManager->AddScanner(
            new WindowsDirectoryResourceScanner(root + "MakoEngine/Source/"));
        m_ResourceManager->AddScanner(new WindowsDirectoryResourceScanner(root + "game/"));
    }
    if (RetrieveBoolProperty("usePackageFiles"))
        m_ResourceManager->AddScanner(new PhysFSResourceScanner(m_PackageFile));
    else
        m_ResourceManager->AddScanner(new PhysFSResourceScanner("Assets\\"));
}

void Application::CreateWindow()
{
    Log("Application::CreateWindow called.\n");
    bool fullScreen = m_Config && m_Config->Retrieve("full_screen").ToBool();
    LuaPlus::LuaObject option;
    RetrieveProperty(option, "fullScreen");
    if (option.IsBoolean())
        fullScreen = option.GetBoolean();
    if (fullScreen && !RetrieveBoolProperty("enableEditor"))
        UseFullScreen(m_Width, m_Height, 32);
    else
        UseWindowedScreen(m_Width, m_Height, 32);
    WarnOfTextDisplay(m_AppName);
    // The window was just made in the mode the configuration asks for.
    m_WindowRecreationRequested = false;
    Log("Application::CreateWindow finished.\n");
}

void Application::ShutdownEngine()
{
    SavePlayerData();
    WriteConfig();
    // The class records stay: they are made once per process by static definitions, and
    // the screens and this object, deleted after this, still name their classes.
}

void Application::FailCheck(const char* file, int line, const char* function,
                            const std::string& expression, const std::string& message)
{
    std::string text = "Assertion failed: (" + expression + ")";
    if (!message.empty())
        text += "\nMessage: " + message;
    throw Exception(file, line, function, MakoBuildDate(), MakoBuildTime(), text);
}
