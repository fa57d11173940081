#pragma once
// The engine's one script state and the ways the engine runs script text in it.
//
// The global state is created on first request (GetGlobalLuaState) and lives until the
// process ends. InitLuaState gives it the start-up chunk of helper functions every script
// relies on and publishes the native function list (lua/LuaFunctionList.h).
//
// Error promise: when a script fails because a native function threw an Exception, the
// C++ code that ran the script (DoResourceFile, LoadString, LuaObject calls) catches that
// same Exception again (its type and message); other script errors are reported with the
// texts below. Every failure of a script the engine runs (MakoLuaState::Call) is also
// logged, naming what was run, with the traceback of where the error was raised.
#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

#include <string>

// The global state: created (standard libraries opened, math.random seeded from the
// day of month, hour, minute and second) on the first call; never destroyed.
LuaPlus::LuaState* GetGlobalLuaState();
// Closes the global state. Only the program entry calls it, last, after every object
// that holds script values is gone; a later GetGlobalLuaState makes a new state.
void DestroyGlobalLuaState();

// Runs the start-up chunk (Serialize, OpenOutputFile, CloseOutputFile,
// SerializeToStringHelper, Anim.Delay) in the state, then RegisterLuaFunctions.
void InitLuaState(LuaPlus::LuaState* state);

// Publishes every native function of the list as a global of the state, in list order.
void RegisterLuaFunctions(LuaPlus::LuaState* state);

// The text of the start-up chunk that InitLuaState runs.
const std::string& GetLuaStartupChunk();

// Call the script globals OpenOutputFile(fileName) and CloseOutputFile(): while open, the
// script default output (io.write) goes to the file. Opening twice or closing without an
// open file raises the script's own assertion error.
void OpenOutputFile(const std::string& fileName, LuaPlus::LuaState* state);
void CloseOutputFile(LuaPlus::LuaState* state);

namespace MakoLuaState {

// The engine's one way into Lua. Calls the function lying below the nArgs values on top of
// L's stack with them (LuaPlus::ProtectedCall, with a traceback handler), leaving nResults
// results. `what` names what is being called (the script, resource or file), for the log.
// On failure the function, arguments and error value are gone, "Lua error in <what>: <error>"
// is logged with the traceback of where the error was raised, and then a native exception
// that caused the error is rethrown as itself; otherwise `failure` describes the error (its
// text unchanged, for the caller's own message) and false is returned.
bool Call(lua_State* L, int nArgs, int nResults, const std::string& what,
          LuaPlus::CallFailure& failure);

// Loads the script resource of that name (lua/ScriptSource.h) and runs it with no
// arguments and no results; the resource name is the chunk name. Logs
// "Loading script file: <name>" at level 2. A missing resource throws
// ResourceNotFoundException; compile and run errors throw ScriptError, "Could not compile
// Lua resource file:\nfile = <name>\nerror = <error>" and "Could not execute Lua resource
// file\nfile = <name>\nerror = <error>" (without the error line when the failure has no
// text). The stack is left as it was found. Only the program's own scripts run: a file of
// the asset pack under a script's name throws ScriptError (ScriptSource::ReadOwn).
void DoResourceFile(LuaPlus::LuaState* state, const std::string& resourceName);

// Compiles the text (no chunk name) and calls it with nArgs arguments taken from the top
// of the stack, leaving nResults results there (LUA_MULTRET for all). Failures throw
// ScriptError ("Error in LoadString: ...", "Error in PCall: ..." and their "Unknown error"
// forms); the arguments and the error value are then gone from the stack.
void LoadString(LuaPlus::LuaState* state, const std::string& text, int nArgs = 0, int nResults = 0);

} // namespace MakoLuaState
