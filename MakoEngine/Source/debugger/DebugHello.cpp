#include "debugger/DebugHello.h"

namespace {
uint32_t ReadLittle32(const char* bytes)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void AppendLittle32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
} // namespace

DebugHello DebugHello::Parse(const char* bytes)
{
    DebugHello hello;
    hello.magic = ReadLittle32(bytes);
    hello.port = static_cast<uint16_t>(ReadLittle32(bytes + 4) & 0xFFFF);
    const char* name = bytes + 8;
    std::size_t length = 0;
    while (length < 32 && name[length] != '\0')
        ++length;
    hello.name.assign(name, length);
    return hello;
}

std::string DebugHello::Encode(uint32_t magic, uint32_t port, const std::string& name)
{
    std::string out;
    AppendLittle32(out, magic);
    AppendLittle32(out, port);
    std::string field = name.substr(0, 32);
    field.resize(32, '\0');
    return out + field;
}
