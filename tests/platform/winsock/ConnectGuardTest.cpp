// The sockets layer connects to this machine only, and reads addresses only as numbers: no
// caller can reach another machine through it, or make it ask the network for a name.
// Connects are counted through the layer's watcher, at the connect() call itself.
#include "support/NetworkOfItsOwn.h"
#include "winsock/NetAddress.h"
#include "winsock/NetSocket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every connect the layer starts and ends while it lives.
class Connects : public NetSocket::ConnectWatcher
{
public:
    Connects() : m_Previous(NetSocket::SetConnectWatcher(this)) {}
    ~Connects() override { NetSocket::SetConnectWatcher(m_Previous); }

    void Started(const NetAddress& address) override { started.push_back(address.Format()); }
    void Ended(const NetAddress& address, bool connected) override
    {
        ended.push_back(address.Format() + (connected ? " connected" : " failed"));
    }

    std::vector<std::string> started;
    std::vector<std::string> ended;

private:
    NetSocket::ConnectWatcher* m_Previous;
};

} // namespace

TEST(ConnectGuard, AnAddressOfAnotherMachineIsNeverConnectedTo)
{
    const NetAddress elsewhere[] = {
        NetAddress(10, 99, 0, 1, 45678), NetAddress(192, 0, 2, 1, 80),
        NetAddress(0, 0, 0, 0, 5001),    NetAddress(255, 255, 255, 255, 5001),
        NetAddress(128, 0, 0, 1, 5001),  NetAddress(126, 255, 255, 255, 5001),
        NetAddress(224, 0, 0, 1, 5001),
    };
    std::vector<NetAddress> all(std::begin(elsewhere), std::end(elsewhere));
    for (const char* text : {"[2001:db8::1]:80", "[::]:5001", "[::ffff:10.99.0.1]:45678",
                             "[fe80::1]:5001", "[::2]:5001"}) {
        NetAddress address;
        ASSERT_TRUE(address.Parse(text)) << text;
        all.push_back(address);
    }
    Connects connects;
    for (const NetAddress& address : all) {
        NetSocket socket;
        EXPECT_FALSE(socket.StartConnect(address)) << address.Format();
        EXPECT_FALSE(socket.IsValid()) << address.Format();
        EXPECT_EQ(socket.PollConnect(), NetSocket::ConnectState::Failed);
        EXPECT_FALSE(socket.ConnectWithin(address, 50)) << address.Format();
    }
    EXPECT_TRUE(connects.started.empty()) << connects.started.front();
}

TEST(ConnectGuard, EveryLoopbackAddressIsConnectedToAndSeenByTheWatcher)
{
    // Linux answers on the whole of 127.0.0.0/8; a listener bound to one address of it.
    NetSocket listener;
    ASSERT_TRUE(listener.Listen(NetAddress(127, 5, 6, 7, 0)));
    const NetAddress target(127, 5, 6, 7, listener.GetLocalAddress().GetPort());
    Connects connects;
    NetSocket socket;
    ASSERT_TRUE(socket.StartConnect(target));
    NetSocket::ConnectState state;
    while ((state = socket.PollConnect()) == NetSocket::ConnectState::Pending) {
    }
    EXPECT_EQ(state, NetSocket::ConnectState::Connected);
    EXPECT_EQ(connects.started, std::vector<std::string>{target.Format()});
    EXPECT_EQ(connects.ended, std::vector<std::string>{target.Format() + " connected"});

    // ::1, in a network of the test's own, where it is there on every machine with IPv6.
    bbtest::RunInNetworkOfItsOwn({}, [&] {
        NetSocket listener6;
        ASSERT_TRUE(listener6.Listen(NetAddress::Loopback6(0)));
        const NetAddress target6 = listener6.GetLocalAddress();
        EXPECT_EQ(target6, NetAddress::Loopback6(target6.GetPort()));
        NetSocket socket6;
        EXPECT_TRUE(socket6.ConnectWithin(target6, 10000));
        EXPECT_EQ(connects.started.back(), target6.Format());
        EXPECT_EQ(connects.ended.back(),
                  "[::1]:" + std::to_string(target6.GetPort()) + " connected");
    });
}

TEST(ConnectGuard, OnlyAnAddressInNumbersIsAnAddress)
{
    // Names and the other number forms the resolver takes: none is read, so none can ask the
    // network or stand for another machine.
    for (const char* text :
         {"localhost:5001", "ip6-localhost:5001", "127.1:5001", "2130706433:5001",
          "0x7f.0.0.1:5001", ":5001", "127.0.0.1 :5001", " 127.0.0.1:5001", "::1:5001", "[::1:5001",
          "::1]:5001", "[127.0.0.1]:5001", "[localhost]:5001", "[]:5001"}) {
        NetAddress address(1, 2, 3, 4, 5);
        EXPECT_FALSE(address.Parse(text)) << text;
        EXPECT_EQ(address, NetAddress(1, 2, 3, 4, 5)) << text;
    }
    NetAddress address;
    ASSERT_TRUE(address.Parse("127.0.0.9:65535"));
    EXPECT_EQ(address, NetAddress(127, 0, 0, 9, 65535));
    EXPECT_TRUE(address.IsLoopback());
    ASSERT_TRUE(address.Parse("10.99.0.1:45678"));
    EXPECT_FALSE(address.IsLoopback());
    // IPv6 in brackets: ::1 and 127.x.x.x written as IPv6 are this machine, nothing else.
    ASSERT_TRUE(address.Parse("[::1]:5001"));
    EXPECT_EQ(address, NetAddress::Loopback6(5001));
    EXPECT_EQ(address.Format(), "[::1]:5001");
    EXPECT_TRUE(address.IsLoopback());
    ASSERT_TRUE(address.Parse("[::ffff:127.0.0.2]:80"));
    EXPECT_TRUE(address.IsLoopback());
    for (const char* far : {"[::ffff:10.0.0.1]:80", "[::2]:80", "[::]:80", "[fe80::1]:80"}) {
        ASSERT_TRUE(address.Parse(far)) << far;
        EXPECT_FALSE(address.IsLoopback()) << far;
    }
    for (const char* port :
         {"127.0.0.1:65536", "127.0.0.1:", "127.0.0.1:-1", "127.0.0.1:1e3", "127.0.0.1:000001"})
        EXPECT_FALSE(address.Parse(port)) << port;
}
