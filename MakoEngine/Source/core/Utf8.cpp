#include "core/Utf8.h"

#include <algorithm>

namespace Utf8 {

bool IsEncodable(std::uint32_t cp)
{
    return cp < 0x110000u && (cp < 0xD800u || cp > 0xDFFFu);
}

bool Append(std::string& text, std::uint32_t cp)
{
    if (!IsEncodable(cp))
        return false;
    if (cp < 0x80u) {
        text += static_cast<char>(cp);
    } else if (cp < 0x800u) {
        text += static_cast<char>(0xC0u | (cp >> 6));
        text += static_cast<char>(0x80u | (cp & 0x3Fu));
    } else if (cp < 0x10000u) {
        text += static_cast<char>(0xE0u | (cp >> 12));
        text += static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu));
        text += static_cast<char>(0x80u | (cp & 0x3Fu));
    } else {
        text += static_cast<char>(0xF0u | (cp >> 18));
        text += static_cast<char>(0x80u | ((cp >> 12) & 0x3Fu));
        text += static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu));
        text += static_cast<char>(0x80u | (cp & 0x3Fu));
    }
    return true;
}

std::size_t Length(const std::string& text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        count += IsLead(text[i]) || i == 0;
    return count;
}

std::size_t Offset(const std::string& text, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index && offset < text.size(); ++i)
        offset = Next(text, offset);
    return offset;
}

std::size_t Next(const std::string& text, std::size_t offset)
{
    if (offset >= text.size())
        return text.size();
    ++offset;
    while (offset < text.size() && !IsLead(text[offset]))
        ++offset;
    return offset;
}

std::string Prefix(const std::string& text, std::size_t count)
{
    return text.substr(0, Offset(text, count));
}

std::string Shortened(const std::string& text, std::size_t longest)
{
    if (text.size() <= longest)
        return text;
    std::size_t kept = longest;
    for (int back = 0; back < 3 && kept > 0 && !IsLead(text[kept]); ++back)
        --kept;
    return text.substr(0, kept) + "...";
}

std::uint32_t Decode(const std::string& text, std::size_t offset, std::size_t& length)
{
    length = 1;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(offset);
    if (lead < 0x80u)
        return lead;
    std::size_t count = 0;
    std::uint32_t cp = 0;
    if ((lead & 0xE0u) == 0xC0u)
        count = 2, cp = lead & 0x1Fu;
    else if ((lead & 0xF0u) == 0xE0u)
        count = 3, cp = lead & 0x0Fu;
    else if ((lead & 0xF8u) == 0xF0u)
        count = 4, cp = lead & 0x07u;
    else
        return kInvalid;
    if (offset + count > text.size())
        return kInvalid;
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(offset + i) & 0xC0u) != 0x80u)
            return kInvalid;
        cp = (cp << 6) | (byte(offset + i) & 0x3Fu);
    }
    // The shortest form only: a longer one could hide a character behind another.
    static const std::uint32_t kLeast[] = {0, 0, 0x80u, 0x800u, 0x10000u};
    if (cp < kLeast[count] || !IsEncodable(cp))
        return kInvalid;
    length = count;
    return cp;
}

std::string EscapeInvalid(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; }))
        return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 1;
        if (Decode(text, at, length) == kInvalid) {
            const auto byte = static_cast<unsigned char>(text[at]);
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xFu];
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

} // namespace Utf8
