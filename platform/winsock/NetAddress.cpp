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

NetAddress NetAddress::Loopback6(uint16_t port)
{
    NetAddress address;
    address.m_V6 = true;
    address.m_Bytes[15] = 1;
    address.m_Port = port;
    return address;
}

bool NetAddress::SetHost(const std::string& host)
{
    // inet_pton takes only the plain forms: four decimal parts, or the IPv6 text; no name,
    // no octal or hex parts, no blanks.
    in_addr quad{};
    if (!host.empty() && inet_pton(AF_INET, host.c_str(), &quad) == 1) {
        m_V6 = false;
        std::memset(m_Bytes, 0, sizeof m_Bytes);
        std::memcpy(m_Bytes, &quad.s_addr, 4);
        return true;
    }
    std::string text = host;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    in6_addr six{};
    if (text.empty() || inet_pton(AF_INET6, text.c_str(), &six) != 1)
        return false;
    m_V6 = true;
    std::memcpy(m_Bytes, six.s6_addr, 16);
    return true;
}

bool NetAddress::Parse(const std::string& hostAndPort)
{
    // The port follows the last ':' (an IPv6 address, bracketed, holds several).
    const std::size_t colon = hostAndPort.rfind(':');
    if (colon == std::string::npos)
        return false;
    const std::string host = hostAndPort.substr(0, colon);
    const bool bracketed = !host.empty() && host.front() == '[';
    if (bracketed != (!host.empty() && host.back() == ']'))
        return false;
    if (!bracketed && host.find(':') != std::string::npos)
        return false;
    const std::string portText = hostAndPort.substr(colon + 1);
    if (portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long port = std::strtoul(portText.c_str(), nullptr, 10);
    if (port > 65535)
        return false;
    NetAddress parsed;
    if (!parsed.SetHost(host) || parsed.m_V6 != bracketed)
        return false;
    parsed.m_Port = static_cast<uint16_t>(port);
    *this = parsed;
    return true;
}

bool NetAddress::IsLoopback() const
{
    if (!m_V6)
        return m_Bytes[0] == 127;
    static const uint8_t kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    static const uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    return std::memcmp(m_Bytes, kLoopback, 16) == 0 ||
           (std::memcmp(m_Bytes, kMapped, 12) == 0 && m_Bytes[12] == 127);
}

std::string NetAddress::FormatHost() const
{
    char text[INET6_ADDRSTRLEN];
    if (m_V6) {
        if (!inet_ntop(AF_INET6, m_Bytes, text, sizeof text))
            return "?";
        return text;
    }
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", m_Bytes[0], m_Bytes[1], m_Bytes[2], m_Bytes[3]);
    return text;
}

std::string NetAddress::Format() const
{
    const std::string host = m_V6 ? "[" + FormatHost() + "]" : FormatHost();
    return host + ":" + std::to_string(m_Port);
}

socklen_t NetAddress::ToSockAddr(sockaddr_storage& out) const
{
    std::memset(&out, 0, sizeof out);
    if (!m_V6) {
        ToSockAddr(reinterpret_cast<sockaddr_in&>(out));
        return sizeof(sockaddr_in);
    }
    sockaddr_in6& six = reinterpret_cast<sockaddr_in6&>(out);
    six.sin6_family = AF_INET6;
    six.sin6_port = htons(m_Port);
    std::memcpy(six.sin6_addr.s6_addr, m_Bytes, 16);
    return sizeof(sockaddr_in6);
}

void NetAddress::ToSockAddr(sockaddr_in& out) const
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(m_Port);
    if (!m_V6)
        std::memcpy(&out.sin_addr.s_addr, m_Bytes, 4);
}

NetAddress NetAddress::FromSockAddr(const sockaddr_in& in)
{
    NetAddress address;
    std::memcpy(address.m_Bytes, &in.sin_addr.s_addr, 4);
    address.m_Port = ntohs(in.sin_port);
    return address;
}

NetAddress NetAddress::FromSockAddr(const sockaddr_storage& in)
{
    if (in.ss_family == AF_INET)
        return FromSockAddr(reinterpret_cast<const sockaddr_in&>(in));
    NetAddress address;
    if (in.ss_family != AF_INET6)
        return address;
    const sockaddr_in6& six = reinterpret_cast<const sockaddr_in6&>(in);
    address.m_V6 = true;
    std::memcpy(address.m_Bytes, six.sin6_addr.s6_addr, 16);
    address.m_Port = ntohs(six.sin6_port);
    return address;
}

bool NetAddress::operator==(const NetAddress& other) const
{
    return m_V6 == other.m_V6 && std::memcmp(m_Bytes, other.m_Bytes, 16) == 0 &&
           m_Port == other.m_Port;
}
