#include "support/LevelGame.h"

#include "core/Event.h"
#include "core/EventQueue.h"
#include "core/FramePeriod.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"
#include "screens/RootActor.h"
#include "screens/Screen.h"

#include <SDL.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace benchgame {

namespace {

// The most passes the way into play may take (a minute of play): the brick drop and the
// serve's delay take about a hundred.
const int kPassLimit = 1875;

} // namespace

LevelGame::LevelGame(std::string level)
    : m_Level(std::move(level)), m_Timers(static_cast<EventReceiver*>(this))
{
    m_Screen.reset(new Screen("GameScreen", "bkgGame.jpg", nullptr));
    m_Layer = new RootActor();
    m_Screen->AddChild(m_Layer, "RootActor");
}

LevelGame::~LevelGame()
{
    End();
    m_Screen.reset();
    SceneHost::DeleteScheduledActors();
}

void LevelGame::Load()
{
    End();
    LuaPlus::LuaObject options;
    options.AssignNewTable(GetGlobalLuaState());
    options.SetString("gameType", "Levels");
    options.SetString("levelName", m_Level.c_str());
    options.SetInteger("ballsLeft", 9);
    GetGlobalLuaState()->GetGlobals().SetObject("GameOptions", options);
    m_Logic = new ArcadeGameLogic(m_Screen.get(), m_Layer, options);
    m_Screen->SetLogic(m_Logic);
    m_Logic->StartGame();
}

std::string LevelGame::Serve(int balls, Canvas* canvas, const std::function<void()>& present)
{
    auto pass = [&] {
        Pass(canvas);
        if (canvas && present)
            present();
    };
    if (!m_Logic)
        return "no game was loaded";
    // The level's letter shows only in the program; here the controller goes on from the
    // loading to the brick drop and the serve, whose ball appears after its delay.
    int passes = 0;
    while (passes < kPassLimit &&
           !(m_Logic->IsInState("WaitForSpawn") && m_Logic->CountBallsInPlay() > 0)) {
        pass();
        ++passes;
    }
    if (!m_Logic->IsInState("WaitForSpawn"))
        return "the serve did not come within " + std::to_string(kPassLimit) + " passes (state \"" +
               GetStateName() + "\")";
    m_Paddles = m_Logic->GetPaddles().size();
    Button(true);
    Button(false);
    if (!m_Logic->IsInState("Playing"))
        return "the click did not serve (state \"" + GetStateName() + "\")";
    // More balls as the play field gains them (a split, a hopper): each enters play through
    // the controller, upwards from the middle of the field.
    for (int i = m_Logic->CountBallsInPlay(); i < balls; ++i) {
        const double angle = 0.4 + 0.23 * i;
        m_Logic->AddBall(
            new Ball(120 + 40 * i, 300, 260 * std::cos(angle), -260 * std::sin(angle), true));
    }
    pass();
    return PlayMistake(balls);
}

std::string LevelGame::PlayMistake(int balls) const
{
    if (!m_Logic)
        return "no game was loaded";
    if (!m_Logic->IsInState("Playing"))
        return "the game is in the state \"" + GetStateName() + "\", not \"Playing\"";
    const int live = m_Logic->CountBallsInPlay();
    if (live != balls)
        return std::to_string(live) + " balls are in play, not " + std::to_string(balls);
    const std::vector<Paddle*> paddles = m_Logic->GetPaddles();
    std::size_t whole = 0;
    for (const Paddle* paddle : paddles)
        whole += paddle->IsDead() ? 0 : 1;
    if (m_Paddles == 0 || whole != m_Paddles)
        return std::to_string(whole) + " of the serve's " + std::to_string(m_Paddles) +
               " paddles are whole";
    return "";
}

void LevelGame::End()
{
    if (m_Logic) {
        m_Screen->SetLogic(nullptr);
        m_Logic = nullptr;
        m_Layer->DestroyChildren();
    }
    m_Paddles = 0;
    SceneHost::DeleteScheduledActors();
}

void LevelGame::DispatchEvents()
{
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    for (;;) {
        if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&event)) {
            m_Screen->OnEvent(event);
            continue;
        }
        if (!queue.Take(event))
            break;
        if (event.type == MAKO_ROUTEDEVENT) {
            EventQueue::DeliverRouted(event); // releases the wrapped event itself
        } else {
            m_Screen->OnEvent(event);
            EventQueue::ReleaseEventData(event);
        }
    }
}

void LevelGame::UpdateTimers()
{
    // Timers measured in real time follow the passes, 32 ms each.
    m_Timers.SetFrameTime(m_Timers.GetFrameTime() + FRAME_PERIOD_MS);
    m_Timers.Update();
}

void LevelGame::Tick()
{
    if (m_Screen->CanTick())
        m_Screen->Tick();
}

void LevelGame::Draw(Canvas& canvas)
{
    m_Screen->Render(canvas);
}

void LevelGame::DeleteDead()
{
    SceneHost::DeleteScheduledActors();
}

void LevelGame::Pass(Canvas* canvas)
{
    DispatchEvents();
    UpdateTimers();
    Tick();
    if (canvas)
        Draw(*canvas);
    DeleteDead();
}

std::string LevelGame::Busiest(const std::vector<std::string>& levels)
{
    std::string busiest;
    std::size_t most = 0;
    for (const std::string& name : levels) {
        LuaPlus::LuaObject table = GetGlobalLuaState()->GetGlobals()["Levels"][name.c_str()];
        if (!table.IsTable())
            continue;
        std::size_t count = 0;
        for (const char* key : {"compiledBricks", "levelActors", "extraActors"})
            if (table[key].IsTable())
                count += std::size_t(table[key].GetCount());
        if (busiest.empty() || count > most) {
            most = count;
            busiest = name;
        }
    }
    return busiest;
}

std::string LevelGame::GetStateName() const
{
    return m_Logic && m_Logic->GetCurrentState() ? m_Logic->GetStateName() : "";
}

void LevelGame::ScheduleForDeletion(Object* object)
{
    if (Actor* actor = dynamic_cast<Actor*>(object))
        SceneHost::ScheduleForOwnDeletion(actor);
}

void LevelGame::GetMousePosition(int& x, int& y) const
{
    x = -1;
    y = -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetMouseState(&x, &y);
}

bool LevelGame::SendEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                          void* data2)
{
    const Event event = MakeEvent(type, code, data1, data2);
    return destination ? destination->OnEvent(event) : OnEvent(event);
}

void LevelGame::Button(bool down)
{
    Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = WindowlessHost::kWidth / 2;
    event.button.y = WindowlessHost::kHeight / 2;
    m_Screen->OnEvent(event);
}

} // namespace benchgame
