#include "recipes/Recipes.h"

namespace assetgen {

void GenerateAll(AssetPack& pack, const GeneratorOptions& options)
{
    GenerateFontAssets(pack, options.fontDir);
    GenerateUiAssets(pack);
    GenerateScreenAssets(pack, options.fontDir);
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
    GenerateCatchSoundAssets(pack);
    GenerateLevelFiles(pack, options.levelDir);
    GenerateCaptionAssets(pack);
    GenerateMenuAssets(pack);
    GenerateLetterAssets(pack);
    GenerateArtefactAssets(pack);
    GenerateMapAssets(pack);
    GenerateTallyAssets(pack);
    GenerateMedalAssets(pack);
    GenerateLabAssets(pack);
    GenerateSongAssets(pack);
    GenerateSceneryAssets(pack);
    GenerateCardAssets(pack);
    pack.Finish();
}

} // namespace assetgen
