// The main loop: one pass per frame, in the order MainLoopPass keeps, with the
// application's part of each phase (pause notice, console, events, timers, ticking,
// display rebuild, drawing and presenting, frame stepping, quit notices, deferred
// deletion, frame pacing), and the queue of posted events beside it.
#include "app/Application.h"

#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/SaveTurn.h"
#include "core/Shell.h"
#include "core/StopSignal.h"
#include "core/TimerManager.h"
#include "debugger/LuaDebugger.h"
#include "lua/LuaFunctionList.h"
#include "perf/TickPerformanceManager.h"
#include "widgets/Button.h"

#include <SDL.h>

void Application::PostEvent(EventReceiver* destination, const Event& event)
{
    GetPostedEventQueue().Post(destination, event);
}

void Application::PostEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                            void* data2)
{
    GetPostedEventQueue().Post(destination, type, code, data1, data2);
}

void Application::PostEventByName(const std::string& name)
{
    GetPostedEventQueue().PostByName(name);
}

void Application::PostSharedEvent(std::uint8_t type, EventReceiver* destination, void* sender,
                                  const boost::shared_ptr<void>& data)
{
    GetPostedEventQueue().PostShared(type, destination, sender, data);
}

bool Application::SendEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                            void* data2)
{
    Event event = MakeEvent(type, code, data1, data2);
    EventReceiver* receiver = destination ? destination : this;
    return receiver->OnEvent(event);
}

void Application::ScheduleForDeletion(Object* actor)
{
    m_DeadActors.push_back(actor);
}

void Application::DeleteDeadActors()
{
    // An actor's destructor detaches it from its parent. Deleting one may schedule more
    // (children killed by their parent): keep going until the list stays empty.
    while (!m_DeadActors.empty()) {
        std::list<Object*> dead;
        dead.swap(m_DeadActors);
        for (Object* actor : dead)
            delete actor;
    }
}

void Application::Quit()
{
    m_IsRunning = false;
}

void Application::AnswerStop()
{
    Log("%s received: the game ends.\n", StopSignal::GetName());
    StopSignal::Answer();
    Quit();
}

void Application::SetFrameRateCap(bool on)
{
    bool wasOn = IsFrameRateCapped();
    if (on)
        m_Flags &= ~APPFLAG_FRAMERATE_UNCAPPED;
    else
        m_Flags |= APPFLAG_FRAMERATE_UNCAPPED;
    if (on != wasOn)
        Log(on ? "Frame rate cap enabled\n" : "Frame rate cap disabled\n");
}

void Application::StartRunning()
{
    LuaPlus::LuaObject onRun;
    RetrieveProperty(onRun, "onRun");
    if (onRun.IsFunction()) {
        Log("'onRun' hook function detected.  This will be run now.\n");
        onRun.Call();
    }
    m_StartCutShort = StopSignal::IsRequested();
    m_StartFinished = true;
    m_IsRunning = true;
    m_QuitNoticesSent = false;
    m_AppPaused = false;
    m_FrameStepping = false;
    m_LastPaused = false;
    m_Pacer.Start(SDL_GetTicks());
    Log("Starting main loop.\n");
}

void Application::DispatchEvents()
{
    // SDL is asked again before every queued event, so input always goes first; events
    // posted while handling are delivered in the same phase.
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    for (;;) {
        if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&event)) {
            OnEvent(event);
            continue;
        }
        if (!queue.Take(event))
            break;
        if (event.type == MAKO_ROUTEDEVENT) {
            OnEvent(event); // delivers and releases the wrapped event
        } else {
            OnEvent(event);
            EventQueue::ReleaseEventData(event);
        }
    }
}

bool Application::BeginPass()
{
    m_FrameStartTime = SDL_GetTicks();
    if (m_TimerManager)
        m_TimerManager->SetFrameTime(m_FrameStartTime);
    TickPerformanceManager* tick = m_TickPerformanceManager.get();
    if (tick && m_LogTickInfo && !tick->IsMeasuringPerformance()) {
        tick->StartMeasuringPerformance();
        if (!tick->IsMeasuringPerformance()) {
            Log("WARNING: Could not start measuring performance!\n");
            m_LogTickInfo = false;
        }
    }
    bool measuring = tick && tick->IsMeasuringPerformance();
    if (measuring)
        tick->Tick();
    return measuring;
}

