// The level files: every ".lua" file of the source folder game/Levels, copied unchanged
// into the pack's folder "Levels", which the game lists and runs at start-up.
#include "recipes/Recipes.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace assetgen {

void GenerateLevelFiles(AssetPack& pack, const fs::path& levelDir)
{
    if (!fs::is_directory(levelDir))
        throw std::runtime_error("the level folder " + levelDir.string() + " is missing");
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(levelDir))
        if (entry.is_regular_file() && entry.path().extension() == ".lua")
            files.push_back(entry.path());
    // Sorted, so the pack is written in the same order on every run.
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files)
        pack.CopyFile(folders::kLevels, file.filename().string(), file);
}

} // namespace assetgen
