// The main menu: its backdrop (a panelled wooden study with recesses for the player card,
// the column of buttons and the last find) and its button sheet. The chime that welcomes a
// player ("Pickup_GemBells06.ogg") is the letters' bell.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

const char* const kImages = "Images/Menu";

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
// The menu's buttons: wide enough for "change player" at 22 points.
constexpr int kMenuButtonW = 170;
constexpr int kMenuButtonH = 40;

// Vertical boards of warm walnut, grained along their length, with dark joints.
void DrawBoards(Canvas& canvas, Rng& rng)
{
    const NoiseField grain = NoiseField::Streaks(rng, kScreenW, kScreenH, 40, false);
    const NoiseField mottle = NoiseField::Value(rng, kScreenW, kScreenH, 6, 5, 4, 0.5f);
    const Rgba walnut = Rgba::Bytes(92, 60, 38);
    const int boardW = 64;
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            const int bx = x % boardW;
            float shade = 0.8f + 0.16f * grain.At(x, y) + 0.12f * mottle.At(x, y);
            if (bx < 2)
                shade *= 0.5f;
            else if (bx < 4)
                shade *= 1.1f;
            // Darker towards the corners, lit from the upper left.
            const float dx = (x - kScreenW * 0.4f) / kScreenW;
            const float dy = (y - kScreenH * 0.35f) / kScreenH;
            shade *= 1.0f - 0.6f * std::min(0.6f, dx * dx + dy * dy);
            canvas.Set(x, y, walnut.Scaled(shade));
        }
}

// A sunken recess with a dark felt floor: the card, the buttons and the find sit in one.
void DrawRecess(Canvas& canvas, float x, float y, float w, float h)
{
    const Sdf recess = RoundedRectShape({x, y, w, h}, 10);
    FillShape(canvas, recess,
              LinearGradient(x, y, Rgba::Bytes(40, 52, 48), x, y + h, Rgba::Bytes(26, 34, 32)));
    Bevel(canvas, recess, 3.0f, 0.5f, true);
}

// A brass plate across the top for the game's name.
void DrawNamePlate(Canvas& canvas)
{
    Canvas plate(360, 64);
    PlateStyle brass;
    brass.base = Rgba::Bytes(196, 150, 64);
    brass.radius = 12;
    brass.bevel = 3.0f;
    DrawPlate(plate, 0, 0, 360, 64, brass, ButtonLook::Normal, "bkgMenu.plate");
    // A row of small bricks engraved into the plate, in the materials' colours.
    const Rgba materials[] = {Rgba::Bytes(196, 64, 48), Rgba::Bytes(72, 150, 200),
                              Rgba::Bytes(96, 170, 80), Rgba::Bytes(150, 84, 170)};
    for (int i = 0; i < 8; ++i) {
        const float bx = 40.0f + i * 36.0f;
        const Sdf brick = RoundedRectShape({bx, 22, 30, 18}, 3);
        const Rgba colour = materials[i % 4];
        FillShape(plate, brick,
                  LinearGradient(bx, 22, colour.Scaled(1.15f), bx, 40, colour.Scaled(0.8f)));
        Bevel(plate, brick, 2.0f, 0.45f);
    }
    DrawWithShadow(canvas, plate, 140, 24, 4, 5, 4.0f, 0.6f);
}

void MenuBackground(AssetPack& pack)
{
    Rng rng("bkgMenu.jpg");
    Canvas canvas(kScreenW, kScreenH);
    DrawBoards(canvas, rng);
    DrawNamePlate(canvas);
    DrawRecess(canvas, 10, 110, 230, 360);  // the player card
    DrawRecess(canvas, 250, 110, 190, 360); // the buttons
    DrawRecess(canvas, 450, 110, 180, 250); // the last find
    // The picture is encoded as PNG; the image loader recognises the format by content.
    pack.WriteImage(kImages, "bkgMenu.jpg", canvas);
}

// The menu's buttons: amber plates that read over the dark recess.
void MenuButton(AssetPack& pack)
{
    PlateStyle style;
    style.base = Rgba::Bytes(206, 140, 52);
    style.radius = 12;
    style.bevel = 2.5f;
    pack.WriteImage(kImages, "Button.menu.png",
                    ButtonSheet(kMenuButtonW, kMenuButtonH, style, "Button.menu.png"),
                    ButtonSheetMetadata(kMenuButtonW, kMenuButtonH, style));
}

} // namespace

void GenerateMenuAssets(AssetPack& pack)
{
    MenuBackground(pack);
    MenuButton(pack);
}

} // namespace assetgen
