// Composing the pictures of a level of 200 bricks: cold (new bricks, every image built from
// its textures, outlines, bevels and cracks) and warm (the bricks keep their base images and
// only redo their decorations, as after an appearance change). Reports the pixel memory the
// level's brick images take. Reads the game's scripts from the source folders and the
// generated asset pack from Assets/ of the build folder it runs in.
#include "app/ArcadeApp.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/PropertyType.h"
#include "display/Image.h"
#include "field/Brick.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

void PrepareGame()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    static ResourceManager* resources = new ResourceManager(state);
    resources->AddLoader(new SDLImageLoader());
    for (const char* folder : {"../MakoEngine/Source/scripts/", "../game/",
                               "../MakoArcadeLib/Source/scripts/", "Assets/"})
        resources->AddScanner(new WindowsDirectoryResourceScanner(folder));
    resources->ScanAll();
    static Config* config = new Config(state);
    (void)config;
    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
}

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
    PrepareGame();
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
    PrepareGame();
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
