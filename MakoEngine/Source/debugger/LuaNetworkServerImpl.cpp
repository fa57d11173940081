#include "debugger/LuaNetworkServerImpl.h"

#include "core/Log.h"
#include "core/MonotonicClock.h"
#include "core/Utility.h"
#include "debugger/DebugConnectionList.h"
#include "debugger/DebugHello.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

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
    m_Pending.clear();
    NetAddress local;
    bool listening = false;
    if (!local.SetHost(listenHost)) {
        Log("LuaNetworkServerImpl: the listening address \"%s\" is not an address; the "
            "debugger accepts no clients.\n",
            listenHost.c_str());
    } else {
        if (!local.IsLoopback())
            Log("LuaNetworkServerImpl: Warning: the script debugger listens on %s and can be "
                "reached from other machines, though it connects back only to clients on "
                "this machine; a program there that connects can run code in the game.\n",
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
    std::vector<DebugConnectionList::Entry> entries =
        DebugConnectionList::Read(m_ListKeeper, m_FileName);
    // The most recent clients are at the end of the list.
    if (entries.size() > MAX_CONNECTIONS)
        entries.erase(entries.begin(), entries.end() - MAX_CONNECTIONS);
    // Every connect runs at once, so the wait does not grow with the number of clients.
    std::vector<NetSocket> sockets(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        sockets[i].StartConnect(entries[i].address);
    const long long end = MonotonicClock::NowMs() + HANDSHAKE_TIME_LIMIT_MS;
    std::vector<bool> connected(entries.size(), false);
    for (;;) {
        bool pending = false;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (connected[i] || !sockets[i].IsValid())
                continue;
            const NetSocket::ConnectState state = sockets[i].PollConnect();
            connected[i] = state == NetSocket::ConnectState::Connected;
            pending = pending || state == NetSocket::ConnectState::Pending;
        }
        if (!pending || MonotonicClock::NowMs() >= end)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!connected[i])
            sockets[i].Close();
        else if (sockets[i].SendText(entries[i].name))
            sockets[i].SendText("LuaServerConnect()");
        Attach(entries[i].name, entries[i].address, std::move(sockets[i]));
    }
    // The start never waits for another copy's turn: a list it cannot write at once is
    // written at the next attach.
    WriteConnectionList(SaveTurn::NO_WAIT);
}

void LuaNetworkServerImpl::WriteConnectionList(SaveTurn::Patience patience)
{
    // A list that is there but could not be read is the user's: the keeper never writes
    // over it.
    if (m_FileName.empty())
        return;
    std::vector<DebugConnectionList::Entry> entries;
    for (const auto& connection : m_Connections)
        entries.push_back({connection->name, connection->address});
    const KeeperSave save = DebugConnectionList::Write(m_ListKeeper, m_FileName, entries, patience);
    if (save.outcome == KEEPER_FAILED)
        Log("Warning: could not write the debugger connection list \"%s\": %s. The previous "
            "list was kept.\n",
            m_FileName.c_str(), save.reason.c_str());
}

void LuaNetworkServerImpl::Attach(const std::string& name, const NetAddress& address,
                                  NetSocket socket)
{
    Connection* connection = FindConnection(name);
    if (!connection) {
        if (m_Connections.size() >= MAX_CONNECTIONS)
            m_Connections.erase(m_Connections.begin());
        m_Connections.push_back(std::make_unique<Connection>());
        connection = m_Connections.back().get();
        connection->name = name;
    }
    connection->address = address;
    connection->socket = std::move(socket);
    connection->parser.Reset();
    connection->serial = ++m_LastSerial;
}

LuaNetworkServerImpl::Connection* LuaNetworkServerImpl::FindConnection(const std::string& name)
{
    for (const auto& connection : m_Connections)
        if (connection->name == name)
            return connection.get();
    return nullptr;
}

