// One rendered frame of a busy game screen in each display backend: a screen of 200
// brick-sized images, 10 rotated and 10 alpha-faded sprites, presented. Reports the time
// per frame of each backend and the hardware-to-software ratio. The same screen with every
// sprite and a fifth of the bricks moving each frame is drawn the three ways: as the game
// draws it (the changed region or everything, whichever costs less), always the changed
// region, and always everything.
#include "display/DisplayManager.h"
#include "display/FrameRecorder.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "display/ImageRenderer.h"
#include "geometry/Rect.h"
#include "support/BenchGame.h"
#include "support/Figure.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Milliseconds a frame takes, software then hardware; missing for a backend whose benchmark
// did not run or could not start.
benchfigure::Figure gMsPerFrame[2];

Image* MakeSprite(int width, int height, std::uint32_t seed)
{
    Image* image = new Image(width, height, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
    SDL_Surface* s = image->GetSDLSurface();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t a = (x == 0 || y == 0 || x == width - 1 || y == height - 1) ? 128 : 255;
            reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) +
                                             y * s->pitch)[x] =
                a << 24 | ((x * 5 + seed) & 0xFF) << 16 | ((y * 9) & 0xFF) << 8 | (seed & 0xFF);
        }
    return image;
}

struct Scene
{
    std::vector<std::unique_ptr<Image>> bricks;
    std::vector<std::unique_ptr<Image>> rotated;
    std::unique_ptr<Image> sprite;

    Scene()
    {
        for (int i = 0; i < 8; ++i)
            bricks.emplace_back(MakeSprite(40, 20, std::uint32_t(i * 29)));
        sprite.reset(MakeSprite(48, 48, 7));
        for (int i = 0; i < 10; ++i)
            rotated.emplace_back(ImageEffects::RotateImage(sprite.get(), 9.0 * i + 5.0, 0, true));
    }

    // Frame `frame` of the screen; moving: the sprites and every fifth brick move with it.
    void Draw(ImageRenderer& renderer, int frame = 0, bool moving = false)
    {
        const int shift = moving ? frame % 9 : 0;
        SDL_Rect all = MakeRect(0, 0, 640, 480);
        renderer.DrawRect(&all, Color::FromRGBA(10, 10, 40, 255), true);
        for (int i = 0; i < 200; ++i) {
            SDL_Rect dst =
                MakeRect(20 + (i % 14) * 43 + (i % 5 == 0 ? shift : 0), 20 + (i / 14) * 22, 40, 20);
            renderer.DrawImage(bricks[i % bricks.size()].get(), SHADERTYPE_BLENDPIXELALPHA, &dst,
                               nullptr, 255, 0.0, 0);
        }
        for (int i = 0; i < 10; ++i) {
            Image* image = rotated[i].get();
            SDL_Rect dst =
                MakeRect(30 + i * 58 + shift, 360, image->GetSize().x, image->GetSize().y);
            renderer.DrawImage(image, SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0, 0);
        }
        for (int i = 0; i < 10; ++i) {
            SDL_Rect dst = MakeRect(30 + i * 58, 420 - shift, 48, 48);
            renderer.DrawImage(sprite.get(), SHADERTYPE_BLENDCONSTANTALPHA, &dst, nullptr,
                               25 * (i + 1), 0.0, 0);
        }
    }
};

// How the frames are drawn: as the game chooses, the changed region always, everything
// always (full redraw).
enum Drawing { DRAW_CHOSEN, DRAW_REGION, DRAW_WHOLE };

void RenderFrames(benchmark::State& state, bool accel3d, bool moving = false,
                  Drawing drawing = DRAW_CHOSEN)
{
    DisplayManager manager;
    manager.SetFullRedraw(drawing == DRAW_WHOLE);
    manager.SetRegionAlways(drawing == DRAW_REGION);
    if (!benchgame::StartDisplay(manager, accel3d)) {
        state.SkipWithError("the display backend could not be started");
        return;
    }
    Scene scene;
    auto start = std::chrono::steady_clock::now();
    int frame = 0;
    double wholeByChoice = 0.0;
    for (auto _ : state) {
        scene.Draw(*manager.GetImageRenderer(), frame++, moving);
        manager.Flip();
        const FrameRecorder* recorder = manager.GetRecorder();
        wholeByChoice += recorder && recorder->WasLastDrawnWholeByChoice() ? 1.0 : 0.0;
    }
    // Frames drawn whole because their region would have cost more.
    state.counters["whole_pct"] = frame ? 100.0 * wholeByChoice / frame : 0.0;
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    double perFrame =
        spent.count() / double(std::max<benchmark::IterationCount>(1, state.iterations()));
    if (state.iterations() > 0 && !moving)
        gMsPerFrame[accel3d ? 1 : 0] = perFrame * 1000.0;
    state.counters["ms_per_frame"] = perFrame * 1000.0;
}

void BM_FrameSoftwareBackend(benchmark::State& state)
{
    RenderFrames(state, false);
}

void BM_FrameHardwareBackend(benchmark::State& state)
{
    RenderFrames(state, true);
}

// The moving screen, in each backend, each way.
void BM_MovingFrameSoftware(benchmark::State& state)
{
    RenderFrames(state, false, true);
}

void BM_MovingFrameHardware(benchmark::State& state)
{
    RenderFrames(state, true, true);
}

void BM_MovingFrameSoftwareRegion(benchmark::State& state)
{
    RenderFrames(state, false, true, DRAW_REGION);
}

void BM_MovingFrameHardwareRegion(benchmark::State& state)
{
    RenderFrames(state, true, true, DRAW_REGION);
}

void BM_MovingFrameSoftwareFullRedraw(benchmark::State& state)
{
    RenderFrames(state, false, true, DRAW_WHOLE);
}

void BM_MovingFrameHardwareFullRedraw(benchmark::State& state)
{
    RenderFrames(state, true, true, DRAW_WHOLE);
}

// Reads the two figures above (run before it) and reports hardware / software; a figure
// that was not measured is said so, and then there is no ratio.
void BM_FrameBackendRatio(benchmark::State& state)
{
    const benchfigure::Figure ratio = benchfigure::Ratio(gMsPerFrame[1], gMsPerFrame[0]);
    for (auto _ : state)
        benchmark::DoNotOptimize(ratio);
    if (ratio)
        state.counters["hw_over_sw"] = benchmark::Counter(*ratio);
    std::printf("Display frame: software %s, hardware %s, hardware / software %s\n",
                benchfigure::Ms(gMsPerFrame[0]).c_str(), benchfigure::Ms(gMsPerFrame[1]).c_str(),
                benchfigure::Times(ratio).c_str());
}

} // namespace

BENCHMARK(BM_FrameSoftwareBackend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameHardwareBackend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameBackendRatio)->Iterations(1);
BENCHMARK(BM_MovingFrameSoftware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingFrameHardware)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingFrameSoftwareRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingFrameHardwareRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingFrameSoftwareFullRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovingFrameHardwareFullRedraw)->Unit(benchmark::kMillisecond);
