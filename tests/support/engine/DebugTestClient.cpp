#include "support/engine/DebugTestClient.h"

#include <chrono>
#include <thread>

namespace bbtest {

namespace {
long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

DebugTestClient::DebugTestClient(std::function<void()> pump, int timeLimitMs)
    : m_Pump(std::move(pump)), m_TimeLimitMs(timeLimitMs)
{
    m_BackListener.Listen(NetAddress(127, 0, 0, 1, 0));
    m_BackPort = m_BackListener.GetLocalAddress().GetPort();
}

std::string DebugTestClient::Frame(const std::string& payload)
{
    const uint32_t n = static_cast<uint32_t>(payload.size());
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out + payload;
}

bool DebugTestClient::WaitFor(const std::function<bool()>& done)
{
    const long long end = NowMs() + m_TimeLimitMs;
    while (NowMs() < end) {
        if (done())
            return true;
        if (m_Pump)
            m_Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

bool DebugTestClient::SendHello(uint16_t serverPort, const std::string& bytes)
{
    if (!m_Hello.ConnectWithin(NetAddress(127, 0, 0, 1, serverPort), m_TimeLimitMs)) {
        m_Failure = "could not connect to the server's port " + std::to_string(serverPort);
        return false;
    }
    if (!m_Hello.WriteAll(bytes.data(), bytes.size())) {
        m_Failure = "the server closed the connection before the hello was sent";
        return false;
    }
    return true;
}

bool DebugTestClient::AcceptConnectBack()
{
    NetAddress peer;
    NetSocket accepted;
    if (!WaitFor([&] { return m_BackListener.Accept(accepted, peer); })) {
        m_Failure =
            "the server did not connect back within " + std::to_string(m_TimeLimitMs) + " ms";
        return false;
    }
    m_Connection = std::move(accepted);
    m_Parser.Reset();
    m_Closed = false;
    return true;
}

bool DebugTestClient::SendRaw(const std::string& bytes)
{
    if (m_Connection.WriteAll(bytes.data(), bytes.size()))
        return true;
    m_Failure = "the server's connection is gone: a send failed";
    return false;
}

bool DebugTestClient::SendMessage(const std::string& text)
{
    return SendRaw(Frame(text));
}

bool DebugTestClient::Receive(std::string& text)
{
    bool received = false;
    const bool ended = WaitFor([&] {
        std::string arrived;
        if (!m_Closed && !m_Connection.ReadAvailable(arrived))
            m_Closed = true;
        m_Parser.Feed(arrived);
        received = m_Parser.Next(text) == DebugFrameParser::Result::Message;
        return received || m_Closed;
    });
    if (received)
        return true;
    m_Failure = ended ? "the server closed the connection"
                      : "no message came within " + std::to_string(m_TimeLimitMs) + " ms";
    return false;
}

std::vector<std::string> DebugTestClient::Drain(int rounds)
{
    std::vector<std::string> messages;
    for (int quiet = 0; quiet < rounds; ++quiet) {
        if (m_Pump)
            m_Pump();
        std::string arrived;
        if (!m_Closed && !m_Connection.ReadAvailable(arrived))
            m_Closed = true;
        m_Parser.Feed(arrived);
        std::string text;
        while (m_Parser.Next(text) == DebugFrameParser::Result::Message) {
            messages.push_back(text);
            quiet = 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return messages;
}

bool DebugTestClient::WaitForClose()
{
    return WaitFor([&] {
        std::string ignored;
        if (!m_Closed && !m_Connection.ReadAvailable(ignored))
            m_Closed = true;
        return m_Closed;
    });
}

void DebugTestClient::Close()
{
    m_Connection.Close();
    m_Hello.Close();
}

} // namespace bbtest
