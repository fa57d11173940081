#include "display/PointerGrab.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

bool gRefuse = false;
int gRefusals = 0;

} // namespace

namespace PointerGrab {

bool TryGrab()
{
    if (gRefuse) {
        ++gRefusals;
        return false;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0 || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return true;
    // The very request SDL makes, so that SDL's own grab afterwards is granted at once.
    info.info.x11.lock_func();
    const int result =
        XGrabPointer(info.info.x11.display, info.info.x11.window, True, 0, GrabModeAsync,
                     GrabModeAsync, info.info.x11.window, None, CurrentTime);
    info.info.x11.unlock_func();
    return result == GrabSuccess;
}

void RefuseForTests(bool refuse)
{
    gRefuse = refuse;
    gRefusals = 0;
}

int RefusalsForTests()
{
    return gRefusals;
}

} // namespace PointerGrab
