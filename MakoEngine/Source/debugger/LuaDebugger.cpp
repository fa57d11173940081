#include "debugger/LuaDebugger.h"

#include "core/Log.h"
#include "core/StopSignal.h"
#include "core/Utility.h"
#include "debugger/DebugReplyFormat.h"
#include "lua/ScriptDebugHandoff.h"
#include "luaplus/LuaCall.h"
#include "luaplus/LuaState.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

void RegisterLuaDebuggerCommands(lua_State* L);

namespace {
struct DebuggerGlobals
{
    lua_State* debugged = nullptr;
    std::string debuggedName = "Main";
    std::unique_ptr<LuaDebugger> active;
};

DebuggerGlobals& Globals()
{
    static DebuggerGlobals globals;
    return globals;
}

void HandleMessage(const std::string&, void* context, const std::string& text)
{
    static_cast<LuaDebugger*>(context)->RunCommand(text);
}
} // namespace

LuaDebugger* LuaDebugger::Get()
{
    return Globals().active.get();
}

LuaDebugger::LuaDebugger(lua_State* debugged, const std::string& debuggedName)
    : m_Server(CreateLuaNetworkServer()), m_State(LuaPlus::LuaState::Create(true)),
      m_Debugged(debugged), m_DebuggedName(debuggedName)
{
    RegisterLuaDebuggerCommands(m_State->GetCState());
}

LuaDebugger::~LuaDebugger()
{
    if (m_Debugged)
        lua_sethook(m_Debugged, nullptr, 0, 0);
    m_Server.reset();
    LuaPlus::LuaState::Destroy(m_State);
}

lua_State* LuaDebugger::GetCommandState() const
{
    return m_State->GetCState();
}

bool LuaDebugger::Start(const std::string& connectionFile, uint16_t port,
                        const std::string& listenHost)
{
    m_Server->SetCallback(CLIENT_NAME, this, &HandleMessage);
    return m_Server->Start(connectionFile, port, listenHost);
}

void LuaDebugger::Send(const std::string& text)
{
    m_Server->Send(CLIENT_NAME, text);
}

void LuaDebugger::SendLocation(const std::string& file, int line)
{
    Send("DebugSetLocation(" + DebugReplyFormat::Quote(m_DebuggedName) + ", " +
         DebugReplyFormat::Quote(file) + ", " + std::to_string(line) + ")");
}

void LuaDebugger::RunCommand(const std::string& text)
{
    lua_State* L = m_State->GetCState();
    std::string source = text;
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
        static_cast<unsigned char>(text[1]) == 0xFE)
        source = DebugReplyFormat::Utf16LeToUtf8(text.data() + 2, text.size() - 2);
    const int top = lua_gettop(L);
    if (luaL_loadbuffer(L, source.data(), source.size(), "Command") != 0) {
        LogAtLevel(3, "LuaDebugger: the command could not be compiled: %s\n",
                   lua_tostring(L, -1) ? lua_tostring(L, -1) : "");
        lua_settop(L, top);
        return;
    }
    LuaPlus::CallFailure failure;
    if (!LuaPlus::ProtectedCall(L, 0, 0, "Command", failure))
        LogAtLevel(3, "LuaDebugger: %s\n", failure.Describe().c_str());
    lua_settop(L, top);
}

void LuaDebugger::SendFile(const std::string& name, const char* bytes, std::size_t length)
{
    const std::string key = DebugReplyFormat::FileKey(name);
    auto found = std::find_if(m_Scripts.begin(), m_Scripts.end(),
                              [&](const LoadedScript& script) { return script.key == key; });
    if (found == m_Scripts.end())
        found = m_Scripts.insert(m_Scripts.end(), LoadedScript{key, std::string()});
    found->bytes.assign(bytes, length);
    Send("DebugSendFile(" + DebugReplyFormat::Quote(key) + ")");
    if (m_Server->IsConnected(CLIENT_NAME))
        Send(found->bytes);
}

void LuaDebugger::SetHook(bool on)
{
    if (!m_Debugged)
        return;
    if (on)
        lua_sethook(m_Debugged, &LuaDebugger::Hook, LUA_MASKCALL | LUA_MASKRET | LUA_MASKLINE, 0);
    else
        lua_sethook(m_Debugged, nullptr, 0, 0);
}

void LuaDebugger::SetBreakpoint(const std::string& file, int line, bool enabled)
{
    const std::string key = DebugReplyFormat::FileKey(file);
    DebugTrace("breakpoint: %s, %d, %d\n", key.c_str(), line, enabled ? 1 : 0);
    const std::pair<std::string, int> breakpoint(key, line);
    auto found = std::find(m_Breakpoints.begin(), m_Breakpoints.end(), breakpoint);
    if (enabled && found == m_Breakpoints.end())
        m_Breakpoints.push_back(breakpoint);
    else if (!enabled && found != m_Breakpoints.end())
        m_Breakpoints.erase(found);
}

void LuaDebugger::SetMode(StepMode mode)
{
    // Stepping over and out counts calls from where the break was; it starts afresh each
    // time a command lets the script go on.
    if ((mode == StepOver || mode == StepOut) && m_Mode != Break)
        return;
    if (mode != Break)
        m_Depth = 0;
    m_Mode = mode;
}

