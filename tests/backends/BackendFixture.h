#pragma once
// Shared helpers of the display backend tests: the engine prepared once, the log caught
// in a file, a temporary home, the display layer's failure hooks reset around each test,
// pixel access and a scene that exercises every drawing path both backends share.
#include "core/Log.h"
#include "ddraw/DDrawTestHooks.h"
#include "display/Image.h"
#include "display/ImageRenderer.h"
#include "geometry/Color.h"
#include "geometry/Rect.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace backendtest {

// The pixel (x, y) of a 32-bit surface.
inline std::uint32_t PixelAt(SDL_Surface* surface, int x, int y)
{
    const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

// The red, green and blue bytes of every pixel, row by row.
inline std::vector<std::uint32_t> RgbPixels(SDL_Surface* surface)
{
    std::vector<std::uint32_t> pixels;
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x)
            pixels.push_back(PixelAt(surface, x, y) & 0xFFFFFFu);
    SDL_UnlockSurface(surface);
    return pixels;
}

// Largest difference of one colour channel between two 0xRRGGBB values.
inline int ChannelDistance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        worst = std::max(worst, d < 0 ? -d : d);
    }
    return worst;
}

// An image whose pixels follow a pattern of colours and alphas (alphaMode 0: opaque;
// 1: alpha rising across the image; 2: a transparent hole in the middle).
Image* MakePatternImage(int width, int height, int alphaMode, std::uint32_t seed);

// The colour key of MakeKeyedImage: a colour found nowhere else in the scene.
constexpr std::uint32_t kKeyRgb = 0x00FF00FFu;
// A pattern image with patches of the key colour, keyed from its first pixel.
Image* MakeKeyedImage(int width, int height);
// The same made as the image loader makes it, with a metadata table given as script text.
Image* MakeKeyedImageFromMetadata(int width, int height, const std::string& metadata);

// Draws the shared scene: opaque and translucent fills at many alphas, images with every
// shader and many alphas, some spanning several 64 x 64 tiles, some drawn from a part of
// the image, and a colour-keyed image under every shader.
void DrawScene(ImageRenderer& renderer, const std::vector<std::unique_ptr<Image>>& images);
std::vector<std::unique_ptr<Image>> MakeSceneImages();

// While it lives, every log entry is appended to a file of its own.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    std::string Text() const;

private:
    std::string m_Path;
};

class BackendTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    bbtest::TempHome m_Home;
};

} // namespace backendtest
