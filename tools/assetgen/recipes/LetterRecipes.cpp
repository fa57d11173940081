// The letters the characters write to the player: the sheet of writing paper
// ("bkgLetter.png", 576 x 432, ruled, with a soft shadow down-right), the senders' framed
// portraits ("Character.<name>.Frame.png", 88 x 104: a head and shoulders in an oval gilt
// frame), the yellow push button, the rustle of a letter unfolding
// ("Pickup_PaperNote4.ogg") and the bells of a letter ready to be answered
// ("Pickup_GemBells06.ogg").
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace assetgen {

namespace {

const char* const kImages = "Images/Letters";
const char* const kSounds = "Sounds/Letters";

constexpr int kLetterW = 576;
constexpr int kLetterH = 432;
constexpr int kShadow = 6; // room for the shadow along the right and bottom edges
constexpr int kPortraitW = 88;
constexpr int kPortraitH = 104;
// The paper's rules: the first below the title, then one for every line of the letters'
// handwriting (its font's line height), so that the written lines sit on them. The paper's
// metadata carries the first, the pitch and the last, for the code that places the lines.
constexpr int kRuleTop = 104;
constexpr int kRulePitch = 24;
// The last rule ends the ruled part above the buttons along the bottom edge.
constexpr int kRuleLast = 344;

// Writing paper: warm cream with a fibrous mottle, pale blue rules, a red margin line and
// edges that darken a little with age.
void LetterPaper(AssetPack& pack)
{
    const std::string name = "bkgLetter.png";
    Rng rng(name);
    const int w = kLetterW - kShadow, h = kLetterH - kShadow;
    const NoiseField mottle = NoiseField::Value(rng, w, h, 12, 9, 4, 0.55f);
    const NoiseField grain = NoiseField::Grain(rng, w, h);
    Canvas sheet(w, h);
    const Sdf paper = RoundedRectShape({0.5f, 0.5f, w - 1.0f, h - 1.0f}, 5);
    FillShape(sheet, paper, [&](int x, int y) {
        const float fibre = (mottle.At(x, y) - 0.5f) * 0.10f + (grain.At(x, y) - 0.5f) * 0.04f;
        // Distance to the nearest edge, for the aged rim.
        const float edge = float(std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y)));
        const float age = std::max(0.0f, 1.0f - edge / 36.0f) * 0.12f;
        const Rgba cream = Rgba::Bytes(246, 238, 214);
        return Mix(cream.Scaled(1.0f + fibre), Rgba::Bytes(196, 170, 120), age);
    });
    // Rules below the title, the margin to the left of the greeting.
    for (int y = kRuleTop; y <= kRuleLast; y += kRulePitch)
        for (int x = 24; x < w - 24; ++x)
            sheet.Shade(x, y, Rgba::Bytes(120, 150, 200), 0.35f);
    for (int y = 8; y < h - 8; ++y) {
        sheet.Shade(60, y, Rgba::Bytes(210, 90, 90), 0.35f);
        sheet.Shade(61, y, Rgba::Bytes(210, 90, 90), 0.15f);
    }
    Bevel(sheet, paper, 2.0f, 0.15f);
    Canvas letter(kLetterW, kLetterH);
    DrawWithShadow(letter, sheet, 0, 0, 3, 3, 3.0f, 0.45f);
    const LuaValue metadata = RuledPaperMetadata(kRuleTop, kRulePitch, kRuleLast);
    pack.WriteImage(kImages, name, letter, metadata);
}

// How a sender looks in the portrait.
struct Sender
{
    const char* name;
    Rgba backdrop; // behind the figure
    Rgba skin;
    Rgba hair;
    Rgba coat;
    bool longHair;
    bool goggles;
};

