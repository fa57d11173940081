#include "core/Shell.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "lua/MakoLuaState.h"
#include "luaplus/LuaErrorStash.h"

#include <cstdio>

namespace {
const char* const kBlanks = " \t\r\n\v\f";
const char kBackspace = 8;
const char kDelete = 127;

bool EndsInBackslash(const std::string& line)
{
    std::string::size_type last = line.find_last_not_of(kBlanks);
    return last != std::string::npos && line[last] == '\\';
}
} // namespace

Shell::Shell(LuaPlus::LuaState* state, int inputFd)
    : m_LuaState(state), m_Input(inputFd >= 0 ? new ConsoleInput(inputFd) : nullptr)
{
}

Shell::~Shell() = default;

void Shell::Update()
{
    if (!m_Input)
        return;
    std::string bytes;
    m_Input->ReadAvailable(bytes);
    HandleInput(bytes);
    if (m_Input->AtEnd()) {
        if (m_Line.find_first_not_of(kBlanks) != std::string::npos)
            HandleKey('\n');
        m_Line.clear(); // an unfinished continuation has nothing left to join
        m_Input.reset();
    }
}

void Shell::HandleInput(const std::string& bytes)
{
    for (char key : bytes)
        HandleKey(key);
}

void Shell::HandleKey(char key)
{
    switch (key) {
    case '\r':
        break;
    case kBackspace:
    case kDelete:
        if (!m_Line.empty())
            m_Line.pop_back();
        break;
    case '\n':
        EndLine();
        break;
    default:
        m_Line += key;
        break;
    }
}

void Shell::EndLine()
{
    if (EndsInBackslash(m_Line)) {
        TrimLine();
        return;
    }
    // A line that fails is the typist's, said in the log; the program's own mistakes pass on
    // (core/ObjectBoundary).
    std::string why;
    if (!ObjectBoundary::Contain([this] { EvaluateLine(); }, &why))
        Log("%s\n", why.c_str());
    // What the line printed shows at once, also when the output is a pipe or a file.
    std::fflush(stdout);
    m_Line.clear();
}

void Shell::TrimLine()
{
    MAKO_ASSERT(EndsInBackslash(m_Line));
    m_Line.erase(m_Line.find_last_not_of(kBlanks));
    m_Line += ' ';
}

void Shell::EvaluateLine()
{
    const int top = m_LuaState->GetTop();
    try {
        MakoLuaState::LoadString(m_LuaState, m_Line, 0, LUA_MULTRET);
        int results = m_LuaState->GetTop() - top;
        if (results > 0) {
            lua_State* L = m_LuaState->GetCState();
            lua_getglobal(L, "print");
            lua_insert(L, top + 1);
            LuaPlus::PCallOrThrow(L, results, 0);
        }
    } catch (...) {
        m_LuaState->SetTop(top); // leave the stack as it was, then report the error
        throw;
    }
    MAKO_ASSERT(m_LuaState->GetTop() == top);
}