LuaNetworkServerImpl::Connection* LuaNetworkServerImpl::FindConnection(std::uint64_t serial)
{
    for (const auto& connection : m_Connections)
        if (connection->serial == serial)
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

LuaNetworkServerImpl::HandshakeState LuaNetworkServerImpl::GetHandshakeState() const
{
    return m_Pending.empty() ? HandshakeState::Listening : m_Pending.front()->state;
}

void LuaNetworkServerImpl::Poll()
{
    for (auto it = m_Pending.begin(); it != m_Pending.end();)
        it = Advance(**it) ? it + 1 : m_Pending.erase(it);
    AcceptWaiting();
    DeliverMessages();
}

void LuaNetworkServerImpl::AcceptWaiting()
{
    for (int i = 0; i < MAX_ACCEPTS_PER_POLL; ++i) {
        auto handshake = std::make_unique<Handshake>();
        if (!m_Listener.Accept(handshake->hello, handshake->peer))
            return;
        handshake->stepStartMs = MonotonicClock::NowMs();
        DebugTrace("LuaNetworkServerImpl: Incoming connection request from [%s]\n",
                   handshake->peer.Format().c_str());
        // A hello that is already there is answered at once; only a client still to be
        // heard from waits, and the oldest of those gives way to it.
        if (!Advance(*handshake))
            continue;
        if (m_Pending.size() >= MAX_PENDING_HANDSHAKES)
            m_Pending.pop_front();
        m_Pending.push_back(std::move(handshake));
    }
}

bool LuaNetworkServerImpl::Advance(Handshake& handshake)
{
    // A hello that completes starts the connect back in the same poll.
    if (handshake.state == HandshakeState::AwaitingHello && !ReadHello(handshake))
        return false;
    if (handshake.state == HandshakeState::ConnectingBack)
        return ConnectBack(handshake);
    return true;
}

bool LuaNetworkServerImpl::ReadHello(Handshake& handshake)
{
    if (MonotonicClock::NowMs() - handshake.stepStartMs >= HANDSHAKE_TIME_LIMIT_MS)
        return false;
    const bool open = handshake.hello.ReadAvailable(handshake.bytes);
    if (handshake.bytes.size() < DebugHello::SIZE)
        return open;
    // The connection the client opened has done its part.
    handshake.hello.Close();
    const DebugHello hello = DebugHello::Parse(handshake.bytes.data());
    // The name goes on a line of its own into the connection list: an empty one, or one
    // with control characters, could not be read back.
    const bool nameFits =
        !hello.name.empty() && std::none_of(hello.name.begin(), hello.name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 32 || c == 127;
        });
    if (!hello.IsValid() || !nameFits)
        return false;
    // Nobody would read what a client of another name sends.
    const CallbackEntry* callback = FindCallback(hello.name);
    if (!callback || !callback->context) {
        DebugTrace("LuaNetworkServerImpl: no handler for the client \"%s\"; refused\n",
                   hello.name.c_str());
        return false;
    }
    handshake.name = hello.name;
    handshake.peer.SetPort(hello.port);
    DebugTrace("LuaNetworkServerImpl: Sending reconnect request [%s]\n",
               handshake.peer.Format().c_str());
    if (!handshake.back.StartConnect(handshake.peer)) {
        // A client elsewhere (the server listens on another address when asked to) is never
        // connected back to: the sockets reach this machine only.
        if (!handshake.peer.IsLoopback())
            Log("LuaNetworkServerImpl: the client \"%s\" at %s is not on this machine; it is "
                "not connected back to.\n",
                handshake.name.c_str(), handshake.peer.Format().c_str());
        return false;
    }
    handshake.stepStartMs = MonotonicClock::NowMs();
    handshake.state = HandshakeState::ConnectingBack;
    return true;
}

bool LuaNetworkServerImpl::ConnectBack(Handshake& handshake)
{
    const NetSocket::ConnectState state = handshake.back.PollConnect();
    if (state == NetSocket::ConnectState::Pending &&
        MonotonicClock::NowMs() - handshake.stepStartMs < HANDSHAKE_TIME_LIMIT_MS)
        return true;
    if (state != NetSocket::ConnectState::Connected) {
        DebugTrace("LuaNetworkServerImpl: Could not connect to [%s]\n",
                   handshake.peer.Format().c_str());
        return false;
    }
    DebugTrace("LuaNetworkServerImpl: Connection made to [%s]\n", handshake.peer.Format().c_str());
    handshake.back.SendText(handshake.name);
    Attach(handshake.name, handshake.peer, std::move(handshake.back));
    Send(handshake.name, "LuaServerConnect()");
    WriteConnectionList();
    return false;
}

void LuaNetworkServerImpl::DeliverMessages()
{
    // Over the clients attached now, each found again by its serial: a handler may poll
    // again, and a nested poll may attach clients and push out others.
    std::vector<std::uint64_t> serials;
    for (const auto& connection : m_Connections)
        serials.push_back(connection->serial);
    for (std::uint64_t serial : serials) {
        Connection* connection = FindConnection(serial);
        if (!connection)
            continue;
        const CallbackEntry* callback = FindCallback(connection->name);
        // Nobody reads a client without a handler: its connection is closed.
        if (!callback || !callback->context) {
            connection->socket.Close();
            continue;
        }
        DeliverFrom(serial, *callback);
    }
}

void LuaNetworkServerImpl::DeliverFrom(std::uint64_t serial, const CallbackEntry& callback)
{
    const Handler handler = callback.handler;
    void* const context = callback.context;
    Connection* connection = FindConnection(serial);
    if (!connection)
        return;
    const std::string name = connection->name;
    // Whole messages that arrived before the client went away are still handed over.
    if (connection->socket.IsValid()) {
        std::string arrived;
        connection->socket.ReadAvailable(arrived);
        connection->parser.Feed(arrived);
    }
    std::string text;
    // Found again after each message: the handler may have polled, and a client attached
    // meanwhile may have pushed this one out.
    while ((connection = FindConnection(serial)) != nullptr) {
        const DebugFrameParser::Result result = connection->parser.Next(text);
        if (result == DebugFrameParser::Result::NeedMore)
            return;
        if (result == DebugFrameParser::Result::TooLarge) {
            Log("LuaNetworkServerImpl: dropped the connection of \"%s\": a message is larger "
                "than %u bytes\n",
                name.c_str(), unsigned(DebugFrameParser::MAX_MESSAGE_BYTES));
            connection->socket.Close();
            connection->parser.Reset();
            return;
        }
        if (handler)
            handler(name, context, text);
    }
}