const Sender kSenders[] = {
    // The guide of the journey: auburn hair to the shoulders, a sailor's blue coat.
    {"Miriel", Rgba::Bytes(150, 190, 214), Rgba::Bytes(240, 204, 172), Rgba::Bytes(150, 62, 34),
     Rgba::Bytes(40, 70, 132), true, false},
    // The inventor of the lab: white tufts, brass goggles, a brown work coat.
    {"Tinkerwit", Rgba::Bytes(196, 176, 140), Rgba::Bytes(232, 196, 164),
     Rgba::Bytes(236, 236, 230), Rgba::Bytes(112, 76, 46), false, true},
};

// An oval portrait in a gilt frame, lit from the upper left.
void Portrait(AssetPack& pack, const Sender& sender)
{
    const std::string name = std::string("Character.") + sender.name + ".Frame.png";
    const float cx = kPortraitW / 2.0f - 2, cy = kPortraitH / 2.0f - 2;
    const float rx = kPortraitW / 2.0f - 6, ry = kPortraitH / 2.0f - 6;
    auto oval = [=](float grow) {
        return [=](float x, float y) {
            const float dx = (x - cx) / (rx + grow), dy = (y - cy) / (ry + grow);
            return (std::sqrt(dx * dx + dy * dy) - 1.0f) * std::min(rx, ry);
        };
    };
    Canvas face(kPortraitW, kPortraitH);
    FillShape(face, oval(0),
              LinearGradient(0, 0, sender.backdrop.Scaled(1.1f), 0, kPortraitH,
                             sender.backdrop.Scaled(0.75f)));
    // The hair behind, the shoulders and coat, the neck, the head and the hair in front.
    if (sender.longHair)
        FillShape(face, RoundedRectShape({cx - 19, cy - 22, 38, 46}, 16), Solid(sender.hair));
    const Sdf shoulders = RoundedRectShape({cx - 30, cy + 22, 60, 50}, 20);
    FillShape(
        face, shoulders,
        LinearGradient(cx - 30, 0, sender.coat.Scaled(1.2f), cx + 30, 0, sender.coat.Scaled(0.8f)));
    FillShape(face, RoundedRectShape({cx - 6, cy + 8, 12, 18}, 4), Solid(sender.skin.Scaled(0.9f)));
    const Sdf head = [=](float x, float y) {
        const float dx = (x - cx) / 15.0f, dy = (y - (cy - 6)) / 18.0f;
        return (std::sqrt(dx * dx + dy * dy) - 1.0f) * 15.0f;
    };
    FillShape(
        face, head,
        RadialGradient(cx - 5, cy - 12, 24, sender.skin.Scaled(1.05f), sender.skin.Scaled(0.82f)));
    if (sender.longHair) {
        FillShape(face, RoundedRectShape({cx - 16, cy - 25, 32, 11}, 6), Solid(sender.hair));
    } else {
        FillShape(face, CircleShape(cx - 15, cy - 14, 7), Solid(sender.hair));
        FillShape(face, CircleShape(cx + 15, cy - 14, 7), Solid(sender.hair));
        FillShape(face, CircleShape(cx, cy - 24, 6), Solid(sender.hair));
    }
    // Eyes and a smile; the inventor wears his goggles pushed up on his brow.
    FillShape(face, CircleShape(cx - 5.5f, cy - 6, 1.6f), Solid(Rgba::Bytes(40, 30, 30)));
    FillShape(face, CircleShape(cx + 5.5f, cy - 6, 1.6f), Solid(Rgba::Bytes(40, 30, 30)));
    FillShape(face, SegmentShape(cx - 4, cy + 3, cx, cy + 5, 1.4f),
              Solid(Rgba::Bytes(150, 70, 60)));
    FillShape(face, SegmentShape(cx, cy + 5, cx + 4, cy + 3, 1.4f),
              Solid(Rgba::Bytes(150, 70, 60)));
    if (sender.goggles) {
        FillShape(face, SegmentShape(cx - 15, cy - 15, cx + 15, cy - 15, 2.5f),
                  Solid(Rgba::Bytes(70, 50, 30)));
        for (float gx : {cx - 6.5f, cx + 6.5f}) {
            FillShape(face, CircleShape(gx, cy - 15, 5), Solid(Rgba::Bytes(200, 160, 70)));
            FillShape(face, CircleShape(gx, cy - 15, 3.2f),
                      RadialGradient(gx - 1, cy - 16, 4, Rgba::Bytes(220, 240, 250),
                                     Rgba::Bytes(90, 130, 150)));
        }
    }
    face.MaskBy([&] {
        Canvas mask(kPortraitW, kPortraitH);
        FillShape(mask, oval(0), Solid(Rgba::Bytes(255, 255, 255)));
        return mask;
    }());

    // The gilt ring around the oval.
    Canvas frame(kPortraitW, kPortraitH);
    const Sdf inner = oval(0), outer = oval(5);
    const Sdf ring = [=](float x, float y) { return std::max(outer(x, y), -inner(x, y)); };
    FillShape(frame, ring,
              LinearGradient(0, 0, Rgba::Bytes(250, 222, 130), kPortraitW, kPortraitH,
                             Rgba::Bytes(150, 104, 36)));
    Bevel(frame, ring, 2.0f, 0.5f);
    face.DrawOver(frame, 0, 0);

    Canvas portrait(kPortraitW, kPortraitH);
    DrawWithShadow(portrait, face, 0, 0, 2, 2, 2.0f, 0.5f);
    pack.WriteImage(kImages, name, portrait);
}

