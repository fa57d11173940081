// Values held from C++: references, tables, typed reads, metatables and misuse.
#include "luaplus/LuaPlus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace LuaPlus;

namespace {

// Number of values held in the registry (released references leave numbers behind as
// their free list): grows when references leak.
int RegistryEntries(LuaState* state)
{
    lua_State* L = state->GetCState();
    int count = 0;
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX)) {
        count += lua_type(L, -1) == LUA_TNUMBER ? 0 : 1;
        lua_pop(L, 1);
    }
    return count;
}

} // namespace

TEST(LuaObject, CopiesMovesAndDestructionBalanceTheirReferences)
{
    LuaStateOwner state;
    int before = RegistryEntries(state);
    {
        LuaObject table;
        table.AssignNewTable(state);
        table.SetString("name", "brick");
        LuaObject copy = table;
        LuaObject moved = std::move(copy);
        EXPECT_FALSE(copy.IsSet());
        EXPECT_TRUE(copy.IsNil());
        EXPECT_EQ(moved, table);
        std::vector<LuaObject> many(50, table);
        many.emplace_back(std::move(moved));
        many.erase(many.begin(), many.begin() + 10);
        for (const LuaObject& each : many)
            EXPECT_STREQ("brick", each["name"].GetString());
        table = many.back(); // self-value assignment
        LuaObject& same = table;
        table = same;
        EXPECT_STREQ("brick", table["name"].GetString());
    }
    state->CollectGarbage();
    EXPECT_EQ(before, RegistryEntries(state));
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaObject, ValuesOutliveTheStackAndSurviveCollection)
{
    LuaStateOwner state;
    state->DoString("t = { 10, 20, 30, x = 'ex' } s = 'text'");
    LuaObject table = state->GetGlobal("t");
    LuaObject text = state->GetGlobal("s");
    state->DoString("t = nil s = nil");
    state->CollectGarbage();
    EXPECT_EQ(3, table.GetCount());
    EXPECT_EQ(20, table[2].GetInteger());
    EXPECT_STREQ("ex", table["x"].GetString());
    EXPECT_STREQ("text", text.GetString());
    EXPECT_EQ(4u, text.GetStrLen());
}

TEST(LuaObject, TypedReadsAcceptTheirTypesAndRejectOthersClearly)
{
    LuaStateOwner state;
    state->DoString("n = 2.75 ns = '12.5' s = 'abc' b = false f = print "
                    "g = function() end u = io.stdout");
    LuaObject globals = state->GetGlobals();
    EXPECT_DOUBLE_EQ(2.75, globals["n"].GetNumber());
    EXPECT_EQ(2, globals["n"].GetInteger());
    EXPECT_FLOAT_EQ(2.75f, globals["n"].GetFloat());
    EXPECT_DOUBLE_EQ(12.5, globals["ns"].GetNumber());
    EXPECT_EQ("2.75", globals["n"].ToString());
    EXPECT_FALSE(globals["b"].GetBoolean());
    EXPECT_TRUE(globals["s"].GetBoolean());
    EXPECT_FALSE(globals["missing"].GetBoolean());
    EXPECT_TRUE(globals["f"].IsCFunction());
    EXPECT_TRUE(globals["g"].IsFunction());
    EXPECT_FALSE(globals["g"].IsCFunction());
    EXPECT_TRUE(globals["u"].IsUserData());
    EXPECT_NE(nullptr, globals["u"].GetUserData());
    EXPECT_STREQ("number", globals["n"].TypeName());

    try {
        globals["s"].GetNumber();
        FAIL() << "a string that is no number was read as one";
    } catch (const LuaException& e) {
        EXPECT_STREQ("LuaObject::GetNumber: expected a number, got a string value", e.what());
    }
    EXPECT_THROW(globals["n"].GetString(), LuaException);
    EXPECT_THROW(globals["s"].GetLightUserData(), LuaException);
    EXPECT_THROW(globals["n"]["x"], LuaException); // a number cannot be indexed

    int marker = 0;
    globals.SetLightUserData("p", &marker);
    EXPECT_EQ(&marker, globals["p"].GetLightUserData());

    // Out-of-range numbers read as integers saturate instead of overflowing.
    globals.SetNumber("huge", 1e300);
    EXPECT_EQ(2147483647, globals["huge"].GetInteger());
}

TEST(LuaObject, UnsetObjectsReadAsNilAndRefuseEverythingElse)
{
    LuaObject unset;
    EXPECT_TRUE(unset.IsNil());
    EXPECT_EQ(LUA_TNONE, unset.Type());
    EXPECT_FALSE(unset.GetBoolean());
    EXPECT_EQ(0, unset.GetCount());
    EXPECT_EQ(LuaObject(), unset);
    try {
        unset.GetNumber();
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("LuaObject::GetNumber: the LuaObject is unset", e.what());
    }
    EXPECT_THROW(unset.Push(), LuaException);
    EXPECT_THROW(unset["x"], LuaException);
    EXPECT_THROW(unset.SetNumber("x", 1), LuaException);
    EXPECT_THROW(unset.Call(), LuaException);

    LuaStateOwner state;
    LuaObject globals = state->GetGlobals();
    EXPECT_THROW(globals.SetObject("x", unset), LuaException);
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaObject, DestroyingTheStateUnsetsTheObjectsStillBoundToIt)
{
    LuaState* state = LuaState::Create();
    LuaObject table;
    table.AssignNewTable(state);
    LuaObject number;
    number.AssignNumber(state, 4);
    LuaState::Destroy(state);
    EXPECT_FALSE(table.IsSet());
    EXPECT_FALSE(number.IsSet());
    EXPECT_THROW(table["x"], LuaException);
    LuaObject copy = table; // copying and destroying unset objects is safe
    EXPECT_FALSE(copy.IsSet());
}

