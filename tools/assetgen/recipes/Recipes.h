#pragma once
// The recipes of the default asset pack, one function per area. A new area adds its
// function here and one call in GenerateAll.
#include "kit/AssetPack.h"

#include <filesystem>

#ifndef ASSETGEN_LEVEL_DIR
#define ASSETGEN_LEVEL_DIR "game/Levels"
#endif

namespace assetgen {

// Folders of the pack. Each folder gets its own metadata file, and the engine applies a
// folder's metadata only to the files of that folder.
namespace folders {
inline const char* const kUiImages = "Images/UI";
inline const char* const kUiSounds = "Sounds/Interface"; // folder names are unique: the
                                                         // archive scanner lists folders too
inline const char* const kMusic = "Music";
inline const char* const kFonts = "Fonts";
inline const char* const kTest = "Test";
inline const char* const kScreens = "Images/Screens";
inline const char* const kEffectImages = "Images/Effects";
inline const char* const kEffectSounds = "Sounds/Effects";
inline const char* const kPaddleImages = "Images/Paddles"; // not "Paddle": the
                                                           // paddle resource has that name
inline const char* const kPaddleSounds = "Sounds/Paddles";
inline const char* const kLevels = "Levels"; // the game runs every script listed here
} // namespace folders

struct GeneratorOptions
{
    // Where the TrueType fonts are copied from (Debian's fonts-dejavu-core).
    std::filesystem::path fontDir = "/usr/share/fonts/truetype/dejavu";
    // Where the level files are copied from (the source folder game/Levels).
    std::filesystem::path levelDir = ASSETGEN_LEVEL_DIR;
};

// Buttons, window buttons, key tips, the ball and the click sounds.
void GenerateUiAssets(AssetPack& pack);
// Pictures, sounds and music that the engine's own tests load.
void GenerateEngineTestAssets(AssetPack& pack);
// Sound effects the engine and widgets play by name (the scroll bar's beep).
void GenerateSoundAssets(AssetPack& pack);
// The main theme with the parts the screens play.
void GenerateMusicAssets(AssetPack& pack);
// The level song with the parts a level plays (serve, letter, ten play parts, the end).
void GenerateLevelMusicAssets(AssetPack& pack);
// The game's TrueType fonts.
void GenerateFontAssets(AssetPack& pack, const std::filesystem::path& fontDir);

// The balls of every substance and size, their coronas, the shared particle sprites and
// the sounds balls play.
void GenerateBallAssets(AssetPack& pack);

// Bricks: textures, shape outlines and bevels, cracks, edge strips, overlays, icons and the
// materials' sounds.
void GenerateBrickAssets(AssetPack& pack);

// Screen backgrounds and the window icon.
void GenerateScreenAssets(AssetPack& pack, const std::filesystem::path& fontDir);

// The play field's effects: the explosion's fireball, embers and smoke, the lightning
// bolt of sparks, and the blast's sound.
void GenerateEffectAssets(AssetPack& pack);

// Power-up capsules, coin and gems, the gold brick and their sounds.
void GeneratePowerupAssets(AssetPack& pack);
// The play field's walls, lava, shield bands, laser beam and their sounds.
void GenerateWallAssets(AssetPack& pack);
// The paddle's bat, glow and tints, and its sounds.
void GeneratePaddleAssets(AssetPack& pack);
// Goobers of every kind with their damage and blink frames, the bomb, the anvil, and the
// sounds goobers make.
void GenerateGooberAssets(AssetPack& pack);

// The sounds of the game's course: the level's opening and the brick drop.
void GenerateGameAssets(AssetPack& pack);

// The sounds a level plays as it fills the field (paddles and balls appearing).
void GenerateLevelAssets(AssetPack& pack);

// The wind loop of the moving field.
void GenerateMotionAssets(AssetPack& pack);

// The level files of levelDir (".lua"), copied into the folder "Levels".
void GenerateLevelFiles(AssetPack& pack, const std::filesystem::path& levelDir);

// The sounds of the captions that end a stretch of play (level won, ball lost, game over).
void GenerateCaptionAssets(AssetPack& pack);

// The in-game meters: the hit meter's strip and icons, the letter tiles, the combo sounds.
void GenerateMeterAssets(AssetPack& pack);
// The sounds of caught power-ups and loot.
void GenerateCatchSoundAssets(AssetPack& pack);

// The letters: the writing paper, the senders' portraits, the yellow button and the
// letters' sounds.
void GenerateLetterAssets(AssetPack& pack);

// The main menu's backdrop and buttons.
void GenerateMenuAssets(AssetPack& pack);

// The player cards (background, plates, highlight, overlay) and, when no earlier area made
// them, the goal star, the secret icon and the card and sign-in dialogs' backgrounds. Runs
// after every other area.
void GenerateCardAssets(AssetPack& pack);

// The recovered works of art (two frames each: covered and uncovered), the missing work's
// plate, the plates of the in-game menu, the artefact card and the options page, and the
// sounds of a reveal and of the artefact letter.
void GenerateArtefactAssets(AssetPack& pack);

// The adventure map screen: its backdrop, the sea chart, pins, tags, route dots, arrows,
// level plaques, the notepad and its stars.
void GenerateMapAssets(AssetPack& pack);
// The end-of-level tally: the bonus star and the sounds of the count.
void GenerateTallyAssets(AssetPack& pack);

// The medals: ribbons per category, medal pictures per level, their highlights and the
// gold medal's fanfare.
void GenerateMedalAssets(AssetPack& pack);
// The lab screen: the sticky note of its level list.
void GenerateLabAssets(AssetPack& pack);
// The level songs of the lands and the lab, each with every part a level plays.
void GenerateSongAssets(AssetPack& pack);

// The play backgrounds of the ten lands and the lab.
void GenerateSceneryAssets(AssetPack& pack);

// Every area in a fixed order, then the folders' metadata files.
void GenerateAll(AssetPack& pack, const GeneratorOptions& options);

} // namespace assetgen
