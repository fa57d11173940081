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
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>

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

    // The font for the key: the one already open, or a new one opened over a copy of the
    // bytes. Null when SDL_ttf cannot open the bytes at that size and face.
    static std::shared_ptr<TTF_Font> Open(const Key& key);

    // Fonts open now, and fonts opened since the program started.
    static int OpenFonts();
    static long OpensSoFar();
    // Copies of font files held now (one per file, however many sizes are open).
    static int HeldFiles();
};
