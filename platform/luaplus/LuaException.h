#pragma once
// The error the Lua wrapper raises: a script error that reached C++ code through the
// wrapper (compile or run failure, a failed table access or call), or a misuse of the
// wrapper itself (an unset object, a value of the wrong type). The text is Lua's own
// error message where Lua produced one.
#include <exception>
#include <string>

namespace LuaPlus {

class LuaException : public std::exception
{
public:
    explicit LuaException(const std::string& message) : m_Message(message) {}
    const char* what() const noexcept override { return m_Message.c_str(); }
    const std::string& GetMessage() const { return m_Message; }

private:
    std::string m_Message;
};

} // namespace LuaPlus
