// Interface pictures and sounds: push-button sheets, the window buttons of the screen's
// corner, the key-tip badge, the radio buttons' check box, the scroll bar's track, the ball
// and the button clicks.
#include "kit/Draw.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <cmath>

namespace assetgen {

namespace {

// Push buttons: wide enough for a caption such as "try again" at 26 points.
constexpr int kButtonW = 128;
constexpr int kButtonH = 44;
// Window buttons: 18 × 18, spaced 20 pixels apart along the top edge.
constexpr int kWindowButton = 18;
// Small push buttons of the player-card and menu corners.
constexpr int kSmallButtonW = 104;
constexpr int kSmallButtonH = 34;
// Square blank buttons: the arrow buttons and the scroll bar's thumb.
constexpr int kBlankSmall = 30;
// The check box of radio buttons, drawn at (1, 3) on a push button.
constexpr int kCheckBox = 20;
// The scroll bar's track: the thumb's centre runs from one end to the other.
constexpr int kTrackW = 180;
constexpr int kTrackH = 12;

void PushButton(AssetPack& pack, const std::string& name, const Rgba& colour, int w = kButtonW,
                int h = kButtonH, float radius = 12)
{
    PlateStyle style;
    style.base = colour;
    style.radius = radius;
    style.bevel = 2.5f;
    pack.WriteImage(folders::kUiImages, name, ButtonSheet(w, h, style, name),
                    ButtonSheetMetadata(w, h, style));
}

// The check box of a radio button: frame 0 an empty sunken well, frame 1 the same with a
// green tick.
void CheckBox(AssetPack& pack)
{
    const int n = kCheckBox;
    Canvas sheet(n * 2, n);
    for (int frame = 0; frame < 2; ++frame) {
        Canvas box(n, n);
        const Sdf well = RoundedRectShape({1.5f, 1.5f, n - 4.0f, n - 4.0f}, 3.5f);
        FillShape(box, well,
                  LinearGradient(0, 0, Rgba::Bytes(226, 222, 204), 0, static_cast<float>(n),
                                 Rgba::Bytes(252, 250, 238)));
        Bevel(box, well, 2.0f, 0.45f, true);
        FillShape(
            box, [&](float x, float y) { return std::fabs(well(x, y) + 0.5f) - 0.6f; },
            Solid(Rgba::Bytes(92, 72, 48, 220)));
        if (frame == 1) {
            const Sdf tick = Union(SegmentShape(5.5f, 9.5f, 8.5f, 13.0f, 2.6f),
                                   SegmentShape(8.5f, 13.0f, 14.5f, 5.0f, 2.6f));
            FillShape(
                box, [&](float x, float y) { return tick(x - 0.8f, y - 0.8f); },
                Solid(Rgba{0, 0, 0, 0.35f}));
            FillShape(box, tick, Solid(Rgba::Bytes(52, 150, 58)));
        }
        sheet.DrawOver(box, frame * n, 0);
    }
    pack.WriteImage(folders::kUiImages, "boxCheck.png", sheet, SheetMetadata(2, n, n));
}

// The scroll bar's track: a sunken groove with rounded ends.
void TrackBar(AssetPack& pack)
{
    Canvas track(kTrackW, kTrackH);
    const Sdf groove = RoundedRectShape({1, 2, kTrackW - 2.0f, kTrackH - 4.0f}, 3.5f);
    FillShape(
        track, groove,
        LinearGradient(0, 2, Rgba::Bytes(48, 40, 32), 0, kTrackH - 2.0f, Rgba::Bytes(96, 84, 66)));
    Bevel(track, groove, 1.5f, 0.5f, true);
    pack.WriteImage(folders::kUiImages, "bkgTrackBar.png", track);
}

// A light glyph with a one-pixel dark shadow, moved with the pressed plate.
FaceDecoration Glyph(Sdf (*shape)(float dx, float dy))
{
    return [shape](Canvas& face, ButtonLook look) {
        const float shift = look == ButtonLook::Pressed ? 1.0f : 0.0f;
        const Rgba ink =
            look == ButtonLook::Disabled ? Rgba::Bytes(170, 170, 170) : Rgba::Bytes(245, 242, 232);
        FillShape(face, shape(shift + 1, shift + 1), Solid(Rgba{0, 0, 0, 0.55f}));
        FillShape(face, shape(shift, shift), Solid(ink));
    };
}

Sdf MinimiseGlyph(float dx, float dy)
{
    return SegmentShape(5 + dx, 11.5f + dy, 11 + dx, 11.5f + dy, 2);
}

Sdf RestoreGlyph(float dx, float dy)
{
    // Two overlapping window outlines.
    const Sdf back = RoundedRectShape({6.5f + dx, 3.5f + dy, 6, 5}, 0.5f);
    const Sdf front = RoundedRectShape({3.5f + dx, 6.5f + dy, 6, 5}, 0.5f);
    auto ring = [](Sdf s) {
        return Sdf([s](float x, float y) { return std::fabs(s(x, y)) - 0.65f; });
    };
    return Union(ring(back), ring(front));
}

Sdf CloseGlyph(float dx, float dy)
{
    return Union(SegmentShape(4.5f + dx, 4.5f + dy, 11 + dx, 11 + dy, 2),
                 SegmentShape(11 + dx, 4.5f + dy, 4.5f + dx, 11 + dy, 2));
}

void WindowButton(AssetPack& pack, const std::string& name, const Rgba& colour,
                  Sdf (*glyph)(float, float))
{
    PlateStyle style;
    style.base = colour;
    style.radius = 4;
    style.bevel = 1.5f;
    style.texture = 0.04f;
    pack.WriteImage(folders::kUiImages, name,
                    ButtonSheet(kWindowButton, kWindowButton, style, name, Glyph(glyph)),
                    SheetMetadata(kButtonFrames, kWindowButton, kWindowButton));
}

// The badge behind a button's shortcut letter: a small gold disc.
void KeyTip(AssetPack& pack)
{
    const int size = 22;
    Canvas badge(size, size);
    const float c = 10.0f, r = 9.0f;
    const Sdf disc = CircleShape(c, c, r);
    FillShape(badge, disc,
              RadialGradient(c - 3, c - 3, r * 1.6f, Rgba::Bytes(255, 226, 120),
                             Rgba::Bytes(196, 134, 24)));
    Bevel(badge, disc, 2.0f, 0.5f);
    FillShape(
        badge, [&](float x, float y) { return std::fabs(disc(x, y) + 0.5f) - 0.5f; },
        Solid(Rgba::Bytes(90, 56, 8, 200)));
    Canvas out(size, size);
    DrawWithShadow(out, badge, 0, 0, 1, 1, 1.5f, 0.5f);
    pack.WriteImage(folders::kUiImages, "objKeyTip.png", out);
}

// The normal ball (radius 8): a polished steel sphere.
void Ball(AssetPack& pack)
{
    Canvas ball(16, 16);
    SphereStyle style;
    style.ambient = 0.3f;
    style.specular = 0.95f;
    style.shininess = 28;
    DrawSphere(ball, 8, 8, 7.6f, Rgba::Bytes(184, 190, 204), style);
    pack.WriteImage(folders::kUiImages, "Ball.png", ball);
}

// The press of a push button: a short wooden tock with a bright tick on top.
Signal Click(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.07);
    Tone body;
    body.freq = 1500;
    body.freqEnd = 1100;
    body.gain = 0.6f;
    body.env.decay = 0.012;
    AddTone(s, 0, 0.07, body);
    Tone knock;
    knock.freq = 420;
    knock.gain = 0.35f;
    knock.env.decay = 0.02;
    AddTone(s, 0, 0.07, knock);
    NoiseBurst tick;
    tick.mode = FilterMode::BandPass;
    tick.cutoff = 3800;
    tick.resonance = 0.4f;
    tick.gain = 0.8f;
    tick.env.attack = 0.0005;
    tick.env.decay = 0.004;
    AddNoise(s, 0, 0.03, tick, rng);
    return FinishEffect(s);
}

// The lighter click of small buttons and arrows: higher and shorter.
Signal Click2(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.05);
    Tone ping;
    ping.wave = Wave::Triangle;
    ping.freq = 2600;
    ping.freqEnd = 2200;
    ping.gain = 0.5f;
    ping.env.decay = 0.008;
    AddTone(s, 0, 0.05, ping);
    NoiseBurst tick;
    tick.mode = FilterMode::HighPass;
    tick.cutoff = 5000;
    tick.gain = 0.5f;
    tick.env.attack = 0.0005;
    tick.env.decay = 0.003;
    AddNoise(s, 0, 0.02, tick, rng);
    return FinishEffect(s);
}

} // namespace

