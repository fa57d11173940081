#pragma once
// An on-screen read-out of a number: the digits and the decimal point drawn from eleven
// pre-rendered glyphs on a white backdrop, optionally after a caption. The glyphs are
// rendered once, in the font "FPSFont" at "FPSFontSize" points and the colour
// "FPSCounterColor" (White when missing) of the configuration. Main thread only.
#include "scene/Actor.h"

#include <memory>
#include <string>
#include <vector>

class Canvas;
class Image;

class NumericalStatDisplay : public Actor
{
public:
    static const int kGlyphCount = 11; // "0" to "9", then "."

    // Glyphs rendered from the configuration's font.
    NumericalStatDisplay();
    // Glyphs given (kGlyphCount owned images, digits first, the point last).
    explicit NumericalStatDisplay(std::vector<Image*> glyphs);
    ~NumericalStatDisplay() override;

    // Width and height of text: digits and "." count, other characters are ignored; the
    // height is the tallest glyph's.
    Point<int> CalcTextSize(const std::string& text) const;
    // On a white backdrop at the canvas origin: the caption (when given), then the glyphs
    // of the text's digits and points; other characters draw nothing and take no room.
    void DrawNumbers(Canvas& canvas, const std::string& text, Image* caption);

    // A text image in the read-out's font and colour (the caller owns it).
    static Image* RenderText(const std::string& text);

protected:
    void BuildNumbers();

private:
    int GlyphIndex(char c) const;

    std::vector<std::unique_ptr<Image>> m_Numbers;
};
