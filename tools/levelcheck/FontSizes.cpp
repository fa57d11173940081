#include "FontSizes.h"

#include "core/ObjectBoundary.h"
#include "core/PackUnusable.h"
#include "core/StopSignal.h"
#include "display/Font.h"
#include "lua/MakoLuaState.h"
#include "luaplus/LuaTableIterator.h"
#include "resources/ResourceManager.h"

#include <SDL.h>

#include <exception>
#include <unordered_set>
#include <vector>

namespace levelcheck {

namespace {

// The letters, figures and accented letters of the game's texts.
const char* const kSample = "The Great Wall 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ "
                            "abcdefghijklmnopqrstuvwxyz .,:;!?%+-()' \xC3\xA9\xC3\xBC\xC3\xB1";

} // namespace

std::set<int> UsedFontSizes(int always)
{
    // A size is a number under a key ending in "fontSize", as the game reads one: a font
    // table's own (Font's property, at any depth of a resource: a label's `font = {...}`, a
    // dialog's children) and the configured sizes the screens and dialogs ask for
    // ("ButtonFontSize"). Each table once, breadth first, so nesting and cycles cost a
    // table each.
    std::set<int> sizes = {always};
    LuaPlus::LuaState* state = GetGlobalLuaState();
    std::vector<LuaPlus::LuaObject> tables;
    std::unordered_set<const void*> seen;
    auto note = [&](const LuaPlus::LuaObject& value) {
        if (!value.IsTable())
            return;
        lua_State* L = value.GetCState();
        value.Push(L);
        const void* identity = lua_topointer(L, -1);
        lua_pop(L, 1);
        if (seen.insert(identity).second)
            tables.push_back(value);
    };
    note(state->GetGlobals()["Resources"]);
    note(state->GetGlobals()["ConstConfig"]);
    for (std::size_t next = 0; next < tables.size(); ++next)
        for (LuaPlus::LuaTableIterator it(tables[next]); it; it.Next()) {
            const LuaPlus::LuaObject value = it.GetValue();
            note(value);
            const LuaPlus::LuaObject key = it.GetKey();
            if (!key.IsString() || !value.IsNumber())
                continue;
            std::string name = key.GetString();
            if (name.size() < 8)
                continue;
            name[name.size() - 8] = 'f';
            if (name.compare(name.size() - 8, 8, "fontSize") != 0)
                continue;
            const int points = value.GetInteger();
            if (points >= Font::kMinPointSize && points <= Font::kMaxPointSize)
                sizes.insert(points);
        }
    return sizes;
}

std::string OpenFontsAtUsedSizes()
{
    ResourceManager* resources = GetResourceManager();
    if (!resources)
        return std::string();
    const std::set<int> sizes = UsedFontSizes(12);
    const SDL_Color white = {255, 255, 255, 0};
    std::string unusable;
    for (const char* suffix : {".ttf", ".otf"})
        for (const std::string& font : resources->FindNamesEndingWith(suffix))
            for (int size : sizes) {
                if (StopSignal::IsRequested() || !unusable.empty())
                    return unusable;
                // A font the game cannot use is heard as the game says it (it draws that
                // font's texts with another, or cannot start: that sentence is handed back,
                // as the game's start ends with it).
                ObjectBoundary::Contain([&] {
                    try {
                        Font opened(font, size, 0);
                        opened.GetTextSize(kSample);
                        SDL_FreeSurface(opened.RenderText_Blended(kSample, white));
                    } catch (const PackUnusable& e) {
                        unusable = e.GetMessage();
                    }
                });
            }
    return unusable;
}

} // namespace levelcheck
