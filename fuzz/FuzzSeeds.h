#pragma once
// The seed inputs of every fuzz target, made from what the game ships (its configuration
// files, level files, the asset pack's metadata files) and written by the game's own
// writers (configuration, cards, packages, debugger frames). The seed tool writes them
// into the corpus folders; the replay test runs them all.
#include <string>
#include <vector>

namespace fuzz {

struct Seed
{
    std::string name; // a file name for the corpus folder
    std::string bytes;
};

// The seeds of the target of that name (FuzzEntries.h). packFolder is the generated asset
// pack ("" when there is none: the seeds that need it are left out).
std::vector<Seed> MakeSeeds(const std::string& target, const std::string& packFolder);

// The project's source folder (fixed at build time).
std::string SourceFolder();

// Cards the game's saver wrote: fresh, signed in, and the test fixtures' cards read and
// saved again (PlayerCardEntry.cpp).
std::vector<Seed> SavedCardSeeds();

// A song that promises endless work, and songs of the pack (SongEntry.cpp).
std::vector<Seed> SongSeeds(const std::string& packFolder);
// Font files with their header fields and glyphs at extremes, made from the pack's fonts;
// sounds that promise hours (FontAndSoundEntry.cpp).
std::vector<Seed> FontSeeds(const std::string& packFolder);
std::vector<Seed> SoundSeeds();

// Writes the image metadata target's pictures into folder (ImageMetadataEntry.cpp).
void WriteMetadataPictures(const std::string& folder);

} // namespace fuzz
