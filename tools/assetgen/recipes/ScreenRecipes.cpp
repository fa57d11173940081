// Screen pictures: the splash screen's title picture (the game's name on a plaque), the game
// screen's backdrop and the program's window icon.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/TextMask.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace assetgen {

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// Dusk over the lands: deep indigo above, warm amber at the horizon, soft clouds.
void DrawSky(Canvas& canvas, Rng& rng, int horizon)
{
    const NoiseField clouds = NoiseField::Value(rng, kScreenW, kScreenH, 8, 4, 4, 0.5f);
    const Rgba top = Rgba::Bytes(22, 24, 58);
    const Rgba mid = Rgba::Bytes(92, 58, 96);
    const Rgba low = Rgba::Bytes(206, 122, 62);
    for (int y = 0; y < horizon; ++y) {
        const float t = static_cast<float>(y) / horizon;
        const Rgba sky = t < 0.6f ? Mix(top, mid, t / 0.6f) : Mix(mid, low, (t - 0.6f) / 0.4f);
        for (int x = 0; x < kScreenW; ++x) {
            const float c = std::max(0.0f, clouds.At(x, y) - 0.55f) * 0.5f;
            canvas.Set(x, y, Mix(sky, Rgba::Bytes(236, 200, 170), c));
        }
    }
}

// Layered hills: each ridge darker and nearer than the last, with a grain of foliage.
void DrawHills(Canvas& canvas, Rng& rng, int horizon)
{
    const Rgba ridges[] = {Rgba::Bytes(70, 58, 82), Rgba::Bytes(44, 62, 52),
                           Rgba::Bytes(30, 44, 34)};
    const NoiseField grain = NoiseField::Grain(rng, kScreenW, kScreenH);
    for (int layer = 0; layer < 3; ++layer) {
        const NoiseField ridge = NoiseField::Value(rng, kScreenW, 1, 6 + layer * 3, 1, 3, 0.55f);
        const int base = horizon - 70 + layer * 55;
        for (int x = 0; x < kScreenW; ++x) {
            const int top = base + static_cast<int>(ridge.At(x, 0) * 70.0f) - 35;
            for (int y = std::max(top, 0); y < kScreenH; ++y) {
                const float shade = 0.92f + 0.12f * grain.At(x, y);
                canvas.Set(x, y, ridges[layer].Scaled(shade));
            }
        }
    }
}

// The game's name in raised gold letters: a warm gradient from the top, a light rim on
// the upper-left of each stroke and a dark one on the lower-right, as if cut from metal.
Canvas GoldLettering(const fs::path& face, int pointSize, const std::string& text)
{
    const Canvas mask = TextMask(face, pointSize, text);
    Canvas letters(mask.Width(), mask.Height());
    const Rgba top = Rgba::Bytes(255, 232, 150);
    const Rgba bottom = Rgba::Bytes(196, 128, 36);
    auto cover = [&](int x, int y) { return mask.Contains(x, y) ? mask.Get(x, y).a : 0.0f; };
    for (int y = 0; y < mask.Height(); ++y) {
        const Rgba base = Mix(top, bottom, float(y) / float(mask.Height()));
        for (int x = 0; x < mask.Width(); ++x) {
            const float c = cover(x, y);
            if (c <= 0.0f)
                continue;
            // Light from the upper left: the edge facing it brightens, the far one darkens.
            const float slope = cover(x - 2, y - 2) - cover(x + 2, y + 2);
            const float light = 1.0f - 0.35f * slope;
            letters.Blend(x, y, base.Scaled(std::clamp(light, 0.55f, 1.25f)), c);
        }
    }
    return letters;
}

// The emblem: the game's name over two rows of bevelled bricks in material colours, on a
// wooden plaque.
void DrawEmblem(Canvas& canvas, const fs::path& fontDir)
{
    const int plaqueW = 420, plaqueH = 200;
    Canvas plaque(plaqueW, plaqueH);
    PlateStyle wood;
    wood.base = Rgba::Bytes(122, 82, 46);
    wood.radius = 14;
    wood.bevel = 3.0f;
    wood.texture = 0.1f;
    DrawPlate(plaque, 0, 0, plaqueW, plaqueH, wood, ButtonLook::Normal, "bkgSplash.plaque");
    const Canvas name = GoldLettering(fontDir / "DejaVuSerif-Bold.ttf", 62, "Bumperlux");
    DrawWithShadow(plaque, name, (plaqueW - name.Width()) / 2, 10, 3, 4, 3.0f, 0.7f);
    const Rgba materials[] = {Rgba::Bytes(196, 64, 48),   Rgba::Bytes(222, 170, 52),
                              Rgba::Bytes(72, 150, 200),  Rgba::Bytes(96, 170, 80),
                              Rgba::Bytes(160, 160, 172), Rgba::Bytes(150, 84, 170)};
    const int brickW = 48, brickH = 24, gap = 4;
    for (int row = 0; row < 2; ++row) {
        const int offset = (row % 2) * (brickW + gap) / 2;
        for (int col = 0; col < 8; ++col) {
            const float x = 18.0f + offset + col * (brickW + gap) - (row % 2 ? brickW / 2 : 0);
            const float y = 112.0f + row * (brickH + gap);
            if (x < 10 || x + brickW > plaqueW - 10)
                continue;
            const Sdf brick = RoundedRectShape({x, y, float(brickW), float(brickH)}, 3);
            const Rgba colour = materials[(row * 3 + col) % 6];
            FillShape(
                plaque, brick,
                LinearGradient(x, y, colour.Scaled(1.15f), x, y + brickH, colour.Scaled(0.8f)));
            Bevel(plaque, brick, 2.5f, 0.45f);
        }
    }
    DrawWithShadow(canvas, plaque, 110, 40, 4, 5, 4.0f, 0.6f);
}

