// The in-game meters: the hit meter's strip and its ball icon (frame 0 unlit, frame 1
// lit), the eight letter tiles of the power meter in their On and Off pictures
// ("1B.On.png" .. "8T.Off.png"), and the combo payout sounds.
#include "kit/Canvas.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>
#include <string>

namespace assetgen {

namespace {

const char* const kImages = "Images/Meters";
const char* const kSounds = "Sounds/Meters";

constexpr int kIcon = 12; // ball icon, square
constexpr int kStripW = 10 * kIcon + 2 * 11;
constexpr int kStripH = kIcon + 4;
constexpr int kTile = 20; // letter tile, square

// Rounded-rectangle coverage of pixel (x, y) in a w x h box with corner radius r.
float RoundedCover(int x, int y, int w, int h, float r)
{
    const float px = x + 0.5f, py = y + 0.5f;
    const float cx = std::min(std::max(px, r), w - r);
    const float cy = std::min(std::max(py, r), h - r);
    const float d = std::hypot(px - cx, py - cy) - r;
    return std::min(1.0f, std::max(0.0f, 0.5f - d));
}

void HitMeterImages(AssetPack& pack)
{
    Canvas strip(kStripW, kStripH);
    for (int y = 0; y < kStripH; ++y)
        for (int x = 0; x < kStripW; ++x)
            strip.Blend(x, y, Rgba::Bytes(24, 26, 40, 200),
                        RoundedCover(x, y, kStripW, kStripH, 5));
    pack.WriteImage(kImages, "HitMeter.png", strip);

    // Two frames side by side: a dim ball and a lit gold ball with a highlight.
    Canvas icon(2 * kIcon, kIcon);
    for (int f = 0; f < 2; ++f)
        for (int y = 0; y < kIcon; ++y)
            for (int x = 0; x < kIcon; ++x) {
                const float dx = x + 0.5f - kIcon / 2.0f, dy = y + 0.5f - kIcon / 2.0f;
                const float d = std::hypot(dx, dy);
                const float cover = std::min(1.0f, std::max(0.0f, kIcon / 2.0f - 0.5f - d + 0.5f));
                if (cover <= 0)
                    continue;
                const float shine = std::max(0.0f, 1.0f - std::hypot(dx + 2, dy + 2) / 4.0f);
                const Rgba base = f == 0 ? Rgba::Bytes(70, 72, 84) : Rgba::Bytes(255, 200, 60);
                icon.Blend(f * kIcon + x, y, base, cover);
                icon.AddLight(f * kIcon + x, y, Rgba::Bytes(255, 255, 255),
                              shine * (f ? 0.8f : 0.3f));
            }
    LuaValue meta = LuaValue::Table();
    meta.Set("numFrames", 2).Set("width", kIcon).Set("height", kIcon);
    pack.WriteImage(kImages, "HitMeterBall.png", icon, meta);
}

// 5 x 7 glyphs of the meter's letters, one string per row, '#' set.
struct Glyph
{
    char letter;
    const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
};

void LetterTiles(AssetPack& pack)
{
    int number = 1;
    for (const Glyph& glyph : kGlyphs) {
        for (int lit = 0; lit < 2; ++lit) {
            Canvas tile(kTile, kTile);
            const Rgba face = lit ? Rgba::Bytes(235, 60, 40) : Rgba::Bytes(60, 54, 70);
            const Rgba ink = lit ? Rgba::Bytes(255, 240, 120) : Rgba::Bytes(120, 114, 130);
            for (int y = 0; y < kTile; ++y)
                for (int x = 0; x < kTile; ++x)
                    tile.Blend(x, y, face, RoundedCover(x, y, kTile, kTile, 4));
            // The glyph doubled: 10 x 14, centred.
            const int ox = (kTile - 10) / 2, oy = (kTile - 14) / 2;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph.rows[row][col] == '#')
                        for (int k = 0; k < 4; ++k)
                            tile.Set(ox + col * 2 + k % 2, oy + row * 2 + k / 2, ink);
            const std::string name =
                std::to_string(number) + glyph.letter + (lit ? ".On.png" : ".Off.png");
            pack.WriteImage(kImages, name, tile);
        }
        ++number;
    }
}

// A rising sparkle of four bell notes.
Signal Magic()
{
    Signal s(44100, 0.9);
    const double notes[] = {784, 988, 1175, 1568};
    for (int i = 0; i < 4; ++i) {
        Tone bell = MakeTone(Wave::Sine, notes[i], 0, 0.45f, 0.002, 0.25);
        AddTone(s, i * 0.09, 0.5, bell);
        AddTone(s, i * 0.09, 0.5, MakeTone(Wave::Triangle, notes[i] * 2, 0, 0.12f, 0.002, 0.12));
    }
    return FinishEffect(s);
}

// A short round of applause: many small band-passed noise claps at random times.
Signal Claps()
{
    Signal s(44100, 1.6);
    Rng rng(std::string("claps.ogg"));
    for (int i = 0; i < 70; ++i) {
        const double at = rng.Uniform() * 1.4;
        NoiseBurst clap = MakeNoise(FilterMode::BandPass, 1200 + rng.Uniform() * 1400, 0,
                                    0.25f + float(rng.Uniform()) * 0.2f, 0.001, 0.02, 0.3f);
        AddNoise(s, at, 0.06, clap, rng);
    }
    FadeEdges(s, 0.15);
    return FinishEffect(s);
}

} // namespace

void GenerateMeterAssets(AssetPack& pack)
{
    HitMeterImages(pack);
    LetterTiles(pack);
    pack.WriteSound(kSounds, "Pickup_Magic33.ogg", AudioClip::Mono(Magic()));
    pack.WriteSound(kSounds, "claps.ogg", AudioClip::Mono(Claps()));
}

} // namespace assetgen
