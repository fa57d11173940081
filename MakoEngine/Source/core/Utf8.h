#pragma once
// UTF-8 text as the engine keeps it (player names, label texts, text box input): code
// points to bytes, and character counts and positions in byte strings, so that editing
// and line breaking never split a character. A byte that does not continue a character
// (anything but 10xxxxxx) starts one; a stray continuation byte belongs to the character
// before it. Counting is therefore total on any byte string, valid UTF-8 or not.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Utf8 {

// Whether the byte starts a character.
inline bool IsLead(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// Whether the code point can be written: below 0x110000 and not a surrogate.
bool IsEncodable(std::uint32_t codePoint);
// Appends the UTF-8 bytes of the code point; false (nothing appended) when it cannot be
// written.
bool Append(std::string& text, std::uint32_t codePoint);

// Number of characters of the text.
std::size_t Length(const std::string& text);
// Byte offset of the character with the index (the text's size at or past its end).
std::size_t Offset(const std::string& text, std::size_t index);
// Byte offset of the character after the one starting at or containing `offset`.
std::size_t Next(const std::string& text, std::size_t offset);
// The first `count` characters of the text.
std::string Prefix(const std::string& text, std::size_t count);
// The text when it has at most `longest` bytes, else its first whole characters within
// `longest` bytes followed by "...".
std::string Shortened(const std::string& text, std::size_t longest);

// The code point whose bytes start at offset, and in length how many bytes it takes; for a
// byte that does not start a well-formed character (a stray continuation byte, a sequence cut
// short, an overlong form, a surrogate, a code point past 0x10FFFF) kInvalid, with length 1.
constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;
std::uint32_t Decode(const std::string& text, std::size_t offset, std::size_t& length);

// The text with every byte that does not belong to a well-formed character (Decode's
// kInvalid) written as its escape "\xNN" in capitals: the result is valid UTF-8, and equal to
// text when text is.
std::string EscapeInvalid(const std::string& text);

} // namespace Utf8
