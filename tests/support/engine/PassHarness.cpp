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

#include <fstream>
#include <sstream>

namespace bbtest {

void PassHarness::PrepareEngine()
{
    bbtest::PrepareEngine();
}

PassHarness::PassHarness(Actor* root, int width, int height)
    : m_Root(root), m_Canvas(new Canvas(width, height, CANVAS_OWNS_TARGET)), m_Width(width),
      m_Height(height)
{
    SceneHost::SetTimerManager(&m_Timers);
}

PassHarness::~PassHarness()
{
    SceneHost::DeleteScheduledActors();
    SceneHost::SetTimerManager(nullptr);
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
    for (int i = 0; i < passes; ++i) {
        DispatchPostedEvents();
        m_Timers.Update();
        if (m_Root && m_Root->CanTick())
            m_Root->Tick();
        if (m_Root) {
            SDL_FillRect(m_Canvas->GetTargetImage()->GetSDLSurface(), nullptr, 0);
            m_Root->Render(*m_Canvas);
        }
        DeleteDeadActors();
        ++m_Passes;
    }
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

ResourceManager& TestResources()
{
    static ResourceManager* manager = nullptr;
    if (!manager) {
        PassHarness::PrepareEngine();
        manager = new ResourceManager(GetGlobalLuaState());
    }
    return *manager;
}

void AddImageResource(const std::string& name, Image* image)
{
    ResourceInfo* info = new ResourceInfo(name, nullptr);
    info->SetResource(image);
    info->SetType(RESOURCE_IMAGE);
    TestResources().AddInfo(name, info);
}

} // namespace bbtest
