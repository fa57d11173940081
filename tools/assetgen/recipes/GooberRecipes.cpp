// Goobers: the creatures of the play field (one round body per kind, shaded from the upper
// left, with eyes and a kind's own markings), the damage frames of the strong ones, the
// bomb and the anvil, and the sounds goobers make.
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

const char* const kImages = "Images/Goobers";
const char* const kSounds = "Sounds/Goobers";

// A goober's body fills a 30 x 30 frame (the game's circle of radius 15).
constexpr int kBody = 30;

enum class Marking { None, Horns, Fuse, Mask, Spots, Frost, Rock, Lamp };

// The kinds: picture "Goober.<name>.png", body colour, frames (damage or blink) and marks.
struct GooberKind
{
    const char* name;
    Rgba body;
    int frames;
    Marking marking;
    bool eyes;
};

const GooberKind kKinds[] = {
    {"Normal", Rgba::Bytes(96, 178, 72), 1, Marking::None, true},
    {"Destructive", Rgba::Bytes(206, 84, 44), 1, Marking::Horns, true},
    {"Suicide", Rgba::Bytes(170, 96, 190), 1, Marking::Spots, true},
    {"Bomber", Rgba::Bytes(70, 70, 84), 1, Marking::Fuse, true},
    {"Strong", Rgba::Bytes(60, 110, 196), 4, Marking::Horns, true},
    {"Thief", Rgba::Bytes(214, 176, 60), 1, Marking::Mask, true},
    {"Boulder", Rgba::Bytes(128, 118, 104), 1, Marking::Rock, false},
    {"Snowball", Rgba::Bytes(232, 240, 250), 1, Marking::Frost, false},
    {"SmartBomb", Rgba::Bytes(58, 60, 72), 2, Marking::Lamp, false},
};

void DrawEyes(Canvas& c, float ox, float cy, bool masked)
{
    if (masked)
        FillShape(c, RoundedRectShape(RectF{ox + 5, cy - 6, 20, 7}, 3.5f),
                  Solid(Rgba::Bytes(30, 24, 30)));
    for (float ex : {ox + 10.5f, ox + 19.5f}) {
        FillShape(c, CircleShape(ex, cy - 2.5f, 3.2f), Solid(Rgba::Bytes(250, 250, 244)));
        FillShape(c, CircleShape(ex + 0.8f, cy - 2.0f, 1.5f), Solid(Rgba::Bytes(20, 20, 28)));
    }
}

// Cracks that grow with the damage frame: level 0 none, up to 3 long ones.
void DrawCracks(Canvas& c, float ox, int level, Rng& rng, float w = kBody, float h = kBody)
{
    const Rgba crack = Rgba::Bytes(24, 20, 22, 220);
    for (int i = 0; i < level * 2; ++i) {
        float x = ox + w * float(rng.Range(0.25, 0.75)), y = h * float(rng.Range(0.25, 0.75));
        for (int step = 0; step < 3 + level; ++step) {
            // Kept well inside the frame, so cracks never cross into the next one.
            const float nx = std::clamp(x + float(rng.Range(-5, 5)), ox + 6.0f, ox + w - 6.0f);
            const float ny = std::clamp(y + float(rng.Range(-5, 5)), 5.0f, h - 5.0f);
            FillShape(c, SegmentShape(x, y, nx, ny, 1.0f), Solid(crack));
            x = nx;
            y = ny;
        }
    }
}

