#pragma once
// A socket address: an IPv4 address (four bytes, in network order) or an IPv6 one (sixteen),
// and a port. Addresses are read only as numbers, never as host names.
#include <cstdint>
#include <string>

#include <sys/socket.h>

struct sockaddr_in;

class NetAddress
{
public:
    NetAddress() = default;
    NetAddress(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint16_t port);
    // ::1, this machine's IPv6 loopback address.
    static NetAddress Loopback6(uint16_t port);

    // The host as a dotted quad ("127.0.0.1") or an IPv6 address in numbers ("::1", also
    // in brackets). A host name is never resolved (that would ask the network, and could
    // name any machine): it is no address. False (the address unchanged) for anything else.
    bool SetHost(const std::string& host);
    // "a.b.c.d:port" or "[v6]:port", the port decimal (0-65535). False when the port is
    // missing or not a number in range, or the host is not an address in numbers.
    bool Parse(const std::string& hostAndPort);

    void SetPort(uint16_t port) { m_Port = port; }
    uint16_t GetPort() const { return m_Port; }
    bool IsV6() const { return m_V6; }
    // True for an address of this machine only, the one kind a socket of this layer connects
    // to (NetSocket::StartConnect): 127.x.x.x, ::1, and 127.x.x.x written as IPv6
    // (::ffff:127.x.x.x).
    bool IsLoopback() const;

    // "%u.%u.%u.%u:%u", or "[v6]:%u".
    std::string Format() const;
    // Only the address, "%u.%u.%u.%u" or the IPv6 text.
    std::string FormatHost() const;

    // The address as the system takes it; its size in bytes.
    socklen_t ToSockAddr(sockaddr_storage& out) const;
    // IPv4 only: the IPv4 address (an IPv6 one fills nothing but the family).
    void ToSockAddr(sockaddr_in& out) const;
    static NetAddress FromSockAddr(const sockaddr_in& in);
    // An IPv4 or IPv6 address; the empty address for another family.
    static NetAddress FromSockAddr(const sockaddr_storage& in);

    bool operator==(const NetAddress& other) const;

private:
    bool m_V6 = false;
    uint8_t m_Bytes[16] = {};
    uint16_t m_Port = 0;
};
