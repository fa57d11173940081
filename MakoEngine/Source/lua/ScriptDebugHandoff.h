#pragma once
// The script runner's hand-off to the remote script debugger: before a script resource is
// compiled, an active debugger receives its name and text, so that it holds every script
// it may step through. The debugger installs its hooks when its server starts and removes
// them when it stops; until then nothing is active and nothing is sent.
#include <cstddef>
#include <functional>
#include <string>

class ScriptDebugHandoff
{
public:
    using IsActiveHook = std::function<bool()>;
    using SendFileHook =
        std::function<void(const std::string& name, const char* text, std::size_t length)>;

    // Installs both hooks; empty hooks uninstall.
    static void Install(IsActiveHook isActive, SendFileHook sendFile);

    // True while a debugger is installed and says it is active.
    static bool IsActive();
    // Hands a script to the debugger; nothing when none is installed.
    static void SendFile(const std::string& name, const char* text, std::size_t length);
};
