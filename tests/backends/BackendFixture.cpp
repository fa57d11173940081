#include "backends/BackendFixture.h"

#include "display/CDXLog.h"

#include <cstdio>
#include <unistd.h>

namespace backendtest {

namespace {

void DropCDXLine(const char*) {}

} // namespace

Image* MakePatternImage(int width, int height, int alphaMode, std::uint32_t seed)
{
    Image* image = new Image(width, height, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
    SDL_Surface* surface = image->GetSDLSurface();
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
    return image;
}

std::vector<std::unique_ptr<Image>> MakeSceneImages()
{
    std::vector<std::unique_ptr<Image>> images;
    images.emplace_back(MakePatternImage(100, 70, 0, 1)); // four tiles, opaque
    images.emplace_back(MakePatternImage(130, 90, 1, 2)); // alpha ramp over six tiles
    images.emplace_back(MakePatternImage(48, 40, 2, 3));  // a transparent hole
    images.emplace_back(MakePatternImage(64, 64, 1, 4));  // exactly one tile
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
}

LogCapture::LogCapture()
{
    char path[] = "/tmp/backendlogXXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    m_Path = path;
    SetLogFilePath(m_Path);
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
