#pragma once
// The root of the running engine: one Application per process, reached through
// GetApp(). It owns the managers (Lua state, configuration, resources, timers, display,
// screens, players and scores, performance counters), runs the start-up sequence, the main
// loop of fixed 32 ms passes, and shuts everything down in a fixed order, logging each
// step. The game's own subclass adds its screens and data.
//
// Managers of subsystems that a build does not have yet stay null; every use is guarded.
//
// The engine's lower layers reach the running application only through the AppHost it
// implements; it installs itself as the host when it is made.
#include "app/FramePacer.h"
#include "app/MainLoopPass.h"
#include "core/AppHost.h"
#include "core/Class.h"
#include "core/EventQueue.h"
#include "core/FramePeriod.h"
#include "core/Object.h"

#include <SDL.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class Canvas;
class CommandLineOptions;
class GameDataIO;
class GameRecordManager;
class HighScoreManager;
class PlayerManager;
class TopRecordsManager;
class Config;
class DisplayManager;
class FPSCounter;
class D3DAvailableVidMemCounter;
class ResourceManager;
class ScreenManager;
class Shell;
class TimerManager;
class PerformanceCounterManager;
class TickPerformanceManager;
class BlitPerformanceManager;

namespace LuaPlus {
class LuaState;
}

// m_Flags bits.
enum ApplicationFlags : std::uint32_t {
    APPFLAG_FRAMERATE_UNCAPPED = 1,
    APPFLAG_GAME_PAUSED = 2,
    APPFLAG_GAME_PAUSE_REQUESTED = 4,
    APPFLAG_SHORTCUTS_ARMED = 8,
};

class Application : public Object, public AppHost, public MainLoopPass
{
public:
    // appName prefixes the configuration, package and screenshot files; folderName names
    // the documents and application-data folders; appCode (AppCodeFromString) marks the
    // single instance.
    Application(const std::string& appName, const std::string& folderName, std::uint32_t appCode,
                int width, int height);
    ~Application() override;

    bool OnEvent(const Event& event) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    // Start-up, the loop and shut-down, in the order the program entry calls them.
    virtual void InitEngine(int argc, char** argv);
    virtual void ShutdownEngine();
    virtual void InitGame() {}
    virtual void ShutdownGame() {}
    virtual void SetDefaultProperties();
    // Ends the start with CommandLineStop when the command line asks for the option list
    // ("--help", "-h") or holds anything but the options AddCommandLineOptions lists, each
    // as a whole word, at most once and none with another of its group (the mistake named
    // in one line); else turns the options into application properties.
    virtual void ConvertCmdLineArgsToProperties();
    // The same check alone, before the start-up script runs.
    void CheckCommandLine();
    // Every option the program reads from its command line, wherever it reads it, with its
    // help and what it does (CommandLineOptions).
    virtual void AddCommandLineOptions(CommandLineOptions& options);
    virtual void AddResourceScanners();
    virtual void LoadScripts();
    virtual void Run();
    // Ends the main loop after the current pass. Asking again while it is ending does
    // nothing, so two quit requests in one pass are harmless.
    void Quit() override;
    virtual void CreateWindow();
    virtual void UseFullScreen(int width, int height, int bpp);
    virtual void UseWindowedScreen(int width, int height, int bpp);
    virtual void OnWindowCreated();
    virtual void Draw();
    virtual void NotifyDisplayChange();
    virtual void Tick() override;

    // The main loop is StartRunning, then RunPass (one pass, MainLoopPass) while running,
    // then FinishRunning. Test harnesses drive passes one at a time through these.
    void StartRunning();
    void FinishRunning();
    bool IsRunning() const { return m_IsRunning; }
    // Whether a stop signal came before the start finished (StartRunning). Such a run
    // saves nothing: what it would save may hold defaults in place of what it never read.
    bool IsStartCutShort() const;

    // Posted events: delivered by the event phase of the same or the next pass, after
    // SDL's own events. A null destination means the application itself.
    void PostEvent(EventReceiver* destination, const Event& event);
    void PostEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;
    void PostEventByName(const std::string& name);
    void PostSharedEvent(std::uint8_t type, EventReceiver* destination, void* sender,
                         const boost::shared_ptr<void>& data);
    // Hands an event to the destination (the application when null) at once.
    bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;
    // Deletes the actor (with delete) after the current frame was drawn; its destructor
    // detaches it from its parent and groups.
    void ScheduleForDeletion(Object* actor) override;
    void DeleteDeadActors();

