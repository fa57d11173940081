#include "support/engine/PassHarness.h"

#include "support/engine/EngineSetup.h"

#include "core/ClassManager.h"
#include "core/EventQueue.h"
#include "core/PropertyType.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace bbtest {

void PassHarness::PrepareEngine()
{
    bbtest::PrepareEngine();
}

PassHarness::PassHarness(Actor* root, int width, int height)
    : m_Root(root), m_Timers(static_cast<EventReceiver*>(this)),
      m_Canvas(new Canvas(width, height, CANVAS_OWNS_TARGET))
{
}

PassHarness::~PassHarness()
{
    SceneHost::DeleteScheduledActors();
}

TimerManager* PassHarness::GetTimerManager() const
{
    return &m_Timers;
}

void PassHarness::ScheduleForDeletion(Object* object)
{
    // Only actors are killed; they wait in the scene's own list.
    Actor* actor = dynamic_cast<Actor*>(object);
    ASSERT_NE(nullptr, actor) << "only actors are scheduled for deletion";
    SceneHost::ScheduleForOwnDeletion(actor);
}

void PassHarness::GetMousePosition(int& x, int& y) const
{
    x = -1;
    y = -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetMouseState(&x, &y);
}

bool PassHarness::SendEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                            void* data2)
{
    const Event event = MakeEvent(type, code, data1, data2);
    return destination ? destination->OnEvent(event) : OnEvent(event);
}

bool PassHarness::OnEvent(const Event& event)
{
    m_ApplicationEvents.push_back(event.type);
    return true;
}

void PassHarness::DispatchPostedEvents()
{
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    while (queue.Take(event)) {
        if (event.type == MAKO_ROUTEDEVENT) {
            EventQueue::DeliverRouted(event); // releases the wrapped event itself
        } else {
            m_ApplicationEvents.push_back(event.type);
            EventQueue::ReleaseEventData(event);
        }
    }
}

int PassHarness::DeleteDeadActors()
{
    return SceneHost::DeleteScheduledActors();
}

void PassHarness::Step(int passes)
{
    for (int i = 0; i < passes; ++i)
        RunPass();
}

void PassHarness::TickPass()
{
    if (m_Root && m_Root->CanTick())
        m_Root->Tick();
}

void PassHarness::DrawPass()
{
    if (m_Root && m_Drawing) {
        SDL_FillRect(m_Canvas->GetTargetImage()->GetSDLSurface(), nullptr, 0);
        m_Root->Render(*m_Canvas);
    }
}

void PassHarness::FinishPass(bool)
{
    ++m_Passes;
}

int PassHarness::CountApplicationEvents(std::uint8_t type) const
{
    int n = 0;
    for (std::uint8_t t : m_ApplicationEvents)
        n += t == type ? 1 : 0;
    return n;
}

std::uint32_t PassHarness::Pixel(int x, int y) const
{
    SDL_Surface* s = m_Canvas->GetTargetImage()->GetSDLSurface();
    SDL_LockSurface(s);
    const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(
        static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch)[x];
    SDL_UnlockSurface(s);
    return v;
}

namespace {
ResourceManager* s_TestResources = nullptr;
} // namespace

ResourceManager& TestResources()
{
    if (!s_TestResources) {
        PassHarness::PrepareEngine();
        s_TestResources = new ResourceManager(GetGlobalLuaState());
    }
    return *s_TestResources;
}

bool HaveTestResources()
{
    return s_TestResources != nullptr;
}

void AddImageResource(const std::string& name, Image* image)
{
    ResourceInfo* info = new ResourceInfo(name, nullptr);
    info->SetResource(image);
    info->SetType(RESOURCE_IMAGE);
    TestResources().AddInfo(name, info);
}

} // namespace bbtest
