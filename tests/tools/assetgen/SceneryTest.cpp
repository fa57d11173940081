// The play backgrounds of the lands: every one the levels name is there at the play
// screen's size, opaque, dark enough for the field to read over it, and each land looks
// unlike the others.
#include "Decoders.h"
#include "recipes/Recipes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace assetgentest;

namespace {

const char* const kBackgrounds[] = {
    "bkgLevelCapeHorn.jpg", "bkgLevelPeru.jpg",     "bkgLevelWashington.jpg", "bkgLevelIceland.jpg",
    "bkgLevelFrance.jpg",   "bkgLevelEgypt.jpg",    "bkgLevelMadagascar.jpg", "bkgLevelChina.jpg",
    "bkgLevelSiberia.jpg",  "bkgLevelTasmania.jpg", "bkgLevelLab.jpg",
};

// A coarse look at a picture: its mean colour and a 4 x 4 x 4 colour histogram, each
// normalised to the picture's pixel count.
struct Look
{
    std::array<double, 3> mean{};
    std::array<double, 64> histogram{};
    double meanLuminance = 0;
    // How busy the play area is (mean luminance step between neighbouring pixels) above
    // and in the lower third, where the paddle plays; the walls' strips are left out.
    double upperDetail = 0;
    double lowerDetail = 0;
};

double Luminance(const std::uint8_t* p)
{
    return (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) / 255.0;
}

Look LookAt(const Picture& picture)
{
    Look look;
    const double count = double(picture.width) * picture.height;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.At(x, y);
            for (int c = 0; c < 3; ++c)
                look.mean[c] += p[c] / 255.0 / count;
            look.histogram[(p[0] >> 6) * 16 + (p[1] >> 6) * 4 + (p[2] >> 6)] += 1.0 / count;
            look.meanLuminance += Luminance(p) / count;
        }
    const auto detail = [&](int y0, int y1) {
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 16; x < picture.width - 16; ++x)
                sum += std::abs(Luminance(picture.At(x + 1, y)) - Luminance(picture.At(x, y))) +
                       std::abs(Luminance(picture.At(x, y + 1)) - Luminance(picture.At(x, y)));
        return sum / (double(y1 - y0) * (picture.width - 32));
    };
    look.upperDetail = detail(36, picture.height * 2 / 3);
    look.lowerDetail = detail(picture.height * 2 / 3, picture.height - 16);
    return look;
}

// How far apart two looks are: the larger of the mean colour's distance and half the
// histograms' L1 distance (the share of pixels that would have to change bins).
double Difference(const Look& a, const Look& b)
{
    double meanDistance = 0, binDistance = 0;
    for (int c = 0; c < 3; ++c)
        meanDistance += (a.mean[c] - b.mean[c]) * (a.mean[c] - b.mean[c]);
    for (std::size_t i = 0; i < a.histogram.size(); ++i)
        binDistance += std::abs(a.histogram[i] - b.histogram[i]);
    return std::max(std::sqrt(meanDistance), binDistance / 2);
}

class Scenery : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_Dir = new TempDir();
        assetgen::AssetPack pack(s_Dir->Path());
        assetgen::GenerateSceneryAssets(pack);
        pack.Finish();
    }
    static void TearDownTestSuite()
    {
        delete s_Dir;
        s_Dir = nullptr;
    }
    static Picture Load(const std::string& name)
    {
        return DecodePicture(
            ReadBytes(s_Dir->Path() + "/" + assetgen::folders::kScreens + "/" + name));
    }

    static TempDir* s_Dir;
};

TempDir* Scenery::s_Dir = nullptr;

} // namespace

// One test over the whole set: the pictures are painted once per test program.
TEST_F(Scenery, EveryLandHasItsOwnOpaqueCalmScreenSizedBackground)
{
    std::vector<Look> looks;
    for (const char* name : kBackgrounds) {
        SCOPED_TRACE(name);
        const Picture picture = Load(name);
        ASSERT_EQ(picture.width, 640);
        ASSERT_EQ(picture.height, 480);
        bool opaque = true;
        for (int y = 0; y < picture.height && opaque; ++y)
            for (int x = 0; x < picture.width && opaque; ++x)
                opaque = picture.At(x, y)[3] == 255;
        EXPECT_TRUE(opaque) << "a backdrop must cover the screen";
        looks.push_back(LookAt(picture));
        // Darkish overall, and the paddle's strip calmer than the scene above it.
        EXPECT_LT(looks.back().meanLuminance, 0.35);
        EXPECT_GT(looks.back().meanLuminance, 0.06) << "too dark to show its place";
        EXPECT_LT(looks.back().lowerDetail, 0.7 * looks.back().upperDetail)
            << "the lower third is as busy as the scene";
    }
    for (std::size_t i = 0; i < looks.size(); ++i)
        for (std::size_t j = i + 1; j < looks.size(); ++j)
            EXPECT_GT(Difference(looks[i], looks[j]), 0.05)
                << kBackgrounds[i] << " and " << kBackgrounds[j] << " are near-identical";
}
