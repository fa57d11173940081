#include "widgets/WidgetInput.h"

#include "core/AppHost.h"
#include "widgets/Button.h"

namespace {

// Set once per pass before the event phase; a button delivers a click only while it is
// set and clears it, so at most one click reaches the game per pass.
bool gButtonClickAllowed = true;

} // namespace

bool& ButtonClickLatch()
{
    return gButtonClickAllowed;
}

namespace WidgetInput {

Point<int> GetPointerPosition()
{
    int x = -1;
    int y = -1;
    if (AppHost* host = GetAppHost())
        host->GetMousePosition(x, y);
    else if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetMouseState(&x, &y);
    return Point<int>(x, y);
}

bool IsWheelStep(const Event& event)
{
    return event.button.button == SDL_BUTTON_WHEELUP || event.button.button == SDL_BUTTON_WHEELDOWN;
}

bool IsAltOnly(SDLMod modifiers)
{
    const unsigned mods =
        static_cast<unsigned>(modifiers) & ~static_cast<unsigned>(KMOD_NUM | KMOD_CAPS);
    return mods == KMOD_LALT || mods == KMOD_RALT;
}

bool AreKeyTipsArmed()
{
    AppHost* host = GetAppHost();
    return host && host->AreShortcutKeysArmed();
}

} // namespace WidgetInput
