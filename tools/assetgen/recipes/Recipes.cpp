#include "recipes/Recipes.h"

namespace assetgen {

void GenerateAll(AssetPack& pack, const GeneratorOptions& options)
{
    GenerateFontAssets(pack, options.fontDir);
    GenerateUiAssets(pack);
    GenerateScreenAssets(pack);
    GenerateSoundAssets(pack);
    GenerateBallAssets(pack);
    GenerateMusicAssets(pack);
    GenerateLevelMusicAssets(pack);
    GenerateEngineTestAssets(pack);
    GenerateEffectAssets(pack);
    GenerateWallAssets(pack);
    GeneratePaddleAssets(pack);
    GenerateBrickAssets(pack);
    GeneratePowerupAssets(pack);
    GenerateGooberAssets(pack);
    GenerateGameAssets(pack);
    GenerateMotionAssets(pack);
    GenerateLevelAssets(pack);
    GenerateMeterAssets(pack);
    GenerateLevelFiles(pack, options.levelDir);
    GenerateCaptionAssets(pack);
    GenerateLetterAssets(pack);
    GenerateTallyAssets(pack);
    pack.Finish();
}

} // namespace assetgen
