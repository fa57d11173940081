// The real program started with the script debugger: a client on loopback attaches, is
// sent the scripts the game loaded, runs code in the game and quits it.
#include "debugger/DebugHello.h"
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace bbtest;

TEST(ScriptDebugger, ClientAttachesToTheRunningGameAndDrivesIt)
{
    {
        // The debugger's port must be free on this machine for the game to listen.
        NetSocket probe;
        if (!probe.Listen(NetAddress(127, 0, 0, 1, 3536)))
            GTEST_SKIP() << "port 3536 is in use";
    }
    TempHome home;
    ProgramRun run({"--console", "--windowed", "--nosound", "--luadebug"});
    ASSERT_TRUE(run.WaitForLogLine("Waiting for Lua Debugger.")) << run.Errors();

    DebugTestClient client(nullptr);
    ASSERT_TRUE(client.SendHello(
        3536, DebugHello::Encode(DebugHello::MAGIC, client.GetPort(), "LuaDebugger")));
    ASSERT_TRUE(client.AcceptConnectBack());
    std::string text;
    ASSERT_TRUE(client.Receive(text));
    EXPECT_EQ(text, "LuaDebugger");
    ASSERT_TRUE(client.Receive(text));
    EXPECT_EQ(text, "LuaServerConnect()");
    const std::string list = home.ConfigHome() + "/tessarine/bumperlux/"
                                                 "RemoteLuaDebuggingServerNetworkConnection.txt";
    ASSERT_TRUE(run.WaitForLine(list, "127.0.0.1:"));
    EXPECT_EQ(ReadFile(list), "LuaDebugger\n127.0.0.1:" + std::to_string(client.GetPort()) + "\n");

    // The scripts the game ran before the client came are sent on request.
    ASSERT_TRUE(client.SendMessage("LuaClientConnect()"));
    ASSERT_TRUE(client.Receive(text));
    EXPECT_EQ(text.compare(0, 15, "DebugSendFile(\""), 0) << text;

    ASSERT_TRUE(
        client.SendMessage("DebugDoBuffer('', \"io.stderr:write('from the debugger\\\\n')\")"));
    EXPECT_TRUE(run.WaitForErrorLine("from the debugger"));
    ASSERT_TRUE(client.SendMessage("DebugDoBuffer('', 'AppQuit()')"));
    EXPECT_EQ(0, run.Wait()) << run.Errors();
}
