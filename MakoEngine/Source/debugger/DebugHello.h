#pragma once
// The hello a debugging client sends first on the connection it opens: exactly SIZE bytes,
// not framed: magic (4 bytes little-endian, MAGIC), the port where the client accepts the
// game's connection back (4 bytes little-endian, low 16 bits used) and the client's name
// (32 bytes, NUL-terminated and padded; all 32 bytes when no NUL is among them).
#include <cstddef>
#include <cstdint>
#include <string>

struct DebugHello
{
    static constexpr std::size_t SIZE = 40;
    static constexpr uint32_t MAGIC = 0xFEDC;

    uint32_t magic = 0;
    uint16_t port = 0;
    std::string name;

    // Reads a hello from SIZE bytes.
    static DebugHello Parse(const char* bytes);
    // The SIZE bytes of a hello (the name cut to 32 bytes).
    static std::string Encode(uint32_t magic, uint32_t port, const std::string& name);

    bool IsValid() const { return magic == MAGIC; }
};