    // The two pauses: the application pause while the window has no focus, and the game
    // pause asked for by dialogs and the game screen.
    void DoPauseApp(bool pause);
    void PauseGame(bool pause) override;
    bool IsAppPaused() const { return m_AppPaused; }

    // Command line (argument 0 is the program path; each further entry is one option with
    // the words that follow it). The options are read from the words as given
    // (CommandLineOptions::Read), which refuses an empty word; entries leave it out.
    void ParseCmdLineArgs(int argc, char** argv);
    std::string GetArg(std::size_t index) const;
    std::size_t GetNumArgs() const { return m_Args.size(); }
    // Whether an entry is the option (its first word, exactly); options with a short form
    // are read through their table entry instead.
    bool HasCommandLineArg(const std::string& option) const;

    // Start-up steps, public so that harnesses can run them one by one.
    void InitFileNames(const std::string& appName);
    void InitFolderNames(const std::string& folderName);
    void InitExePath();
    void RunStartupScript();
    void InitPaths();
    void InitLog();
    void ChdirToExePath();
    void ReadConfig();
    // Writes the configuration, unless the start was cut short (IsStartCutShort). "" when the
    // settings are saved (or needed no saving), else why they are not.
    std::string WriteConfig();
    void InitLogLevel();
    void InitPathsTable();

    // Display and input.
    void ToggleFullScreen();
    bool IsFullScreen() const override { return m_FullScreen; }
    // Asks the main loop to switch between full screen and a window at its next pass.
    void RequestDisplayToggle() override { m_DisplayToggleRequested = true; }
    void SetHWAccelEnabled(bool enabled);
    bool IsHWAccelEnabled() const override { return m_HWAccel; }
    // Grabs (or releases) the pointer for the window; returns whether it was grabbed. A
    // grab that the window system refuses now is retried in later passes and counts as
    // grabbed meanwhile. The main loop never waits for it.
    bool GrabInput(bool grab);
    // A refused grab is asked for again every kGrabRetryPasses passes (from the pass's
    // event phase).
    void RetryPendingGrab();
    bool IsGrabPending() const { return m_GrabPending; }
    static constexpr unsigned kGrabRetryPasses = 8;
    bool ShowCursor(bool show);
    bool IsInputGrabbed() const;
    bool IsCursorShown() const;
    void GetMousePosition(int& x, int& y) const override;
    void EnableFPSCounter(bool enable);
    void EnableVideoMemoryCounter(bool enable);
    bool IsFPSCounterEnabled() const { return m_FPSCounter != nullptr; }
    bool IsVideoMemoryCounterEnabled() const { return m_VideoMemoryCounter != nullptr; }
    // Takes the window the display just made (the display manager hands it over after
    // every apply that made one) and prepares it: caption, keyboard state, and a
    // MAKO_RESETWINDOW notice for the screens.
    void SetWindowHandle(void* handle);
    void* GetWindowHandle() const { return m_hWnd; }
    void SaveScreenshot();
    void RequestScreenshot() { m_ScreenshotRequested = true; }
    void DisarmShortcutKeys();
    void SetFrameRateCap(bool on);
    bool IsFrameRateCapped() const { return (m_Flags & APPFLAG_FRAMERATE_UNCAPPED) == 0; }

