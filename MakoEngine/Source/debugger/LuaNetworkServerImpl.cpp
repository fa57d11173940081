#include "debugger/LuaNetworkServerImpl.h"

#include "core/Log.h"
#include "core/Utility.h"
#include "debugger/DebugConnectionList.h"
#include "debugger/DebugHello.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

std::unique_ptr<LuaNetworkServer> CreateLuaNetworkServer()
{
    return std::make_unique<LuaNetworkServerImpl>();
}

LuaNetworkServerImpl::LuaNetworkServerImpl() = default;
LuaNetworkServerImpl::~LuaNetworkServerImpl() = default;

bool LuaNetworkServerImpl::Start(const std::string& fileName, uint16_t port,
                                 const std::string& listenHost)
{
    m_FileName = fileName;
    m_State = HandshakeState::Listening;
    NetAddress local;
    bool listening = false;
    if (!local.SetHost(listenHost)) {
        Log("LuaNetworkServerImpl: the listening address \"%s\" is not an address; the "
            "debugger accepts no clients.\n",
            listenHost.c_str());
    } else {
        if (!local.IsLoopback())
            Log("LuaNetworkServerImpl: Warning: the script debugger listens on %s and can be "
                "reached from other machines; anyone who connects can run code in the "
                "game.\n",
                local.FormatHost().c_str());
        local.SetPort(port);
        listening = m_Listener.Listen(local);
        if (!listening)
            Log("LuaNetworkServerImpl: could not listen on [%s]\n", local.Format().c_str());
    }
    m_Port = listening ? m_Listener.GetLocalAddress().GetPort() : 0;
    Reattach();
    return listening;
}

void LuaNetworkServerImpl::Reattach()
{
    for (const DebugConnectionList::Entry& entry : DebugConnectionList::Read(m_FileName)) {
        NetSocket socket;
        if (socket.ConnectWithin(entry.address, int(HANDSHAKE_TIME_LIMIT_MS)) &&
            socket.SendText(entry.name))
            socket.SendText("LuaServerConnect()");
        Attach(entry.name, entry.address, std::move(socket));
    }
    WriteConnectionList();
}

void LuaNetworkServerImpl::WriteConnectionList()
{
    if (m_FileName.empty())
        return;
    std::vector<DebugConnectionList::Entry> entries;
    for (const auto& connection : m_Connections)
        entries.push_back({connection->name, connection->address});
    if (int error = DebugConnectionList::Write(m_FileName, entries))
        Log("Warning: could not write the debugger connection list \"%s\": %s. The previous "
            "list was kept.\n",
            m_FileName.c_str(), std::strerror(error));
}

void LuaNetworkServerImpl::Attach(const std::string& name, const NetAddress& address,
                                  NetSocket socket)
{
    Connection* connection = FindConnection(name);
    if (!connection) {
        m_Connections.push_back(std::make_unique<Connection>());
        connection = m_Connections.back().get();
        connection->name = name;
    }
    connection->address = address;
    connection->socket = std::move(socket);
    connection->parser.Reset();
}

LuaNetworkServerImpl::Connection* LuaNetworkServerImpl::FindConnection(const std::string& name)
{
    for (const auto& connection : m_Connections)
        if (connection->name == name)
            return connection.get();
    return nullptr;
}

