// The script debugger against a running script: a client on loopback sets breakpoints,
// steps, reads and changes variables while the script waits on its own thread, as the
// game's loop would inside the script.
#include "debugger/LuaDebugger.h"
#include "debugger/DebugHello.h"
#include "luaplus/LuaCall.h"
#include "luaplus/LuaState.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using bbtest::DebugTestClient;

namespace {
const char* const SCRIPT = "function inner(a)\n" // 0
                           "  local b = a * 2\n" // 1
                           "  return b\n"        // 2
                           "end\n"               // 3
                           "function outer()\n"  // 4
                           "  local t = { x = 1, sub = { y = 2 }, [10] = 'ten', [9] = 'nine' }\n"
                           "  local r = inner(3)\n" // 6
                           "  counter = r + t.x\n"  // 7
                           "  return r\n"           // 8
                           "end\n"                  // 9
                           "outer()\n"              // 10
                           "done = true\n";         // 11

class LuaDebuggerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Game = LuaPlus::LuaState::Create(true);
        SetDebuggedLuaState("Main", m_Game->GetCState());
        InitLuaDebugger(m_Home.Path() + "/connections.txt", 0, "127.0.0.1");
        ASSERT_TRUE(IsLuaDebuggerActive());
        m_Client = std::make_unique<DebugTestClient>([] { UpdateLuaDebugger(); });
        const uint16_t port = LuaDebugger::Get()->GetServer().GetListeningPort();
        ASSERT_TRUE(m_Client->SendHello(
            port, DebugHello::Encode(DebugHello::MAGIC, m_Client->GetPort(), "LuaDebugger")));
        ASSERT_TRUE(m_Client->AcceptConnectBack());
        std::string text;
        ASSERT_TRUE(m_Client->Receive(text));
        ASSERT_TRUE(m_Client->Receive(text));
        ASSERT_EQ(text, "LuaServerConnect()");
    }

    void TearDown() override
    {
        m_Client->Close();
        StopGame();
        ShutdownLuaDebugger();
        m_Client.reset();
        LuaPlus::LuaState::Destroy(m_Game);
    }

    // Commands that do not stop the script: sent, then run by the frame's update.
    std::vector<std::string> Command(const std::string& text)
    {
        EXPECT_TRUE(m_Client->SendMessage(text));
        return m_Client->Drain();
    }

    // Runs the script on a thread of its own, the way the game's frame runs scripts; while
    // it runs, only that thread touches the debugger.
    void StartGame()
    {
        m_Client->SetPump(nullptr);
        m_Finished = false;
        m_Thread = std::thread([this] {
            lua_State* L = m_Game->GetCState();
            if (luaL_loadbuffer(L, SCRIPT, std::strlen(SCRIPT), "@Scripts\\Game\\Test.LUA") == 0) {
                LuaPlus::CallFailure failure;
                if (!LuaPlus::ProtectedCall(L, 0, 0, "Test.lua", failure))
                    ADD_FAILURE() << failure.Describe();
            }
            lua_settop(L, 0);
            m_Finished = true;
        });
    }

    // Waits for the script's end (a client that goes away lets it run on).
    void StopGame()
    {
        if (m_Thread.joinable())
            m_Thread.join();
        m_Client->SetPump([] { UpdateLuaDebugger(); });
    }

    // Messages up to and including the call-stack listing that ends a stop report.
    std::vector<std::string> NextStop()
    {
        std::vector<std::string> messages;
        std::string text;
        while (m_Client->Receive(text)) {
            messages.push_back(text);
            if (text.compare(0, 10, "CallStack=") == 0)
                break;
        }
        return messages;
    }

    // The reply that starts with the prefix, after sending the command while stopped.
    std::string Ask(const std::string& command, const std::string& prefix)
    {
        EXPECT_TRUE(m_Client->SendMessage(command));
        std::string text;
        while (m_Client->Receive(text))
            if (text.compare(0, prefix.size(), prefix) == 0)
                return text;
        return "<no " + prefix + ">";
    }

    std::string Global(const char* name)
    {
        lua_State* L = m_Game->GetCState();
        lua_getglobal(L, name);
        std::string text =
            lua_isstring(L, -1) ? lua_tostring(L, -1) : std::string(luaL_typename(L, -1));
        if (lua_isboolean(L, -1))
            text = lua_toboolean(L, -1) ? "true" : "false";
        lua_pop(L, 1);
        return text;
    }

    bbtest::TempHome m_Home;
    LuaPlus::LuaState* m_Game = nullptr;
    std::unique_ptr<DebugTestClient> m_Client;
    std::thread m_Thread;
    std::atomic<bool> m_Finished{false};
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
} // namespace

