#pragma once
// A debugging client for tests, on 127.0.0.1 only: it listens for the game's connection
// back, says hello to the server, and exchanges framed messages. Every wait polls the
// server under test and gives up after a time limit, so no test hangs; a wait for a
// message ends at once when the server has closed the connection, and Failure() says which
// of the two ended it.
#include "debugger/DebugFrameParser.h"
#include "winsock/NetSocket.h"

#include <functional>
#include <string>
#include <vector>

namespace bbtest {

class DebugTestClient
{
public:
    // How long any wait may take, in milliseconds, unless the client is given another limit.
    // A wait ends as soon as what it waits for happens; the limit only keeps a broken server
    // from hanging the test, so it is far beyond what a busy machine adds to a wait.
    static constexpr int TIME_LIMIT_MS = 30000;

    // Listens on a free loopback port; pump is called while waiting (it polls the server).
    explicit DebugTestClient(std::function<void()> pump, int timeLimitMs = TIME_LIMIT_MS);

    // Replaces what is called while waiting (nothing when empty).
    void SetPump(std::function<void()> pump) { m_Pump = std::move(pump); }
    uint16_t GetPort() const { return m_BackPort; }
    // Connects to the server's port and sends the raw bytes (a hello, usually).
    bool SendHello(uint16_t serverPort, const std::string& bytes);
    // Waits for the game's connection back. False when none comes.
    bool AcceptConnectBack();
    // Sends raw bytes on the connect-back connection.
    bool SendRaw(const std::string& bytes);
    bool SendMessage(const std::string& text);
    // Waits for the next message; false when none comes in time or, at once, when the
    // server has closed the connection (messages that came before the close still arrive).
    bool Receive(std::string& text);
    // Why the last wait or send that failed did: "" when none has failed yet.
    const std::string& Failure() const { return m_Failure; }
    // Whether the server has closed the connection, as far as the client has read.
    bool IsClosed() const { return m_Closed; }
    // Every message that arrives until the pump has run `rounds` times with nothing new.
    std::vector<std::string> Drain(int rounds = 40);
    // Waits until the game has closed the connection; true when it did.
    bool WaitForClose();
    // Waits until `done` holds, pumping; false on time-out.
    bool WaitFor(const std::function<bool()>& done);
    void Close();

    // A frame: the length (4 bytes little-endian) and the payload.
    static std::string Frame(const std::string& payload);

private:
    std::function<void()> m_Pump;
    int m_TimeLimitMs;
    std::string m_Failure;
    NetSocket m_BackListener;
    uint16_t m_BackPort = 0;
    NetSocket m_Hello;
    NetSocket m_Connection;
    DebugFrameParser m_Parser;
    bool m_Closed = false;
};

} // namespace bbtest
