#pragma once
// The open SDL_ttf fonts, shared by everything that draws text: one TTF_Font for each
// font file's bytes, point size and face index. A font stays open while anything
// holds it and is closed when the last holder lets it go, so the cache itself keeps
// nothing alive. Holders may measure and draw with a shared font but must not change its
// state (style, outline, hinting, kerning): that state belongs to the key it was opened
// for and reaches every holder. The fonts read their glyphs from a copy of the file's
// bytes that the cache makes and keeps while any font opened over it is open, so a font
// outlives the resource entry (and the bytes) it was opened from. SDL_ttf must be
// initialised first. Main thread only.
//
// A font is held to proportion where it is opened: its height, ascent and descent, as
// SDL_ttf reads them from the file at the size asked for, and the boxes and advances of a
// few common glyphs, may be at most kProportion times the point size (and a few pixels).
// A font out of proportion (a file whose units per em or ascent lie) would make every
// glyph and every text surface enormous; it is refused, with what was measured. Glyphs are
// held to the same proportion when a text is measured or drawn (GlyphFault), so one glyph
// whose box lies is left out rather than drawn at any size.
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <string>

class FontCache
{
public:
    // What makes two fonts the same: the same bytes of a font file, the point size and the
    // face in the file. The bytes need only be valid during Open; the same bytes at the
    // same address find the copy already made, other bytes at an address used before do
    // not.
    struct Key
    {
        const void* data = nullptr;
        std::uint32_t size = 0;
        int pointSize = 0;
        int faceIndex = 0;
    };

    // How many times its point size a font's measures may be.
    static constexpr int kProportion = 4;
    // The pixels added to that bound, for the rounding of small sizes.
    static constexpr int kProportionSlack = 8;

    // The font for the key: the one already open, or a new one opened over a copy of the
    // bytes. Null when SDL_ttf cannot open the bytes at that size and face, or when the font
    // is out of proportion at that size: then, when refusal is given, it says what was
    // measured ("is 2771 pixels tall at 18 points, ..."); otherwise it is left empty.
    static std::shared_ptr<TTF_Font> Open(const Key& key, std::string* refusal = nullptr);

    // Why the font cannot draw the glyph of the 16-bit code point at the point size it was
    // opened at: SDL_ttf cannot load it (a damaged glyph), or its box or advance is out of
    // proportion. "" when it can. Loads the glyph's metrics only, never its pixels.
    static std::string GlyphFault(TTF_Font* font, int pointSize, Uint16 codePoint);

    // Fonts open now, and fonts opened since the program started.
    static int OpenFonts();
    static long OpensSoFar();
    // Copies of font files held now (one per file, however many sizes are open).
    static int HeldFiles();
};
