#include "winsock/NetAddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

NetAddress::NetAddress(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint16_t port)
    : m_Bytes{a, b, c, d}, m_Port(port)
{
}

bool NetAddress::SetHost(const std::string& host)
{
    // inet_pton takes exactly four decimal parts, nothing else: no name, no octal or hex.
    in_addr quad{};
    if (host.empty() || inet_pton(AF_INET, host.c_str(), &quad) != 1)
        return false;
    std::memcpy(m_Bytes, &quad.s_addr, 4);
    return true;
}

bool NetAddress::Parse(const std::string& hostAndPort)
{
    const std::size_t colon = hostAndPort.find(':');
    if (colon == std::string::npos)
        return false;
    const std::string portText = hostAndPort.substr(colon + 1);
    if (portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long port = std::strtoul(portText.c_str(), nullptr, 10);
    if (port > 65535)
        return false;
    NetAddress parsed;
    if (!parsed.SetHost(hostAndPort.substr(0, colon)))
        return false;
    parsed.m_Port = static_cast<uint16_t>(port);
    *this = parsed;
    return true;
}

std::string NetAddress::FormatHost() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", m_Bytes[0], m_Bytes[1], m_Bytes[2], m_Bytes[3]);
    return text;
}

std::string NetAddress::Format() const
{
    return FormatHost() + ":" + std::to_string(m_Port);
}

void NetAddress::ToSockAddr(sockaddr_in& out) const
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(m_Port);
    std::memcpy(&out.sin_addr.s_addr, m_Bytes, 4);
}

NetAddress NetAddress::FromSockAddr(const sockaddr_in& in)
{
    NetAddress address;
    std::memcpy(address.m_Bytes, &in.sin_addr.s_addr, 4);
    address.m_Port = ntohs(in.sin_port);
    return address;
}

bool NetAddress::operator==(const NetAddress& other) const
{
    return std::memcmp(m_Bytes, other.m_Bytes, 4) == 0 && m_Port == other.m_Port;
}