TEST_F(LuaDebuggerTest, StopsAtBreakpointAndReportsLocalsWatchesAndStack)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'TEST.lua', 6, true)");
    Command("DebugAddWatch('', 0, 't.sub.y')");
    StartGame();
    const std::vector<std::string> stop = NextStop();
    ASSERT_EQ(stop.size(), 5u);
    EXPECT_EQ(stop[0], "DebugSetLocation(\"Main\", \"test.lua\", 6)");
    EXPECT_TRUE(Contains(stop[1], "{\"t\",1,'!!!TABLE!!!'}, ")) << stop[1];
    // Without any expand path a table shows no entries.
    EXPECT_FALSE(Contains(stop[1], "\"sub\"")) << stop[1];
    EXPECT_EQ(stop[2], "DebugUpdateWatch({{\"t.sub.y\",1,2}, })");
    EXPECT_EQ(stop[3], "DebugUpdateCallStack()");
    EXPECT_EQ(stop[4], "CallStack={{\"outer\",'function',7},\n{\"Scripts\\\\Game\\\\Test.LUA\", "
                       "'main chunk',11},\n}");

    // Expanding t.sub lists t's entries sorted by printed key, then sub's one level deeper.
    const std::string locals = Ask("DebugAddLocalExpandIdent('', 't.sub')", "DebugUpdateLocals");
    EXPECT_TRUE(Contains(locals, "{\"t\",1,'!!!TABLE!!!'}, {\"sub\",2,'!!!TABLE!!!'}, "
                                 "{\"y\",3,2}, {\"x\",2,1}, {10,2,\"ten\"}, {9,2,\"nine\"}, "))
        << locals;
    const std::string removed = Ask("DebugRemoveLocalExpandIdent('', 't')", "DebugUpdateLocals");
    EXPECT_FALSE(Contains(removed, "\"sub\"")) << removed;

    EXPECT_TRUE(m_Client->SendMessage("DebugGo()"));
    StopGame();
    EXPECT_EQ(Global("done"), "true");
    EXPECT_EQ(Global("counter"), "7");
}

TEST_F(LuaDebuggerTest, SetsVariablesAndRunsCodeWhileStopped)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'test.lua', 7, true)");
    StartGame();
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 7)");
    m_Client->SendMessage("DebugSetVariable('', 't.x', 100)");
    m_Client->SendMessage("DebugSetVariable('', 'r', 5)");
    m_Client->SendMessage("DebugSetVariable('', 'made.a.b', 'v')");
    // Through a value that is not a table: refused, the value stays.
    const std::string refused = Ask("DebugSetVariable('', 'print.x', 1)", "DebugOutput");
    EXPECT_TRUE(Contains(refused, "print.x")) << refused;
    m_Client->SendMessage("DebugDoBuffer('', 'fromClient = inner(5)')");
    EXPECT_EQ(Ask("DebugOutput('', 'say \"x\"')", "DebugOutput"), "DebugOutput(\"say \\\"x\\\"\")");
    m_Client->SendMessage("DebugGo()");
    StopGame();
    EXPECT_EQ(Global("counter"), "105");
    EXPECT_EQ(Global("fromClient"), "10");
    EXPECT_EQ(Global("print"), "function");
    lua_State* L = m_Game->GetCState();
    ASSERT_EQ(luaL_loadstring(L, "return made.a.b"), 0);
    LuaPlus::CallFailure failure;
    ASSERT_TRUE(LuaPlus::ProtectedCall(L, 0, 1, "made.a.b", failure));
    EXPECT_STREQ(lua_tostring(L, -1), "v");
    lua_pop(L, 1);
}

TEST_F(LuaDebuggerTest, StepsIntoOverAndOut)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'test.lua', 6, true)");
    StartGame();
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 6)");

    m_Client->SendMessage("DebugStepInto()");
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 1)");
    m_Client->SendMessage("DebugStepOut()");
    const std::string back = NextStop().front();
    EXPECT_TRUE(back == "DebugSetLocation(\"Main\", \"test.lua\", 6)" ||
                back == "DebugSetLocation(\"Main\", \"test.lua\", 7)")
        << back;
    if (back.find(", 6)") != std::string::npos) {
        m_Client->SendMessage("DebugStepOver()");
        ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 7)");
    }
    // Stepping over the last line of outer returns to the main chunk.
    m_Client->SendMessage("DebugStepOver()");
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 8)");
    m_Client->SendMessage("DebugStepOver()");
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 11)");
    m_Client->SendMessage("DebugGo()");
    StopGame();
    EXPECT_EQ(Global("done"), "true");
}

