// The player cards and the sign-in: the card's background, plates (game mode, rank),
// highlight and disabled overlay, the goal star, the secret icon, and the backgrounds of
// the card chooser and the sign-in dialog. The star, the secret icon and the two dialog
// backgrounds are shared with other dialogs: they are made here only when no recipe that
// ran before made them.
#include "kit/Draw.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <cmath>
#include <string>

namespace assetgen {

namespace {

const char* const kImages = "Images/Cards";

constexpr int kCardW = 200;
constexpr int kCardH = 125;
constexpr int kModeW = 22;    // the game-mode strip down the card's left edge
constexpr int kRankSize = 32; // the rank medallion
constexpr int kStar = 20;
constexpr float kCardRadius = 10;

bool PackHolds(const AssetPack& pack, const std::string& name)
{
    for (const WrittenAsset& asset : pack.Written()) {
        const std::string& path = asset.path;
        if (path == name ||
            (path.size() > name.size() &&
             path.compare(path.size() - name.size() - 1, std::string::npos, "/" + name) == 0))
            return true;
    }
    return false;
}

LuaValue FrameMetadata(int numFrames, int w, int h)
{
    return SheetMetadata(numFrames, w, h);
}

void CardImages(AssetPack& pack)
{
    const PlateStyle paper{Rgba::Bytes(238, 226, 196), kCardRadius, 2.5f, 0.08f, false};
    Canvas card(kCardW, kCardH);
    DrawPlate(card, 0, 0, kCardW, kCardH, paper, ButtonLook::Normal, "bkgCard.png");
    // A thin inked frame inside the edge, as on a printed card.
    const Sdf inner = RoundedRectShape({4, 4, kCardW - 8.0f, kCardH - 8.0f}, kCardRadius - 4);
    FillShape(
        card, [&](float x, float y) { return std::fabs(inner(x, y)) - 0.6f; },
        Solid(Rgba::Bytes(120, 92, 52, 150)));
    pack.WriteImage(kImages, "bkgCard.png", card);

    // The highlight: a warm glow around the card's edge, clear inside.
    const Sdf edge = RoundedRectShape({1, 1, kCardW - 2.0f, kCardH - 2.0f}, kCardRadius);
    Canvas highlight(kCardW, kCardH);
    FillShape(
        highlight, [&](float x, float y) { return std::fabs(edge(x, y) + 1.5f) - 2.0f; },
        Solid(Rgba::Bytes(255, 214, 90, 230)));
    FillShape(
        highlight, [&](float x, float y) { return std::fabs(edge(x, y) + 5.0f) - 2.5f; },
        Solid(Rgba::Bytes(255, 236, 150, 90)));
    pack.WriteImage(kImages, "bkgCardHighlight.png", highlight);

    // The disabled overlay: a grey veil over the whole card.
    Canvas veil(kCardW, kCardH);
    FillShape(veil, RoundedRectShape({0, 0, kCardW, kCardH}, kCardRadius),
              Solid(Rgba::Bytes(70, 70, 78, 120)));
    pack.WriteImage(kImages, "bkgCardDisabled.png", veil);
}

// Three strips, one per game mode, rounded on the card's left side only.
void ModePlate(AssetPack& pack)
{
    const Rgba modes[3] = {Rgba::Bytes(64, 120, 70), Rgba::Bytes(70, 92, 160),
                           Rgba::Bytes(170, 70, 54)};
    Canvas sheet(3 * kModeW, kCardH);
    for (int f = 0; f < 3; ++f) {
        Canvas strip(kModeW, kCardH);
        const PlateStyle style{modes[f], kCardRadius, 2.0f, 0.07f, false};
        // Drawn wider than the strip, so its right side is square where it meets the card.
        Canvas wide(kModeW + 12, kCardH);
        DrawPlate(wide, 0, 0, kModeW + 12.0f, kCardH, style, ButtonLook::Normal,
                  "bkgCardMode.png" + std::to_string(f));
        strip.DrawOver(wide, 0, 0);
        sheet.DrawOver(strip, f * kModeW, 0);
    }
    pack.WriteImage(kImages, "bkgCardMode.png", sheet, FrameMetadata(3, kModeW, kCardH));
}

// Eight medallions, bronze to violet, each carrying its rank's number.
void RankPlate(AssetPack& pack)
{
    const Rgba metals[8] = {Rgba::Bytes(150, 98, 60),   Rgba::Bytes(176, 120, 70),
                            Rgba::Bytes(170, 172, 180), Rgba::Bytes(200, 202, 210),
                            Rgba::Bytes(220, 176, 60),  Rgba::Bytes(240, 200, 70),
                            Rgba::Bytes(90, 170, 200),  Rgba::Bytes(150, 100, 200)};
    Canvas sheet(8 * kRankSize, kRankSize);
    for (int f = 0; f < 8; ++f) {
        Canvas medal(kRankSize, kRankSize);
        const float c = kRankSize / 2.0f;
        DrawSphere(medal, c, c, c - 2.5f, metals[f]);
        Canvas face(kRankSize, kRankSize);
        DrawDigit(face, f + 1, static_cast<int>(c) - 3, static_cast<int>(c) - 5, 2,
                  Rgba::Bytes(50, 34, 20, 230));
        medal.DrawOver(face, 0, 0);
        Canvas framed(kRankSize, kRankSize);
        DrawWithShadow(framed, medal, 0, 0, 1, 1, 1.2f, 0.45f);
        sheet.DrawOver(framed, f * kRankSize, 0);
    }
    pack.WriteImage(kImages, "bkgCardRank.png", sheet, FrameMetadata(8, kRankSize, kRankSize));
}

// Signed distance to a five-pointed star centred at (cx, cy), from the polygon's edges.
Sdf StarShape(float cx, float cy, float outer, float inner)
{
    return [=](float x, float y) {
        float px[10], py[10];
        for (int i = 0; i < 10; ++i) {
            const float angle = -1.5707963f + i * 3.14159265f / 5;
            const float r = i % 2 == 0 ? outer : inner;
            px[i] = cx + r * std::cos(angle);
            py[i] = cy + r * std::sin(angle);
        }
        bool inside = false;
        float best = 1e9f;
        for (int i = 0, j = 9; i < 10; j = i++) {
            if ((py[i] > y) != (py[j] > y) &&
                x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
                inside = !inside;
            const float ex = px[j] - px[i], ey = py[j] - py[i];
            const float t = std::max(
                0.0f, std::min(1.0f, ((x - px[i]) * ex + (y - py[i]) * ey) / (ex * ex + ey * ey)));
            best = std::min(best, std::hypot(x - px[i] - t * ex, y - py[i] - t * ey));
        }
        return inside ? -best : best;
    };
}

// Frames: 0 earned (gold), 1 not earned (a grey outline), 2 earned before (pale gold).
void Star(AssetPack& pack)
{
    Canvas sheet(3 * kStar, kStar);
    const float c = kStar / 2.0f;
    const Sdf star = StarShape(c, c + 0.8f, c - 1.0f, (c - 1.0f) * 0.45f);
    for (int f = 0; f < 3; ++f) {
        Canvas frame(kStar, kStar);
        if (f == 1) {
            FillShape(frame, star, Solid(Rgba::Bytes(120, 116, 108, 90)));
            FillShape(
                frame, [&](float x, float y) { return std::fabs(star(x, y)) - 0.6f; },
                Solid(Rgba::Bytes(90, 86, 80, 220)));
        } else {
            const Rgba gold = f == 0 ? Rgba::Bytes(250, 196, 40) : Rgba::Bytes(246, 226, 150);
            FillShape(frame, star,
                      LinearGradient(0, 0, gold.Scaled(1.15f), 0, kStar, gold.Scaled(0.75f)));
            Bevel(frame, star, 1.5f, 0.5f);
        }
        sheet.DrawOver(frame, f * kStar, 0);
    }
    pack.WriteImage(kImages, "star.png", sheet, FrameMetadata(3, kStar, kStar));
}

// A small gold coin with a question mark: the secret of a level.
void SecretIcon(AssetPack& pack)
{
    constexpr int n = 16;
    Canvas icon(n, n);
    DrawSphere(icon, n / 2.0f, n / 2.0f, n / 2.0f - 0.5f, Rgba::Bytes(236, 184, 50));
    const Rgba ink = Rgba::Bytes(90, 56, 14, 240);
    FillShape(icon,
              Union(Union(SegmentShape(5.5f, 5.5f, 7.5f, 4.0f, 1.4f),
                          SegmentShape(7.5f, 4.0f, 10.0f, 5.5f, 1.4f)),
                    Union(SegmentShape(10.0f, 5.5f, 8.0f, 8.5f, 1.4f),
                          SegmentShape(8.0f, 8.5f, 8.0f, 9.5f, 1.4f))),
              Solid(ink));
    FillShape(icon, CircleShape(8.0f, 12.0f, 0.9f), Solid(ink));
    pack.WriteImage(kImages, "Powerup.Secret.16.png", icon);
}

// A sheet of parchment with a drop shadow, for dialogs drawn as paper.
void PaperDialog(AssetPack& pack, const std::string& name, int w, int h)
{
    const PlateStyle paper{Rgba::Bytes(232, 218, 182), 14, 3.0f, 0.1f, false};
    Canvas sheet(w - 6, h - 6);
    DrawPlate(sheet, 0, 0, w - 6.0f, h - 6.0f, paper, ButtonLook::Normal, name);
    Canvas out(w, h);
    DrawWithShadow(out, sheet, 0, 0, 4, 4, 3.0f, 0.5f);
    pack.WriteImage(kImages, name, out);
}

} // namespace

void GenerateCardAssets(AssetPack& pack)
{
    CardImages(pack);
    ModePlate(pack);
    RankPlate(pack);
    if (!PackHolds(pack, "star.png"))
        Star(pack);
    if (!PackHolds(pack, "Powerup.Secret.16.png"))
        SecretIcon(pack);
    if (!PackHolds(pack, "bkgLetter.png"))
        PaperDialog(pack, "bkgLetter.png", 640, 460);
    if (!PackHolds(pack, "dlgSquare.png"))
        PaperDialog(pack, "dlgSquare.png", 420, 400);
}

} // namespace assetgen
