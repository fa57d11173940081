#include "RuledPaper.h"

#include "TextLayout.h"

#include "display/Font.h"
#include "display/Image.h"
#include "scene/Actor.h"
#include "widgets/Label.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace bbtest {

int RuledPaper::s_Checked = 0;

namespace {

// Pixels fainter than this are the soft rim of a letter, not its body (as TextLayout).
const int kInkAlpha = 96;

// The mean of blue less red along the middle half of a row of the picture: a blue rule on
// cream paper stands out by it.
double Blueness(SDL_Surface* surface, int row)
{
    if (row < 0 || row >= surface->h)
        return 0;
    double sum = 0;
    int count = 0;
    for (int x = surface->w / 4; x < surface->w * 3 / 4; ++x, ++count) {
        const auto* pixel = static_cast<const std::uint8_t*>(surface->pixels) +
                            row * surface->pitch + x * surface->format->BytesPerPixel;
        std::uint32_t value = 0;
        std::copy(pixel, pixel + surface->format->BytesPerPixel,
                  reinterpret_cast<std::uint8_t*>(&value));
        Uint8 r, g, b, a;
        SDL_GetRGBA(value, surface->format, &r, &g, &b, &a);
        sum += double(b) - double(r);
    }
    return count ? sum / count : 0;
}

// The nearest actor above the label that shows a picture or a filled box: what it is
// written on.
const Actor* WrittenOn(const Label& label)
{
    for (const Actor* up = label.GetParent(); up; up = up->GetParent())
        if (!dynamic_cast<const Label*>(up) &&
            (up->GetImage() || (up->GetDrawMode() & DRAWMODE_COLORFILL)))
            return up;
    return nullptr;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The first and last rows of the label's image that carry ink between the two rows (the
// image's own rows); false when none does.
bool InkRows(const Label& label, int from, int to, int& first, int& last)
{
    const Image* image = label.GetImage();
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    if (!surface || surface->format->BytesPerPixel != 4 || surface->format->Amask == 0)
        return false;
    const SDL_PixelFormat& format = *surface->format;
    first = -1;
    for (int y = std::max(0, from); y < std::min(to, surface->h); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            if (int((row[x] & format.Amask) >> format.Ashift) >= kInkAlpha) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    }
    return first >= 0;
}

} // namespace

bool RuledPaper::ReadRules(const Actor& sheet, Rules& rules, std::string& why)
{
    const Image* picture = sheet.GetImage();
    SDL_Surface* surface = picture ? picture->GetSDLSurface() : nullptr;
    if (!surface) {
        why = "shows no picture";
        return false;
    }
    const LuaPlus::LuaObject metadata = picture->GetMetadata();
    const LuaPlus::LuaObject named = metadata.IsTable() ? metadata["rules"] : LuaPlus::LuaObject();
    if (!named.IsTable() || !named["top"].IsNumber() || !named["pitch"].IsNumber() ||
        named["pitch"].GetInteger() <= 0) {
        why = "names no rules {top, pitch}";
        return false;
    }
    const int top = named["top"].GetInteger(), pitch = named["pitch"].GetInteger();
    const auto drawn = [&](int row) {
        return Blueness(surface, row) >= Blueness(surface, row + pitch / 2) + 10;
    };
    // Without a last rule named, the rules run as far down as they are drawn.
    int last = top;
    if (named["last"].IsNumber())
        last = named["last"].GetInteger();
    else
        while (last + pitch < surface->h && drawn(last + pitch))
            last += pitch;
    for (int row = top; row <= last; row += pitch)
        if (!drawn(row)) {
            why = "names a rule at row " + std::to_string(row) + " where none is drawn";
            return false;
        }
    const SDL_Rect at = sheet.GetScreenRect();
    rules.top = at.y + top;
    rules.pitch = pitch;
    rules.last = at.y + last;
    return true;
}

void RuledPaper::CheckLabel(const Label& label, const Rules& rules, const std::string& place,
                            std::vector<std::string>& faults)
{
    const Font* font = label.GetFont();
    if (!font)
        return;
    const SDL_Rect at = label.GetScreenRect();
    int top = 0; // the line's top in the label's image
    for (const std::string& line : Lines(label.GetText())) {
        const int height = font->GetTextSize(line.empty() ? " " : line).y;
        int first = 0, last = 0;
        const bool inked = InkRows(label, top, top + height, first, last);
        const int foot = at.y + top + font->GetAscent();
        top += height - label.GetLineSpacing();
        if (!inked || at.y + last < rules.top || at.y + first > rules.last)
            continue; // blank, a heading over the rules or a line under them
        ++s_Checked;
        const std::string what = place + ": \"" + line + "\"";
        const int off = ((foot - rules.top) % rules.pitch + rules.pitch) % rules.pitch;
        const int distance = std::min(off, rules.pitch - off);
        if (distance > kTolerance)
            faults.push_back(what + " has its foot at row " + std::to_string(foot) + ", " +
                             std::to_string(distance) + " px off the nearest rule");
        for (int rule = rules.top; rule <= rules.last; rule += rules.pitch)
            if (rule >= at.y + first && rule < foot - kTolerance)
                faults.push_back(what + " is struck through by the rule at row " +
                                 std::to_string(rule) + " (its letters run from row " +
                                 std::to_string(at.y + first) + " to its foot at " +
                                 std::to_string(foot) + ")");
    }
}

std::vector<std::string> RuledPaper::Faults(const Actor& sheet, const std::string& place)
{
    s_Checked = 0;
    Rules rules;
    std::string why;
    if (!ReadRules(sheet, rules, why))
        return {place + ": the sheet " + sheet.GetImageName() + " " + why};
    TextLayout shown(640, 480);
    shown.Collect(&sheet);
    std::vector<std::string> faults;
    for (const ShownText& text : shown.Texts())
        if (WrittenOn(*text.label) == &sheet)
            CheckLabel(*text.label, rules, place, faults);
    return faults;
}

} // namespace bbtest
