#include "backends/BackendFixture.h"
#include "support/engine/LogCaptureStart.h"

#include "display/CDXLog.h"
#include "display/SurfaceManager.h"

#include <cstdio>
#include <unistd.h>

namespace backendtest {

namespace {

void DropCDXLine(const char*) {}

} // namespace

namespace {

void FillPattern(SDL_Surface* surface, int alphaMode, std::uint32_t seed)
{
    const int width = surface->w, height = surface->h;
    SDL_LockSurface(surface);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t r = (x * 7 + seed * 31) & 0xFF, g = (y * 5 + seed * 17) & 0xFF,
                          b = ((x + y) * 3 + seed) & 0xFF, a = 255;
            if (alphaMode == 1)
                a = std::uint32_t(x * 255 / std::max(1, width - 1));
            else if (alphaMode == 2 && x > width / 4 && x < width * 3 / 4 && y > height / 4 &&
                     y < height * 3 / 4)
                a = 0;
            auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
            reinterpret_cast<std::uint32_t*>(row)[x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    SDL_UnlockSurface(surface);
}

// The key colour in the top-left corner and in a diagonal band, some of it with alpha
// other than the corner's (the key matches red, green and blue alone).
void PaintKey(SDL_Surface* surface)
{
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                     y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            if ((x < 6 && y < 6) || (x - y > -8 && x - y < 8))
                row[x] = (x < 6 && y < 6 ? 0xFF000000u : 0x80000000u) | kKeyRgb;
    }
    SDL_UnlockSurface(surface);
}

} // namespace

Image* MakePatternImage(int width, int height, int alphaMode, std::uint32_t seed)
{
    Image* image = new Image(width, height, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
    FillPattern(image->GetSDLSurface(), alphaMode, seed);
    return image;
}

Image* MakeKeyedImage(int width, int height)
{
    Image* image = MakePatternImage(width, height, 1, 5);
    PaintKey(image->GetSDLSurface());
    image->SetColorKeyFromFirstPixel();
    return image;
}

Image* MakeKeyedImageFromMetadata(int width, int height, const std::string& metadata)
{
    SDL_Surface* surface = SurfaceManager::CreateSurface(width, height, true);
    FillPattern(surface, 1, 6);
    PaintKey(surface);
    LuaPlus::LuaObject table = bbtest::EvalLua(metadata);
    return new Image(surface, 0, &table);
}

std::vector<std::unique_ptr<Image>> MakeSceneImages()
{
    std::vector<std::unique_ptr<Image>> images;
    images.emplace_back(MakePatternImage(100, 70, 0, 1)); // four tiles, opaque
    images.emplace_back(MakePatternImage(130, 90, 1, 2)); // alpha ramp over six tiles
    images.emplace_back(MakePatternImage(48, 40, 2, 3));  // a transparent hole
    images.emplace_back(MakePatternImage(64, 64, 1, 4));  // exactly one tile
    images.emplace_back(MakeKeyedImage(80, 70));          // colour-keyed, over four tiles
    // Keyed by its metadata, blended by its pixels' alpha.
    images.emplace_back(
        MakeKeyedImageFromMetadata(60, 50, "{colorKey = true, combinedAlpha = true}"));
    return images;
}

void DrawScene(ImageRenderer& renderer, const std::vector<std::unique_ptr<Image>>& images)
{
    SDL_Rect all = MakeRect(0, 0, 640, 480);
    renderer.DrawRect(&all, Color::FromRGBA(30, 60, 90, 255), true);
    SDL_Rect band = MakeRect(20, 300, 600, 60);
    renderer.DrawRect(&band, Color::FromRGBA(250, 200, 10, 128), true);

    SDL_Rect dst = MakeRect(150, 37, 100, 70);
    renderer.DrawImage(images[0].get(), SHADERTYPE_COPY, &dst, nullptr, 255, 0.0, 0);
    dst = MakeRect(300, 20, 130, 90);
    renderer.DrawImage(images[1].get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0, 0);
    dst = MakeRect(40, 280, 100, 70);
    renderer.DrawImage(images[0].get(), SHADERTYPE_BLENDCONSTANTALPHA, &dst, nullptr, 100, 0.0, 0);
    dst = MakeRect(460, 290, 130, 90);
    renderer.DrawImage(images[1].get(), SHADERTYPE_BLENDCOMBINEDALPHA, &dst, nullptr, 180, 0.0, 0);
    dst = MakeRect(200, 200, 48, 40);
    renderer.DrawImage(images[2].get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0, 0);
    // A part of an image that crosses a tile border, drawn at its own size.
    SDL_Rect src = MakeRect(50, 30, 40, 35);
    dst = MakeRect(500, 150, 40, 35);
    renderer.DrawImage(images[0].get(), SHADERTYPE_COPY, &dst, &src, 255, 0.0, 0);
    dst = MakeRect(560, 400, 64, 64);
    renderer.DrawImage(images[3].get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0, 0);

    // Translucent fills below and above half alpha, over the images too.
    for (int alpha : {1, 60, 127, 128, 200, 254}) {
        SDL_Rect strip = MakeRect(10 + alpha * 2, 100, 20, 300);
        renderer.DrawRect(&strip, Color::FromRGBA(240, 20, 130, alpha), true);
    }
    // Fades of an opaque and a ramped image through both alpha shaders (each drawn at its
    // own size: only the hardware backend stretches).
    for (int alpha : {0, 40, 127, 128, 255}) {
        dst = MakeRect(alpha, 400, 64, 64);
        renderer.DrawImage(images[3].get(), SHADERTYPE_BLENDCOMBINEDALPHA, &dst, nullptr, alpha,
                           0.0, 0);
        dst = MakeRect(330 + alpha / 2, 120 + alpha / 4, 100, 70);
        renderer.DrawImage(images[0].get(), SHADERTYPE_BLENDCONSTANTALPHA, &dst, nullptr, alpha,
                           0.0, 0);
    }
    // The keyed image under every shader: its key colour never shows.
    const ShaderType shaders[] = {SHADERTYPE_COPY, SHADERTYPE_BLENDPIXELALPHA,
                                  SHADERTYPE_BLENDCONSTANTALPHA, SHADERTYPE_BLENDCOMBINEDALPHA};
    for (int i = 0; i < 4; ++i) {
        dst = MakeRect(i * 90, 190, 80, 70);
        renderer.DrawImage(images[4].get(), shaders[i], &dst, nullptr, 200, 0.0, 0);
        dst = MakeRect(370 + i * 65, 190, 60, 50);
        renderer.DrawImage(images[5].get(), shaders[i], &dst, nullptr, 255, 0.0, 0);
    }
}

LogCapture::LogCapture()
{
    char path[] = "/tmp/backendlogXXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    m_Path = path;
    bbtest::StartLogCapture(m_Path);
}

LogCapture::~LogCapture()
{
    SetLogFilePath("");
    std::remove(m_Path.c_str());
}

std::string LogCapture::Text() const
{
    return bbtest::ReadFile(m_Path);
}

void BackendTest::SetUp()
{
    bbtest::PrepareEngine();
    ddrawx::ResetHooks();
    // The wrapper's trace must not leave files in the working directory.
    CDXLog::Get().SetCallback(&DropCDXLine);
    CDXLog::Get().SetTargets(CDXLOG_CALLBACK);
}

void BackendTest::TearDown()
{
    ddrawx::ResetHooks();
    EXPECT_EQ(0, ddrawx::LiveObjectCount());
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace backendtest
