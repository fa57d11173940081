#include "display/FontCache.h"

#include "core/Log.h"

#include <SDL.h>

#include <cstring>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Source = std::pair<const void*, std::uint32_t>;

// A copy of one font file's bytes, shared by the fonts opened over it.
struct FontFile
{
    Source source;
    std::vector<unsigned char> bytes;
    ~FontFile();
};

// The copies by the address and length they were made from. Entries are weak: the fonts
// keep a copy alive, and the copy removes its entry as it goes. Never destroyed, so a font
// let go during the program's exit still finds the map (as for OpenFontsByKey).
std::map<Source, std::weak_ptr<const FontFile>>& FilesBySource()
{
    static auto* files = new std::map<Source, std::weak_ptr<const FontFile>>();
    return *files;
}

FontFile::~FontFile()
{
    auto& files = FilesBySource();
    auto entry = files.find(source);
    if (entry != files.end() && entry->second.expired())
        files.erase(entry);
}

// The copy of the key's bytes: the one held for the same bytes at that address, else a new
// one. The bytes are compared, since an address may be reused by another file.
std::shared_ptr<const FontFile> FileFor(const FontCache::Key& key)
{
    const auto* data = static_cast<const unsigned char*>(key.data);
    const Source source(key.data, key.size);
    auto& files = FilesBySource();
    auto found = files.find(source);
    if (found != files.end()) {
        std::shared_ptr<const FontFile> held = found->second.lock();
        if (held && held->bytes.size() == key.size &&
            (key.size == 0 || std::memcmp(held->bytes.data(), data, key.size) == 0))
            return held;
    }
    auto file = std::make_shared<FontFile>();
    file->source = source;
    if (data)
        file->bytes.assign(data, data + key.size);
    files[source] = file;
    return file;
}

// An open font: the copy it reads and its size and face.
using OpenKey = std::tuple<const FontFile*, int, int>;

// The open fonts by key. Entries are weak: the holders keep a font open, and the font's
// deleter removes its entry as it closes it. Never destroyed, so a font let go during the
// program's exit still finds the map.
std::map<OpenKey, std::weak_ptr<TTF_Font>>& OpenFontsByKey()
{
    static auto* fonts = new std::map<OpenKey, std::weak_ptr<TTF_Font>>();
    return *fonts;
}

long g_OpensSoFar = 0;

} // namespace

std::shared_ptr<TTF_Font> FontCache::Open(const Key& key)
{
    std::shared_ptr<const FontFile> file = FileFor(key);
    const OpenKey openKey(file.get(), key.pointSize, key.faceIndex);
    auto& fonts = OpenFontsByKey();
    auto found = fonts.find(openKey);
    if (found != fonts.end()) {
        if (std::shared_ptr<TTF_Font> font = found->second.lock())
            return font;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(file->bytes.data(), static_cast<int>(file->bytes.size()));
    if (!rw)
        return nullptr;
    // SDL_ttf frees the reader with the font; the font reads glyphs from the copy on
    // demand, which its deleter holds until the font is closed.
    TTF_Font* opened = TTF_OpenFontIndexRW(rw, 1, key.pointSize, key.faceIndex);
    if (!opened)
        return nullptr;
    ++g_OpensSoFar;
    LogAtLevel(3, "FontCache: opened a font of %d points, face %d (%d open)\n", key.pointSize,
               key.faceIndex, static_cast<int>(fonts.size()) + 1);
    std::shared_ptr<TTF_Font> font(opened, [openKey, file](TTF_Font* closing) mutable {
        auto& open = OpenFontsByKey();
        auto entry = open.find(openKey);
        if (entry != open.end() && entry->second.expired())
            open.erase(entry);
        TTF_CloseFont(closing);
        file.reset();
    });
    fonts[openKey] = font;
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

int FontCache::HeldFiles()
{
    return static_cast<int>(FilesBySource().size());
}
