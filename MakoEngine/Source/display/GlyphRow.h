#pragma once
// Where SDL_ttf puts the glyphs of a text it measures and draws: the pen starts at 0 and moves
// by each glyph's advance, and by the kerning of each pair of glyphs the font has; the text's
// surface begins at the first glyph's box, or at the pen's start when the box begins right of
// it. SDL_ttf writes each glyph's pixels at that place without asking whether it lies in the
// surface: a glyph whose box begins left of where the text begins (a box far left of its pen,
// a negative advance or kerning before it) is written before the surface's pixels.
//
// GlyphRow places a text's glyphs one after another as SDL_ttf will and refuses the glyph that
// would begin left of the text, or whose kerning is out of the font's proportion; the font
// layer leaves such glyphs out of every text it measures or draws (Font::DrawableText), so no
// text reaches SDL_ttf whose glyphs lie outside its surface. The places are those of a font
// of the plain style without outline, as the game opens every font (FontCache).
#include <SDL_ttf.h>

#include <string>

class GlyphRow
{
public:
    // For a text in the font, whose glyphs are each at most bound pixels from their pen.
    GlyphRow(TTF_Font* font, int bound) : m_Font(font), m_Bound(bound) {}

    // Places the glyph of the 16-bit code point after those placed: "" when it lies within
    // the text, else why not (then the row is as it was). The glyph's metrics must load.
    std::string Place(Uint16 codePoint);

private:
    TTF_Font* m_Font;
    int m_Bound;
    long long m_Pen = 0;  // where the next glyph's pen stands, kerning not yet added
    long long m_Left = 0; // where the text begins, relative to the first pen
    int m_Previous = 0;   // the font's index of the glyph placed last; 0 for none
    bool m_First = true;
};