void LuaDebugger::Hook(lua_State* L, lua_Debug* ar)
{
    LuaDebugger* debugger = Get();
    if (!debugger)
        return;
    try {
        switch (ar->event) {
        case LUA_HOOKCALL:
            if (debugger->m_Mode == StepOver || debugger->m_Mode == StepOut)
                ++debugger->m_Depth;
            break;
        case LUA_HOOKRET:
        case LUA_HOOKTAILRET:
            // A tail call counts as a call, so the return of each frame it replaced
            // counts as a return.
            if (debugger->m_Mode == StepOver || debugger->m_Mode == StepOut) {
                if (debugger->m_Depth == 0)
                    debugger->m_Mode = Break;
                else
                    --debugger->m_Depth;
            }
            break;
        case LUA_HOOKLINE:
            debugger->HandleLineEvent(L, ar);
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        Log("LuaDebugger: the script hook failed: %s\n", e.what());
    }
}

void LuaDebugger::HandleLineEvent(lua_State* L, lua_Debug* ar)
{
    if (!lua_getinfo(L, "Sl", ar))
        return;
    const std::string key = DebugReplyFormat::FileKey(ar->source ? ar->source : "");
    const int line = ar->currentline - 1;
    if (line == m_Line && key == m_FileKey)
        return;
    m_FileKey = key;
    m_Line = line;
    const std::string base = DebugReplyFormat::BaseName(key);
    if (m_Mode == Running || m_Mode == StepOut || (m_Mode == StepOver && m_Depth > 0)) {
        if (!IsBreakpoint(key, line))
            return;
        m_Mode = Break;
    }
    lua_State* const previous = m_Stopped;
    m_Stopped = L;
    SendLocation(base, line);
    SendLocals();
    SendWatches();
    SendCallStack();
    if (m_Mode == StepOver && m_Depth <= 0)
        m_Mode = Break;
    WaitWhileStopped();
    m_Stopped = previous;
}

bool LuaDebugger::IsBreakpoint(const std::string& key, int line) const
{
    // A breakpoint names the script by its file name alone or by its whole path.
    const std::string base = DebugReplyFormat::BaseName(key);
    for (const auto& breakpoint : m_Breakpoints)
        if (breakpoint.second == line && (breakpoint.first == base || breakpoint.first == key))
            return true;
    return false;
}

void LuaDebugger::WaitWhileStopped()
{
    for (;;) {
        if (m_Mode == StepOver || m_Mode == StepOut || m_Mode == Running)
            return;
        if (m_Mode == StepInto) {
            m_Mode = Break;
            return;
        }
        // Nobody is left to let the script go on, or the program is asked to end: it goes
        // on by itself.
        if (!m_Server->IsConnected(CLIENT_NAME) || StopSignal::IsRequested()) {
            Log("LuaDebugger: the debugging client is gone or the game ends; the script runs "
                "on.\n");
            m_Mode = Running;
            m_Depth = 0;
            return;
        }
        m_Server->Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void LuaDebugger::DoBuffer(const std::string& code)
{
    if (!m_Debugged)
        return;
    lua_State* L = Inspected();
    const int top = lua_gettop(L);
    if (luaL_loadbuffer(L, code.data(), code.size(), "LuaDebugger") != 0) {
        LogAtLevel(2, "LuaDebugger: DebugDoBuffer could not compile: %s\n",
                   lua_tostring(L, -1) ? lua_tostring(L, -1) : "");
        lua_settop(L, top);
        return;
    }
    LuaPlus::CallFailure failure;
    if (!LuaPlus::ProtectedCall(L, 0, 0, "LuaDebugger", failure))
        LogAtLevel(2, "%s\n", failure.Describe().c_str());
    lua_settop(L, top);
}

void LuaDebugger::Output(const std::string& text)
{
    Send("DebugOutput(" + DebugReplyFormat::QuoteOutput(text) + ")");
}

void LuaDebugger::ReportFailure(const std::string& message)
{
    Log("LuaDebugger: %s\n", message.c_str());
    Output(message + "\n");
}

void LuaDebugger::ClientConnect()
{
    for (const LoadedScript& script : m_Scripts) {
        Send("DebugSendFile(" + DebugReplyFormat::Quote(script.key) + ")");
        Send(script.bytes);
    }
    if (!m_FileKey.empty())
        SendLocation(m_FileKey, m_Line);
    SendLocals();
    SendWatches();
    SendCallStack();
}

void SetDebuggedLuaState(const std::string& name, lua_State* state)
{
    Globals().debugged = state;
    Globals().debuggedName = name;
}

void InitLuaDebugger(const std::string& connectionFile, uint16_t port,
                     const std::string& listenHost)
{
    DebuggerGlobals& globals = Globals();
    if (globals.active || !globals.debugged)
        return;
    globals.active = std::make_unique<LuaDebugger>(globals.debugged, globals.debuggedName);
    globals.active->Start(connectionFile, port, listenHost);
    ScriptDebugHandoff::Install(&IsLuaDebuggerActive, &LuaDebuggerSendFile);
}

void UpdateLuaDebugger()
{
    if (LuaDebugger* debugger = LuaDebugger::Get())
        debugger->Update();
}

bool IsLuaDebuggerActive()
{
    return LuaDebugger::Get() != nullptr;
}

uint16_t GetLuaDebuggerPort()
{
    LuaDebugger* debugger = LuaDebugger::Get();
    return debugger ? debugger->GetServer().GetListeningPort() : 0;
}

void LuaDebuggerSendFile(const std::string& name, const char* bytes, std::size_t length)
{
    if (LuaDebugger* debugger = LuaDebugger::Get())
        debugger->SendFile(name, bytes, length);
}

void ShutdownLuaDebugger()
{
    ScriptDebugHandoff::Install(nullptr, nullptr);
    Globals().active.reset();
}
