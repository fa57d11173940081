// A level of 200 bricks: composing its pictures cold (new bricks, every image built from
// its textures, outlines, bevels and cracks) and warm (the bricks keep their base images and
// only redo their decorations, as after an appearance change), with the pixel memory the
// level's brick images take; and one tick of play in it with 10 balls. Reads the game's
// scripts from the source folders and the asset pack from the build's Assets/.
#include "core/Random.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "scene/ActorLink.h"
#include "support/BenchGame.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A level's mix: mostly colour bricks, some materials, a few with traits.
const char* const kMix[] = {"RedBrick",   "BlueBrick",  "GreenBrick", "YellowBrick",
                            "StoneBrick", "BrickBrick", "GoldBrick",  "IceBrick",
                            "WoodBrick",  "CrateBrick", "MetalBrick", "TNTBrick",
                            "KeyBrick",   "VineBrick",  "GlassBrick", "BigOrangeBrick"};

std::vector<std::unique_ptr<Brick>> MakeLevel()
{
    std::vector<std::unique_ptr<Brick>> level;
    for (int i = 0; i < 200; ++i) {
        level.emplace_back(new Brick(kMix[i % (sizeof(kMix) / sizeof(kMix[0]))]));
        level.back()->SetPosition(32 * (i % 20), 16 * (i / 20));
    }
    return level;
}

std::int64_t ImageBytes(const std::vector<std::unique_ptr<Brick>>& level)
{
    std::int64_t bytes = 0;
    for (const auto& brick : level)
        if (Image* image = brick->GetImage())
            bytes += image->CalcMemoryUsage(false);
    return bytes;
}

void BM_ComposeLevelCold(benchmark::State& bench)
{
    benchgame::OpenGame();
    std::int64_t bytes = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        std::vector<std::unique_ptr<Brick>> level = MakeLevel();
        bench.ResumeTiming();
        for (auto& brick : level)
            brick->CreateBrickImage();
        bench.PauseTiming();
        bytes = ImageBytes(level);
        level.clear();
        bench.ResumeTiming();
    }
    bench.counters["image_bytes"] = double(bytes);
}
BENCHMARK(BM_ComposeLevelCold)->Unit(benchmark::kMillisecond);

void BM_ComposeLevelWarm(benchmark::State& bench)
{
    benchgame::OpenGame();
    std::vector<std::unique_ptr<Brick>> level = MakeLevel();
    for (auto& brick : level)
        brick->CreateBrickImage();
    for (auto _ : bench) {
        for (auto& brick : level) {
            brick->InvalidateImage(false);
            brick->CreateBrickImage();
        }
    }
    bench.counters["image_bytes"] = double(ImageBytes(level));
}
BENCHMARK(BM_ComposeLevelWarm)->Unit(benchmark::kMillisecond);

} // namespace

// One 32 ms tick of the level in play: 200 bricks (laid out in the field, the game's
// walls around them) and 10 balls breaking them; bricks that break are replaced so the
// field stays full.
void BM_BrickFieldTick(benchmark::State& bench)
{
    benchgame::BenchField field;
    std::vector<ActorLink<Brick>> bricks(200); // a broken brick's link empties
    auto refill = [&] {
        for (std::size_t i = 0; i < bricks.size(); ++i)
            if (!bricks[i]) {
                Brick* brick = new Brick(kMix[i % (sizeof(kMix) / sizeof(kMix[0]))]);
                brick->SetPosition(16 + 30 * (i % 20), 40 + 16 * (i / 20));
                bricks[i].Set(field.Place(brick));
            }
    };
    refill();
    MakoSrand(3);
    for (int i = 0; i < 10; ++i) {
        const double angle = 0.7 + 0.5 * i;
        field.Place(new Ball(40 + 56 * i, 400, 400 * std::cos(angle),
                             -400 * std::abs(std::sin(angle)), true));
    }
    for (auto _ : bench) {
        field.Tick();
        bench.PauseTiming();
        refill();
        bench.ResumeTiming();
    }
    bench.counters["ticks/s"] =
        benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BrickFieldTick)->Unit(benchmark::kMicrosecond);