    // Names, folders and files.
    const std::string& GetAppName() const MAKO_LIFETIMEBOUND { return m_AppName; }
    const std::string& GetFolderName() const MAKO_LIFETIMEBOUND { return m_FolderName; }
    // The caption of the window (the folder name unless the game names itself); a window
    // made after the change takes it.
    const std::string& GetWindowTitle() const MAKO_LIFETIMEBOUND { return m_WindowTitle; }
    void SetWindowTitle(const std::string& title) { m_WindowTitle = title; }
    std::uint32_t GetAppCode() const { return m_AppCode; }
    const std::string& GetConfigFile() const MAKO_LIFETIMEBOUND { return m_ConfigFile; }
    const std::string& GetConfigDefaultsFile() const MAKO_LIFETIMEBOUND
    {
        return m_ConfigDefaultsFile;
    }
    const std::string& GetConstConfigFile() const MAKO_LIFETIMEBOUND { return m_ConstConfigFile; }
    const std::string& GetPackageFile() const MAKO_LIFETIMEBOUND { return m_PackageFile; }
    // Absolute folders, each ending with '/': the documents folder (log, player cards,
    // screenshots, usage and performance logs) and the application-data folder
    // (configuration). Empty until InitPaths.
    const std::string& GetDocumentsFolder() const MAKO_LIFETIMEBOUND { return m_DocumentsFolder; }
    const std::string& GetAppDataFolder() const MAKO_LIFETIMEBOUND { return m_AppDataFolder; }
    std::string GetPlayerCardsFolder() const { return m_DocumentsFolder + "Player Cards/"; }
    std::string GetSupportFolder() const { return m_DocumentsFolder + "Technical Support Files/"; }
    const std::string& GetExePath() const MAKO_LIFETIMEBOUND { return m_ExePath; }
    int GetWidth() const override { return m_Width; }
    int GetHeight() const override { return m_Height; }

    std::uint32_t GetFlags() const { return m_Flags; }
    void SetFlags(std::uint32_t flags) { m_Flags = flags; }
    bool IsGamePaused() const override { return (m_Flags & APPFLAG_GAME_PAUSED) != 0; }
    bool AreShortcutKeysArmed() const override { return (m_Flags & APPFLAG_SHORTCUTS_ARMED) != 0; }

    // The managers (null until InitEngine made them, or when a build lacks them).
    LuaPlus::LuaState* GetLuaState() const { return m_LuaState; }
    Config* GetConfig() const MAKO_LIFETIMEBOUND { return m_Config.get(); }
    ResourceManager* GetResourceManager() const MAKO_LIFETIMEBOUND
    {
        return m_ResourceManager.get();
    }
    TimerManager* GetTimerManager() const MAKO_LIFETIMEBOUND override
    {
        return m_TimerManager.get();
    }
    ScreenManager* GetScreenManager() const MAKO_LIFETIMEBOUND { return m_ScreenManager.get(); }
    DisplayManager* GetDisplayManager() const MAKO_LIFETIMEBOUND { return m_DisplayManager.get(); }
    Canvas* GetMainCanvas() const MAKO_LIFETIMEBOUND { return m_MainCanvas.get(); }
    Shell* GetShell() const MAKO_LIFETIMEBOUND { return m_Shell.get(); }
    PerformanceCounterManager* GetPerformanceCounterManager() const MAKO_LIFETIMEBOUND
    {
        return m_PerformanceCounterManager.get();
    }
    TickPerformanceManager* GetTickPerformanceManager() const MAKO_LIFETIMEBOUND
    {
        return m_TickPerformanceManager.get();
    }
    BlitPerformanceManager* GetBlitPerformanceManager() const MAKO_LIFETIMEBOUND
    {
        return m_BlitPerformanceManager.get();
    }

    // Properties of the class "Application".
    static void RegisterProperties(Class& applicationClass);
    void SetHWAccelFromLua(const LuaPlus::LuaObject& value);
    MAKO_DECLARE_CLASS();

protected:
    // Router handlers of the application.
    bool OnActiveEvent(const Event& event) override;
    // The window was exposed after being covered: the next frame is drawn whole.
    bool OnVideoExpose(const Event& event) override;
    bool OnKeyDown(const Event& event) override;
    bool OnKeyUp(const Event& event) override;
    bool OnQuit() override;
    bool OnConfigUpdate(const Event& event) override;
    bool OnTimer(const Event& event) override;

    // Raises the failed check "Assertion failed: (expression)" (followed by "\nMessage: "
    // and the message when one is given) as raised in `function`: for checks whose text
    // names the engine's own start-up step or expression rather than the helper or the
    // platform call that carries it out here.
    [[noreturn]] static void FailCheck(const char* file, int line, const char* function,
                                       const std::string& expression,
                                       const std::string& message = std::string());

