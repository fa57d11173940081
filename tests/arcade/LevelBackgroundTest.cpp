// Level backgrounds loaded on demand, as the game configures them: a level's background is
// read when the level starts, shown on the screen pixel for pixel, and the one of the level
// before is let go by the resource manager while pictures still showing it stay intact.
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "display/Image.h"
#include "logic/LevelManager.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "support/RequiredFiles.h"
#include "support/engine/PassHarness.h"

#include <SDL_image.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using gametest::GameFixture;
using leveltest::Globals;

namespace {

// Places on the field that bricks, walls and paddles leave uncovered at the start.
const int kSpots[][2] = {{100, 250}, {320, 300}, {520, 200}};

std::uint32_t RgbAt(SDL_Surface* surface, int x, int y)
{
    Uint8 r = 0, g = 0, b = 0;
    SDL_LockSurface(surface);
    const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    Uint32 pixel = 0;
    std::memcpy(&pixel, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    SDL_UnlockSurface(surface);
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return (Uint32(r) << 16) | (Uint32(g) << 8) | b;
}

class LevelBackgroundTest : public GameFixture
{
protected:
    LevelBackgroundTest()
    {
        bbtest::TestResources().SetOnDemandPrefixes({"bkgLevel"});
        // Earlier tests of the program may have loaded them.
        for (const char* name : {"bkgLevelChina.jpg", "bkgLevelPeru.jpg"})
            bbtest::TestResources().FindInfo(name)->SetResource(nullptr);
    }
    ~LevelBackgroundTest() override { bbtest::TestResources().SetOnDemandPrefixes({}); }

    // The picture of the pack's file, decoded on its own.
    static std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> Decode(const std::string& name)
    {
        return {IMG_Load((bbtest::AssetPackFolder() + "/Images/Screens/" + name).c_str()),
                SDL_FreeSurface};
    }

    void StartLevel(const std::string& name)
    {
        NewGame("{gameType = 'Levels', levelName = '" + name + "', ballsLeft = 3}");
        logic->StartGame();
        passes.Step();
    }

    void ExpectShown(const std::string& picture)
    {
        auto decoded = Decode(picture);
        ASSERT_NE(nullptr, decoded) << IMG_GetError();
        for (const auto& spot : kSpots)
            EXPECT_EQ(RgbAt(decoded.get(), spot[0], spot[1]),
                      passes.Pixel(spot[0], spot[1]) & 0xFFFFFF)
                << picture << " at " << spot[0] << ", " << spot[1];
    }
};

} // namespace

TEST_F(LevelBackgroundTest, EachLevelLoadsAndShowsItsOwnAndTheLastOneIsLetGo)
{
    const std::string level = R"(fullName = "%s", backgroundName = "%s",
        compiledBricks = { { resource = "RedBrick", position = { 1, 1 }, necessary = true } },
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } })";
    auto make = [&](const char* name, const char* picture) {
        char text[1024];
        std::snprintf(text, sizeof(text), level.c_str(), name, picture);
        return std::string(name) + " = {" + text + "}";
    };
    Globals globals{{"Levels", "{ " + make("China", "bkgLevelChina.jpg") + ", " +
                                   make("Peru", "bkgLevelPeru.jpg") + " }"}};
    LevelManager manager;
    ResourceInfo* china = bbtest::TestResources().FindInfo("bkgLevelChina.jpg");
    ResourceInfo* peru = bbtest::TestResources().FindInfo("bkgLevelPeru.jpg");

    StartLevel("China");
    EXPECT_NE(nullptr, china->GetResource());
    EXPECT_EQ(nullptr, peru->GetResource());
    ExpectShown("bkgLevelChina.jpg");

    // A picture made from the first background outlives the manager's hold on it.
    std::unique_ptr<Image> kept(new Image("bkgLevelChina.jpg"));
    StartLevel("Peru");
    EXPECT_EQ(nullptr, china->GetResource());
    EXPECT_NE(nullptr, peru->GetResource());
    ExpectShown("bkgLevelPeru.jpg");
    auto decoded = Decode("bkgLevelChina.jpg");
    for (const auto& spot : kSpots)
        EXPECT_EQ(RgbAt(decoded.get(), spot[0], spot[1]),
                  RgbAt(kept->GetSDLSurface(), spot[0], spot[1]));

    // Back to the first level: read again, shown again.
    kept.reset();
    StartLevel("China");
    EXPECT_NE(nullptr, china->GetResource());
    EXPECT_EQ(nullptr, peru->GetResource());
    ExpectShown("bkgLevelChina.jpg");
}
