#include "core/EventReceiverGroup.h"
#include "core/EventRouter.h"
#include "core/Exception.h"
#include "lua/LuaFunctionList.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <vector>

TEST(Event, NamesAndCodesRoundTrip)
{
    EXPECT_EQ("UNKNOWN", NameOfEvent(0));
    EXPECT_EQ("UNKNOWN", NameOfEvent(54));
    EXPECT_EQ("UNKNOWN", NameOfEvent(25));
    EXPECT_EQ("MAKO_TIMER", NameOfEvent(49));
    EXPECT_EQ("SDL_QUIT", NameOfEvent(SDL_QUIT));
    EXPECT_EQ(53, TypeOfEvent("MAKO_SELECT"));
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        std::string name = NameOfEvent(static_cast<std::uint8_t>(code));
        if (name == "UNKNOWN")
            continue;
        ++named;
        EXPECT_EQ(code, TypeOfEvent(name));
    }
    EXPECT_EQ(41, named);
    for (const char* bad : {"mako_select", "UNKNOWN", ""}) {
        try {
            TypeOfEvent(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ("\"" + std::string(bad) + "\" is not the name of an event.", e.GetMessage());
            EXPECT_EQ("TypeOfEvent", e.GetFunction());
        }
    }
    EXPECT_EQ(sizeof(SDL_Event), sizeof(Event));
    EXPECT_EQ(static_cast<unsigned>(EVENT_DATA1_LUAOBJECT), GetEventDataFlags(MAKO_CONFIGUPDATE));
    EXPECT_EQ(0u, GetEventDataFlags(MAKO_TIMER));
}

TEST(Event, ScriptFunctionsUseLowByteAndRaiseOnUnknownNames)
{
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    RegisterLuaFunctions(L);
    ASSERT_EQ(0, luaL_dostring(L, "a = NameOfEvent(258); b = TypeOfEvent('MAKO_TIMER')"));
    lua_getglobal(L, "a");
    EXPECT_STREQ("SDL_KEYDOWN", lua_tostring(L, -1));
    lua_getglobal(L, "b");
    EXPECT_EQ(49, lua_tonumber(L, -1));
    lua_settop(L, 0);
    ASSERT_EQ(0, luaL_dostring(L, "ok, err = pcall(TypeOfEvent, 'nope')"));
    lua_getglobal(L, "err");
    EXPECT_STREQ("\"nope\" is not the name of an event.", lua_tostring(L, -1));
    lua_close(L);
}

namespace {

struct RouteRecorder : EventRouter
{
    std::vector<int> calls;
    void* childData = nullptr;
    bool OnKeyDown(const Event&) override
    {
        calls.push_back(SDL_KEYDOWN);
        return true;
    }
    bool OnQuit() override
    {
        calls.push_back(SDL_QUIT);
        return true;
    }
    bool OnSelect(const Event&) override
    {
        calls.push_back(MAKO_SELECT);
        return true;
    }
    bool OnChildGroupAdded(void* data1) override
    {
        childData = data1;
        return true;
    }
};

struct Taker : EventReceiver
{
    bool consumes;
    int seen = 0;
    explicit Taker(bool c) : consumes(c) {}
    bool OnEvent(const Event&) override
    {
        ++seen;
        return consumes;
    }
};

} // namespace

TEST(Event, RouterDispatchesOnlyNamedCodes)
{
    RouteRecorder r;
    for (int code : {9, 10, 11, 14, 15, 18, 23, 25, 54, 62})
        EXPECT_FALSE(r.RouteEvent(MakeEvent(static_cast<std::uint8_t>(code))));
    EXPECT_TRUE(r.calls.empty());
    EXPECT_TRUE(r.RouteEvent(MakeEvent(SDL_KEYDOWN)));
    EXPECT_TRUE(r.RouteEvent(MakeEvent(SDL_QUIT)));
    EXPECT_TRUE(r.RouteEvent(MakeEvent(MAKO_SELECT)));
    EXPECT_FALSE(r.RouteEvent(MakeEvent(MAKO_TIMER)));
    EXPECT_EQ((std::vector<int>{SDL_KEYDOWN, SDL_QUIT, MAKO_SELECT}), r.calls);
    int payload = 0;
    EXPECT_TRUE(r.RouteEvent(MakeEvent(MAKO_CHILDGROUPADDED, 0, &payload)));
    EXPECT_EQ(&payload, r.childData);
}

TEST(Event, GroupStopsAtFirstConsumer)
{
    Taker a(false), b(true), c(true);
    EventReceiverGroup group;
    EXPECT_FALSE(group.OnEvent(MakeEvent(MAKO_TIMER)));
    group.Append(&a);
    group.Append(&b);
    group.Append(&c);
    EXPECT_TRUE(group.OnEvent(MakeEvent(MAKO_TIMER)));
    EXPECT_EQ(1, a.seen);
    EXPECT_EQ(1, b.seen);
    EXPECT_EQ(0, c.seen);
    group.Remove(&b);
    EXPECT_TRUE(group.OnEvent(MakeEvent(MAKO_TIMER)));
    EXPECT_EQ(1, c.seen);
}