    // Ends the main loop for the stop signal asked for, saying so.
    void AnswerStop();
    // The phases of a main-loop pass (ApplicationLoop.cpp).
    bool BeginPass() override;
    void PrepareEvents() override;
    void DispatchPassEvents() override { DispatchEvents(); }
    bool IsPausedPass() const override { return m_AppPaused && m_AppPaused == m_LastPaused; }
    void WaitWhilePaused() override;
    void UpdatePassTimers() override;
    void TickPass() override { Tick(); }
    void PrepareDisplay() override { RebuildDisplayIfRequested(); }
    bool IsFrameShown() const override { return !m_Minimized; }
    void DrawPass() override { Draw(); }
    void PresentPass() override { PresentFrame(); }
    void HoldPass() override;
    void EndPassFrame() override;
    void DeletePassObjects() override { DeleteDeadActors(); }
    void PacePass() override;
    void FinishPass(bool pausedPass) override;

    void DispatchEvents();
    void HoldFrame();
    void SendQuitNotices();
    bool HandleCtrlShortcut(SDLKey key);
    void LogStartupParameters();
    // Takes the single-instance lock beside the player cards: a second copy that finds it
    // taken ends here (exit status 1); a lock that cannot be taken leaves the reason in
    // m_SavingRefused, and the copy plays without saving (HoldSavesWhenRefused).
    void TakeSingleInstanceLock();
    // Holds the configuration and every card when the lock could not be taken.
    void HoldSavesWhenRefused();
    // The documents folder the user's environment names (m_DocumentsFolder once InitPaths ran).
    std::string DocumentsFolderOfEnvironment() const;
    // The steps of InitEngine. The program itself: performance managers, the Lua state, the
    // command line, classes, properties and the start-up script; a second instance stops
    // here unless allowed.
    void InitProgram(int argc, char** argv);
    // The user's folders, the log, the working directory and the random seed.
    void InitFolders();
    // Resources, configuration, scripts, SDL, timers, sound, display, players and screens.
    void InitSubsystems();
    void InitResources();
    // Starts the remote script debugger on the application's Lua state.
    void StartLuaDebugger();
    // Fills the table and reads the command line with it; raises CommandLineStop for a
    // mistake (status 2) or a request for the option list (status 0).
    void ReadCommandLine(CommandLineOptions& options);
    // The loaders of images, sounds and music, in that order.
    virtual void AddResourceLoaders();

    // The display side (ApplicationDisplay.cpp).
    void ApplyDisplayMode(bool fullScreen, int width, int height);
    void RebuildDisplayIfRequested();
    void PresentFrame();
    void CountFrame();
    bool OfferToOverlays(const Event& event);
    bool OfferToScreens(const Event& event);
    bool IsDialogVisible() const;
    void* CurrentScreenForNotice() const;
    SDL_Surface* GetScreenshotSurface() const;
    // The main canvas over the display manager's screen renderer; there is none before.
    void InitMainCanvas();
    // Installs the application's window procedure (needs the window handle).
    void InitWindowProc();
    // The application's window procedure: minimised and activation flags, then the display
    // manager's part. Messages come from SDL's active events (OfferToOverlays).
    std::intptr_t WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void TranslateActiveEvent(const Event& event);
    void InitDisplayManager();
    void InitScreenManager();
    void DestroyDisplayObjects();
    void DestroyDisplayManagers();

    // Sound, players and scores (ApplicationSubsystems.cpp).
    void InitSound();
    void QuitSound();
    void PauseSound();
    void ResumeSound();
    void InitPlayerManagers();
    void DestroyPlayerManagers();
    void DestroyGameDataIO();
    // Writes the player cards (game shutdown), unless the start was cut short; a card that
    // cannot be written is logged.
    void SavePlayerData();

    std::string m_AppName;
    std::string m_FolderName;
    std::uint32_t m_AppCode = 0;
    std::uint32_t m_Flags = 0;

