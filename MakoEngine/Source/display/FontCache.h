#pragma once
// The open SDL_ttf fonts, shared by everything that draws text: one TTF_Font for each
// font file's bytes, point size and face index. A font stays open while anything
// holds it and is closed when the last holder lets it go, so the cache itself keeps
// nothing alive. Holders may measure and draw with a shared font but must not change its
// state (style, outline, hinting, kerning): that state belongs to the key it was opened
// for and reaches every holder. The bytes must stay valid and unchanged while a font
// opened over them is open. SDL_ttf must be initialised first. Main thread only.
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>

class FontCache
{
public:
    // What makes two fonts the same: the very same bytes of a font file (by address and
    // length), the point size and the face in the file.
    struct Key
    {
        const void* data = nullptr;
        std::uint32_t size = 0;
        int pointSize = 0;
        int faceIndex = 0;

        bool operator<(const Key& other) const;
    };

    // The font for the key: the one already open, or a new one opened over the bytes.
    // Null when SDL_ttf cannot open the bytes at that size and face.
    static std::shared_ptr<TTF_Font> Open(const Key& key);

    // Fonts open now, and fonts opened since the program started.
    static int OpenFonts();
    static long OpensSoFar();
};
