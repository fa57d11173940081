// assetgen [--list] <out-dir>: writes the game's default asset pack into out-dir from the
// recipes in code. The same program writes the same bytes every time. Prints how many
// files it wrote (with --list, first one line per file: path, bytes, what it is); exits
// with 1 and a message when something cannot be made.
#include "recipes/Recipes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

int main(int argc, char** argv)
{
    const bool list = argc == 3 && std::strcmp(argv[1], "--list") == 0;
    const char* outDir = argc > 1 ? argv[argc - 1] : "-";
    if (argc != 2 + (list ? 1 : 0) || outDir[0] == '-') {
        std::fprintf(stderr, "usage: assetgen [--list] <out-dir>\n"
                             "Writes the default asset pack. The environment variable\n"
                             "ASSETGEN_FONT_DIR overrides where the fonts are copied from,\n"
                             "ASSETGEN_LEVEL_DIR where the level files are. --list\n"
                             "prints every file written.\n");
        return 2;
    }
    try {
        assetgen::GeneratorOptions options;
        if (const char* fonts = std::getenv("ASSETGEN_FONT_DIR"))
            options.fontDir = fonts;
        if (const char* levels = std::getenv("ASSETGEN_LEVEL_DIR"))
            options.levelDir = levels;
        assetgen::AssetPack pack(outDir);
        assetgen::GenerateAll(pack, options);
        if (list)
            for (const assetgen::WrittenAsset& a : pack.Written())
                std::printf("%-28s %8ju bytes  %s\n", a.path.c_str(), a.bytes, a.detail.c_str());
        std::printf("assetgen: %zu files written to %s\n", pack.Written().size(), outDir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
