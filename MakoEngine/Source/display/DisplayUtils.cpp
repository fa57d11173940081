#include "display/DisplayUtils.h"

#include "core/Exception.h"

#include <SDL.h>

#include <boost/format.hpp>

#include <cerrno>
#include <cstdlib>
#include <cstring>

// Last: it brings the window system's headers and their macros.
#include <SDL_syswm.h>

namespace {

bool gCallerDriverRead = false;
std::string gCallerDriver;
std::string gVideoError;
// The driver name InitSDLVideo was asked for ("directx" or "windib") and the SDL driver it
// started under that name; both "" while video runs for someone else or not at all.
std::string gStartedName;
std::string gStartedDriver;

// Stands for the window when the driver has none to name (headless drivers).
char gHeadlessWindow;

HWND WindowOfDriver()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    info.version.major = 1;
    info.version.minor = 2;
    info.version.patch = 9;
    int result = SDL_GetWMInfo(&info);
    if (result == 0) // the driver has no window to report
        return reinterpret_cast<HWND>(&gHeadlessWindow);
    if (result != 1)
        return nullptr;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11 && info.info.x11.wmwindow)
        return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(info.info.x11.wmwindow));
#endif
    return reinterpret_cast<HWND>(&gHeadlessWindow);
}

} // namespace

void RememberCallerVideoDriver()
{
    if (gCallerDriverRead)
        return;
    gCallerDriverRead = true;
    const char* value = std::getenv("SDL_VIDEODRIVER");
    gCallerDriver = value ? value : "";
}

const std::string& CallerVideoDriver()
{
    RememberCallerVideoDriver();
    return gCallerDriver;
}

bool InitSDLVideo(const std::string& name, HWND* window, WNDPROC* procedure)
{
    // Checked before anything starts, so a wrong name leaves SDL video as it was.
    MAKO_ASSERT_MSG(name == "windib" || name == "directx",
                    boost::str(boost::format("Could not retrieve the window procedure using "
                                             "the SDL video driver, \"%1%\".") %
                               name));
    const std::string& driver = CallerVideoDriver();
    int putResult =
        driver.empty() ? unsetenv("SDL_VIDEODRIVER") : setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    if (putResult != 0) {
        gVideoError = boost::str(
            boost::format("SetEnvironmentVariable(\"SDL_VIDEODRIVER\", \"%1%\") failed: %2%") %
            name % std::strerror(errno));
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        gVideoError = boost::str(boost::format("SDL_InitSubSystem(SDL_INIT_VIDEO) failed: %1%") %
                                 SDL_GetError());
        return false;
    }
    HWND handle = WindowOfDriver();
    if (!handle) {
        gVideoError =
            boost::str(boost::format("Could not retrieve window handle: %1%") % SDL_GetError());
        return false;
    }
    gStartedName = name;
    gStartedDriver = CurrentSDLVideoDriverName();
    if (window)
        *window = handle;
    if (procedure)
        *procedure = &SDLWindowProc;
    return true;
}

void ShutdownSDLVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    gStartedName.clear();
    gStartedDriver.clear();
}

bool IsCurrentSDLVideoDriver(const std::string& name)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || gStartedDriver.empty())
        return false;
    if (name != gStartedName)
        return false;
    return CurrentSDLVideoDriverName() == gStartedDriver;
}

const std::string& GetSDLVideoError()
{
    return gVideoError;
}

std::string CurrentSDLVideoDriverName()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return std::string();
    char buffer[512];
    if (!SDL_VideoDriverName(buffer, sizeof buffer))
        return std::string();
    return buffer;
}

bool IsTextDisplay()
{
    return CurrentSDLVideoDriverName() == "caca";
}
