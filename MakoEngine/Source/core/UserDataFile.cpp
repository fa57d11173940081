#include "core/UserDataFile.h"

#include "lua/MakoLuaState.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

const int kUserFileInstructionBudget = 10000000;

namespace {

void StopRunawayFile(lua_State* L, lua_Debug*)
{
    luaL_error(L, "the file did not finish within %d instructions", kUserFileInstructionBudget);
}

// While it lives, a script run on the state fails once it has run the budget's
// instructions. The hook that was set before (the script debugger's) comes back after.
class InstructionBudget
{
public:
    InstructionBudget(lua_State* L, int instructions)
        : m_L(L), m_Hook(lua_gethook(L)), m_Mask(lua_gethookmask(L)), m_Count(lua_gethookcount(L))
    {
        lua_sethook(L, StopRunawayFile, LUA_MASKCOUNT, instructions);
    }
    ~InstructionBudget() { lua_sethook(m_L, m_Hook, m_Mask, m_Count); }
    InstructionBudget(const InstructionBudget&) = delete;
    InstructionBudget& operator=(const InstructionBudget&) = delete;

private:
    lua_State* m_L;
    lua_Hook m_Hook;
    int m_Mask;
    int m_Count;
};

} // namespace

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        errno = EIO;
        return false;
    }
    text = buffer.str();
    return true;
}

int RunUserDataFile(LuaPlus::LuaState* state, const std::string& path,
                    const LuaPlus::LuaObject& environment, const std::string& what,
                    std::string& error)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        int cause = errno;
        error = std::strerror(cause);
        errno = cause;
        return LUA_ERRFILE;
    }
    // Precompiled chunks can break the interpreter itself: user files are text only.
    if (!text.empty() && text[0] == LUA_SIGNATURE[0]) {
        error = "the file is a precompiled chunk, not text";
        return LUA_ERRSYNTAX;
    }

    lua_State* L = state->GetCState();
    int top = lua_gettop(L);
    std::string chunkName = "@" + path;
    int status = luaL_loadbuffer(L, text.data(), text.size(), chunkName.c_str());
    if (status != 0) {
        error = LuaPlus::GetErrorText(L);
        lua_settop(L, top);
        return status;
    }
    environment.Push(L);
    lua_setfenv(L, -2);

    InstructionBudget budget(L, kUserFileInstructionBudget);
    LuaPlus::CallFailure failure;
    if (!MakoLuaState::Call(L, 0, 0, what, failure)) {
        error = failure.Message();
        lua_settop(L, top);
        return failure.status != 0 ? failure.status : LUA_ERRRUN;
    }
    lua_settop(L, top);
    return 0;
}
