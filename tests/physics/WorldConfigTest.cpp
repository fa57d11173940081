// The world follows its configuration keys: updates posted by the configuration reach it
// through the event queue, usable values take effect, unusable ones are ignored.
#include "core/Config.h"
#include "core/EventQueue.h"
#include "lua/MakoLuaState.h"
#include "physics/World.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WorldConfigTest : public bbtest::LuaFixture
{
protected:
    WorldConfigTest() : m_Config(new Config(State())) { GetPostedEventQueue().Clear(); }
    ~WorldConfigTest() override { GetPostedEventQueue().Clear(); }

    // Delivers the queued updates the way the main loop does.
    void DeliverEvents()
    {
        Event event;
        while (GetPostedEventQueue().Take(event)) {
            if (event.type == MAKO_ROUTEDEVENT)
                EventQueue::DeliverRouted(event);
            else
                EventQueue::ReleaseEventData(event);
        }
    }

    std::unique_ptr<Config> m_Config;
};

} // namespace

TEST_F(WorldConfigTest, ReadsItsKeysAtStartAndFollowsUpdates)
{
    Run("LoadConfig{ CollisionIterations = 12 }");
    World world(World::EngineConfigReader());
    EXPECT_EQ(12, world.GetCollisionIterations());

    Run("Config.CollisionIterations = 30");
    DeliverEvents();
    EXPECT_EQ(30, world.GetCollisionIterations());

    // Not a usable count: the old value stays.
    Run("Config.CollisionIterations = 'many'");
    DeliverEvents();
    EXPECT_EQ(30, world.GetCollisionIterations());
    Run("Config.CollisionIterations = 0");
    DeliverEvents();
    EXPECT_EQ(30, world.GetCollisionIterations());
}

TEST_F(WorldConfigTest, ADestroyedWorldNoLongerObserves)
{
    {
        World world(World::EngineConfigReader());
    }
    Run("Config.GlobalERP = 0.5");
    // Nobody observes the key any more: nothing is posted.
    EXPECT_TRUE(GetPostedEventQueue().IsEmpty());
}
