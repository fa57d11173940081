#include "display/FontCache.h"

#include "core/Log.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
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

int ProportionBound(int pointSize)
{
    return FontCache::kProportion * pointSize + FontCache::kProportionSlack;
}

// Characters nearly every font has, whose boxes stand for the rest at the font's opening.
const Uint16 kMeasuredGlyphs[] = {'M', 'W', 'g', '0', ' '};

// What is out of proportion in the opened font at the size, or "".
std::string MeasureFont(TTF_Font* font, int pointSize)
{
    const int bound = ProportionBound(pointSize);
    const int height = TTF_FontHeight(font);
    const int ascent = TTF_FontAscent(font);
    const int descent = TTF_FontDescent(font);
    const int lineSkip = TTF_FontLineSkip(font);
    char text[200];
    if (height > bound || height < 0 || ascent > bound || ascent < -bound || descent > bound ||
        descent < -bound || lineSkip > bound || lineSkip < -bound) {
        std::snprintf(text, sizeof(text),
                      "is %d pixels tall (ascent %d, descent %d, line skip %d) at %d points, "
                      "more than %d",
                      height, ascent, descent, lineSkip, pointSize, bound);
        return text;
    }
    for (Uint16 ch : kMeasuredGlyphs)
        if (TTF_GlyphIsProvided(font, ch)) {
            const std::string fault = FontCache::GlyphFault(font, pointSize, ch);
            if (!fault.empty())
                return fault;
        }
    return std::string();
}

} // namespace

std::string FontCache::GlyphFault(TTF_Font* font, int pointSize, Uint16 codePoint)
{
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    char text[200];
    if (TTF_GlyphMetrics(font, codePoint, &minX, &maxX, &minY, &maxY, &advance) != 0) {
        std::snprintf(text, sizeof(text), "cannot load its glyph of U+%04X (%s)", codePoint,
                      TTF_GetError());
        return text;
    }
    const int bound = ProportionBound(pointSize);
    const long long width = static_cast<long long>(maxX) - minX;
    const long long height = static_cast<long long>(maxY) - minY;
    // Each side of the box, and the advance, within the bound: a box far from the origin
    // is drawn as far away.
    if (width > bound || height > bound || advance > bound || advance < -bound || minX < -bound ||
        maxX > bound || minY < -bound || maxY > bound) {
        std::snprintf(text, sizeof(text),
                      "has a glyph of U+%04X reaching from (%d, %d) to (%d, %d) with an advance "
                      "of %d at %d points, more than %d",
                      codePoint, minX, minY, maxX, maxY, advance, pointSize, bound);
        return text;
    }
    return std::string();
}

std::shared_ptr<TTF_Font> FontCache::Open(const Key& key, std::string* refusal)
{
    if (refusal)
        refusal->clear();
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
    const std::string fault = MeasureFont(opened, key.pointSize);
    if (!fault.empty()) {
        TTF_CloseFont(opened);
        if (refusal)
            *refusal = fault;
        return nullptr;
    }
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
