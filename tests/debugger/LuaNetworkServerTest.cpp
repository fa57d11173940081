// The debugger's server against real clients on the loopback interface, well-behaved and
// not: strangers, silent clients and clients that come and go must leave no open files.
#include "debugger/DebugHello.h"
#include "debugger/LuaNetworkServerImpl.h"
#include "support/NetworkOfItsOwn.h"
#include "support/TempHome.h"
#include "support/engine/DebugTestClient.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
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
    Received otherReceived;
    m_Server.SetCallback("Other", &otherReceived, &Collect);
    auto other = Attach("Other");

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

namespace {
// A plain blocking connect to an IPv4 address of this machine, past the sockets layer
// (which reaches no such address): the connected handle, or -1. An address of this machine
// answers at once, whether it takes the connection or refuses it.
int RawConnect(const NetAddress& address)
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return -1;
    const timeval limit{1, 0};
    setsockopt(handle, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    sockaddr_in remote;
    address.ToSockAddr(remote);
    if (connect(handle, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0)
        return handle;
    close(handle);
    return -1;
}

bool RawConnects(const NetAddress& address)
{
    const int handle = RawConnect(address);
    if (handle >= 0)
        close(handle);
    return handle >= 0;
}

// Addresses the test's own network gives this machine besides loopback (none of them
// 127.x.x.x): the addresses a debugger reached from elsewhere would be called at.
const std::vector<std::string> kOtherAddresses = {"10.99.0.1", "192.0.2.7", "172.16.40.2"};

NetAddress At(const std::string& host, uint16_t port)
{
    NetAddress address;
    EXPECT_TRUE(address.SetHost(host)) << host;
    address.SetPort(port);
    return address;
}

// A listener on every address of this machine, past the sockets layer: the port it took, and
// its handle in handle (-1 when it could not listen).
uint16_t ListenOnEveryAddress(int& handle)
{
    handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    socklen_t size = sizeof any;
    if (handle < 0 || bind(handle, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0 ||
        listen(handle, 8) != 0 || getsockname(handle, reinterpret_cast<sockaddr*>(&any), &size))
        return 0;
    return ntohs(any.sin_port);
}
} // namespace

TEST(LuaNetworkServer, ListensOnLoopbackOnlyByDefault)
{
    bbtest::RunInNetworkOfItsOwn(kOtherAddresses, [] {
        // The addresses are this machine's: a listener on all of them is reached at each.
        int everywhere = -1;
        const uint16_t anyPort = ListenOnEveryAddress(everywhere);
        ASSERT_NE(anyPort, 0);
        for (const std::string& host : kOtherAddresses)
            EXPECT_TRUE(RawConnects(At(host, anyPort))) << host;
        close(everywhere);

        bbtest::TempHome home;
        auto server = CreateLuaNetworkServer();
        ASSERT_TRUE(server->Start(home.Path() + "/list.txt", 0));
        const uint16_t port = server->GetListeningPort();
        ASSERT_NE(port, 0);
        // The debugger's port refuses every one of them, and every loopback address but
        // 127.0.0.1, straight through the system (the sockets layer reaches none of them).
        for (const std::string& host : kOtherAddresses)
            EXPECT_FALSE(RawConnects(At(host, port))) << host;
        EXPECT_FALSE(RawConnects(At("127.0.0.2", port)));
        NetSocket local;
        EXPECT_TRUE(local.ConnectWithin(NetAddress(127, 0, 0, 1, port), 1000));
    });
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

namespace {

int CountOpenFiles()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

// Polls the server, keeping the longest poll: it runs once per 32 ms pass of the game, so
// no client may hold it up.
struct TimedPoll
{
    LuaNetworkServerImpl& server;
    std::chrono::steady_clock::duration longest{};
    int polls = 0;
    void operator()()
    {
        const auto start = std::chrono::steady_clock::now();
        server.Poll();
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
        ++polls;
    }
};

// Connects to the server, sends the bytes and waits until the server has closed the
// connection (it reads a hello and closes it, or drops what is no hello); false when the
// server kept it open.
bool SayAndWaitForClose(TimedPoll& poll, const std::string& bytes)
{
    NetSocket socket;
    if (!socket.ConnectWithin(NetAddress(127, 0, 0, 1, poll.server.GetListeningPort()), 3000) ||
        !socket.WriteAll(bytes.data(), bytes.size()))
        return false;
    DebugTestClient waiter([&] { poll(); });
    std::string ignored;
    return waiter.WaitFor([&] { return !socket.ReadAvailable(ignored); });
}

} // namespace

TEST_F(ServerTest, ClientsNobodyReadsAreClosedAndLeaveNoOpenFiles)
{
    NetSocket backListener;
    ASSERT_TRUE(backListener.Listen(NetAddress(127, 0, 0, 1, 0)));
    const uint16_t backPort = backListener.GetLocalAddress().GetPort();
    TimedPoll poll{m_Server};
    DebugTestClient pump([&] { poll(); });
    m_Server.Poll();
    const int before = CountOpenFiles();

    // Hellos under names nobody handles: each is closed, nobody is connected back to.
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(SayAndWaitForClose(
            poll, DebugHello::Encode(DebugHello::MAGIC, backPort, "Stranger" + std::to_string(i))))
            << i;
    NetSocket accepted;
    NetAddress peer;
    EXPECT_FALSE(backListener.Accept(accepted, peer));
    // Connections that say nothing and go away.
    for (int i = 0; i < 1000; ++i) {
        NetSocket socket;
        ASSERT_TRUE(
            socket.ConnectWithin(NetAddress(127, 0, 0, 1, m_Server.GetListeningPort()), 3000));
        socket.Close();
        poll();
    }
    EXPECT_TRUE(pump.WaitFor([&] { return m_Server.GetPendingHandshakeCount() == 0; }));
    EXPECT_TRUE(m_Server.GetConnectionNames().empty());
    EXPECT_EQ(before, CountOpenFiles());
    // No poll waits on a client: one that did would wait out the client's time limit, a
    // span no busy machine stretches a poll of a few sockets to.
    const double longestMs = std::chrono::duration<double, std::milli>(poll.longest).count();
    std::printf("the longest of %d polls took %.1f ms\n", poll.polls, longestMs);
    EXPECT_LT(longestMs, LuaNetworkServerImpl::HANDSHAKE_TIME_LIMIT_MS);

    // A debugger that came and went leaves nothing open either.
    {
        auto client = Attach("LuaDebugger");
        client->Close();
        EXPECT_TRUE(client->WaitFor([&] { return !m_Server.IsConnected("LuaDebugger"); }));
    }
    EXPECT_EQ(before, CountOpenFiles());
    EXPECT_EQ(m_Server.GetConnectionNames(), std::vector<std::string>{"LuaDebugger"});
}

TEST_F(ServerTest, SilentClientsDoNotKeepARealOneWaiting)
{
    std::vector<std::unique_ptr<NetSocket>> silent;
    for (int i = 0; i < 20; ++i) {
        silent.push_back(std::make_unique<NetSocket>());
        ASSERT_TRUE(silent.back()->ConnectWithin(
            NetAddress(127, 0, 0, 1, m_Server.GetListeningPort()), 3000));
        m_Server.Poll();
    }
    EXPECT_LE(m_Server.GetPendingHandshakeCount(), LuaNetworkServerImpl::MAX_PENDING_HANDSHAKES);

    const std::size_t silentPending = m_Server.GetPendingHandshakeCount();
    auto client = Attach("LuaDebugger");
    EXPECT_TRUE(m_Server.IsConnected("LuaDebugger"));
    // The real one comes first: attached while the silent ones still wait (all but the
    // oldest, when it made room for the real one), not after their time ran out.
    ASSERT_GT(silentPending, 1u);
    EXPECT_GE(m_Server.GetPendingHandshakeCount(), silentPending - 1);
    // The silent ones are given up when their time runs out; the wait allows for a machine
    // busy with other tests.
    DebugTestClient pump([this] { m_Server.Poll(); },
                         static_cast<int>(3 * LuaNetworkServerImpl::HANDSHAKE_TIME_LIMIT_MS));
    EXPECT_TRUE(pump.WaitFor([&] { return m_Server.GetPendingHandshakeCount() == 0; }));
}

TEST_F(ServerTest, TheListKeepsTheMostRecentClients)
{
    std::vector<std::unique_ptr<DebugTestClient>> clients;
    std::vector<std::string> names;
    for (int i = 1; i <= 6; ++i) {
        names.push_back("Client" + std::to_string(i));
        m_Server.SetCallback(names.back(), &m_Received, &Collect);
        clients.push_back(Attach(names.back()));
    }
    const std::vector<std::string> kept(names.end() - LuaNetworkServerImpl::MAX_CONNECTIONS,
                                        names.end());
    EXPECT_EQ(m_Server.GetConnectionNames(), kept);
    // The clients pushed out are let go.
    EXPECT_TRUE(clients[0]->WaitForClose());
    EXPECT_TRUE(clients[1]->WaitForClose());
    std::string expected;
    for (std::size_t i = 2; i < clients.size(); ++i)
        expected += names[i] + "\n127.0.0.1:" + std::to_string(clients[i]->GetPort()) + "\n";
    EXPECT_EQ(bbtest::ReadFile(m_ListFile), expected);
}

namespace {

// Records, in order, every connect the sockets layer starts and ends while it lives.
class ConnectLog : public NetSocket::ConnectWatcher
{
public:
    ConnectLog() : m_Previous(NetSocket::SetConnectWatcher(this)) {}
    ~ConnectLog() override { NetSocket::SetConnectWatcher(m_Previous); }

    void Started(const NetAddress& address) override
    {
        events.push_back("start " + address.Format());
    }
    void Ended(const NetAddress& address, bool connected) override
    {
        events.push_back((connected ? "made " : "failed ") + address.Format());
    }
    std::size_t CountOf(const std::string& kind) const
    {
        return std::size_t(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
            return e.compare(0, kind.size(), kind) == 0;
        }));
    }

    std::vector<std::string> events;

private:
    NetSocket::ConnectWatcher* m_Previous;
};

} // namespace

TEST(LuaNetworkServer, ReattachingStartsEveryConnectBeforeWaitingOnAny)
{
    // Ten listed clients, each listening: the four most recent are reattached, all their
    // connects under way before the outcome of any is taken, so the wait is one time limit
    // however many are listed. One after another would end each before the next starts.
    std::vector<std::unique_ptr<NetSocket>> listeners;
    std::string contents;
    for (int i = 0; i < 10; ++i) {
        listeners.push_back(std::make_unique<NetSocket>());
        ASSERT_TRUE(listeners.back()->Listen(NetAddress(127, 0, 0, 1, 0)));
        contents += "Listed" + std::to_string(i) +
                    "\n127.0.0.1:" + std::to_string(listeners.back()->GetLocalAddress().GetPort()) +
                    "\n";
    }
    bbtest::TempHome home;
    const std::string list = home.Path() + "/list.txt";
    bbtest::WriteFile(list, contents);

    ConnectLog connects;
    LuaNetworkServerImpl server;
    ASSERT_TRUE(server.Start(list, 0, "127.0.0.1"));
    static_assert(LuaNetworkServerImpl::MAX_CONNECTIONS == 4, "the four most recent");
    ASSERT_EQ(connects.events.size(), 8u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(connects.events[i].compare(0, 6, "start "), 0) << connects.events[i];
    EXPECT_EQ(connects.CountOf("made "), 4u);
    EXPECT_EQ(server.GetConnectionNames(),
              (std::vector<std::string>{"Listed6", "Listed7", "Listed8", "Listed9"}));
    EXPECT_TRUE(server.IsConnected("Listed9"));
    EXPECT_EQ(bbtest::ReadFile(list), contents.substr(contents.find("Listed6")));
}

TEST(LuaNetworkServer, ReattachesOnlyToThisMachineAndNamesEveryEntryItDrops)
{
    // In a network of the test's own, where ::1 is there on every machine with IPv6.
    bbtest::RunInNetworkOfItsOwn({}, [] {
        // A listener on this machine that a name for it would reach, and a client of the list
        // that may be reattached.
        NetSocket byName;
        ASSERT_TRUE(byName.Listen(NetAddress(127, 0, 0, 1, 0)));
        const std::string namedPort = std::to_string(byName.GetLocalAddress().GetPort());
        NetSocket waiting;
        ASSERT_TRUE(waiting.Listen(NetAddress(127, 0, 0, 1, 0)));
        const std::string waitingPort = std::to_string(waiting.GetLocalAddress().GetPort());
        const std::vector<std::string> refused = {"10.99.0.1:45678", "localhost:" + namedPort,
                                                  "127.1:" + namedPort, "192.168.1.1:" + namedPort,
                                                  "[2001:db8::1]:45678"};
        bbtest::TempHome home;
        const std::string list = home.Path() + "/list.txt";
        std::string contents;
        for (std::size_t i = 0; i < refused.size(); ++i)
            contents += "Far" + std::to_string(i) + "\n" + refused[i] + "\n";
        // ::1 is this machine too.
        NetSocket waiting6;
        ASSERT_TRUE(waiting6.Listen(NetAddress::Loopback6(0)));
        const std::string at = waiting6.GetLocalAddress().Format();
        contents += "Near6\n" + at + "\n";
        std::vector<std::string> expected = {"start " + at, "made " + at}, names = {"Near6"};
        contents += "LuaDebugger\n127.0.0.1:" + waitingPort + "\n";
        bbtest::WriteFile(list, contents);
        expected.insert(expected.begin() + std::ptrdiff_t(expected.size() / 2),
                        "start 127.0.0.1:" + waitingPort);
        expected.push_back("made 127.0.0.1:" + waitingPort);
        names.push_back("LuaDebugger");

        ConnectLog connects;
        bbtest::LogCapture log;
        LuaNetworkServerImpl server;
        ASSERT_TRUE(server.Start(list, 0, "127.0.0.1"));
        EXPECT_EQ(connects.events, expected);
        EXPECT_EQ(server.GetConnectionNames(), names);
        NetSocket accepted;
        NetAddress peer;
        EXPECT_FALSE(byName.Accept(accepted, peer));
        const std::string text = log.Text();
        for (std::size_t i = 0; i < refused.size(); ++i)
            EXPECT_NE(text.find("\"" + refused[i] + "\" for the client \"Far" + std::to_string(i)),
                      std::string::npos)
                << refused[i] << " is not named in the log:\n"
                << text;
    });
}

TEST(LuaNetworkServer, AClientOnAnotherAddressIsNeverConnectedBackTo)
{
    // The server listens on an address of this machine that is not loopback, as the
    // configuration may ask; a client that says hello from there names a port to be called
    // back on, and is not called.
    const std::string host = kOtherAddresses.front();
    bbtest::RunInNetworkOfItsOwn({host}, [&] {
        bbtest::TempHome home;
        bbtest::LogCapture log;
        LuaNetworkServerImpl server;
        ASSERT_TRUE(server.Start(home.Path() + "/list.txt", 0, host));
        Received received;
        server.SetCallback("LuaDebugger", &received, &Collect);
        const NetAddress at = At(host, server.GetListeningPort());

        ConnectLog connects;
        DebugTestClient pump([&] { server.Poll(); });
        const int handle = RawConnect(at);
        ASSERT_GE(handle, 0);
        const std::string hello =
            DebugHello::Encode(DebugHello::MAGIC, pump.GetPort(), "LuaDebugger");
        ASSERT_EQ(ssize_t(hello.size()), send(handle, hello.data(), hello.size(), MSG_NOSIGNAL));
        const std::string named = "the client \"LuaDebugger\" at " + host + ":";
        EXPECT_TRUE(pump.WaitFor([&] { return log.Text().find(named) != std::string::npos; }))
            << log.Text();
        close(handle);
        EXPECT_TRUE(connects.events.empty()) << connects.events.front();
        EXPECT_EQ(server.GetPendingHandshakeCount(), 0u);
        EXPECT_TRUE(server.GetConnectionNames().empty());
    });
}
