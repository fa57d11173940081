#include "debugger/DebugReplyFormat.h"

#include "core/Utf8.h"

#include <cctype>
#include <cstdio>

namespace DebugReplyFormat {

namespace {
const char* ControlEscape(unsigned char byte)
{
    static const char* const escapes[] = {"\\a", "\\b", "\\t", "\\n", "\\v", "\\f", "\\r"};
    return byte >= 7 && byte <= 13 ? escapes[byte - 7] : nullptr;
}

std::string QuoteWith(const std::string& bytes, bool realNewlines)
{
    std::string out = "\"";
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (realNewlines && byte == '\n') {
            out += "\\\n";
        } else if (const char* escape = ControlEscape(byte)) {
            out += escape;
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 32 && byte <= 126) {
            out += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\%03u", unsigned(byte));
            out += code;
        }
    }
    return out + "\"";
}
} // namespace

std::string Quote(const std::string& bytes)
{
    return QuoteWith(bytes, false);
}

std::string QuoteOutput(const std::string& bytes)
{
    return QuoteWith(bytes, true);
}

std::string FormatValue(lua_State* L, int index)
{
    switch (lua_type(L, index)) {
    case LUA_TNIL:
        return "'!!!NIL!!!'";
    case LUA_TBOOLEAN:
        return lua_toboolean(L, index) ? "true" : "false";
    case LUA_TNUMBER: {
        char text[64];
        std::snprintf(text, sizeof text, "%.16g", double(lua_tonumber(L, index)));
        return text;
    }
    case LUA_TSTRING: {
        std::size_t length = 0;
        const char* bytes = lua_tolstring(L, index, &length);
        return Quote(std::string(bytes, length));
    }
    case LUA_TTABLE:
        return "'!!!TABLE!!!'";
    case LUA_TFUNCTION:
        return lua_iscfunction(L, index) ? "'!!!CFUNCTION!!!'" : "'!!!FUNCTION!!!'";
    case LUA_TUSERDATA:
        return "'!!!USERDATA!!!'";
    default:
        return std::string();
    }
}

std::string Utf16LeToUtf8(const char* bytes, std::size_t n)
{
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    std::string out;
    const std::size_t units = n / 2;
    for (std::size_t i = 0; i < units; ++i) {
        uint32_t unit = b[2 * i] | uint32_t(b[2 * i + 1]) << 8;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = b[2 * i + 2] | uint32_t(b[2 * i + 3]) << 8;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (!Utf8::Append(out, unit))
            Utf8::Append(out, 0xFFFD);
    }
    return out;
}

std::string FileKey(const std::string& name)
{
    std::string key = !name.empty() && name[0] == '@' ? name.substr(1) : name;
    for (char& c : key) {
        if (c == '\\')
            c = '/';
        else
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

std::string BaseName(const std::string& key)
{
    const std::size_t slash = key.rfind('/');
    return slash == std::string::npos ? key : key.substr(slash + 1);
}

} // namespace DebugReplyFormat
