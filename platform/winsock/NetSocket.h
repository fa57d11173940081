#pragma once
// A TCP socket over POSIX sockets, which connects to this machine only. Every socket is
// non-blocking: reads take what has arrived, connects are started and then polled, writes
// wait for room only up to a time limit. Writing to a peer that went away fails quietly (never
// SIGPIPE). One owner; moving closes the target's socket first and leaves the source with none.
#include "winsock/NetAddress.h"

#include <cstddef>
#include <string>

class NetSocket
{
public:
    // How long a whole write may wait for room, in milliseconds.
    static constexpr int WRITE_TIME_LIMIT_MS = 3000;

    enum class ConnectState { Pending, Connected, Failed };

    // Sees the connects of every socket of the layer, for tests that count them: Started
    // when connect() is called for an address, Ended when the socket's owner learns how a
    // started connect went (PollConnect, or ConnectWithin, says Connected or Failed; a
    // socket closed or replaced while pending ends nothing).
    class ConnectWatcher
    {
    public:
        virtual ~ConnectWatcher() = default;
        virtual void Started(const NetAddress& address) = 0;
        virtual void Ended(const NetAddress& address, bool connected) = 0;
    };
    // Installs the watcher (null for none); returns the previous one. Main thread only.
    static ConnectWatcher* SetConnectWatcher(ConnectWatcher* watcher);

    NetSocket() = default;
    ~NetSocket();
    NetSocket(NetSocket&& other) noexcept;
    NetSocket& operator=(NetSocket&& other) noexcept;
    NetSocket(const NetSocket&) = delete;
    NetSocket& operator=(const NetSocket&) = delete;

    void Close();
    bool IsValid() const { return m_Handle >= 0; }
    int GetHandle() const { return m_Handle; }

    // Makes a listening socket bound to the address (its port included), backlog 5.
    // False, with no socket left, when it cannot be made or bound.
    bool Listen(const NetAddress& address);
    // The address this socket is bound to (port 0 when it has none).
    NetAddress GetLocalAddress() const;
    // Takes a waiting connection, if any: true with `out` and `peer` set, else false.
    bool Accept(NetSocket& out, NetAddress& peer);

    // Starts a non-blocking connect (a new socket replaces this one). Only an address of
    // this machine (NetAddress::IsLoopback) is connected to: any other is refused before a
    // socket is made, whoever asks. False, with no socket left, when it is refused or fails
    // at once.
    bool StartConnect(const NetAddress& address);
    // Where a started connect stands, without waiting. A failed connect closes the socket.
    ConnectState PollConnect();
    // Starts a connect and waits at most timeoutMs for it; false (no socket) on failure.
    bool ConnectWithin(const NetAddress& address, int timeoutMs);

    // Whether a read, or a write, would not wait now. False without a socket.
    bool IsReadable() const;
    bool IsWritable() const;

    // Appends every byte that has arrived to `into`. False when the peer closed the
    // connection or it broke: the socket is then closed (bytes read before stay appended).
    bool ReadAvailable(std::string& into);
    // Writes all n bytes, waiting for room up to WRITE_TIME_LIMIT_MS in all. On a broken
    // connection or when the time runs out the socket is closed and false returned.
    bool WriteAll(const char* bytes, std::size_t n);
    // Writes one message: its length as 4 bytes little-endian, then the bytes.
    bool SendMessage(const char* bytes, std::size_t n);
    bool SendText(const std::string& text) { return SendMessage(text.data(), text.size()); }

private:
    // A new non-blocking socket of the address family (IPv6 or IPv4) replaces this one.
    bool MakeSocket(bool v6);
    // Tells the watcher that the started connect ended, once.
    void EndConnect(bool connected);

    int m_Handle = -1;
    // The address of a connect started and not yet ended.
    NetAddress m_Connecting;
    bool m_ConnectPending = false;
};