void DrawGooberFrame(Canvas& sheet, const GooberKind& kind, int frame, Rng& rng,
                     const NoiseField& grain)
{
    const float ox = float(frame * kBody);
    const float cx = ox + kBody / 2.0f, cy = kBody / 2.0f;
    Canvas body(kBody, kBody);
    DrawSphere(body, kBody / 2.0f, kBody / 2.0f, kBody / 2.0f - 1.5f, kind.body);
    if (kind.marking == Marking::Rock || kind.marking == Marking::Frost)
        ApplyTexture(
            body, [&](int x, int y) { return grain.At(x, y); },
            kind.marking == Marking::Rock ? 0.35f : 0.12f);
    sheet.DrawOver(body, int(ox), 0);
    switch (kind.marking) {
    case Marking::Horns:
        for (float side : {-1.0f, 1.0f})
            FillShape(sheet, SegmentShape(cx + side * 6, 6, cx + side * 10, 1.5f, 2.2f),
                      Solid(Rgba::Bytes(240, 226, 190)));
        break;
    case Marking::Fuse:
        FillShape(sheet, SegmentShape(cx + 4, 4, cx + 8, 1, 1.4f),
                  Solid(Rgba::Bytes(150, 120, 80)));
        DrawRadialSprite(sheet, cx + 8, 1.5f, 2.5f, Rgba::Bytes(255, 200, 80), 1.4f, true);
        break;
    case Marking::Spots:
        for (int i = 0; i < 4; ++i)
            FillShape(sheet,
                      CircleShape(cx + float(rng.Range(-8, 8)), cy + float(rng.Range(2, 8)), 1.8f),
                      Solid(Rgba::Bytes(250, 220, 250, 180)));
        break;
    case Marking::Lamp: {
        // The homing lamp: lit on frame 0, dark on frame 1.
        const Rgba lamp = frame == 0 ? Rgba::Bytes(255, 64, 48) : Rgba::Bytes(90, 30, 28);
        FillShape(sheet, CircleShape(cx, cy, 4.5f), Solid(lamp));
        if (frame == 0)
            DrawRadialSprite(sheet, cx, cy, 9.0f, Rgba::Bytes(255, 90, 60), 1.5f, true);
        break;
    }
    default:
        break;
    }
    if (kind.eyes)
        DrawEyes(sheet, ox, cy, kind.marking == Marking::Mask);
    DrawCracks(sheet, ox, frame * (kind.frames > 2 ? 1 : 0), rng);
}

void Creatures(AssetPack& pack)
{
    for (const GooberKind& kind : kKinds) {
        const std::string name = std::string("Goober.") + kind.name + ".png";
        Rng rng(name);
        const NoiseField grain = NoiseField::Grain(rng, kBody, kBody);
        Canvas sheet(kBody * kind.frames, kBody);
        for (int frame = 0; frame < kind.frames; ++frame)
            DrawGooberFrame(sheet, kind, frame, rng, grain);
        if (kind.frames > 1)
            pack.WriteImage(kImages, name, sheet, SheetMetadata(kind.frames, kBody, kBody));
        else
            pack.WriteImage(kImages, name, sheet);
    }
}

// The bomb: a black iron ball with a brass cap and a lit fuse.
void Bomb(AssetPack& pack)
{
    Canvas c(kBody, kBody);
    DrawSphere(c, 15, 16.5f, 12.5f, Rgba::Bytes(44, 44, 52));
    FillShape(c, RoundedRectShape(RectF{11, 2.5f, 8, 4}, 1.2f), Solid(Rgba::Bytes(196, 160, 70)));
    FillShape(c, SegmentShape(15, 3, 20, 0.5f, 1.2f), Solid(Rgba::Bytes(150, 120, 80)));
    DrawRadialSprite(c, 20, 1.5f, 3.0f, Rgba::Bytes(255, 210, 90), 1.3f, true);
    pack.WriteImage(kImages, "Bomb.png", c);
}

// The anvil: 48 x 24 of dark steel, frames 0..3 ever more cracked.
constexpr int kAnvilW = 48;
constexpr int kAnvilH = 24;
constexpr int kAnvilFrames = 4;

void Anvil(AssetPack& pack)
{
    const std::string name = "Anvil.png";
    Rng rng(name);
    const NoiseField grain = NoiseField::Grain(rng, kAnvilW, kAnvilH);
    Canvas sheet(kAnvilW * kAnvilFrames, kAnvilH);
    for (int frame = 0; frame < kAnvilFrames; ++frame) {
        Canvas a(kAnvilW, kAnvilH);
        const Sdf top = RoundedRectShape(RectF{2, 1, 44, 8}, 2.0f);
        const Sdf waist = RoundedRectShape(RectF{16, 8, 16, 8}, 1.0f);
        const Sdf foot = RoundedRectShape(RectF{8, 16, 32, 7}, 2.0f);
        const Sdf shape = Union(Union(top, waist), foot);
        FillShape(
            a, shape,
            LinearGradient(0, 0, Rgba::Bytes(150, 154, 166), 0, kAnvilH, Rgba::Bytes(62, 64, 74)));
        ApplyTexture(
            a, [&](int x, int y) { return grain.At(x, y); }, 0.15f);
        Bevel(a, shape, 2.0f, 0.5f);
        DrawCracks(a, 0, frame, rng, kAnvilW, kAnvilH);
        sheet.DrawOver(a, frame * kAnvilW, 0);
    }
    pack.WriteImage(kImages, name, sheet, SheetMetadata(kAnvilFrames, kAnvilW, kAnvilH));
}

