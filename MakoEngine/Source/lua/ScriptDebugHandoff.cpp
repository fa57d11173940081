#include "lua/ScriptDebugHandoff.h"

#include <utility>

namespace {
struct Hooks
{
    ScriptDebugHandoff::IsActiveHook isActive;
    ScriptDebugHandoff::SendFileHook sendFile;
};

Hooks& CurrentHooks()
{
    static Hooks hooks;
    return hooks;
}
} // namespace

void ScriptDebugHandoff::Install(IsActiveHook isActive, SendFileHook sendFile)
{
    CurrentHooks().isActive = std::move(isActive);
    CurrentHooks().sendFile = std::move(sendFile);
}

bool ScriptDebugHandoff::IsActive()
{
    const Hooks& hooks = CurrentHooks();
    return hooks.isActive && hooks.sendFile && hooks.isActive();
}

void ScriptDebugHandoff::SendFile(const std::string& name, const char* text, std::size_t length)
{
    const Hooks& hooks = CurrentHooks();
    if (hooks.sendFile)
        hooks.sendFile(name, text, length);
}
