#include "screens/NumericalStatDisplay.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "display/Canvas.h"
#include "display/Font.h"
#include "display/Image.h"
#include "display/SurfaceHandle.h"

#include <boost/format.hpp>

#include <algorithm>

namespace {

// The running configuration, which the counter's font and colour come from.
Config& RequiredConfig()
{
    Config* config = Config::GetCurrent();
    MAKO_ASSERT(config != 0);
    return *config;
}

} // namespace

NumericalStatDisplay::NumericalStatDisplay()
{
    BuildNumbers();
}

NumericalStatDisplay::NumericalStatDisplay(std::vector<Image*> glyphs)
{
    for (Image* glyph : glyphs)
        m_Numbers.emplace_back(glyph);
}

NumericalStatDisplay::~NumericalStatDisplay() = default;

Image* NumericalStatDisplay::RenderText(const std::string& text)
{
    Config& config = RequiredConfig();
    Font font(config.GetString("FPSFont"), static_cast<int>(config.GetNumber("FPSFontSize")), 0);
    Color color = config.GetColor("FPSCounterColor", Palette::White);
    SDL_Color sdlColor = {color.r, color.g, color.b, 0};
    SurfaceHandle surface(font.RenderText_Blended(text, sdlColor));
    MAKO_ASSERT(surface != 0);
    return new Image(std::move(surface), IMAGE_SRCALPHA, nullptr);
}

void NumericalStatDisplay::BuildNumbers()
{
    m_Numbers.clear();
    for (int i = 0; i < kGlyphCount; ++i) {
        std::string text = i < 10 ? boost::str(boost::format("%1%") % i) : std::string(".");
        m_Numbers.emplace_back(RenderText(text));
    }
}

int NumericalStatDisplay::GlyphIndex(char c) const
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c == '.')
        return 10;
    return -1;
}

Point<int> NumericalStatDisplay::CalcTextSize(const std::string& text) const
{
    Point<int> size(0, 0);
    for (char c : text) {
        int index = GlyphIndex(c);
        if (index < 0)
            continue;
        std::size_t charIndex = static_cast<std::size_t>(index);
        MAKO_ASSERT(charIndex < m_Numbers.size());
        Point<int> glyph = m_Numbers[charIndex]->GetSize();
        size.x += glyph.x;
        size.y = std::max(size.y, glyph.y);
    }
    return size;
}

void NumericalStatDisplay::DrawNumbers(Canvas& canvas, const std::string& text, Image* caption)
{
    Point<int> size = CalcTextSize(text);
    if (caption) {
        // The backdrop also spans a caption taller than the digits, so none of the caption
        // is left on whatever lies behind the read-out.
        size.x += caption->GetSize().x;
        size.y = std::max(size.y, caption->GetSize().y);
    }
    canvas.PushState();
    canvas.FillRect(MakeRect(0, 0, size.x, size.y), Palette::White);
    if (caption) {
        canvas.DrawImage(caption, 0);
        canvas.Translate(caption->GetSize().x, 0);
    }
    for (char c : text) {
        int index = GlyphIndex(c);
        if (index < 0)
            continue;
        Image* glyph = m_Numbers[static_cast<std::size_t>(index)].get();
        canvas.DrawImage(glyph, 0);
        canvas.Translate(glyph->GetSize().x, 0);
    }
    canvas.PopState();
}
