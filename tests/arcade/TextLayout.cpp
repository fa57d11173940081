#include "TextLayout.h"

#include "display/Canvas.h"
#include "display/Font.h"
#include "display/Image.h"
#include "geometry/Color.h"
#include "scene/Actor.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

namespace bbtest {

namespace {

// Pixels fainter than this are the soft rim of a letter, not its body.
const std::uint32_t kTextInkAlpha = 96;

bool Empty(const SDL_Rect& r)
{
    return r.w <= 0 || r.h <= 0;
}

bool Overlap(const SDL_Rect& a, const SDL_Rect& b)
{
    return !Empty(a) && !Empty(b) && a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h &&
           b.y < a.y + a.h;
}

bool Inside(const SDL_Rect& inner, const SDL_Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

SDL_Rect Rect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(std::max(0, w));
    r.h = static_cast<Uint16>(std::max(0, h));
    return r;
}

// The rectangle grown by d pixels on every side (shrunk when d is negative).
SDL_Rect Grown(const SDL_Rect& r, int d)
{
    return Rect(r.x - d, r.y - d, r.w + 2 * d, r.h + 2 * d);
}

// Whether the two rectangles come closer than the gap (or cover each other).
bool Near(const SDL_Rect& a, const SDL_Rect& b, int gap)
{
    return !Empty(a) && !Empty(b) && Overlap(Grown(a, gap), b);
}

// Whether the label is one of the copies that shade its parent label.
bool IsCopy(const Label& label)
{
    const Label* parent = dynamic_cast<const Label*>(label.GetParent());
    return parent && (parent->GetShadow() == &label || parent->GetHighlight() == &label);
}

// Whether the actor is a rectangle filled with a colour (a text box's field).
bool IsFilled(const Actor& actor)
{
    return (actor.GetDrawMode() & DRAWMODE_COLORFILL) && actor.GetWidth() > 0 &&
           actor.GetHeight() > 0;
}

// Whether the actor frames the texts under it: a picture or a filled rectangle (not a
// label's own image).
bool IsFrame(const Actor& actor)
{
    return !dynamic_cast<const Label*>(&actor) && (actor.GetImage() || IsFilled(actor));
}

// Whether the actor and all above it are shown.
bool Shown(const Actor* actor)
{
    for (; actor; actor = actor->GetParent())
        if (!actor->IsVisible() || actor->IsDead())
            return false;
    return true;
}

std::string OneLine(const std::string& text)
{
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    return '"' + line + '"';
}

} // namespace

TextLayout::TextLayout(int windowWidth, int windowHeight)
    : m_Window(Rect(0, 0, windowWidth, windowHeight))
{
}

void TextLayout::SetMargins(const std::string& image, int left, int top, int right, int bottom)
{
    m_Margins[image] = Rect(left, top, right, bottom);
}

void TextLayout::Clear()
{
    m_Held.clear();
    m_Allowed.clear();
    m_Texts.clear();
    m_Pictures.clear();
    m_Obstacles.clear();
    m_Buttons.clear();
    m_Unseen.clear();
}

void TextLayout::Collect(const Actor* root)
{
    if (!root)
        m_Unseen.push_back("the actor to check is missing");
    else if (!Shown(root))
        m_Unseen.push_back("the actor to check (" + root->GetName() + ") is not shown");
    else
        CollectActor(root);
}

void TextLayout::CollectActor(const Actor* actor)
{
    if (!actor->IsVisible() || actor->IsDead())
        return;
    if (const Button* button = dynamic_cast<const Button*>(actor))
        m_Buttons.push_back(button);
    if (const Label* label = dynamic_cast<const Label*>(actor)) {
        if (IsCopy(*label))
            return;
        // An upright label only: a turned word lies along its plate by design.
        if (label->GetRotation() == 0.0 && !Empty(InkOf(*label)))
            m_Texts.push_back(Framed(*label));
    }
    for (const Actor* child : actor->GetChildren())
        CollectActor(child);
}

void TextLayout::Hold(const Label* label, const std::string& holder, const SDL_Rect& frame)
{
    if (!label) {
        m_Unseen.push_back("a text to keep inside " + holder + " is missing");
        return;
    }
    m_Held[label] = {holder, frame};
    for (ShownText& shown : m_Texts)
        if (shown.label == label) {
            shown.holder = holder;
            shown.frame = shown.edge = frame;
        }
}

void TextLayout::AllowOverlap(const Label* a, const Label* b)
{
    m_Allowed.insert({a, b});
    m_Allowed.insert({b, a});
}

void TextLayout::AddPicture(const Actor* actor, const std::string& name, const SDL_Rect& frame)
{
    if (!actor)
        m_Unseen.push_back("the picture " + name + " is missing");
    else if (!Shown(actor))
        m_Unseen.push_back("the picture " + name + " is not shown");
    else
        m_Pictures.push_back({name, actor->GetScreenRect(), frame});
}

void TextLayout::AddObstacle(const Actor* actor, const std::string& name)
{
    if (!actor)
        m_Unseen.push_back("the picture " + name + " is missing");
    else if (!Shown(actor))
        m_Unseen.push_back("the picture " + name + " is not shown");
    else
        m_Obstacles.push_back({name, actor->GetScreenRect(), actor->GetScreenRect()});
}

ShownText TextLayout::Framed(const Label& label) const
{
    ShownText shown{&label, label.GetText(), InkOf(label), "the window", m_Window};
    shown.edge = m_Window;
    const auto held = m_Held.find(&label);
    if (held != m_Held.end()) {
        shown.holder = held->second.first;
        shown.frame = shown.edge = held->second.second;
        return shown;
    }
    for (const Actor* up = label.GetParent(); up; up = up->GetParent()) {
        if (!IsFrame(*up))
            continue;
        SDL_Rect frame = up->GetScreenRect();
        const auto margins = m_Margins.find(up->GetImageName());
        if (margins != m_Margins.end()) {
            const SDL_Rect& m = margins->second;
            frame = Rect(frame.x + m.x, frame.y + m.y, frame.w - m.x - m.w, frame.h - m.y - m.h);
            shown.edge = frame;
        } else {
            shown.edge = frame;
            const std::pair<int, int> ends = CaptionInsets(*up);
            frame =
                Rect(frame.x + ends.first, frame.y, frame.w - ends.first - ends.second, frame.h);
        }
        shown.holder = !up->GetImage()              ? "its box"
                       : up->GetImageName().empty() ? "its frame"
                                                    : up->GetImageName();
        shown.frame = frame;
        shown.holderActor = up;
        for (const Actor* outer = up->GetParent(); outer; outer = outer->GetParent())
            if (IsFrame(*outer)) {
                shown.box = up;
                shown.boxRect = up->GetScreenRect();
                shown.outer = outer->GetImageName().empty() ? "its frame" : outer->GetImageName();
                shown.outerRect = outer->GetScreenRect();
                break;
            }
        break;
    }
    return shown;
}

void TextLayout::CheckInside(const std::string& place, const std::string& what, const SDL_Rect& ink,
                             const std::string& holder, const SDL_Rect& frame, const SDL_Rect& edge,
                             std::vector<std::string>& faults) const
{
    if (!Inside(ink, frame))
        faults.push_back(place + ": " + what + " " + Describe(ink) + " leaves " + holder + " " +
                         Describe(frame));
    else if (!Inside(ink, Grown(edge, -kGap)))
        faults.push_back(place + ": " + what + " " + Describe(ink) + " touches the edge of " +
                         holder + " " + Describe(edge));
    else if (!Inside(ink, m_Window))
        faults.push_back(place + ": " + what + " " + Describe(ink) + " leaves the window " +
                         Describe(m_Window));
}

std::vector<std::string> TextLayout::Faults(const std::string& place) const
{
    std::vector<std::string> faults;
    for (const std::string& unseen : m_Unseen)
        faults.push_back(place + ": " + unseen);
    for (const auto& held : m_Held)
        if (std::none_of(m_Texts.begin(), m_Texts.end(),
                         [&](const ShownText& text) { return text.label == held.first; }))
            faults.push_back(place + ": the text to keep inside " + held.second.first +
                             " is not shown");
    for (std::size_t i = 0; i < m_Texts.size(); ++i) {
        const ShownText& a = m_Texts[i];
        CheckInside(place, OneLine(a.text), a.ink, a.holder, a.frame, a.edge, faults);
        CheckPictures(a, place, faults);
        for (std::size_t j = i + 1; j < m_Texts.size(); ++j) {
            const ShownText& b = m_Texts[j];
            if (!Near(a.ink, b.ink, kGap) || m_Allowed.count({a.label, b.label}))
                continue;
            faults.push_back(place + ": " + OneLine(a.text) + " " + Describe(a.ink) +
                             (Overlap(a.ink, b.ink) ? " covers " : " touches ") + OneLine(b.text) +
                             " " + Describe(b.ink));
        }
    }
    CheckObstacles(place, faults);
    CheckCaptionSizes(place, faults);
    std::set<const Actor*> boxes;
    for (const ShownText& text : m_Texts)
        if (text.box && boxes.insert(text.box).second && !Inside(text.boxRect, text.outerRect))
            faults.push_back(place + ": " + text.holder + " of " + OneLine(text.text) + " " +
                             Describe(text.boxRect) + " leaves " + text.outer + " " +
                             Describe(text.outerRect));
    // A picture only keeps inside its panel: the gap is the letters'.
    for (const Picture& picture : m_Pictures)
        CheckInside(place, picture.name, picture.rect, "its panel", picture.frame,
                    Grown(picture.frame, kGap), faults);
    return faults;
}

namespace {

// Whether the pixel at (x, y) of the surface (coordinates inside it) is part of what it shows.
bool Solid(SDL_Surface* surface, int x, int y)
{
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return false;
    if (surface->format->Amask == 0)
        return true;
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
    return ((row[x] & surface->format->Amask) >> surface->format->Ashift) >= kTextInkAlpha;
}

// Whether a pixel the picture shows comes within the gap of one of the label's letters.
bool PictureNearLetters(const Label& label, const Actor& picture, int gap)
{
    const Image* letters = label.GetImage();
    const Image* image = picture.GetImage();
    SDL_Surface* ink = letters ? letters->GetSDLSurface() : nullptr;
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    if (!ink || !surface || ink->format->BytesPerPixel != 4 || surface->format->BytesPerPixel != 4)
        return false;
    const SDL_Rect near = Grown(TextLayout::InkOf(label), gap);
    const SDL_Rect at = picture.GetScreenRect(), labelAt = label.GetScreenRect();
    const SDL_Rect source = image->GetFrameRect(picture.GetFrame());
    // The ground the letters are written on: solid under most of them.
    int inked = 0, grounded = 0;
    for (int y = 0; y < ink->h; ++y)
        for (int x = 0; x < ink->w; ++x)
            if (Solid(ink, x, y)) {
                ++inked;
                const int px = labelAt.x + x - at.x, py = labelAt.y + y - at.y;
                if (px >= 0 && py >= 0 && px < at.w && py < at.h &&
                    Solid(surface, source.x + px, source.y + py))
                    ++grounded;
            }
    if (2 * grounded > inked)
        return false;
    for (int y = std::max(near.y, at.y); y < std::min(near.y + near.h, at.y + at.h); ++y)
        for (int x = std::max(near.x, at.x); x < std::min(near.x + near.w, at.x + at.w); ++x) {
            if (!Solid(surface, source.x + x - at.x, source.y + y - at.y))
                continue;
            for (int dy = -gap; dy <= gap; ++dy)
                for (int dx = -gap; dx <= gap; ++dx)
                    if (Solid(ink, x + dx - labelAt.x, y + dy - labelAt.y))
                        return true;
        }
    return false;
}

// Every shown picture under the actor that is not a text (the actor itself left out).
void PicturesUnder(const Actor& actor, std::vector<const Actor*>& out)
{
    for (const Actor* child : actor.GetChildren()) {
        if (!child->IsVisible() || child->IsDead())
            continue;
        if (!dynamic_cast<const Label*>(child) && child->GetImage() && child->GetRotation() == 0.0)
            out.push_back(child);
        PicturesUnder(*child, out);
    }
}

} // namespace

void TextLayout::CheckPictures(const ShownText& text, const std::string& place,
                               std::vector<std::string>& faults) const
{
    if (!text.holderActor)
        return;
    std::vector<const Actor*> pictures;
    PicturesUnder(*text.holderActor, pictures);
    for (const Actor* picture : pictures)
        if (PictureNearLetters(*text.label, *picture, kGap)) {
            const std::string name =
                picture->GetImageName().empty() ? picture->GetName() : picture->GetImageName();
            faults.push_back(place + ": " + OneLine(text.text) + " " + Describe(text.ink) +
                             " touches the picture " + name + " " +
                             Describe(picture->GetScreenRect()));
        }
}

void TextLayout::CheckObstacles(const std::string& place, std::vector<std::string>& faults) const
{
    for (const Picture& obstacle : m_Obstacles) {
        for (const ShownText& text : m_Texts)
            if (Near(text.ink, obstacle.rect, kGap))
                faults.push_back(place + ": " + OneLine(text.text) + " " + Describe(text.ink) +
                                 (Overlap(text.ink, obstacle.rect) ? " lies under " : " touches ") +
                                 obstacle.name + " " + Describe(obstacle.rect));
        for (const Button* button : m_Buttons) {
            const SDL_Rect rect = button->GetScreenRect();
            if (Near(rect, obstacle.rect, kGap))
                faults.push_back(place + ": the button " + button->GetName() + " " +
                                 Describe(rect) +
                                 (Overlap(rect, obstacle.rect) ? " lies under " : " touches ") +
                                 obstacle.name + " " + Describe(obstacle.rect));
        }
    }
}

void TextLayout::CheckCaptionSizes(const std::string& place, std::vector<std::string>& faults) const
{
    // Buttons of one plate size under one parent that stand in one row or one column are
    // siblings: they read alike.
    using Kin = std::tuple<const Actor*, int, int, char, int>;
    std::map<Kin, std::map<int, std::string>> sizes; // point size -> a caption of that size
    for (const Button* button : m_Buttons) {
        const Label* caption = button->GetLabel();
        if (!caption || !caption->IsVisible() || !caption->GetFont() || Empty(InkOf(*caption)))
            continue;
        const SDL_Rect at = button->GetScreenRect();
        const std::pair<int, std::string> size{caption->GetFont()->GetPointSize(),
                                               caption->GetText()};
        sizes[Kin{button->GetParent(), at.w, at.h, 'y', at.y}].insert(size);
        sizes[Kin{button->GetParent(), at.w, at.h, 'x', at.x}].insert(size);
    }
    // A caption stands in the middle of its plate, whatever size it was drawn at (a radio
    // button's stands beside its tick).
    for (const Button* button : m_Buttons) {
        if (dynamic_cast<const RadioButton*>(button))
            continue;
        const Label* caption = button->GetLabel();
        const SDL_Rect ink = caption && caption->IsVisible() ? InkOf(*caption) : SDL_Rect{};
        if (Empty(ink))
            continue;
        const SDL_Rect plate = button->GetScreenRect();
        const int off = (2 * ink.x + ink.w) - (2 * plate.x + plate.w); // twice the offset
        if (std::abs(off) > 2 * kCaptionSlack)
            faults.push_back(place + ": the caption " + OneLine(caption->GetText()) + " " +
                             Describe(ink) + " stands " + std::to_string(off / 2) +
                             " px off the middle of its button " + button->GetName() + " " +
                             Describe(plate));
        // Upright, the letters' own height varies (capitals, descenders): the caption's line
        // is what stands in the middle.
        const SDL_Rect line = caption->GetScreenRect();
        const int high = (2 * plate.y + plate.h) - (2 * line.y + line.h);
        if (std::abs(high) > 2)
            faults.push_back(place + ": the caption " + OneLine(caption->GetText()) + "'s line " +
                             Describe(line) + " stands " + std::to_string(high / 2) +
                             " px above the middle of its button " + button->GetName() + " " +
                             Describe(plate));
    }
    std::set<std::string> reported;
    for (const auto& kin : sizes) {
        if (kin.second.size() < 2)
            continue;
        std::string list;
        for (const auto& size : kin.second)
            list += " " + OneLine(size.second) + " at " + std::to_string(size.first) + " pt";
        if (reported.insert(list).second)
            faults.push_back(place + ": sibling buttons' captions differ in size:" + list);
    }
}

SDL_Rect TextLayout::InkOf(const Label& label)
{
    const Image* image = label.GetImage();
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    if (!surface || surface->format->BytesPerPixel != 4 || surface->format->Amask == 0)
        return Rect(0, 0, 0, 0);
    int left = surface->w, top = surface->h, right = -1, bottom = -1;
    const SDL_PixelFormat& format = *surface->format;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            if (((row[x] & format.Amask) >> format.Ashift) < kTextInkAlpha)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return Rect(0, 0, 0, 0);
    const SDL_Rect at = label.GetScreenRect();
    return Rect(at.x + left, at.y + top, right - left + 1, bottom - top + 1);
}

namespace {

// The relative luminance of an sRGB colour (0 black to 1 white).
double Luminance(double r, double g, double b)
{
    const auto linear = [](double c) {
        c /= 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

// Calls visit(r, g, b) for each pixel of a 32-bit surface drawn at `at` (screen
// coordinates) that lies under the screen rectangle ink.
template <class Visit>
void ForEachPixelUnder(SDL_Surface* surface, const SDL_Rect& at, const SDL_Rect& ink, Visit visit)
{
    for (int y = ink.y - at.y; y < ink.y - at.y + ink.h; ++y)
        for (int x = ink.x - at.x; x < ink.x - at.x + ink.w; ++x) {
            if (x < 0 || y < 0 || x >= surface->w || y >= surface->h)
                continue;
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
            Uint8 pr, pg, pb;
            SDL_GetRGB(row[x], surface->format, &pr, &pg, &pb);
            visit(pr, pg, pb);
        }
}

} // namespace

double TextLayout::Contrast(const Label& label, const Actor& picture)
{
    const Image* image = picture.GetImage();
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    const SDL_Rect ink = InkOf(label);
    if (!surface || surface->format->BytesPerPixel != 4 || Empty(ink))
        return 0.0;
    const SDL_Rect at = picture.GetScreenRect();
    double r = 0, g = 0, b = 0;
    int count = 0;
    ForEachPixelUnder(surface, at, ink,
                      [&](Uint8 pr, Uint8 pg, Uint8 pb) { r += pr, g += pg, b += pb, ++count; });
    if (count == 0)
        return 0.0;
    const Color& text = label.GetTextColor();
    const double paper = Luminance(r / count, g / count, b / count);
    const double letters = Luminance(text.r, text.g, text.b);
    return (std::max(paper, letters) + 0.05) / (std::min(paper, letters) + 0.05);
}

namespace {

// Hides every shown label under the actor for as long as it lives, and shows them again.
class TextsHidden
{
public:
    explicit TextsHidden(Actor& root) { Hide(root); }
    ~TextsHidden()
    {
        for (Actor* label : m_Hidden)
            label->SetVisible(true, false);
    }
    TextsHidden(const TextsHidden&) = delete;
    TextsHidden& operator=(const TextsHidden&) = delete;

private:
    void Hide(Actor& actor)
    {
        if (!actor.IsVisible())
            return;
        if (dynamic_cast<Label*>(&actor)) {
            actor.SetVisible(false, false);
            m_Hidden.push_back(&actor);
            return;
        }
        for (Actor* child : actor.GetChildren())
            Hide(*child);
    }
    std::vector<Actor*> m_Hidden;
};

} // namespace

double TextLayout::ContrastOver(const Label& label, Actor& scene)
{
    const SDL_Rect ink = InkOf(label);
    if (Empty(ink))
        return 0.0;
    const SDL_Rect at = scene.GetScreenRect();
    Canvas canvas(std::max(1, int(at.w)), std::max(1, int(at.h)), CANVAS_OWNS_TARGET);
    {
        TextsHidden hidden(scene);
        canvas.Translate(-scene.GetX(), -scene.GetY());
        scene.Render(canvas);
    }
    SDL_Surface* surface =
        canvas.GetTargetImage() ? canvas.GetTargetImage()->GetSDLSurface() : nullptr;
    if (!surface || surface->format->BytesPerPixel != 4)
        return 0.0;
    const Color& text = label.GetTextColor();
    const double letters = Luminance(text.r, text.g, text.b);
    std::vector<double> ground;
    ForEachPixelUnder(surface, at, ink, [&](Uint8 pr, Uint8 pg, Uint8 pb) {
        ground.push_back(Luminance(pr, pg, pb));
    });
    if (ground.empty())
        return 0.0;
    // The tenth of the ground nearest the letters' luminance.
    std::sort(ground.begin(), ground.end(), [letters](double a, double b) {
        return std::fabs(a - letters) < std::fabs(b - letters);
    });
    const double worst = ground[ground.size() / 10];
    return (std::max(worst, letters) + 0.05) / (std::min(worst, letters) + 0.05);
}

std::string TextLayout::Describe(const SDL_Rect& r)
{
    std::ostringstream out;
    out << "[x " << r.x << ".." << r.x + r.w << ", y " << r.y << ".." << r.y + r.h << "]";
    return out.str();
}

} // namespace bbtest
