// The game's fonts are the DejaVu faces of Debian's fonts-dejavu-core, copied under
// their own file names (the resource names the configuration's font keys refer to).
#include "recipes/Recipes.h"

namespace fs = std::filesystem;

namespace assetgen {

void GenerateFontAssets(AssetPack& pack, const fs::path& fontDir)
{
    static const char* const kFaces[] = {"DejaVuSans.ttf",     "DejaVuSans-Bold.ttf",
                                         "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf",
                                         "DejaVuSerif.ttf",    "DejaVuSerif-Bold.ttf"};
    for (const char* face : kFaces)
        pack.CopyFile(folders::kFonts, face, fontDir / face);
    // The fonts' licence travels with them when the system keeps it.
    const fs::path licence = "/usr/share/doc/fonts-dejavu-core/copyright";
    if (fs::exists(licence))
        pack.CopyFile(folders::kFonts, "DejaVu-LICENSE.txt", licence);
}

} // namespace assetgen
