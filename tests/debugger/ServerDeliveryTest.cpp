// The debugger's server hands each message over under the name of the client that sent
// it, also when a handler polls again and a client attached meanwhile pushes out another.
#include "debugger/DebugHello.h"
#include "debugger/LuaNetworkServerImpl.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using bbtest::DebugTestClient;

namespace {

// Records "<name>:<text>" and runs what the test asks for on one message.
struct Listener
{
    std::vector<std::string> texts;
    std::function<void(const std::string& text)> react;

    static void Handle(const std::string& name, void* context, const std::string& text)
    {
        auto* self = static_cast<Listener*>(context);
        self->texts.push_back(name + ":" + text);
        if (self->react)
            self->react(text);
    }
};

} // namespace

TEST(LuaNetworkServer, MessagesKeepTheirSendersNameWhenANestedPollPushesOutAClient)
{
    bbtest::TempHome home;
    LuaNetworkServerImpl server;
    ASSERT_TRUE(server.Start(home.Path() + "/connections.txt", 0, "127.0.0.1"));
    Listener listener;
    const std::vector<std::string> names = {"A", "B", "C", "D", "E"};
    for (const std::string& name : names)
        server.SetCallback(name, &listener, &Listener::Handle);
    std::vector<std::unique_ptr<DebugTestClient>> clients;
    for (std::size_t i = 0; i < 4; ++i) {
        clients.push_back(std::make_unique<DebugTestClient>([&] { server.Poll(); }));
        DebugTestClient& client = *clients.back();
        ASSERT_TRUE(
            client.SendHello(server.GetListeningPort(),
                             DebugHello::Encode(DebugHello::MAGIC, client.GetPort(), names[i])));
        ASSERT_TRUE(client.AcceptConnectBack());
        ASSERT_TRUE(client.WaitFor([&] { return server.IsConnected(names[i]); }));
    }
    ASSERT_EQ(server.GetConnectionNames(), (std::vector<std::string>{"A", "B", "C", "D"}));

    // A's message makes the handler poll again; in that poll B's first message makes it
    // poll until a fifth client is attached, which pushes A out. B said its two messages
    // and left.
    DebugTestClient fifth([] {});
    listener.react = [&](const std::string& text) {
        if (text == "a1") {
            server.Poll();
        } else if (text == "b1") {
            ASSERT_TRUE(
                fifth.SendHello(server.GetListeningPort(),
                                DebugHello::Encode(DebugHello::MAGIC, fifth.GetPort(), "E")));
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!server.IsConnected("E") && std::chrono::steady_clock::now() < end)
                server.Poll();
            ASSERT_TRUE(server.IsConnected("E"));
        }
    };
    ASSERT_TRUE(clients[0]->SendMessage("a1"));
    ASSERT_TRUE(clients[1]->SendRaw(DebugTestClient::Frame("b1") + DebugTestClient::Frame("b2")));
    clients[1]->Close();
    // (The loopback has handed every byte over when the sends return.)
    ASSERT_TRUE(clients[2]->SendMessage("c1"));
    server.Poll();
    listener.react = nullptr;
    server.Poll();

    EXPECT_EQ(server.GetConnectionNames(), (std::vector<std::string>{"B", "C", "D", "E"}));
    std::vector<std::string> sorted = listener.texts;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"A:a1", "B:b1", "B:b2", "C:c1"}));
}