void Application::PrepareEvents()
{
    if (StopSignal::IsRequested() && m_IsRunning)
        AnswerStop();
    // Once the game ends, no more console lines or debugger commands are taken on.
    const bool ending = !m_IsRunning;
    if (m_Flags & APPFLAG_GAME_PAUSE_REQUESTED) {
        if ((m_Flags & APPFLAG_GAME_PAUSED) != 0)
            FailCheck(__FILE__, __LINE__, "Application::Run",
                      "(m_Flags & APPFLAG_GAME_PAUSED) == 0");
        m_Flags = (m_Flags & ~APPFLAG_GAME_PAUSE_REQUESTED) | APPFLAG_GAME_PAUSED;
    }
    if (m_AppPaused != m_LastPaused) {
        m_LastPaused = m_AppPaused;
        LogAtLevel(3, "Pausing app: %s\n", m_AppPaused ? "true" : "false");
        PostEvent(nullptr, MAKO_PAUSEAPP, 1, IntToEventData(m_AppPaused ? 1 : 0));
    }
    if (!ending)
        RetryPendingGrab();
    if (m_Shell && !ending)
        m_Shell->Update();
    // The script debugger's client is served once per pass, like the console.
    if (IsLuaDebuggerActive() && !ending)
        UpdateLuaDebugger();
    ButtonClickLatch() = true;
}

void Application::WaitWhilePaused()
{
    SDL_Delay(10);
}

void Application::UpdatePassTimers()
{
    if (m_TimerManager)
        m_TimerManager->Update();
}

void Application::HoldPass()
{
    if (m_FrameStepping)
        HoldFrame();
}

void Application::EndPassFrame()
{
    // The quit notices go out whenever the loop ends, paused pass or not, and actors
    // killed in that pass are deleted before the shut-down.
    if (!m_IsRunning)
        SendQuitNotices();
}

void Application::PacePass()
{
    // Capped, frames keep to deadlines on a fixed grid, so the loop holds 31.25 frames a
    // second on average rather than losing each wake-up's lateness; uncapped, passes run
    // back to back and the grid follows them.
    if (!IsFrameRateCapped()) {
        m_Pacer.Start(SDL_GetTicks());
        return;
    }
    SDL_Delay(m_Pacer.WaitAt(SDL_GetTicks()));
    m_Pacer.Advance(SDL_GetTicks());
}

void Application::FinishPass(bool pausedPass)
{
    // A paused pass shows nothing: it is no frame for the frame-rate display.
    if (!pausedPass)
        CountFrame();
    TickPerformanceManager* tick = m_TickPerformanceManager.get();
    if (tick && tick->IsMeasuringPerformance()) {
        tick->EndTick();
        if (!m_LogTickInfo)
            tick->StopMeasuringPerformance();
    }
}

void Application::SendQuitNotices()
{
    if (m_QuitNoticesSent)
        return;
    m_QuitNoticesSent = true;
    Event change = MakeEvent(MAKO_SCREENCHANGE, 0, nullptr, CurrentScreenForNotice());
    OnEvent(change);
    Event quit = MakeEvent(MAKO_APPQUIT);
    OnEvent(quit);
}

bool Application::IsStartCutShort() const
{
    return m_StartFinished ? m_StartCutShort : StopSignal::IsRequested();
}

bool Application::SkipSaveOfCutShortStart()
{
    if (!IsStartCutShort())
        return false;
    if (!m_CutShortSaveSaid)
        Log("%s came before the start finished: the configuration and the player cards are "
            "left as they were.\n",
            StopSignal::GetName());
    m_CutShortSaveSaid = true;
    return true;
}

void Application::FinishRunning()
{
    // The saves of the way out share one budget of waiting for another copy's turn.
    const SaveTurn::Pass pass;
    ShutdownGame();
    ShutdownEngine();
}

