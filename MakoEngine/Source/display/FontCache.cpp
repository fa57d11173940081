#include "display/FontCache.h"

#include "core/Log.h"

#include <SDL.h>

#include <map>
#include <tuple>

namespace {

// The open fonts by key. Entries are weak: the holders keep a font open, and the font's
// deleter removes its entry as it closes it. Never destroyed, so a font let go during the
// program's exit still finds the map.
std::map<FontCache::Key, std::weak_ptr<TTF_Font>>& OpenFontsByKey()
{
    static auto* fonts = new std::map<FontCache::Key, std::weak_ptr<TTF_Font>>();
    return *fonts;
}

long g_OpensSoFar = 0;

} // namespace

bool FontCache::Key::operator<(const Key& other) const
{
    return std::tie(data, size, pointSize, faceIndex) <
           std::tie(other.data, other.size, other.pointSize, other.faceIndex);
}

std::shared_ptr<TTF_Font> FontCache::Open(const Key& key)
{
    auto& fonts = OpenFontsByKey();
    auto found = fonts.find(key);
    if (found != fonts.end()) {
        if (std::shared_ptr<TTF_Font> font = found->second.lock())
            return font;
    }
    SDL_RWops* rw = SDL_RWFromMem(const_cast<void*>(key.data), static_cast<int>(key.size));
    if (!rw)
        return nullptr;
    // SDL_ttf frees the reader with the font; the font reads glyphs from the bytes on
    // demand.
    TTF_Font* opened = TTF_OpenFontIndexRW(rw, 1, key.pointSize, key.faceIndex);
    if (!opened)
        return nullptr;
    ++g_OpensSoFar;
    LogAtLevel(3, "FontCache: opened a font of %d points, face %d (%d open)\n", key.pointSize,
               key.faceIndex, static_cast<int>(fonts.size()) + 1);
    std::shared_ptr<TTF_Font> font(opened, [key](TTF_Font* closing) {
        auto& open = OpenFontsByKey();
        auto entry = open.find(key);
        if (entry != open.end() && entry->second.expired())
            open.erase(entry);
        TTF_CloseFont(closing);
    });
    fonts[key] = font;
    return font;
}

int FontCache::OpenFonts()
{
    return static_cast<int>(OpenFontsByKey().size());
}

long FontCache::OpensSoFar()
{
    return g_OpensSoFar;
}
