// Screenshots reach the disk whole or not at all.
#include "app/Application.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>

TEST(ScreenshotFile, APictureIsSavedWholeOrNotAtAll)
{
    bbtest::TempHome home;
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 33, 20, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(nullptr, surface);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 10, 200, 30));
    const std::string path = home.Path() + "/shot.bmp";

    EXPECT_EQ("", SaveSurfaceAsBMP(surface, path));
    SDL_Surface* back = SDL_LoadBMP(path.c_str());
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(33, back->w);
    EXPECT_EQ(20, back->h);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(*static_cast<Uint32*>(back->pixels) & 0xFFFFFF, back->format, &r, &g, &b);
    SDL_FreeSurface(back);
    EXPECT_EQ(10, r);
    EXPECT_EQ(200, g);
    EXPECT_EQ(30, b);
    // 24 bits a pixel, rows padded to four bytes, after the 54-byte header.
    EXPECT_EQ(54u + 20u * 100u, std::filesystem::file_size(path));

    // On a full disk the cause comes back and no empty or partial picture is left.
    const std::string full = home.Path() + "/full.bmp";
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(1000, [&] {
        std::printf("%s", SaveSurfaceAsBMP(surface, full).c_str());
        return 0;
    });
    SDL_FreeSurface(surface);
    EXPECT_EQ("File too large", run.output);
    EXPECT_FALSE(std::filesystem::exists(full));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.Path()))
        files += entry.path().extension() != ".bmp" && entry.is_regular_file();
    EXPECT_EQ(0, files);
}
