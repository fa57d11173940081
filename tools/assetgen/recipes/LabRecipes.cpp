// The lab screen: the big sticky note that lists the inventor's bonus levels. The plaques,
// arrows, notepad and stars of the screen are the map's.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "recipes/Recipes.h"

namespace assetgen {

namespace {

const char* const kImages = "Images/Lab";

// A square-ish note of yellow paper with a faint fibre, a curled lower-right corner and a
// strip of tape across the top, cast on the leather with a soft shadow.
void StickyNote(AssetPack& pack)
{
    const int w = 300, h = 408;
    Rng rng("stickynotebig.png");
    const NoiseField fibre = NoiseField::Value(rng, w, h, 14, 14, 3, 0.5f);
    Canvas paper(w, h);
    const Sdf sheet = RoundedRectShape({2, 4, w - 8.0f, h - 10.0f}, 2);
    FillShape(paper, sheet, [&](int x, int y) {
        // Lighter at the upper left, where the light comes from.
        const float light = 1.02f - 0.08f * (static_cast<float>(x) / w + static_cast<float>(y) / h);
        return Rgba::Bytes(252, 234, 132).Scaled(light * (0.95f + 0.06f * fibre.At(x, y)));
    });
    // The curl: a darker fold at the lower-right corner.
    const float cx = w - 6.0f, cy = h - 6.0f;
    FillShape(paper, SegmentShape(cx - 26, cy - 2, cx - 2, cy - 26, 2.0f),
              Solid(Rgba::Bytes(196, 170, 70, 200)));
    // The tape across the top edge.
    FillShape(paper, RoundedRectShape({w / 2.0f - 40, 0, 80, 16}, 1),
              Solid(Rgba::Bytes(236, 236, 226, 150)));
    // A column rule between the level names and the secrets they need.
    FillShape(paper, SegmentShape(204.5f, 44, 204.5f, h - 44.0f, 0.9f),
              Solid(Rgba::Bytes(150, 120, 60, 120)));
    Canvas out(w, h);
    DrawWithShadow(out, paper, 0, 0, 3, 3, 3.0f, 0.5f);
    pack.WriteImage(kImages, "stickynotebig.png", out);
}

} // namespace

void GenerateLabAssets(AssetPack& pack)
{
    StickyNote(pack);
}

} // namespace assetgen