    // Owned managers. The destructor deletes them one by one in its fixed, logged order,
    // so all are empty before the members themselves go. The players subsystem's managers
    // (players, records, high scores, top records, game data) join them when it exists.
    std::unique_ptr<BlitPerformanceManager> m_BlitPerformanceManager;
    std::unique_ptr<Config> m_Config;
    std::unique_ptr<DisplayManager> m_DisplayManager;
    std::unique_ptr<DisplayManager> m_DisplayOld;
    std::unique_ptr<Canvas> m_MainCanvas;
    std::unique_ptr<PerformanceCounterManager> m_PerformanceCounterManager;
    std::unique_ptr<ResourceManager> m_ResourceManager;
    std::unique_ptr<ScreenManager> m_ScreenManager;
    std::unique_ptr<Shell> m_Shell;
    std::unique_ptr<TimerManager> m_TimerManager;
    std::unique_ptr<TickPerformanceManager> m_TickPerformanceManager;
    std::unique_ptr<GameRecordManager> m_GameRecordManager;
    std::unique_ptr<HighScoreManager> m_HighScoreManager;
    std::unique_ptr<PlayerManager> m_PlayerManager;
    std::unique_ptr<TopRecordsManager> m_TopRecordsManager;
    std::unique_ptr<GameDataIO> m_GameDataIO;
    // The process's script state (not owned: the program entry closes it last).
    LuaPlus::LuaState* m_LuaState = nullptr;

    std::vector<std::string> m_Args;     // the entries (ParseCmdLineArgs)
    std::vector<std::string> m_Words;    // the command line's words as given, argument 0 first
    FramePacer m_Pacer{FRAME_PERIOD_MS}; // the next frame's deadline
    std::uint32_t m_FrameStartTime = 0;
    bool m_IsRunning = false;
    bool m_AppPaused = false;
    bool m_LastPaused = false;
    bool m_FrameStepping = false;
    bool m_SavedInputGrab = false;
    bool m_WasCursorShown = true;
    bool m_ActivationSeen = false;
    bool m_GrabPending = false; // a grab asked for that the window system refused so far
    unsigned m_GrabRetryPasses = 0;
    bool m_DisplayToggleRequested = false;
    bool m_FullScreen = false;
    bool m_Minimized = false;
    bool m_HWAccel = false;
    bool m_WindowRecreationRequested = false;
    bool m_ScreenshotRequested = false;
    bool m_LogTickInfo = false;

    std::string m_ConstConfigFile;
    std::string m_SiteConfigFile;
    std::string m_ConfigDefaultsFile;
    std::string m_ConfigFile;
    std::string m_DocumentsFolderName;
    std::string m_AppDataFolderName;
    std::string m_PackageFile;
    std::string m_DocumentsFolder;
    std::string m_AppDataFolder;
    // Why this copy may not save ("" when it may): the single-instance lock was unavailable.
    std::string m_SavingRefused;
    std::string m_ExePath;

    void* m_hWnd = nullptr;
    std::string m_WindowTitle;
    void* m_hIcon = nullptr;

    std::list<Object*> m_DeadActors;
    bool m_QuitNoticesSent = false;
    // Set by StartRunning: whether the start finished, and whether a stop came before.
    bool m_StartFinished = false;
    bool m_StartCutShort = false;
    // Says once that the saves of a cut-short start are left undone; false when they may go.
    bool SkipSaveOfCutShortStart();
    bool m_CutShortSaveSaid = false;
    // What InitEngine started, and so what the destructor stops.
    bool m_StartedSDL = false;
    bool m_StartedTTF = false;
    bool m_StartedSound = false;
    std::unique_ptr<FPSCounter> m_FPSCounter;
    std::unique_ptr<D3DAvailableVidMemCounter> m_VideoMemoryCounter;
    int m_ShortcutTimer = 0;
    int m_Width = 0;
    int m_Height = 0;
};

// The one application; null before it is constructed and after it is destroyed.
Application* GetApp();

// Supplied by the game: its application object and the product name its crash reports
// carry. The program entry (SDL_main) makes and runs the application.
std::unique_ptr<Application> CreateGameApplication();
extern const char* const kProductName;
int SDL_main(int argc, char** argv);

// The path of the first screenshot name "<appName>_Screenshot-NNNN.bmp" (NNNN from 0000 to
// 9998; appName cut to 256 characters) in folder (ending with '/') that no file has yet;
// "" when all 9999 are taken.
std::string FindScreenshotFileName(const std::string& folder, const std::string& appName);

// Writes surface as a new BMP file at path, whole or not at all, as output of the game's own
// (core/FileWriter.h: nothing that stands at path is replaced or written through). Returns ""
// or the cause of the failure in words for the user ("No space left on device").
std::string SaveSurfaceAsBMP(SDL_Surface* surface, const std::string& path);

// The four characters of text, the first in the lowest byte ("BLUX").
std::uint32_t AppCodeFromString(const std::string& text);
