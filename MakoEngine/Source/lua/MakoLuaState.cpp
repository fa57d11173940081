#include "lua/MakoLuaState.h"

#include "core/Log.h"
#include "lua/LuaFunctionList.h"
#include "lua/ScriptDebugHandoff.h"
#include "lua/ScriptSource.h"

#include <boost/format.hpp>

#include <algorithm>
#include <exception>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace {

// Helper functions every script may rely on. OpenOutputFile records the previous output
// only once the new file is open, so a file that cannot be opened leaves no stale
// _lastFile behind to block every later OpenOutputFile.
const char kStartupChunk[] = R"lua(
function Serialize(o, file, on_open)
    if file == nil then file = "" end
    if on_open == nil then on_open = "" end
    Do_Serialize(o, file, on_open)
end

function OpenOutputFile(fileName)
    assert(_lastFile == nil)
    local previous = io.output()
    io.output(fileName)
    _lastFile = previous
end

function CloseOutputFile()
    assert(_lastFile ~= nil)
    io.output():close()
    io.output(_lastFile)
    _lastFile = nil
end

function SerializeToStringHelper(str)
    _serializeTmpStr = _serializeTmpStr .. str
end

Anim = {}
function Anim.Delay(milliseconds)
    assert(type(milliseconds) == "number")
    return { "delay", milliseconds }
end
)lua";

// How script text is named in the log: its first line, shortened.
std::string NameOfText(const std::string& text)
{
    const std::string::size_type kLongest = 40;
    std::string::size_type end = std::min(text.find('\n'), kLongest);
    std::string name = "script text \"" + text.substr(0, end);
    return name + (end < text.size() ? "...\"" : "\"");
}

// Calls the script global `name` with the given arguments; a script error becomes a
// ScriptError with the script's text (a native exception that caused it comes back as
// itself).
template <typename... Args>
void CallScriptGlobal(LuaState* state, const char* name, const Args&... args)
{
    try {
        state->GetGlobal(name).Call(args...);
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

} // namespace

namespace {
LuaState* gGlobalState = nullptr;
}

LuaState* GetGlobalLuaState()
{
    if (!gGlobalState) {
        gGlobalState = LuaState::Create(true);
        gGlobalState->DoString("math.randomseed(os.date('%d%H%M%S'))");
    }
    return gGlobalState;
}

void DestroyGlobalLuaState()
{
    LuaState::Destroy(gGlobalState);
    gGlobalState = nullptr;
}

const std::string& GetLuaStartupChunk()
{
    static const std::string chunk(kStartupChunk);
    return chunk;
}

void InitLuaState(LuaState* state)
{
    const std::string& chunk = GetLuaStartupChunk();
    try {
        state->DoBuffer(chunk.data(), chunk.size(), "=StartupChunk");
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
    RegisterLuaFunctions(state);
}

void RegisterLuaFunctions(LuaState* state)
{
    RegisterLuaFunctions(state->GetCState());
}

void OpenOutputFile(const std::string& fileName, LuaState* state)
{
    CallScriptGlobal(state, "OpenOutputFile", fileName);
}

void CloseOutputFile(LuaState* state)
{
    CallScriptGlobal(state, "CloseOutputFile");
}

namespace MakoLuaState {

bool Call(lua_State* L, int nArgs, int nResults, const std::string& what,
          LuaPlus::CallFailure& failure)
{
    if (LuaPlus::ProtectedCall(L, nArgs, nResults, what.c_str(), failure))
        return true;
    Log("Lua error in %s\n", failure.Describe().c_str());
    if (failure.original)
        std::rethrow_exception(failure.original);
    return false;
}

void DoResourceFile(LuaState* state, const std::string& resourceName)
{
    LogAtLevel(2, "Loading script file: %s\n", resourceName.c_str());
    std::string script = ScriptSource::ReadOwn(resourceName);
    if (ScriptDebugHandoff::IsActive())
        ScriptDebugHandoff::SendFile(resourceName, script.data(), script.size());

    lua_State* L = state->GetCState();
    int top = lua_gettop(L);
    if (luaL_loadbuffer(L, script.data(), script.size(), resourceName.c_str()) != 0) {
        std::string error = LuaPlus::GetErrorText(L);
        lua_settop(L, top);
        MAKO_THROW(ScriptError, boost::str(boost::format("Could not compile Lua resource file:\n"
                                                         "file = %1%\nerror = %2%") %
                                           resourceName % error));
    }

    LuaPlus::CallFailure failure;
    if (Call(L, 0, 0, "script resource " + resourceName, failure))
        return;
    if (failure.hasText)
        MAKO_THROW(ScriptError, boost::str(boost::format("Could not execute Lua resource file\n"
                                                         "file = %1%\nerror = %2%") %
                                           resourceName % failure.text));
    MAKO_THROW(ScriptError, boost::str(boost::format("Could not execute Lua resource file\n"
                                                     "file = %1%") %
                                       resourceName));
}

void LoadString(LuaState* state, const std::string& text, int nArgs, int nResults)
{
    lua_State* L = state->GetCState();
    if (luaL_loadbuffer(L, text.data(), text.size(), nullptr) != 0) {
        std::string error;
        bool hasText = lua_isstring(L, -1) != 0;
        if (hasText) {
            std::size_t length = 0;
            const char* data = lua_tolstring(L, -1, &length);
            error.assign(data, length);
        }
        lua_pop(L, 1 + nArgs); // the error value and the arguments that were never passed
        if (hasText)
            MAKO_THROW(ScriptError, boost::str(boost::format("Error in LoadString: %1%") % error));
        MAKO_THROW(ScriptError, "Unknown error in LoadString");
    }
    lua_insert(L, -(nArgs + 1)); // the chunk goes below its arguments

    LuaPlus::CallFailure failure;
    if (Call(L, nArgs, nResults, NameOfText(text), failure))
        return;
    if (failure.hasText)
        MAKO_THROW(ScriptError, boost::str(boost::format("Error in PCall: %1%") % failure.text));
    MAKO_THROW(ScriptError, "Unknown error in PCall");
}

} // namespace MakoLuaState