void GenerateUiAssets(AssetPack& pack)
{
    PushButton(pack, "Button.png", Rgba::Bytes(76, 126, 196));
    PushButton(pack, "Button.green.png", Rgba::Bytes(90, 170, 72));
    PushButton(pack, "Button.red.png", Rgba::Bytes(204, 74, 54));
    PushButton(pack, "Button.small.png", Rgba::Bytes(76, 126, 196), kSmallButtonW, kSmallButtonH,
               10);
    PushButton(pack, "Button.small.red.png", Rgba::Bytes(204, 74, 54), kSmallButtonW, kSmallButtonH,
               10);
    PushButton(pack, "btnBlankSmall.png", Rgba::Bytes(150, 112, 70), kBlankSmall, kBlankSmall, 8);
    CheckBox(pack);
    TrackBar(pack);
    WindowButton(pack, "btnMin.png", Rgba::Bytes(70, 84, 108), MinimiseGlyph);
    WindowButton(pack, "btnRes.png", Rgba::Bytes(70, 84, 108), RestoreGlyph);
    WindowButton(pack, "btnClose.png", Rgba::Bytes(184, 62, 46), CloseGlyph);
    KeyTip(pack);
    Ball(pack);
    pack.WriteSound(folders::kUiSounds, "click.ogg", AudioClip::Mono(Click("click.ogg")));
    pack.WriteSound(folders::kUiSounds, "click2.ogg", AudioClip::Mono(Click2("click2.ogg")));
}

} // namespace assetgen