// A yellow push button of the same shape as the game's other push buttons.
void YellowButton(AssetPack& pack)
{
    PlateStyle style;
    style.base = Rgba::Bytes(226, 186, 52);
    style.radius = 12;
    style.bevel = 2.5f;
    const std::string name = "Button.yellow.png";
    pack.WriteImage(folders::kUiImages, name, ButtonSheet(128, 44, style, name),
                    ButtonSheetMetadata(128, 44, style));
}

// A sheet of paper unfolding: three soft swishes of band-passed noise, each a little
// brighter than the last, and a dry crinkle at the end.
Signal PaperNote()
{
    Rng rng(std::string("Pickup_PaperNote4.ogg"));
    Signal s(44100, 0.55);
    const double starts[] = {0.0, 0.12, 0.24};
    for (int i = 0; i < 3; ++i)
        AddNoise(s, starts[i], 0.16,
                 MakeNoise(FilterMode::BandPass, 1800 + 600 * i, 3200 + 800 * i, 0.45f, 0.03, 0.05,
                           0.5f),
                 rng);
    for (int i = 0; i < 12; ++i)
        AddNoise(s, 0.36 + rng.Uniform() * 0.12, 0.02,
                 MakeNoise(FilterMode::HighPass, 4500, 0, 0.2f, 0.001, 0.006, 0.3f), rng);
    FadeEdges(s, 0.03);
    return FinishEffect(s);
}

// Small bells: a quick rising triad of glassy tones, each with its octave ringing above.
Signal GemBells()
{
    Signal s(44100, 1.0);
    const double notes[] = {1318.5, 1568.0, 2093.0};
    for (int i = 0; i < 3; ++i) {
        AddTone(s, i * 0.07, 0.8, MakeTone(Wave::Sine, notes[i], 0, 0.4f, 0.002, 0.3));
        AddTone(s, i * 0.07, 0.5, MakeTone(Wave::Sine, notes[i] * 2.01, 0, 0.12f, 0.002, 0.12));
    }
    return FinishEffect(s);
}

} // namespace

void GenerateLetterAssets(AssetPack& pack)
{
    LetterPaper(pack);
    for (const Sender& sender : kSenders)
        Portrait(pack, sender);
    YellowButton(pack);
    pack.WriteSound(kSounds, "Pickup_PaperNote4.ogg", AudioClip::Mono(PaperNote()));
    pack.WriteSound(kSounds, "Pickup_GemBells06.ogg", AudioClip::Mono(GemBells()));
}

} // namespace assetgen
