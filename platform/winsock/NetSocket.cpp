#include "winsock/NetSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {
// Non-blocking, and small messages are sent at once rather than gathered.
bool SetNonBlocking(int handle)
{
    const int on = 1;
    setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const int flags = fcntl(handle, F_GETFL, 0);
    return flags >= 0 && fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}

// poll() on one handle for `events` with a time-out in milliseconds; the revents seen.
short PollOne(int handle, short events, int timeoutMs)
{
    pollfd entry{handle, events, 0};
    int result;
    do {
        result = poll(&entry, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result > 0 ? entry.revents : 0;
}

NetSocket::ConnectWatcher* s_Watcher = nullptr;

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

NetSocket::~NetSocket()
{
    Close();
}

NetSocket::NetSocket(NetSocket&& other) noexcept
    : m_Handle(other.m_Handle), m_Connecting(other.m_Connecting),
      m_ConnectPending(other.m_ConnectPending)
{
    other.m_Handle = -1;
    other.m_ConnectPending = false;
}

NetSocket& NetSocket::operator=(NetSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        m_Handle = other.m_Handle;
        m_Connecting = other.m_Connecting;
        m_ConnectPending = other.m_ConnectPending;
        other.m_Handle = -1;
        other.m_ConnectPending = false;
    }
    return *this;
}

void NetSocket::Close()
{
    if (m_Handle >= 0)
        ::close(m_Handle);
    m_Handle = -1;
    m_ConnectPending = false;
}

NetSocket::ConnectWatcher* NetSocket::SetConnectWatcher(ConnectWatcher* watcher)
{
    ConnectWatcher* previous = s_Watcher;
    s_Watcher = watcher;
    return previous;
}

void NetSocket::EndConnect(bool connected)
{
    if (!m_ConnectPending)
        return;
    m_ConnectPending = false;
    if (s_Watcher)
        s_Watcher->Ended(m_Connecting, connected);
}

bool NetSocket::MakeSocket(bool v6)
{
    Close();
    m_Handle = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_Handle < 0)
        return false;
    if (!SetNonBlocking(m_Handle)) {
        Close();
        return false;
    }
    return true;
}

bool NetSocket::Listen(const NetAddress& address)
{
    if (!MakeSocket(address.IsV6()))
        return false;
    const int on = 1;
    setsockopt(m_Handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(m_Handle, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    if (address.IsV6())
        setsockopt(m_Handle, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    sockaddr_storage local;
    const socklen_t size = address.ToSockAddr(local);
    if (::bind(m_Handle, reinterpret_cast<sockaddr*>(&local), size) != 0 ||
        ::listen(m_Handle, 5) != 0) {
        Close();
        return false;
    }
    return true;
}

NetAddress NetSocket::GetLocalAddress() const
{
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    if (m_Handle < 0 || getsockname(m_Handle, reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return NetAddress();
    return NetAddress::FromSockAddr(local);
}

bool NetSocket::Accept(NetSocket& out, NetAddress& peer)
{
    if (m_Handle < 0)
        return false;
    sockaddr_storage remote{};
    socklen_t size = sizeof remote;
    const int handle =
        ::accept4(m_Handle, reinterpret_cast<sockaddr*>(&remote), &size, SOCK_CLOEXEC);
    if (handle < 0)
        return false;
    NetSocket accepted;
    accepted.m_Handle = handle;
    if (!SetNonBlocking(handle))
        return false;
    out = std::move(accepted);
    peer = NetAddress::FromSockAddr(remote);
    return true;
}

bool NetSocket::StartConnect(const NetAddress& address)
{
    // The sockets serve the script debugger, whose peers are programs of this machine: what
    // names another machine (a list or a hello from a file or a peer) is never reached.
    if (!address.IsLoopback()) {
        Close();
        errno = EACCES;
        return false;
    }
    if (!MakeSocket(address.IsV6()))
        return false;
    sockaddr_storage remote;
    const socklen_t size = address.ToSockAddr(remote);
    if (s_Watcher)
        s_Watcher->Started(address);
    m_Connecting = address;
    m_ConnectPending = true;
    if (::connect(m_Handle, reinterpret_cast<sockaddr*>(&remote), size) == 0 ||
        errno == EINPROGRESS || errno == EINTR)
        return true;
    EndConnect(false);
    Close();
    return false;
}

NetSocket::ConnectState NetSocket::PollConnect()
{
    if (m_Handle < 0)
        return ConnectState::Failed;
    const short seen = PollOne(m_Handle, POLLOUT, 0);
    if (seen == 0)
        return ConnectState::Pending;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(m_Handle, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0 ||
        (seen & (POLLERR | POLLHUP))) {
        EndConnect(false);
        Close();
        return ConnectState::Failed;
    }
    EndConnect(true);
    return ConnectState::Connected;
}

bool NetSocket::ConnectWithin(const NetAddress& address, int timeoutMs)
{
    if (!StartConnect(address))
        return false;
    const long long end = NowMs() + timeoutMs;
    for (;;) {
        const ConnectState state = PollConnect();
        if (state != ConnectState::Pending)
            return state == ConnectState::Connected;
        const long long left = end - NowMs();
        if (left <= 0)
            break;
        PollOne(m_Handle, POLLOUT, static_cast<int>(left));
    }
    EndConnect(false);
    Close();
    return false;
}

bool NetSocket::IsReadable() const
{
    return m_Handle >= 0 && (PollOne(m_Handle, POLLIN, 0) & (POLLIN | POLLHUP | POLLERR));
}

bool NetSocket::IsWritable() const
{
    return m_Handle >= 0 && (PollOne(m_Handle, POLLOUT, 0) & POLLOUT);
}

bool NetSocket::ReadAvailable(std::string& into)
{
    if (m_Handle < 0)
        return false;
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::recv(m_Handle, chunk, sizeof chunk, 0);
        if (got > 0) {
            into.append(chunk, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        Close();
        return false;
    }
}

bool NetSocket::WriteAll(const char* bytes, std::size_t n)
{
    if (m_Handle < 0)
        return false;
    const long long end = NowMs() + WRITE_TIME_LIMIT_MS;
    std::size_t done = 0;
    while (done < n) {
        const ssize_t sent = ::send(m_Handle, bytes + done, n - done, MSG_NOSIGNAL);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        const long long left = end - NowMs();
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && left > 0) {
            PollOne(m_Handle, POLLOUT, static_cast<int>(left));
            continue;
        }
        Close();
        return false;
    }
    return true;
}

bool NetSocket::SendMessage(const char* bytes, std::size_t n)
{
    if (m_Handle < 0 || n > 0xFFFFFFFFu)
        return false;
    // One write for length and payload, so a small message leaves in one segment.
    std::string message(4 + n, '\0');
    for (int i = 0; i < 4; ++i)
        message[std::size_t(i)] = static_cast<char>((uint64_t(n) >> (8 * i)) & 0xFF);
    if (n > 0)
        message.replace(4, n, bytes, n);
    return WriteAll(message.data(), message.size());
}
