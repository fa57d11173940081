// Writes the seed corpora of the fuzz targets: fuzz_seeds <corpus folder> [asset pack]
// makes <corpus folder>/<target>/ for every target, holding its seeds (fuzz/FuzzSeeds.h).
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "FuzzSeeds.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <corpus folder> [asset pack folder]\n", argv[0]);
        return 2;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string corpus = argv[1];
    const std::string pack = argc == 3 ? argv[2] : "";
    for (const fuzz::Target& target : fuzz::Targets()) {
        const std::string folder = corpus + "/" + target.name + "/";
        std::filesystem::create_directories(folder);
        const std::vector<fuzz::Seed> seeds = fuzz::MakeSeeds(target.name, pack);
        for (const fuzz::Seed& seed : seeds)
            fuzz::WriteScratchFile(folder + seed.name,
                                   reinterpret_cast<const uint8_t*>(seed.bytes.data()),
                                   seed.bytes.size());
        std::fprintf(stderr, "fuzz_seeds: %zu seeds for %s\n", seeds.size(), target.name);
    }
    return 0;
}
