// The debugger's server against real clients on the loopback interface.
#include "debugger/DebugHello.h"
#include "debugger/LuaNetworkServerImpl.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <string>
#include <vector>

using bbtest::DebugTestClient;

namespace {
struct Received
{
    std::vector<std::string> texts;
};

void Collect(const std::string& name, void* context, const std::string& text)
{
    static_cast<Received*>(context)->texts.push_back(name + ":" + text);
}

class ServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_ListFile = m_Home.Path() + "/connections.txt";
        ASSERT_TRUE(m_Server.Start(m_ListFile, 0, "127.0.0.1"));
        m_Server.SetCallback("LuaDebugger", &m_Received, &Collect);
    }

    // A client that has completed the handshake under the name and read the greeting.
    std::unique_ptr<DebugTestClient> Attach(const std::string& name)
    {
        auto client = std::make_unique<DebugTestClient>([this] { m_Server.Poll(); });
        EXPECT_TRUE(
            client->SendHello(m_Server.GetListeningPort(),
                              DebugHello::Encode(DebugHello::MAGIC, client->GetPort(), name)));
        EXPECT_TRUE(client->AcceptConnectBack());
        std::string text;
        EXPECT_TRUE(client->Receive(text));
        EXPECT_EQ(text, name);
        EXPECT_TRUE(client->Receive(text));
        EXPECT_EQ(text, "LuaServerConnect()");
        return client;
    }

    bool WaitForMessages(DebugTestClient& client, std::size_t count)
    {
        return client.WaitFor([&] { return m_Received.texts.size() >= count; });
    }

    bbtest::TempHome m_Home;
    std::string m_ListFile;
    LuaNetworkServerImpl m_Server;
    Received m_Received;
};
} // namespace

TEST_F(ServerTest, HandshakeThenSplitAndJoinedFramesArriveInOrder)
{
    auto client = Attach("LuaDebugger");
    EXPECT_EQ(bbtest::ReadFile(m_ListFile),
              "LuaDebugger\n127.0.0.1:" + std::to_string(client->GetPort()) + "\n");

    const std::string joined = DebugTestClient::Frame("DebugOn()") + DebugTestClient::Frame("") +
                               DebugTestClient::Frame("DebugGo()");
    const std::string split = DebugTestClient::Frame("DebugBreak()");
    ASSERT_TRUE(client->SendRaw(joined));
    ASSERT_TRUE(client->SendRaw(split.substr(0, 3)));
    m_Server.Poll();
    ASSERT_TRUE(client->SendRaw(split.substr(3, 5)));
    m_Server.Poll();
    ASSERT_TRUE(client->SendRaw(split.substr(8)));
    ASSERT_TRUE(WaitForMessages(*client, 3));
    EXPECT_EQ(m_Received.texts,
              (std::vector<std::string>{"LuaDebugger:DebugOn()", "LuaDebugger:DebugGo()",
                                        "LuaDebugger:DebugBreak()"}));

    m_Server.Send("LuaDebugger", "DebugOutput(\"x\")");
    m_Server.Send("Nobody", "ignored");
    std::string text;
    ASSERT_TRUE(client->Receive(text));
    EXPECT_EQ(text, "DebugOutput(\"x\")");
}

TEST_F(ServerTest, WrongMagicIsIgnoredAndTheNextClientIsServed)
{
    DebugTestClient stranger([this] { m_Server.Poll(); });
    ASSERT_TRUE(stranger.SendHello(m_Server.GetListeningPort(),
                                   DebugHello::Encode(0xBEEF, stranger.GetPort(), "LuaDebugger")));
    stranger.Drain(50);
    // A name that could not stand on a line of the connection list is no hello either.
    DebugTestClient badName([this] { m_Server.Poll(); });
    ASSERT_TRUE(badName.SendHello(
        m_Server.GetListeningPort(),
        DebugHello::Encode(DebugHello::MAGIC, badName.GetPort(), "Lua\nDebugger")));
    badName.Drain(50);
    EXPECT_EQ(m_Server.GetHandshakeState(), LuaNetworkServerImpl::HandshakeState::Listening);
    EXPECT_TRUE(m_Server.GetConnectionNames().empty());
    auto client = Attach("LuaDebugger");
    EXPECT_EQ(m_Server.GetConnectionNames(), std::vector<std::string>{"LuaDebugger"});
}

