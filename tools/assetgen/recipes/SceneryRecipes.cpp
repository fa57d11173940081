// The play backgrounds of the lands and the lab: one 640 x 480 picture per land, dark and
// calm so that bricks, balls and power-ups read clearly over them.
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "recipes/Recipes.h"

#include <algorithm>
#include <string>

namespace assetgen {

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

struct Land
{
    const char* name;
    Rgba top, bottom;
};

void PaintLand(AssetPack& pack, const Land& land)
{
    Rng rng(land.name);
    Canvas canvas(kScreenW, kScreenH);
    const NoiseField mottle = NoiseField::Value(rng, kScreenW, kScreenH, 8, 6, 4, 0.5f);
    for (int y = 0; y < kScreenH; ++y) {
        const Rgba base = Mix(land.top, land.bottom, static_cast<float>(y) / kScreenH);
        for (int x = 0; x < kScreenW; ++x)
            canvas.Set(x, y, base.Scaled(0.85f + 0.3f * mottle.At(x, y)));
    }
    pack.WriteImage(folders::kScreens, land.name, canvas);
}

} // namespace

void GenerateSceneryAssets(AssetPack& pack)
{
    const Land lands[] = {
        {"bkgLevelCapeHorn.jpg", Rgba::Bytes(52, 60, 72), Rgba::Bytes(28, 34, 42)},
        {"bkgLevelPeru.jpg", Rgba::Bytes(70, 62, 50), Rgba::Bytes(36, 44, 30)},
        {"bkgLevelWashington.jpg", Rgba::Bytes(58, 56, 70), Rgba::Bytes(40, 36, 44)},
        {"bkgLevelIceland.jpg", Rgba::Bytes(30, 54, 66), Rgba::Bytes(34, 44, 56)},
        {"bkgLevelFrance.jpg", Rgba::Bytes(60, 50, 72), Rgba::Bytes(40, 46, 30)},
        {"bkgLevelEgypt.jpg", Rgba::Bytes(84, 60, 40), Rgba::Bytes(60, 46, 30)},
        {"bkgLevelMadagascar.jpg", Rgba::Bytes(86, 50, 40), Rgba::Bytes(58, 30, 22)},
        {"bkgLevelChina.jpg", Rgba::Bytes(44, 60, 50), Rgba::Bytes(26, 40, 30)},
        {"bkgLevelSiberia.jpg", Rgba::Bytes(56, 62, 72), Rgba::Bytes(48, 52, 58)},
        {"bkgLevelTasmania.jpg", Rgba::Bytes(40, 58, 60), Rgba::Bytes(30, 44, 36)},
        {"bkgLevelLab.jpg", Rgba::Bytes(60, 48, 36), Rgba::Bytes(40, 34, 30)},
    };
    for (const Land& land : lands)
        PaintLand(pack, land);
}

} // namespace assetgen
