#include "widgets/WidgetInput.h"

#include "app/Application.h"

namespace WidgetInput {

Point<int> GetPointerPosition()
{
    int x = -1;
    int y = -1;
    if (Application* app = GetApp())
        app->GetMousePosition(x, y);
    else if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_GetMouseState(&x, &y);
    return Point<int>(x, y);
}

bool IsAltOnly(SDLMod modifiers)
{
    const unsigned mods =
        static_cast<unsigned>(modifiers) & ~static_cast<unsigned>(KMOD_NUM | KMOD_CAPS);
    return mods == KMOD_LALT || mods == KMOD_RALT;
}

bool AreKeyTipsArmed()
{
    Application* app = GetApp();
    return app && (app->GetFlags() & APPFLAG_SHORTCUTS_ARMED) != 0;
}

} // namespace WidgetInput