TEST_F(LuaDebuggerTest, StepOverAfterABreakpointInsideACallStepsLineByLine)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'test.lua', 6, true)");
    // While running, stepping over means nothing.
    Command("DebugStepOver()");
    EXPECT_EQ(LuaDebugger::Get()->GetMode(), LuaDebugger::Running);
    StartGame();
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 6)");
    m_Client->SendMessage("DebugSetBreakpoint('', 'test.lua', 1, true)");
    m_Client->SendMessage("DebugStepOver()");
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 1)");
    m_Client->SendMessage("DebugStepOver()");
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 2)");
    m_Client->SendMessage("DebugGo()");
    StopGame();
}

TEST_F(LuaDebuggerTest, ClientThatGoesAwayAtABreakLetsTheGameRunOn)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'test.lua', 6, true)");
    StartGame();
    ASSERT_EQ(NextStop().front(), "DebugSetLocation(\"Main\", \"test.lua\", 6)");
    m_Client->Close();
    StopGame();
    EXPECT_TRUE(m_Finished);
    EXPECT_EQ(Global("done"), "true");
}

TEST_F(LuaDebuggerTest, LongCallStacksShowTheirFirstAndLastFrames)
{
    Command("DebugOn()");
    Command("DebugSetBreakpoint('', 'deep.lua', 0, true)");
    lua_State* L = m_Game->GetCState();
    const char* deep = "local function rec(n)\n"
                       "  if n > 0 then rec(n - 1) end\n"
                       "  return n\n"
                       "end\n"
                       "rec(27)\n";
    ASSERT_EQ(luaL_loadbuffer(L, deep, std::strlen(deep), "@deep.lua"), 0);
    lua_setglobal(L, "deep");
    Command("DebugSetBreakpoint('', 'deep.lua', 0, false)");
    Command("DebugSetBreakpoint('', 'deep.lua', 2, true)");
    m_Client->SetPump(nullptr);
    m_Thread = std::thread([L] {
        lua_getglobal(L, "deep");
        LuaPlus::CallFailure failure;
        LuaPlus::ProtectedCall(L, 0, 0, "deep", failure);
    });
    const std::vector<std::string> stop = NextStop();
    ASSERT_EQ(stop.size(), 5u);
    // 28 calls of rec and the chunk: 29 frames, of which 12 and 10 are listed.
    const std::string& stack = stop[4];
    std::size_t frames = 0;
    for (std::size_t at = stack.find("},\n"); at != std::string::npos;
         at = stack.find("},\n", at + 1))
        ++frames;
    EXPECT_EQ(frames, 22u) << stack;
    EXPECT_EQ(stack.compare(0, 42, "CallStack={{\"function <1:deep.lua\",'',3},\n"), 0) << stack;
    EXPECT_TRUE(Contains(stack, "{\"deep.lua\", 'main chunk',5},\n}")) << stack;
    m_Client->SendMessage("DebugGo()");
    StopGame();
}

TEST_F(LuaDebuggerTest, ReconnectingClientGetsTheScriptsAndState)
{
    const std::string script = "x = 1\n";
    LuaDebuggerSendFile("Scripts\\Boot.lua", script.data(), script.size());
    EXPECT_EQ(m_Client->Drain(),
              (std::vector<std::string>{"DebugSendFile(\"scripts/boot.lua\")", script}));
    // A second copy under the same key replaces the first.
    LuaDebuggerSendFile("scripts/BOOT.lua", "y = 2\n", 6);
    m_Client->Drain();
    Command("DebugAddWatch('', 0, 'nothing.here')");
    const std::vector<std::string> state = Command("LuaClientConnect()");
    EXPECT_EQ(state,
              (std::vector<std::string>{"DebugSendFile(\"scripts/boot.lua\")", "y = 2\n",
                                        "DebugUpdateWatch({{\"nothing.here\",1,'!!!NIL!!!'}, })",
                                        "DebugUpdateCallStack()", "CallStack={}"}));
    // UTF-16 commands run as their UTF-8 text.
    std::string wide = "\xFF\xFE";
    for (char c : std::string("DebugOutput('', 'w')"))
        wide += std::string(1, c) + '\0';
    EXPECT_EQ(Command(wide), std::vector<std::string>{"DebugOutput(\"w\")"});
}
