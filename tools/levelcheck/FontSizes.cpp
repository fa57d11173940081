#include "FontSizes.h"

#include "core/ObjectBoundary.h"
#include "core/StopSignal.h"
#include "display/Font.h"
#include "lua/MakoLuaState.h"
#include "luaplus/LuaTableIterator.h"
#include "resources/ResourceManager.h"

#include <SDL.h>

#include <cmath>
#include <exception>

namespace levelcheck {

namespace {

// The letters, figures and accented letters of the game's texts.
const char* const kSample = "The Great Wall 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ "
                            "abcdefghijklmnopqrstuvwxyz .,:;!?%+-()' \xC3\xA9\xC3\xBC\xC3\xB1";

} // namespace

std::set<int> UsedFontSizes(int always)
{
    std::set<int> sizes = {always};
    LuaPlus::LuaObject resources = GetGlobalLuaState()->GetGlobals()["Resources"];
    if (!resources.IsTable())
        return sizes;
    for (LuaPlus::LuaTableIterator it(resources); it; it.Next()) {
        const LuaPlus::LuaObject value = it.GetValue();
        if (!value.IsTable())
            continue;
        const LuaPlus::LuaObject size = value["fontSize"];
        if (!size.IsNumber())
            continue;
        const double points = size.GetNumber();
        if (points >= Font::kMinPointSize && points <= Font::kMaxPointSize)
            sizes.insert(static_cast<int>(std::lround(points)));
    }
    return sizes;
}

void OpenFontsAtUsedSizes()
{
    ResourceManager* resources = GetResourceManager();
    if (!resources)
        return;
    const std::set<int> sizes = UsedFontSizes(12);
    const SDL_Color white = {255, 255, 255, 0};
    for (const char* suffix : {".ttf", ".otf"})
        for (const std::string& font : resources->FindNamesEndingWith(suffix))
            for (int size : sizes) {
                if (StopSignal::IsRequested())
                    return;
                // A font the game cannot use is heard as the game says it (it draws that
                // font's texts with another, or cannot start).
                ObjectBoundary::Contain([&] {
                    Font opened(font, size, 0);
                    opened.GetTextSize(kSample);
                    SDL_FreeSurface(opened.RenderText_Blended(kSample, white));
                });
            }
}

} // namespace levelcheck