// A steel ball flying up from the paddle, with a warm glow.
void DrawBallAndPaddle(Canvas& canvas)
{
    for (int y = 250; y < 330; ++y)
        for (int x = 380; x < 460; ++x) {
            const float d = std::hypot(x - 420.0f, y - 290.0f) / 40.0f;
            if (d < 1.0f)
                canvas.AddLight(x, y, Rgba::Bytes(255, 214, 150), (1.0f - d) * (1.0f - d) * 0.35f);
        }
    Canvas ball(40, 40);
    DrawSphere(ball, 20, 20, 15, Rgba::Bytes(190, 196, 210));
    DrawWithShadow(canvas, ball, 400, 270, 3, 4, 3.0f, 0.5f);

    Canvas paddle(140, 26);
    PlateStyle style;
    style.base = Rgba::Bytes(60, 110, 180);
    style.radius = 12;
    style.bevel = 3.0f;
    DrawPlate(paddle, 0, 0, 140, 26, style, ButtonLook::Normal, "bkgSplash.paddle");
    DrawWithShadow(canvas, paddle, 250, 350, 3, 4, 3.0f, 0.55f);
}

void SplashBackground(AssetPack& pack, const fs::path& fontDir)
{
    Rng rng("bkgSplash.jpg");
    Canvas canvas(kScreenW, kScreenH);
    const int horizon = 300;
    DrawSky(canvas, rng, horizon);
    DrawHills(canvas, rng, horizon);
    DrawEmblem(canvas, fontDir);
    DrawBallAndPaddle(canvas);
    // The picture is encoded as PNG; the image loader recognises the format by content.
    pack.WriteImage(folders::kScreens, "bkgSplash.jpg", canvas);
}

// The play field's backdrop: dark flagstones of slate, laid in offset rows, mottled and
// grained at low contrast and darkened towards the corners, so bricks and balls read
// clearly over it.
void GameBackground(AssetPack& pack)
{
    Rng rng("bkgGame.jpg");
    Canvas canvas(kScreenW, kScreenH);
    const NoiseField mottle = NoiseField::Value(rng, kScreenW, kScreenH, 8, 4, 4, 0.5f);
    const NoiseField grain = NoiseField::Grain(rng, kScreenW, kScreenH);
    const Rgba slate = Rgba::Bytes(40, 46, 60);
    const int stoneW = 80, stoneH = 60;
    for (int y = 0; y < kScreenH; ++y) {
        const int row = y / stoneH;
        const int offset = (row % 2) * stoneW / 2;
        for (int x = 0; x < kScreenW; ++x) {
            const int sx = (x + offset) % stoneW;
            const int sy = y % stoneH;
            float shade = 0.85f + 0.25f * mottle.At(x, y) + 0.06f * grain.At(x, y);
            // Joints: dark seams with a light lower-right lip (light from the upper left).
            if (sx < 2 || sy < 2)
                shade *= 0.55f;
            else if (sx < 4 || sy < 4)
                shade *= 1.12f;
            const float dx = (x - kScreenW / 2.0f) / (kScreenW / 2.0f);
            const float dy = (y - kScreenH / 2.0f) / (kScreenH / 2.0f);
            shade *= 1.0f - 0.3f * std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
            canvas.Set(x, y, slate.Scaled(shade));
        }
    }
    pack.WriteImage(folders::kScreens, "bkgGame.jpg", canvas);
}

// The window icon: a ball over a brick on a dark rounded tile.
void AppIcon(AssetPack& pack)
{
    Canvas icon(32, 32);
    FillShape(icon, RoundedRectShape({0, 0, 32, 32}, 6),
              LinearGradient(0, 0, Rgba::Bytes(46, 52, 92), 0, 32, Rgba::Bytes(22, 24, 46)));
    const Sdf brick = RoundedRectShape({4, 20, 24, 8}, 2);
    FillShape(icon, brick, Solid(Rgba::Bytes(196, 64, 48)));
    Bevel(icon, brick, 1.5f, 0.45f);
    DrawSphere(icon, 16, 11, 6.5f, Rgba::Bytes(196, 200, 214));
    pack.WriteImage(folders::kScreens, "AppIcon.png", icon);
}

} // namespace

void GenerateScreenAssets(AssetPack& pack, const fs::path& fontDir)
{
    SplashBackground(pack, fontDir);
    GameBackground(pack);
    AppIcon(pack);
}

} // namespace assetgen
