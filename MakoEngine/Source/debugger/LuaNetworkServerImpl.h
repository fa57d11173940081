#pragma once
// The debugger's TCP server. A client connects to the listening port and sends its hello;
// the server connects back to the port the hello names and from then on talks to the
// client over that connection only: first the client's name, then "LuaServerConnect()",
// then messages both ways. The connection list file is rewritten after each handshake, so
// the next run of the game reattaches to the same clients. A client that breaks the
// framing (a message past the size cap) has its connection dropped.
#include "debugger/DebugFrameParser.h"
#include "debugger/LuaNetworkServer.h"
#include "winsock/NetAddress.h"
#include "winsock/NetSocket.h"

#include <memory>
#include <vector>

class LuaNetworkServerImpl : public LuaNetworkServer
{
public:
    // How long a hello, and a connect back to a client, may take, in milliseconds.
    static constexpr long long HANDSHAKE_TIME_LIMIT_MS = 3000;

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

    HandshakeState GetHandshakeState() const { return m_State; }
    // The names of the attached clients, in the order they were first attached.
    std::vector<std::string> GetConnectionNames() const;

private:
    struct Connection
    {
        std::string name;
        NetAddress address;
        NetSocket socket;
        DebugFrameParser parser;
    };
    struct CallbackEntry
    {
        std::string name;
        void* context = nullptr;
        Handler handler = nullptr;
    };

    void PollListening();
    void PollAwaitingHello();
    void PollConnectingBack();
    void DeliverMessages();
    // Reads what arrived on one connection and hands each whole message to the handler.
    void DeliverFrom(std::size_t index, const CallbackEntry& callback);
    Connection* FindConnection(const std::string& name);
    const CallbackEntry* FindCallback(const std::string& name) const;
    // Adds the connection, or replaces the socket and address of the one of that name.
    void Attach(const std::string& name, const NetAddress& address, NetSocket socket);
    void Reattach();
    void WriteConnectionList();

    std::string m_FileName;
    std::vector<std::unique_ptr<Connection>> m_Connections;
    std::vector<CallbackEntry> m_Callbacks;
    uint16_t m_Port = 5001;
    HandshakeState m_State = HandshakeState::Listening;
    NetSocket m_Listener;
    NetSocket m_Accepted;
    NetAddress m_PeerAddress;
    std::string m_HelloBytes;
    std::string m_ClientName;
    std::unique_ptr<NetSocket> m_ConnectBack;
    // Monotonic milliseconds when the current handshake step began.
    long long m_StepStartMs = 0;
};
