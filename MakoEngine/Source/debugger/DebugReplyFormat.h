#pragma once
// The texts the script debugger puts into its replies. Every reply is Lua source the
// debugging client runs, so every name, key, expression and value is written as a Lua
// literal that reads back to exactly the same bytes.
#include <lua.hpp>

#include <string>

namespace DebugReplyFormat {

// A double-quoted Lua string literal of any bytes: \a \b \t \n \v \f \r for the control
// characters 7 to 13, a backslash before '"' and '\', printable bytes as they are, any other
// byte as \ddd (three decimal digits).
std::string Quote(const std::string& bytes);

// The debug output echo's literal: like Quote, except a newline is written as a backslash
// followed by the real newline.
std::string QuoteOutput(const std::string& bytes);

// The value at `index` of L as the client shows it: nil, tables, functions and userdata
// as marker literals ('!!!NIL!!!', '!!!TABLE!!!', '!!!CFUNCTION!!!' for native functions,
// '!!!FUNCTION!!!', '!!!USERDATA!!!'), booleans as true or false, numbers with up to 16
// significant digits, strings quoted; light userdata and threads as the empty text.
std::string FormatValue(lua_State* L, int index);

// UTF-16LE text (an odd last byte is dropped) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(const char* bytes, std::size_t n);

// The key the debugger files a script under: a leading '@' dropped, lower-cased, every '\'
// turned into '/'.
std::string FileKey(const std::string& name);
// What follows the key's last '/' (all of it when there is none).
std::string BaseName(const std::string& key);

} // namespace DebugReplyFormat