// ---- Sounds --------------------------------------------------------------------------------

// A wet pop: a quick falling blip over a puff of noise.
Signal Pop(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.22);
    Tone blip;
    blip.freq = 900;
    blip.freqEnd = 240;
    blip.gain = 0.7f;
    blip.env.decay = 0.05;
    AddTone(s, 0, 0.2, blip);
    NoiseBurst puff;
    puff.cutoff = 3000;
    puff.cutoffEnd = 600;
    puff.gain = 0.35f;
    puff.env.decay = 0.03;
    AddNoise(s, 0, 0.12, puff, rng);
    return FinishEffect(s);
}

// The score chime: two bright rising notes.
Signal Attention(const std::string&)
{
    Signal s(44100, 0.32);
    for (int i = 0; i < 2; ++i) {
        Tone note;
        note.wave = Wave::Triangle;
        note.freq = i == 0 ? 988 : 1319;
        note.gain = 0.55f;
        note.env.decay = 0.09;
        AddTone(s, i * 0.08, 0.22, note);
    }
    return FinishEffect(s);
}

// A burning fuse: crackling high noise, meant to loop.
Signal Fuse(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 1.0);
    NoiseBurst hiss;
    hiss.mode = FilterMode::HighPass;
    hiss.cutoff = 3500;
    hiss.gain = 0.25f;
    hiss.env.sustain = 1.0f;
    hiss.env.attack = 0.02;
    hiss.env.release = 0.02;
    AddNoise(s, 0, 1.0, hiss, rng);
    for (int i = 0; i < 24; ++i) {
        NoiseBurst crackle;
        crackle.mode = FilterMode::BandPass;
        crackle.cutoff = rng.Range(2500, 6000);
        crackle.gain = float(rng.Range(0.15, 0.35));
        crackle.env.decay = 0.006;
        AddNoise(s, rng.Range(0.02, 0.95), 0.03, crackle, rng);
    }
    FadeEdges(s, 0.02);
    return FinishEffect(s);
}

// A falling whistle: a sine sliding down.
Signal Whistle(const std::string&)
{
    Signal s(44100, 1.2);
    Tone tone;
    tone.freq = 2200;
    tone.freqEnd = 700;
    tone.gain = 0.4f;
    tone.env.sustain = 1.0f;
    tone.env.attack = 0.05;
    tone.env.release = 0.1;
    AddTone(s, 0, 1.2, tone);
    return FinishEffect(s);
}

// Rock breaking up: a low thud under a crunch of noise.
Signal CrashBoulder(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.45);
    Tone thud;
    thud.freq = 110;
    thud.freqEnd = 50;
    thud.gain = 0.7f;
    thud.env.decay = 0.1;
    AddTone(s, 0, 0.4, thud);
    NoiseBurst crunch;
    crunch.cutoff = 1800;
    crunch.cutoffEnd = 300;
    crunch.gain = 0.6f;
    crunch.env.decay = 0.12;
    AddNoise(s, 0, 0.42, crunch, rng);
    return FinishEffect(s);
}

// The smart bomb's tracking beep, meant to loop: one short square blip per half second.
Signal Tracking(const std::string&)
{
    Signal s(44100, 0.5);
    Tone beep;
    beep.wave = Wave::Square;
    beep.freq = 1760;
    beep.gain = 0.3f;
    beep.env.decay = 0.03;
    AddTone(s, 0.0, 0.08, beep);
    return FinishEffect(s);
}

struct SoundRecipe
{
    const char* name;
    Signal (*make)(const std::string&);
};

const SoundRecipe kSoundRecipes[] = {
    {"Goober Pop.ogg", &Pop},  {"attention5.ogg", &Attention},      {"fuse.ogg", &Fuse},
    {"Whistle.ogg", &Whistle}, {"crashBoulder.ogg", &CrashBoulder}, {"tracking.ogg", &Tracking},
};

} // namespace

void GenerateGooberAssets(AssetPack& pack)
{
    Creatures(pack);
    Bomb(pack);
    Anvil(pack);
    for (const SoundRecipe& recipe : kSoundRecipes)
        pack.WriteSound(kSounds, recipe.name, AudioClip::Mono(recipe.make(recipe.name)));
}

} // namespace assetgen
