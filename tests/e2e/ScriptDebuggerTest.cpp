// The real program started with the script debugger: a client on loopback attaches, is
// sent the scripts the game loaded, runs code in the game and quits it; and thousands of
// clients that are no debugger neither slow the game down nor leave files open in it.
#include "debugger/DebugHello.h"
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace bbtest;

namespace {

// Whether the debugger's port is free on this machine, so that the game can listen on it.
bool DebuggerPortIsFree()
{
    NetSocket probe;
    return probe.Listen(NetAddress(127, 0, 0, 1, 3536));
}

// Attaches client to the game's debugger: the hello, the game's connection back, its name,
// and the first command, which must be "LuaServerConnect()".
void Attach(DebugTestClient& client)
{
    ASSERT_TRUE(client.SendHello(
        3536, DebugHello::Encode(DebugHello::MAGIC, client.GetPort(), "LuaDebugger")));
    ASSERT_TRUE(client.AcceptConnectBack());
    std::string text;
    ASSERT_TRUE(client.Receive(text));
    EXPECT_EQ(text, "LuaDebugger");
    ASSERT_TRUE(client.Receive(text));
    ASSERT_EQ(text, "LuaServerConnect()");
}

} // namespace

TEST(ScriptDebugger, ClientAttachesToTheRunningGameAndDrivesIt)
{
    if (!DebuggerPortIsFree())
        GTEST_SKIP() << "port 3536 is in use";
    TempHome home;
    ProgramRun run({"--console", "--windowed", "--nosound", "--luadebug"});
    ASSERT_TRUE(run.WaitForLogLine("Waiting for Lua Debugger.")) << run.Errors();
    // Whoever started the game is told what the debugger allows.
    EXPECT_TRUE(run.WaitForErrorLine("Warning: the script debugger is on (--luadebug): any "
                                     "program that connects to 127.0.0.1 port 3536 can run any "
                                     "code as this user."))
        << run.Errors();

    DebugTestClient client(nullptr);
    ASSERT_NO_FATAL_FAILURE(Attach(client));
    std::string text;
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

namespace {

using Clock = std::chrono::steady_clock;

// Round trips of a DebugOutput command a second: the game answers each in the pass that
// reads it, so this is the game's rate of passes.
double PassRate(DebugTestClient& client, int seconds)
{
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    const auto start = Clock::now();
    int trips = 0;
    std::string text;
    while (Clock::now() < end) {
        // Other messages (scripts the game loads) may come in between.
        const std::string ping = "ping " + std::to_string(trips);
        if (!client.SendMessage("DebugOutput('', '" + ping + "')"))
            return 0.0;
        do {
            if (!client.Receive(text))
                return 0.0;
        } while (text.find("\"" + ping + "\"") == std::string::npos);
        ++trips;
    }
    return trips / std::chrono::duration<double>(Clock::now() - start).count();
}

// Says hello under names the game has no handler for, five at a time, each batch waiting
// until the game has closed them; then opens and closes connections that say nothing.
void Hammer(int hellos, int silentCycles, int& refused)
{
    const NetAddress game(127, 0, 0, 1, 3536);
    for (int sent = 0; sent < hellos; sent += 5) {
        std::vector<std::unique_ptr<NetSocket>> batch;
        for (int i = 0; i < 5; ++i) {
            batch.push_back(std::make_unique<NetSocket>());
            const std::string hello =
                DebugHello::Encode(DebugHello::MAGIC, 9, "Stranger" + std::to_string(sent + i));
            if (batch.back()->ConnectWithin(game, 3000))
                batch.back()->WriteAll(hello.data(), hello.size());
        }
        for (auto& socket : batch) {
            std::string ignored;
            const auto deadline = Clock::now() + std::chrono::seconds(3);
            while (socket->ReadAvailable(ignored) && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            refused += socket->IsValid() ? 0 : 1;
        }
    }
    for (int i = 0; i < silentCycles; i += 5) {
        for (int j = 0; j < 5; ++j) {
            NetSocket socket;
            socket.ConnectWithin(game, 3000);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(35));
    }
}

} // namespace

TEST(ScriptDebugger, ThousandsOfStrangersLeaveTheGameAtFullSpeedWithNoFilesOpen)
{
    if (!DebuggerPortIsFree())
        GTEST_SKIP() << "port 3536 is in use";
    TempHome home;
    ProgramRun run({"--menuscreen", "--console", "--windowed", "--nosound", "--luadebug"});
    ASSERT_TRUE(run.WaitForLogLine("Waiting for Lua Debugger.")) << run.Errors();
    DebugTestClient client(nullptr);
    ASSERT_NO_FATAL_FAILURE(Attach(client));

    const double before = PassRate(client, 2);
    const int openBefore = run.CountOpenFiles();
    int refused = 0;
    std::atomic<bool> done(false);
    std::thread hammer([&] {
        Hammer(2000, 1000, refused);
        done = true;
    });
    std::vector<double> during;
    while (!done)
        during.push_back(PassRate(client, 2));
    hammer.join();
    EXPECT_EQ(2000, refused);
    std::string rates;
    for (double rate : during)
        rates += " " + std::to_string(rate).substr(0, 4);
    std::printf("passes a second: %.1f before;%s while 2000 hellos and 1000 connections came\n",
                before, rates.c_str());
    // Full speed is 31.25 passes a second. How close a shared, loaded machine comes varies
    // from second to second, so only a stall fails here (a pass held up by the clients);
    // the figures printed are the measurement.
    EXPECT_GT(before, 5.0);
    for (double rate : during)
        EXPECT_GT(rate, 5.0);

    // The silent connections are closed when their time runs out.
    int openAfter = -1;
    for (int i = 0; i < 100 && openAfter != openBefore; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        openAfter = run.CountOpenFiles();
    }
    EXPECT_EQ(openBefore, openAfter);
    EXPECT_EQ(ReadFile(home.ConfigHome() +
                       "/tessarine/bumperlux/RemoteLuaDebuggingServerNetworkConnection.txt"),
              "LuaDebugger\n127.0.0.1:" + std::to_string(client.GetPort()) + "\n");
    ASSERT_TRUE(client.SendMessage("DebugDoBuffer('', 'AppQuit()')"));
    EXPECT_EQ(0, run.Wait()) << run.Errors();
}