const LuaNetworkServerImpl::CallbackEntry*
LuaNetworkServerImpl::FindCallback(const std::string& name) const
{
    for (const CallbackEntry& entry : m_Callbacks)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

NetSocket* LuaNetworkServerImpl::GetConnection(const std::string& name)
{
    Connection* connection = FindConnection(name);
    return connection ? &connection->socket : nullptr;
}

bool LuaNetworkServerImpl::IsConnected(const std::string& name)
{
    Connection* connection = FindConnection(name);
    return connection && connection->socket.IsValid();
}

std::vector<std::string> LuaNetworkServerImpl::GetConnectionNames() const
{
    std::vector<std::string> names;
    for (const auto& connection : m_Connections)
        names.push_back(connection->name);
    return names;
}

void LuaNetworkServerImpl::Send(const std::string& name, const std::string& text)
{
    if (Connection* connection = FindConnection(name))
        connection->socket.SendText(text);
}

void LuaNetworkServerImpl::SetCallback(const std::string& name, void* context, Handler handler)
{
    for (CallbackEntry& entry : m_Callbacks) {
        if (entry.name == name) {
            entry.context = context;
            entry.handler = handler;
            return;
        }
    }
    m_Callbacks.push_back({name, context, handler});
}

void* LuaNetworkServerImpl::GetCallbackContext(const std::string& name)
{
    const CallbackEntry* entry = FindCallback(name);
    return entry ? entry->context : nullptr;
}

void LuaNetworkServerImpl::Poll()
{
    if (m_State == HandshakeState::Listening)
        PollListening();
    if (m_State == HandshakeState::AwaitingHello)
        PollAwaitingHello();
    if (m_State == HandshakeState::ConnectingBack)
        PollConnectingBack();
    DeliverMessages();
}

void LuaNetworkServerImpl::PollListening()
{
    NetSocket accepted;
    NetAddress peer;
    if (!m_Listener.Accept(accepted, peer))
        return;
    m_Accepted = std::move(accepted);
    m_PeerAddress = peer;
    m_HelloBytes.clear();
    m_StepStartMs = NowMs();
    DebugTrace("LuaNetworkServerImpl: Incoming connection request from [%s]\n",
               m_PeerAddress.Format().c_str());
    m_State = HandshakeState::AwaitingHello;
}

void LuaNetworkServerImpl::PollAwaitingHello()
{
    if (NowMs() - m_StepStartMs >= HANDSHAKE_TIME_LIMIT_MS) {
        m_State = HandshakeState::Listening;
        return;
    }
    if (m_HelloBytes.size() < DebugHello::SIZE) {
        const bool open = m_Accepted.ReadAvailable(m_HelloBytes);
        if (m_HelloBytes.size() < DebugHello::SIZE) {
            if (!open)
                m_State = HandshakeState::Listening;
            return;
        }
    }
    const DebugHello hello = DebugHello::Parse(m_HelloBytes.data());
    // The name goes on a line of its own into the connection list: an empty one, or one
    // with control characters, could not be read back.
    const bool nameFits =
        !hello.name.empty() && std::none_of(hello.name.begin(), hello.name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 32 || c == 127;
        });
    if (!hello.IsValid() || !nameFits) {
        m_State = HandshakeState::Listening;
        return;
    }
    m_ClientName = hello.name;
    m_PeerAddress.SetPort(hello.port);
    DebugTrace("LuaNetworkServerImpl: Sending reconnect request [%s]\n",
               m_PeerAddress.Format().c_str());
    m_ConnectBack = std::make_unique<NetSocket>();
    if (!m_ConnectBack->StartConnect(m_PeerAddress)) {
        m_ConnectBack.reset();
        m_State = HandshakeState::Listening;
        return;
    }
    m_StepStartMs = NowMs();
    m_State = HandshakeState::ConnectingBack;
}

void LuaNetworkServerImpl::PollConnectingBack()
{
    const NetSocket::ConnectState state = m_ConnectBack->PollConnect();
    if (state == NetSocket::ConnectState::Pending &&
        NowMs() - m_StepStartMs < HANDSHAKE_TIME_LIMIT_MS)
        return;
    if (state != NetSocket::ConnectState::Connected) {
        DebugTrace("LuaNetworkServerImpl: Could not connect to [%s]\n",
                   m_PeerAddress.Format().c_str());
        m_ConnectBack.reset();
        m_State = HandshakeState::Listening;
        return;
    }
    DebugTrace("LuaNetworkServerImpl: Connection made to [%s]\n", m_PeerAddress.Format().c_str());
    NetSocket socket = std::move(*m_ConnectBack);
    m_ConnectBack.reset();
    m_State = HandshakeState::Listening;
    socket.SendText(m_ClientName);
    Attach(m_ClientName, m_PeerAddress, std::move(socket));
    Send(m_ClientName, "LuaServerConnect()");
    WriteConnectionList();
}

void LuaNetworkServerImpl::DeliverMessages()
{
    // By index: a handler may poll again, and a nested poll may attach clients.
    for (std::size_t index = 0; index < m_Connections.size(); ++index) {
        const CallbackEntry* callback = FindCallback(m_Connections[index]->name);
        if (!callback)
            continue;
        if (!callback->context) {
            m_Connections[index]->socket.Close();
            continue;
        }
        DeliverFrom(index, *callback);
    }
}

void LuaNetworkServerImpl::DeliverFrom(std::size_t index, const CallbackEntry& callback)
{
    const Handler handler = callback.handler;
    void* const context = callback.context;
    const std::string name = m_Connections[index]->name;
    std::string arrived;
    {
        Connection& connection = *m_Connections[index];
        if (!connection.socket.IsValid())
            return;
        connection.socket.ReadAvailable(arrived);
        connection.parser.Feed(arrived);
    }
    std::string text;
    for (;;) {
        // Looked up afresh each time: the handler may have attached clients.
        Connection& connection = *m_Connections[index];
        const DebugFrameParser::Result result = connection.parser.Next(text);
        if (result == DebugFrameParser::Result::NeedMore)
            return;
        if (result == DebugFrameParser::Result::TooLarge) {
            Log("LuaNetworkServerImpl: dropped the connection of \"%s\": a message is larger "
                "than %u bytes\n",
                name.c_str(), unsigned(DebugFrameParser::MAX_MESSAGE_BYTES));
            connection.socket.Close();
            connection.parser.Reset();
            return;
        }
        if (handler)
            handler(name, context, text);
    }
}
