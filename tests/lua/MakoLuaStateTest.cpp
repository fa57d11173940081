// The engine's script runners (script resources and text), their error texts, and the
// start-up chunk every script relies on.
#include "lua/MakoLuaState.h"
#include "core/Exception.h"
#include "lua/ScriptDebugHandoff.h"
#include "support/TempHome.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// The message of the Exception a call throws, which must be exactly of class Expected.
template <typename Expected, typename Call> std::string CaughtMessage(Call call)
{
    try {
        call();
    } catch (const Exception& e) {
        EXPECT_EQ(typeid(Expected), typeid(e)) << e.GetTypeName();
        return e.GetMessage();
    }
    ADD_FAILURE() << "no Exception thrown";
    return "";
}

} // namespace

class ScriptResources : public bbtest::LuaFixture
{
};

TEST_F(ScriptResources, CompileAndRunFailuresGiveTheirExactTexts)
{
    AddScript("Broken.lua", "x = = 1");
    AddScript("Fails.lua", "before = 'set'\nerror('out of bricks')\nafter = 'set'");
    AddScript("Table.lua", "error({ code = 3 })");

    std::string compile = CaughtMessage<ScriptError>([&] { RunResource("Broken.lua"); });
    EXPECT_EQ("Could not compile Lua resource file:\nfile = Broken.lua\n"
              "error = [string \"Broken.lua\"]:1: unexpected symbol near '='",
              compile);

    std::string run = CaughtMessage<ScriptError>([&] { RunResource("Fails.lua"); });
    EXPECT_EQ("Could not execute Lua resource file\nfile = Fails.lua\n"
              "error = [string \"Fails.lua\"]:2: out of bricks",
              run);
    EXPECT_EQ("set", GlobalString("before")); // what ran before the error stays done
    EXPECT_TRUE(Global("after").IsNil());

    std::string table = CaughtMessage<ScriptError>([&] { RunResource("Table.lua"); });
    EXPECT_EQ("Could not execute Lua resource file\nfile = Table.lua", table);
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST_F(ScriptResources, AMissingResourceRaisesResourceNotFound)
{
    try {
        RunResource("Nowhere.lua");
        FAIL() << "no exception";
    } catch (const ResourceNotFoundException& e) {
        EXPECT_EQ("Nowhere.lua", e.GetResourceName());
        EXPECT_EQ("Could not find resource info with name = Nowhere.lua", e.GetMessage());
    }
    // With no provider installed at all, every name is missing.
    ScriptSource::Provider fixtureProvider = ScriptSource::SetProvider(nullptr);
    EXPECT_THROW(RunResource("Anything.lua"), ResourceNotFoundException);
    ScriptSource::SetProvider(fixtureProvider);
}

TEST_F(ScriptResources, NothingRunsAsTheProgramsOwnUntilACheckSaysSo)
{
    AddScript("Own.lua", "ran = true");
    const std::string refusal =
        "The script resource \"Own.lua\" is not one of the program's own files; it is not run.";
    // No check installed, as before the resource manager starts or after it ends.
    ScriptSource::OwnCheck fixtureCheck = ScriptSource::SetOwnCheck(nullptr);
    EXPECT_EQ(refusal, CaughtMessage<ScriptError>([&] { RunResource("Own.lua"); }));
    ScriptSource::SetOwnCheck([](const std::string&) { return false; });
    EXPECT_EQ(refusal, CaughtMessage<ScriptError>([&] { RunResource("Own.lua"); }));
    EXPECT_TRUE(Global("ran").IsNil());
    ScriptSource::SetOwnCheck(fixtureCheck);
    RunResource("Own.lua");
    EXPECT_TRUE(GlobalBoolean("ran"));
}

TEST_F(ScriptResources, RunningAScriptTwiceRunsItTwice)
{
    AddScript("Count.lua", "count = (count or 0) + 1");
    RunResource("Count.lua");
    RunResource("Count.lua");
    EXPECT_EQ(2, GlobalNumber("count"));
    AddScript("Count.lua", "count = count * 10"); // nothing compiled is kept either
    RunResource("Count.lua");
    EXPECT_EQ(20, GlobalNumber("count"));
}

TEST_F(ScriptResources, AnActiveDebuggerReceivesEachScriptBeforeItCompiles)
{
    std::vector<std::string> received;
    bool active = false;
    ScriptDebugHandoff::Install([&] { return active; },
                                [&](const std::string& name, const char* text, size_t length) {
                                    received.push_back(name + ":" + std::string(text, length));
                                });
    AddScript("Good.lua", "good = true");
    AddScript("Broken.lua", "x = = 1");
    RunResource("Good.lua"); // inactive: nothing sent
    EXPECT_TRUE(received.empty());
    active = true;
    RunResource("Good.lua");
    EXPECT_THROW(RunResource("Broken.lua"), Exception);
    ScriptDebugHandoff::Install(nullptr, nullptr);
    EXPECT_EQ((std::vector<std::string>{"Good.lua:good = true", "Broken.lua:x = = 1"}), received);
    EXPECT_FALSE(ScriptDebugHandoff::IsActive());
}

class LoadStringRunner : public bbtest::LuaFixture
{
};

TEST_F(LoadStringRunner, FailuresRaiseScriptErrorsAndLeaveTheStackBalanced)
{
    lua_pushstring(L(), "caller's own value");
    std::string compile = CaughtMessage<ScriptError>([&] { Run("x = = 1"); });
    EXPECT_EQ("Error in LoadString: [string \"?\"]:1: unexpected symbol near '='", compile);

    std::string run = CaughtMessage<ScriptError>([&] { Run("error('tilt')"); });
    EXPECT_EQ("Error in PCall: [string \"?\"]:1: tilt", run);

    std::string unknown = CaughtMessage<ScriptError>([&] { Run("error({})"); });
    EXPECT_EQ("Unknown error in PCall", unknown);

    // Arguments given to a failing run are consumed too.
    lua_pushinteger(L(), 1);
    lua_pushinteger(L(), 2);
    EXPECT_THROW(MakoLuaState::LoadString(State(), "return = ", 2, 1), ScriptError);
    lua_pushinteger(L(), 1);
    EXPECT_THROW(MakoLuaState::LoadString(State(), "error('x')", 1, 1), ScriptError);

    ASSERT_EQ(1, lua_gettop(L()));
    EXPECT_STREQ("caller's own value", lua_tostring(L(), 1));
}

TEST_F(LoadStringRunner, PassesArgumentsAndLeavesResults)
{
    lua_pushinteger(L(), 40);
    lua_pushinteger(L(), 2);
    MakoLuaState::LoadString(State(), "local a, b = ... return a + b, a - b", 2, 2);
    ASSERT_EQ(2, lua_gettop(L()));
    EXPECT_EQ(42, lua_tointeger(L(), 1));
    EXPECT_EQ(38, lua_tointeger(L(), 2));
    lua_settop(L(), 0);
    MakoLuaState::LoadString(State(), "return 1, 2, 3", 0, LUA_MULTRET);
    EXPECT_EQ(3, lua_gettop(L()));
    lua_settop(L(), 0);
    Run("ran = (ran or 0) + 1");
    Run("ran = (ran or 0) + 1");
    EXPECT_EQ(2, GlobalNumber("ran"));
}

class StartupChunk : public bbtest::LuaFixture
{
};

TEST_F(StartupChunk, SerializeFillsInItsDefaults)
{
    Run("function Do_Serialize(o, file, on_open) got = { o, file, on_open } end");
    Run("Serialize(5)");
    EXPECT_EQ(5, Global("got")[1].GetInteger());
    EXPECT_EQ("", Global("got")[2].ToString());
    EXPECT_EQ("", Global("got")[3].ToString());
    Run("Serialize('v', 'name', 'opened')");
    EXPECT_EQ("name", Global("got")[2].ToString());
    EXPECT_EQ("opened", Global("got")[3].ToString());

    Run("_serializeTmpStr = 'a' SerializeToStringHelper('b') SerializeToStringHelper('c')");
    EXPECT_EQ("abc", GlobalString("_serializeTmpStr"));

    Run("d = Anim.Delay(250)");
    EXPECT_EQ("delay", Global("d")[1].ToString());
    EXPECT_EQ(250, Global("d")[2].GetInteger());
    EXPECT_EQ(2, Global("d").GetCount());
    EXPECT_THROW(Run("Anim.Delay('soon')"), ScriptError);
}

TEST_F(StartupChunk, OutputFilesRedirectTheDefaultOutputOneAtATime)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/out.txt";
    OpenOutputFile(path, State());
    Run("io.write('line one\\n')");
    EXPECT_THROW(OpenOutputFile(path, State()), ScriptError); // already open
    CloseOutputFile(State());
    EXPECT_EQ("line one\n", bbtest::ReadFile(path));
    EXPECT_THROW(CloseOutputFile(State()), ScriptError); // nothing open

    // A file that cannot be opened leaves nothing open behind.
    EXPECT_THROW(OpenOutputFile(home.Path() + "/no/such/folder/x.txt", State()), ScriptError);
    OpenOutputFile(path, State());
    Run("io.write('again')");
    CloseOutputFile(State());
    EXPECT_EQ("again", bbtest::ReadFile(path));
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST(GlobalLuaState, IsCreatedOnceWithTheStandardLibraries)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(state, GetGlobalLuaState());
    EXPECT_TRUE(state->GetGlobal("math")["random"].IsFunction());
    EXPECT_TRUE(state->GetGlobal("io")["output"].IsFunction());
}
