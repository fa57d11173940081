#pragma once
// The debugger's TCP server. A client connects to the listening port and sends its hello;
// the server connects back to the port the hello names and from then on talks to the
// client over that connection only: first the client's name, then "LuaServerConnect()",
// then messages both ways. The connection the client opened carries the hello only and is
// closed once the hello is read. The connection list file is rewritten after each
// handshake, so the next run of the game reattaches to the same clients. A client that
// breaks the framing (a message past the size cap) has its connection dropped.
//
// What a client can hold is bounded: at most MAX_PENDING_HANDSHAKES handshakes run side by
// side (a new one pushes out the oldest), each within HANDSHAKE_TIME_LIMIT_MS per step, so
// silent clients never keep a real one waiting; only names with a registered handler are
// attached; the connection list keeps the MAX_CONNECTIONS most recent names.
#include "debugger/DebugConnectionList.h"
#include "debugger/DebugFrameParser.h"
#include "debugger/LuaNetworkServer.h"
#include "winsock/NetAddress.h"
#include "winsock/NetSocket.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

class LuaNetworkServerImpl : public LuaNetworkServer
{
public:
    // How long a hello, and a connect back to a client, may take, in milliseconds. The
    // reattaching at start waits this long in all, whatever the number of listed clients.
    static constexpr long long HANDSHAKE_TIME_LIMIT_MS = 3000;
    // Handshakes in progress at once; connections accepted in one poll at most.
    static constexpr std::size_t MAX_PENDING_HANDSHAKES = 8;
    static constexpr int MAX_ACCEPTS_PER_POLL = 32;
    // Clients kept in the connection list (and its file).
    static constexpr std::size_t MAX_CONNECTIONS = 4;

    enum class HandshakeState { Listening, AwaitingHello, ConnectingBack };

    LuaNetworkServerImpl();
    ~LuaNetworkServerImpl() override;

    bool Start(const std::string& fileName, uint16_t port, const std::string& listenHost) override;
    uint16_t GetListeningPort() const override { return m_Port; }
    NetSocket* GetConnection(const std::string& name) override;
    bool IsConnected(const std::string& name) override;
    void Send(const std::string& name, const std::string& text) override;
    void Poll() override;
    void SetCallback(const std::string& name, void* context, Handler handler) override;
    void* GetCallbackContext(const std::string& name) override;

    // Listening when no handshake is in progress, else the step of the oldest one.
    HandshakeState GetHandshakeState() const;
    std::size_t GetPendingHandshakeCount() const { return m_Pending.size(); }
    // The names of the attached clients, in the order they were first attached.
    std::vector<std::string> GetConnectionNames() const;

private:
    struct Connection
    {
        std::string name;
        NetAddress address;
        NetSocket socket;
        DebugFrameParser parser;
        // Given anew at every attach and never reused: a delivery that a nested poll
        // interrupts finds its connection again by it, or learns that it is gone.
        std::uint64_t serial = 0;
    };
    struct CallbackEntry
    {
        std::string name;
        void* context = nullptr;
        Handler handler = nullptr;
    };
    // One client between its connect and the end of the connect back.
    struct Handshake
    {
        HandshakeState state = HandshakeState::AwaitingHello;
        NetSocket hello;
        NetAddress peer; // its port becomes the hello's port
        std::string bytes;
        std::string name;
        NetSocket back;
        long long stepStartMs = 0;
    };

    void AcceptWaiting();
    // One step of a handshake; false when it has ended (completed or dropped).
    bool Advance(Handshake& handshake);
    bool ReadHello(Handshake& handshake);
    bool ConnectBack(Handshake& handshake);
    void DeliverMessages();
    // Reads what arrived on one connection and hands each whole message to the handler,
    // under the connection's name, while the connection stays attached.
    void DeliverFrom(std::uint64_t serial, const CallbackEntry& callback);
    Connection* FindConnection(const std::string& name);
    Connection* FindConnection(std::uint64_t serial);
    const CallbackEntry* FindCallback(const std::string& name) const;
    // Adds the connection, or replaces the socket and address of the one of that name. A
    // new name pushes out the oldest entry when the list is full.
    void Attach(const std::string& name, const NetAddress& address, NetSocket socket);
    void Reattach();
    // Writes the list of the clients attached now, when it differs from what was read or
    // last written (see DebugConnectionList::Write).
    void WriteConnectionList(SaveTurn::Patience patience = SaveTurn::WAIT);

    std::string m_FileName;
    // Reads, holds and writes the list at m_FileName.
    PlayerFileKeeper m_ListKeeper{DebugConnectionList::kWording};
    std::vector<std::unique_ptr<Connection>> m_Connections;
    std::uint64_t m_LastSerial = 0;
    std::vector<CallbackEntry> m_Callbacks;
    uint16_t m_Port = 5001;
    NetSocket m_Listener;
    std::deque<std::unique_ptr<Handshake>> m_Pending;
};
