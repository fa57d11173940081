#pragma once
// The network side of the remote script debugger: a TCP server that accepts debugging
// clients, connects back to each one, and exchanges whole text messages with it by the
// client's name. It knows nothing of Lua. Everything runs on the game's thread: Poll does
// one step of the work and never waits on the network.
#include <cstdint>
#include <memory>
#include <string>

class NetSocket;

class LuaNetworkServer
{
public:
    // Receives each message that arrives from the named client. Called from inside Poll;
    // it may call Poll and Send again.
    using Handler = void (*)(const std::string& clientName, void* context, const std::string& text);

    // The address the server listens on unless the configuration asks for another.
    static constexpr const char* DEFAULT_LISTEN_HOST = "127.0.0.1";

    virtual ~LuaNetworkServer() = default;

    // Listens on listenHost (an address in numbers, never a name) at port (0 picks a free port),
    // then reattaches the clients the connection list file at fileName names. A host that is not a
    // loopback address is used only when asked for and logs a warning naming it. False
    // when the server cannot listen (it then still serves reattached clients).
    virtual bool Start(const std::string& fileName, uint16_t port,
                       const std::string& listenHost = DEFAULT_LISTEN_HOST) = 0;
    // The port the server listens on (0 when it does not).
    virtual uint16_t GetListeningPort() const = 0;
    // The connection to the first client of that name, or null.
    virtual NetSocket* GetConnection(const std::string& name) = 0;
    // Whether a client of that name is attached with an open connection.
    virtual bool IsConnected(const std::string& name) = 0;
    // Sends a text message to the named client; nothing when it is unknown or not connected.
    virtual void Send(const std::string& name, const std::string& text) = 0;
    // One step of accepting clients, then delivery of every whole message that arrived.
    virtual void Poll() = 0;
    // Registers (or replaces) the handler for messages from the named client. A client whose
    // handler has a null context has its connection closed at the next poll.
    virtual void SetCallback(const std::string& name, void* context, Handler handler) = 0;
    // The context registered under that name, or null.
    virtual void* GetCallbackContext(const std::string& name) = 0;
};

// Makes the server, not yet started.
std::unique_ptr<LuaNetworkServer> CreateLuaNetworkServer();