TEST(LuaObject, TableWritesAndReadsByNameIndexAndObject)
{
    LuaStateOwner state;
    LuaObject table;
    table.AssignNewTable(state);
    LuaObject key;
    key.AssignNewTable(state);
    table.SetNumber("n", 1.5)
        .SetInteger(1, 7)
        .SetString("s", std::string("a\0b", 3))
        .SetBoolean("b", true)
        .SetObject(key, table)
        .SetInteger(2, 8);
    LuaObject child = table.CreateTable("child");
    child.SetInteger("depth", 2);

    EXPECT_DOUBLE_EQ(1.5, table.GetByName("n").GetNumber());
    EXPECT_EQ(7, table.GetByIndex(1).GetInteger());
    EXPECT_EQ(3u, table["s"].GetStrLen());
    EXPECT_TRUE(table["b"].GetBoolean());
    EXPECT_EQ(table, table.GetByObject(key));
    EXPECT_EQ(2, table["child"]["depth"].GetInteger());
    EXPECT_EQ(2, table.GetCount());
    table.SetNil("n");
    EXPECT_TRUE(table["n"].IsNil());

    try {
        table.SetNumber(LuaObject(state), 1);
        FAIL() << "a nil key was stored";
    } catch (const LuaException& e) {
        EXPECT_STREQ("LuaObject::SetNumber: table index is nil", e.what());
    }
    LuaObject nan;
    nan.AssignNumber(state, 0.0 / 0.0);
    EXPECT_THROW(table.SetNumber(nan, 1), LuaException);
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaObject, MetatablesAreHonouredExceptByRawAccess)
{
    LuaStateOwner state;
    state->DoString("log = {} "
                    "proxy = setmetatable({}, { "
                    "  __index = function(t, k) return 'default ' .. k end, "
                    "  __newindex = function(t, k, v) log[#log + 1] = k; rawset(t, k, v) end })");
    LuaObject proxy = state->GetGlobal("proxy");
    EXPECT_STREQ("default colour", proxy["colour"].GetString());
    EXPECT_TRUE(proxy.RawGet("colour").IsNil());
    proxy.SetString("colour", "red");
    proxy.RawSetObject("size", proxy["colour"]);
    EXPECT_EQ(1, state->GetGlobal("log").GetCount());
    EXPECT_STREQ("red", proxy.RawGet("size").GetString());

    LuaObject meta = proxy.GetMetaTable();
    EXPECT_TRUE(meta["__index"].IsFunction());
    LuaObject plain;
    plain.AssignNewTable(state);
    EXPECT_TRUE(plain.GetMetaTable().IsNil());
    plain.SetMetaTable(meta);
    EXPECT_STREQ("default x", plain["x"].GetString());
    plain.SetMetaTable(LuaObject(state));
    EXPECT_TRUE(plain["x"].IsNil());
    LuaObject number;
    number.AssignNumber(state, 1);
    EXPECT_THROW(number.SetMetaTable(meta), LuaException);
}

TEST(LuaObject, ScriptErrorsInsideTableAccessRaiseAndLeaveTheStackBalanced)
{
    LuaStateOwner state;
    state->DoString(
        "strict = setmetatable({}, { __index = function(t, k) "
        "error('no field ' .. k, 0) end, __newindex = function() error('read-only', 0) end })");
    LuaObject strict = state->GetGlobal("strict");
    lua_pushinteger(state->GetCState(), 99); // a caller's own value stays put
    try {
        strict["speed"];
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("no field speed", e.what());
    }
    EXPECT_THROW(strict.SetNumber("speed", 3), LuaException);
    ASSERT_EQ(1, state->GetTop());
    EXPECT_EQ(99, state->StackTop().GetInteger());
}

TEST(LuaObject, ComparesRawlyForEqualityAndByLuaRulesForOrder)
{
    LuaStateOwner state;
    LuaObject a, b, c, t;
    a.AssignNumber(state, 1);
    b.AssignNumber(state, 2);
    c.AssignString(state, "1");
    t.AssignNewTable(state);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_NE(a, c); // no conversion between numbers and strings
    LuaObject one;
    one.AssignInteger(state, 1);
    EXPECT_EQ(a, one);
    EXPECT_THROW((void)(a < t), LuaException);
    LuaStateOwner other;
    LuaObject foreign;
    foreign.AssignNumber(other, 1);
    EXPECT_NE(a, foreign);
    EXPECT_THROW(foreign.Push(state->GetCState()), LuaException);
}

TEST(LuaTableIterator, VisitsEveryEntryOnceAndToleratesClearingValues)
{
    LuaStateOwner state;
    state->DoString("t = { 'a', 'b', x = 1, y = 2, z = 3 }");
    LuaObject table = state->GetGlobal("t");
    std::set<std::string> seen;
    for (LuaTableIterator it(table); it; it.Next()) {
        seen.insert(it.GetKey().ToString());
        table.SetNil(it.GetKey()); // clearing the current entry is allowed
    }
    EXPECT_EQ((std::set<std::string>{"1", "2", "x", "y", "z"}), seen);
    LuaTableIterator empty(table);
    EXPECT_FALSE(empty.IsValid());
    EXPECT_FALSE(empty.Next());
    EXPECT_FALSE(empty.GetKey().IsSet());

    LuaObject number;
    number.AssignNumber(state, 1);
    EXPECT_THROW(LuaTableIterator{number}, LuaException);
    EXPECT_EQ(0, state->GetTop());
}
