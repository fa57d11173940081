#pragma once
// The remote script debugger. A debugging client attached through the debugger's server
// (debugger/LuaNetworkServer.h) sends commands as Lua source; they run in the debugger's
// own Lua state, where the Debug... commands are functions. With the hook on, the debugged
// state (the application's main state) stops at breakpoints and steps; while it is
// stopped the game waits inside the script, polling the network, until the client lets it
// go on or goes away. Replies are Lua source for the client, every text in them quoted.
// Everything runs on the game's thread.
#include "debugger/LuaNetworkServer.h"

#include <lua.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace LuaPlus {
class LuaState;
}

class LuaDebugger
{
public:
    // The client all traffic goes to and comes from.
    static constexpr const char* CLIENT_NAME = "LuaDebugger";
    // The port the debugger listens on unless the start-up properties name another.
    static constexpr uint16_t DEFAULT_PORT = 3536;

    enum StepMode { StepOver = 0, StepInto = 1, StepOut = 2, Running = 3, Break = 4 };

    // The active debugger, or null.
    static LuaDebugger* Get();

    LuaDebugger(lua_State* debugged, const std::string& debuggedName);
    ~LuaDebugger();
    LuaDebugger(const LuaDebugger&) = delete;
    LuaDebugger& operator=(const LuaDebugger&) = delete;

    bool Start(const std::string& connectionFile, uint16_t port, const std::string& listenHost);
    void Update() { m_Server->Poll(); }
    LuaNetworkServer& GetServer() MAKO_LIFETIMEBOUND { return *m_Server; }
    lua_State* GetCommandState() const;
    StepMode GetMode() const { return m_Mode; }
    int GetDepth() const { return m_Depth; }

    // Runs one command text from the client (UTF-16LE after the bytes FF FE, else 8-bit).
    // Failures are logged, never reported to the client.
    void RunCommand(const std::string& text);
    // Keeps a copy of a script the game is about to run and sends it to the client.
    void SendFile(const std::string& name, const char* bytes, std::size_t length);

    // --- commands (the Lua functions call these) ---
    void SetHook(bool on);
    void SetBreakpoint(const std::string& file, int line, bool enabled);
    void SetMode(StepMode mode);
    void SetVariable(const std::string& path, lua_State* from, int valueIndex);
    void AddWatch(int position, const std::string& expression);
    void RemoveWatch(int position);
    void AddLocalExpand(const std::string& path);
    void RemoveLocalExpand(const std::string& path);
    void AddWatchExpand(int position, const std::string& path);
    void RemoveWatchExpand(int position, const std::string& path);
    void DoBuffer(const std::string& code);
    void Output(const std::string& text);
    void ClientConnect();

    // --- replies ---
    void SendLocals();
    void SendWatches();
    void SendCallStack();

    // Called by Lua for call, return and line events of the debugged state.
    static void Hook(lua_State* L, lua_Debug* ar);

private:
    struct LoadedScript
    {
        std::string key;
        std::string bytes;
    };
    struct WatchEntry
    {
        std::string expression;
        std::vector<std::string> expand;
    };

    void Send(const std::string& text);
    void SendLocation(const std::string& file, int line);
    void HandleLineEvent(lua_State* L, lua_Debug* ar);
    bool IsBreakpoint(const std::string& key, int line) const;
    void WaitWhileStopped();
    // The thread whose stack is inspected: the stopped one, else the debugged state.
    lua_State* Inspected() const { return m_Stopped ? m_Stopped : m_Debugged; }
    // Pushes the value the dotted path names onto L (nil when there is none).
    void EvaluatePath(lua_State* L, const std::string& path);
    // Appends the entries of the table at tableIndex of L, as the expand list asks.
    void AppendExpandedTable(lua_State* L, std::string& out, std::vector<std::string>& expand,
                             const std::string& name, int tableIndex, int level);
    void AppendEntry(lua_State* L, std::string& out, std::vector<std::string>& expand,
                     const std::string& name, int valueIndex);
    bool AssignPath(lua_State* L, const std::vector<std::string>& segments, int valueIndex,
                    std::string& error);
    void ReportFailure(const std::string& message);

    std::unique_ptr<LuaNetworkServer> m_Server;
    LuaPlus::LuaState* m_State = nullptr;
    lua_State* m_Debugged = nullptr;
    lua_State* m_Stopped = nullptr;
    std::string m_DebuggedName;
    StepMode m_Mode = Running;
    int m_Depth = 0;
    std::string m_FileKey;
    int m_Line = 0;
    std::vector<std::pair<std::string, int>> m_Breakpoints;
    std::vector<LoadedScript> m_Scripts;
    std::vector<std::string> m_LocalExpand;
    std::vector<WatchEntry> m_Watches;
};

// The engine's entry points.

// Records the state to debug; the name stands for it in location replies.
void SetDebuggedLuaState(const std::string& name, lua_State* state);
// Starts the debugger: its server listens on listenHost (loopback unless the configuration
// asks for more) at port and reattaches the clients of the connection list file.
// Nothing happens when it is active already or no state is recorded.
void InitLuaDebugger(const std::string& connectionFile, uint16_t port = LuaDebugger::DEFAULT_PORT,
                     const std::string& listenHost = LuaNetworkServer::DEFAULT_LISTEN_HOST);
// Once per frame: accepts clients and runs the commands that arrived.
void UpdateLuaDebugger();
bool IsLuaDebuggerActive();
// The port the active debugger's server listens on; 0 when it is inactive or not listening.
uint16_t GetLuaDebuggerPort();
void LuaDebuggerSendFile(const std::string& name, const char* bytes, std::size_t length);
// Stops the debugger: removes its hook from the debugged state, closes the server.
void ShutdownLuaDebugger();
