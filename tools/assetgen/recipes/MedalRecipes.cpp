// The medals of a player's record: a ribbon per category (Score, Percent, Word), a round
// medal per level (Bronze, Silver, Gold, Platinum), their soft highlights, the gold
// medal's fanfare, and the two pictures of the developer test screen.
#include "recipes/Recipes.h"

#include "kit/Draw.h"
#include "kit/Synth.h"
#include "recipes/UiStyle.h"

#include <string>

namespace assetgen {

namespace {

const char* const kImages = "Images/Medals";
const char* const kSounds = "Sounds/Medals";
constexpr int kW = 48;
constexpr int kRibbonH = 24;
constexpr int kMedal = 48;

Rgba C(int r, int g, int b)
{
    return Rgba::Bytes(r, g, b);
}

void Ribbon(AssetPack& pack, const std::string& category, const Rgba& colour)
{
    Canvas ribbon(kW, kRibbonH + kMedal);
    FillShape(ribbon, RoundedRectShape({2, 0, float(kW - 4), float(kRibbonH)}, 3), Solid(colour));
    FillShape(ribbon, RoundedRectShape({float(kW / 2 - 6), 0, 12, float(kRibbonH)}, 0),
              Solid(C(250, 246, 232)));
    pack.WriteImage(kImages, "medal" + category + ".png", ribbon);
}

void Disc(AssetPack& pack, const std::string& level, const Rgba& rim, const Rgba& face)
{
    Canvas medal(kMedal, kMedal);
    FillShape(medal, CircleShape(kMedal / 2.0f, kMedal / 2.0f, kMedal / 2.0f - 1), Solid(rim));
    FillShape(medal, CircleShape(kMedal / 2.0f, kMedal / 2.0f, kMedal / 2.0f - 5), Solid(face));
    pack.WriteImage(kImages, "medal" + level + ".png", medal);
}

// The gold medal: a rising major arpeggio over a held fifth.
Signal GoldFanfare()
{
    Signal s(44100, 1.0);
    const double notes[] = {523.3, 659.3, 784.0, 1046.5};
    for (int i = 0; i < 4; ++i)
        AddTone(s, i * 0.09, 0.6, MakeTone(Wave::Triangle, notes[i], notes[i], 0.3f, 0.005, 0.5));
    AddTone(s, 0.0, 0.9, MakeTone(Wave::Sine, 261.6, 261.6, 0.2f, 0.01, 0.6));
    return FinishEffect(s);
}

} // namespace

void GenerateMedalAssets(AssetPack& pack)
{
    Ribbon(pack, "Score", C(178, 34, 40));
    Ribbon(pack, "Percent", C(36, 82, 168));
    Ribbon(pack, "Word", C(40, 130, 70));
    Disc(pack, "Bronze", C(120, 72, 36), C(196, 128, 72));
    Disc(pack, "Silver", C(128, 132, 140), C(214, 218, 226));
    Disc(pack, "Gold", C(170, 128, 20), C(244, 204, 72));
    Disc(pack, "Platinum", C(150, 160, 176), C(236, 240, 248));
    Canvas glow(kW, kRibbonH + kMedal);
    FillShape(glow, RoundedRectShape({0, 0, float(kW), float(kRibbonH + kMedal)}, 6),
              Solid(Rgba::Bytes(255, 255, 200, 70)));
    pack.WriteImage(kImages, "medalHighlight.png", glow);
    Canvas discGlow(kMedal, kMedal);
    FillShape(discGlow, CircleShape(kMedal / 2.0f, kMedal / 2.0f, kMedal / 2.0f - 1),
              Solid(Rgba::Bytes(255, 255, 220, 80)));
    pack.WriteImage(kImages, "medalMedalHighlight.png", discGlow);
    pack.WriteSound(kSounds, "Pickup_Magic35.ogg", AudioClip::Mono(GoldFanfare()));

    // The developer test screen's pictures: an opaque tile and a disc that fades out.
    Canvas tile(48, 48);
    FillShape(tile, RoundedRectShape({0, 0, 48, 48}, 6), Solid(C(60, 120, 200)));
    FillShape(tile, CircleShape(24, 24, 12), Solid(C(240, 240, 240)));
    pack.WriteImage("Images/Test", "Test.png", tile);
    Canvas fading(96, 96);
    for (int ring = 0; ring < 8; ++ring)
        FillShape(fading, CircleShape(48, 48, 48.0f - ring * 6),
                  Solid(Rgba::Bytes(230, 80, 200, 40 + ring * 25)));
    pack.WriteImage("Images/Test", "ImageWithAlphaChannel.png", fading);
}

} // namespace assetgen