TEST_F(ServerTest, MessagePastTheCapDropsOnlyThatConnection)
{
    auto client = Attach("LuaDebugger");
    auto other = Attach("Other");
    Received otherReceived;
    m_Server.SetCallback("Other", &otherReceived, &Collect);

    std::string tooLong(4, '\0');
    tooLong[0] = 1;
    tooLong[3] = 0x01; // 16 MiB + 1
    ASSERT_TRUE(client->SendRaw(tooLong + "rest"));
    EXPECT_TRUE(client->WaitForClose());
    EXPECT_FALSE(m_Server.IsConnected("LuaDebugger"));
    m_Server.Send("LuaDebugger", "to nobody"); // a closed connection sends nothing

    ASSERT_TRUE(other->SendMessage("still here"));
    ASSERT_TRUE(other->WaitFor([&] { return !otherReceived.texts.empty(); }));
    EXPECT_EQ(otherReceived.texts.front(), "Other:still here");

    // The same client may say hello again and is attached anew, once.
    auto again = Attach("LuaDebugger");
    EXPECT_TRUE(m_Server.IsConnected("LuaDebugger"));
    EXPECT_EQ(m_Server.GetConnectionNames(), (std::vector<std::string>{"LuaDebugger", "Other"}));
    ASSERT_TRUE(again->SendMessage("hi"));
    ASSERT_TRUE(WaitForMessages(*again, 1));
    EXPECT_EQ(m_Received.texts.back(), "LuaDebugger:hi");
}

TEST_F(ServerTest, ClientThatGoesAwayLeavesTheGameRunning)
{
    auto client = Attach("LuaDebugger");
    client->Close();
    // Writing to a vanished peer must neither raise SIGPIPE nor throw.
    const std::string big(1 << 20, 'x');
    for (int i = 0; i < 4; ++i)
        m_Server.Send("LuaDebugger", big);
    EXPECT_TRUE(client->WaitFor([&] { return !m_Server.IsConnected("LuaDebugger"); }));
    m_Server.Send("LuaDebugger", big);
    EXPECT_EQ(m_Server.GetConnectionNames(), std::vector<std::string>{"LuaDebugger"});
}

TEST_F(ServerTest, HandlerWithoutContextClosesTheConnection)
{
    auto client = Attach("LuaDebugger");
    m_Server.SetCallback("LuaDebugger", nullptr, &Collect);
    EXPECT_TRUE(client->WaitForClose());
}

TEST(LuaNetworkServer, ListensOnLoopbackOnlyByDefault)
{
    bbtest::TempHome home;
    auto server = CreateLuaNetworkServer();
    ASSERT_TRUE(server->Start(home.Path() + "/list.txt", 0));
    const uint16_t port = server->GetListeningPort();
    ASSERT_NE(port, 0);

    // Every address of this machine that is not loopback refuses the connection.
    ifaddrs* interfaces = nullptr;
    ASSERT_EQ(getifaddrs(&interfaces), 0);
    int tried = 0;
    for (ifaddrs* i = interfaces; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        NetAddress address = NetAddress::FromSockAddr(*reinterpret_cast<sockaddr_in*>(i->ifa_addr));
        if (address.IsLoopback())
            continue;
        address.SetPort(port);
        NetSocket socket;
        EXPECT_FALSE(socket.ConnectWithin(address, 1000)) << address.Format();
        ++tried;
    }
    freeifaddrs(interfaces);
    NetSocket local;
    EXPECT_TRUE(local.ConnectWithin(NetAddress(127, 0, 0, 1, port), 1000));
    if (tried == 0)
        GTEST_LOG_(INFO) << "this machine has no address but loopback";
}

TEST(LuaNetworkServer, ReattachesListedClientsAtStartAndKeepsTheUnreachable)
{
    bbtest::TempHome home;
    const std::string list = home.Path() + "/list.txt";
    NetSocket waiting;
    ASSERT_TRUE(waiting.Listen(NetAddress(127, 0, 0, 1, 0)));
    const uint16_t waitingPort = waiting.GetLocalAddress().GetPort();
    NetSocket closed;
    ASSERT_TRUE(closed.Listen(NetAddress(127, 0, 0, 1, 0)));
    const uint16_t closedPort = closed.GetLocalAddress().GetPort();
    closed.Close();
    const std::string contents = "Gone\n127.0.0.1:" + std::to_string(closedPort) +
                                 "\nLuaDebugger\n127.0.0.1:" + std::to_string(waitingPort) + "\n";
    bbtest::WriteFile(list, contents + "Half\n");

    LuaNetworkServerImpl server;
    ASSERT_TRUE(server.Start(list, 0, "127.0.0.1"));
    EXPECT_FALSE(server.IsConnected("Gone"));
    EXPECT_TRUE(server.IsConnected("LuaDebugger"));
    EXPECT_EQ(bbtest::ReadFile(list), contents);

    DebugTestClient reader([&] { server.Poll(); });
    NetSocket accepted;
    NetAddress peer;
    ASSERT_TRUE(reader.WaitFor([&] { return waiting.Accept(accepted, peer); }));
    std::string bytes;
    ASSERT_TRUE(reader.WaitFor([&] {
        accepted.ReadAvailable(bytes);
        return bytes.size() >= 4 + 11 + 4 + 18;
    }));
    EXPECT_EQ(bytes,
              DebugTestClient::Frame("LuaDebugger") + DebugTestClient::Frame("LuaServerConnect()"));
}