void Application::Run()
{
    StartRunning();
    while (m_IsRunning) {
        try {
            RunPass();
        } catch (const std::exception& e) {
            // A stop asked for cut the pass's work short (a load it waited on): the game ends
            // as at the start of a pass, and saves on its way out. Anything else passes on.
            if (ObjectBoundary::FaultOf(&e) != ObjectBoundary::Fault::Stop)
                throw;
            AnswerStop();
        }
    }
    // The game is on its way out and saving: a stop signal now must not cut that short.
    StopSignal::Answer();
    FinishRunning();
}

void Application::HoldFrame()
{
    // Frame stepping: only key-downs are handled; Space advances one frame. Input other
    // than key-downs is discarded; posted engine events wait for the next pass, in the
    // order they were posted.
    EventQueue& queue = GetPostedEventQueue();
    std::vector<Event> held;
    while (m_IsRunning && !StopSignal::IsRequested()) {
        Event event;
        bool fromSdl = SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&event);
        if (!fromSdl && !queue.Take(event)) {
            SDL_Delay(10);
            continue;
        }
        if (event.type == SDL_KEYDOWN) {
            OnEvent(event);
            if (event.key.keysym.sym == SDLK_SPACE)
                break;
            continue;
        }
        if (!fromSdl)
            held.push_back(event);
    }
    // Events still queued when Space ended the hold stay behind the held ones.
    Event rest;
    while (queue.Take(rest))
        held.push_back(rest);
    for (const Event& event : held)
        queue.Post(nullptr, event); // the record as it was, owned data and all
}

void Application::DoPauseApp(bool pause)
{
    if (pause == m_AppPaused)
        return;
    m_AppPaused = pause;
    LogAtLevel(3, "Application::DoPauseApp(%s) called, IsCursorShown=%s, m_W.C.S.=%s\n",
               pause ? "true" : "false", IsCursorShown() ? "true" : "false",
               m_WasCursorShown ? "true" : "false");
    if (pause) {
        PauseSound();
        m_SavedInputGrab = GrabInput(false);
        m_WasCursorShown = ShowCursor(true);
        if (m_ShortcutTimer && m_TimerManager)
            m_TimerManager->KillTimer(m_ShortcutTimer);
        m_ShortcutTimer = 0;
        LogAtLevel(3, "Application::DoPauseApp(%s), m_WasCursorShown is now=%s\n",
                   pause ? "true" : "false", m_WasCursorShown ? "true" : "false");
    } else {
        ShowCursor(m_WasCursorShown);
        GrabInput(m_SavedInputGrab);
        ResumeSound();
        if ((m_Flags & APPFLAG_SHORTCUTS_ARMED) && !(SDL_GetModState() & KMOD_ALT))
            DisarmShortcutKeys();
    }
    LogAtLevel(3, "Application::DoPauseApp(%s) finished, IsCursorShown=%s\n",
               pause ? "true" : "false", IsCursorShown() ? "true" : "false");
}

void Application::PauseGame(bool pause)
{
    bool paused = (m_Flags & (APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED)) != 0;
    if (pause && !paused) {
        LogAtLevel(3, "Pausing Game\n");
        m_Flags |= APPFLAG_GAME_PAUSE_REQUESTED;
        if (m_TimerManager)
            m_TimerManager->PauseAllTimers(TIMER_PAUSED_GAME);
        PostEvent(nullptr, MAKO_PAUSEGAME, 1);
    } else if (!pause && paused) {
        LogAtLevel(3, "Resuming Game\n");
        if (m_TimerManager)
            m_TimerManager->ResumeAllTimers(TIMER_PAUSED_GAME);
        m_Flags &= ~(APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED);
        PostEvent(nullptr, MAKO_PAUSEGAME, 0);
    }
}

MAKO_LUA_FUNCTION(AppQuit)
{
    if (GetApp())
        GetApp()->Quit();
    return 0;
}

MAKO_LUA_FUNCTION(AppPostEvent)
{
    const char* name = lua_tostring(L, -1);
    if (GetApp())
        GetApp()->PostEventByName(name ? name : "");
    return 0;
}

MAKO_LUA_FUNCTION(CapFramerate)
{
    Application* app = GetApp();
    if (!app)
        return 0;
    if (lua_gettop(L) > 0 && lua_isboolean(L, -1))
        app->SetFrameRateCap(lua_toboolean(L, -1) != 0);
    else
        app->SetFrameRateCap(!app->IsFrameRateCapped());
    return 0;
}
