#include "display/GlyphRow.h"

#include <algorithm>
#include <cstdio>

std::string GlyphRow::Place(Uint16 codePoint)
{
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics(m_Font, codePoint, &minX, &maxX, &minY, &maxY, &advance) != 0)
        return "cannot load its glyph";
    // SDL_ttf's index of the glyph (0: the font lacks it, and no kerning applies).
    const int index = TTF_GlyphIsProvided(m_Font, codePoint);
    long long kerning = 0;
    if (TTF_GetFontKerning(m_Font) && m_Previous && index)
        kerning = TTF_GetFontKerningSize(m_Font, m_Previous, index);
    char text[200];
    if (kerning > m_Bound || kerning < -m_Bound) {
        std::snprintf(text, sizeof(text),
                      "kerns its glyph of U+%04X by %lld pixels after the one before, more than %d",
                      codePoint, kerning, m_Bound);
        return text;
    }
    const long long pen = m_Pen + kerning;
    const long long left = m_First ? std::min(0, minX) : m_Left;
    if (pen + minX < left) {
        std::snprintf(text, sizeof(text),
                      "has a glyph of U+%04X that begins %lld pixels left of where its text "
                      "begins",
                      codePoint, left - (pen + minX));
        return text;
    }
    m_Left = left;
    m_First = false;
    m_Pen = pen + advance;
    m_Previous = index;
    return std::string();
}
