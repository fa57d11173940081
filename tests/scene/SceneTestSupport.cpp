#include "SceneTestSupport.h"
#include "support/engine/EngineSetup.h"

#include "core/EventQueue.h"
#include "lua/MakoLuaState.h"
#include "scene/SceneHost.h"

namespace scenetest {

void SceneTest::SetUp()
{
    bbtest::PassHarness::PrepareEngine();
    bbtest::TestResources(); // the `Resources` table scripts fill
    GetPostedEventQueue().Clear();
    SceneHost::SetGamePaused(false);
}

void SceneTest::TearDown()
{
    SceneHost::DeleteScheduledActors();
    GetPostedEventQueue().Clear();
    SceneHost::SetGamePaused(false);
}

LuaPlus::LuaObject SceneTest::Table(const std::string& expression)
{
    return bbtest::EvalLua(expression);
}

void SceneTest::Run(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

int RecordingActor::s_Live = 0;

RecordingActor::RecordingActor(const std::string& name, std::vector<std::string>* log, int zorder)
    : m_Log(log)
{
    ApplyStringProperty("name", name);
    SetZOrder(zorder);
    ++s_Live;
}

RecordingActor::~RecordingActor()
{
    --s_Live;
}

void RecordingActor::Tick()
{
    if (m_Log)
        m_Log->push_back(GetName() + ":tick");
    if (onTick)
        onTick();
    if (!IsDead()) // the action may have killed it
        Actor::Tick();
}

bool RecordingActor::OnMouseButtonDown(const Event& event)
{
    if (m_Log)
        m_Log->push_back(GetName() + ":click");
    return onClick ? onClick() : false;
}

Event ClickEvent()
{
    Event event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    return event;
}

} // namespace scenetest
