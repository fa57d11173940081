#pragma once
// An IPv4 socket address: four address bytes (in network order) and a port.
#include <cstdint>
#include <string>

struct sockaddr_in;

class NetAddress
{
public:
    NetAddress() = default;
    NetAddress(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint16_t port);

    // The host as a dotted quad ("127.0.0.1"). A host name is never resolved (that would
    // ask the network, and could name any machine): it is no address. False (the address
    // unchanged) when the text is not a dotted quad.
    bool SetHost(const std::string& host);
    // "a.b.c.d:port": split at the first ':', the port decimal (0-65535). False when there
    // is no ':', the port is not a number in range or the host is not a dotted quad.
    bool Parse(const std::string& hostAndPort);

    void SetPort(uint16_t port) { m_Port = port; }
    uint16_t GetPort() const { return m_Port; }
    const uint8_t* GetBytes() const { return m_Bytes; }
    // True for 127.x.x.x: an address of this machine only, the one kind a socket of this
    // layer connects to (NetSocket::StartConnect).
    bool IsLoopback() const { return m_Bytes[0] == 127; }

    // "%u.%u.%u.%u:%u".
    std::string Format() const;
    // Only the address bytes, "%u.%u.%u.%u".
    std::string FormatHost() const;

    void ToSockAddr(sockaddr_in& out) const;
    static NetAddress FromSockAddr(const sockaddr_in& in);

    bool operator==(const NetAddress& other) const;

private:
    uint8_t m_Bytes[4] = {0, 0, 0, 0};
    uint16_t m_Port = 0;
};
