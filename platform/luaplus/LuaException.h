#pragma once
// The error the Lua wrapper raises: a script error that reached C++ code through the
// wrapper (compile or run failure, a failed table access or call), or a misuse of the
// wrapper itself (an unset object, a value of the wrong type). The text is Lua's own
// error message where Lua produced one; a script error also carries the traceback of where
// it was raised (empty otherwise), kept out of the text so the text stays exactly Lua's.
#include <exception>
#include <string>

namespace LuaPlus {

class LuaException : public std::exception
{
public:
    explicit LuaException(const std::string& message, const std::string& traceback = "")
        : m_Message(message), m_Traceback(traceback)
    {
    }
    const char* what() const noexcept override { return m_Message.c_str(); }
    const std::string& GetMessage() const { return m_Message; }
    const std::string& GetTraceback() const { return m_Traceback; }

private:
    std::string m_Message;
    std::string m_Traceback;
};

} // namespace LuaPlus
