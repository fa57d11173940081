#include "display/DisplayBackend.h"

#include "core/Exception.h"
#include "core/Log.h"

bool DisplayBackend::HandleFullScreenWindowMessage(const char* className, HWND window,
                                                   unsigned message, WPARAM wParam, bool fullscreen,
                                                   std::unique_ptr<DEVMODE>& saved)
{
    if (!fullscreen)
        return false;
    const std::string function = std::string(className) + "::HandleWindowsMessage";
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED) {
        Log("%s: Attempting to restore desktop's resolution.\n", function.c_str());
        if (saved)
            throw Exception(__FILE__, __LINE__, function, MakoBuildDate(), MakoBuildTime(),
                            "Assertion failed: (m_SavedFullScreenDisplaySettings == 0)");
        std::unique_ptr<DEVMODE> mode(new DEVMODE());
        mode->dmSize = 156;
        mode->dmDriverExtra = 0;
        if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, mode.get()))
            ThrowVerifyFailed(__FILE__, __LINE__, function, MakoBuildDate(), MakoBuildTime(),
                              "EnumDisplaySettings(NULL, ENUM_CURRENT_SETTINGS, "
                              "m_SavedFullScreenDisplaySettings)");
        saved = std::move(mode);
        ChangeDisplaySettingsA(nullptr, 0);
        return false;
    }
    if (message == WM_SIZE && wParam == SIZE_RESTORED && saved) {
        Log("%s: Attempting to switch back to fullscreen app (from desktop.)\n", function.c_str());
        ChangeDisplaySettingsA(saved.get(), CDS_FULLSCREEN);
        saved.reset();
        return true;
    }
    if (message == WM_ACTIVATE && wParam == WA_INACTIVE) {
        Log("%s: Attempting to minimize fullscreen window.\n", function.c_str());
        ShowWindow(window, SW_MINIMIZE);
    }
    return false;
}
