#pragma once
// The fuzz entries: each runs one input through one of the readers the game uses on data
// it did not make itself, by the game's own entry point. An input the reader refuses is a
// normal outcome; an entry returns normally for every input unless the code under test
// crashes, trips a sanitizer, leaks, or breaks a promise it makes (fuzz::Fail aborts).
//
// The libFuzzer targets (fuzz/targets/) and the replay test of the ordinary test suite
// (tests/fuzz/) both call these, so a stored finding replays the same way in both.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// The user's configuration file, read by Config::ReadFile; what loaded is written back by
// Config::Write and must read back to the same text.
void RunConfigFile(const uint8_t* data, size_t size);
// A player card file in slot 1, read at start-up (LoadGameData with its native card
// reader) and saved again; the saved card must load back as the same card. With the asset
// pack at hand (BB_TEST_ASSET_PACK), the card is also shown on the menu and its game
// started (CardStage).
void RunPlayerCard(const uint8_t* data, size_t size);
// A level file run into an emptied Levels as the game runs the pack's level files (which
// compiles its brick text), then each level it made read by the native Level.
void RunLevelFile(const uint8_t* data, size_t size);
// An image folder's metadata file, scanned with the folder's pictures and applied to each
// picture as it loads.
void RunImageMetadata(const uint8_t* data, size_t size);
// A picture file (PNG, JPEG or BMP), decoded and loaded as the game loads a pack's picture;
// what it decodes to lies within the picture bound.
void RunPicture(const uint8_t* data, size_t size);
// Serialiser text read as a data file, written back and read again: what the writer
// wrote must read back, and writing it again must give the same text.
void RunSerializer(const uint8_t* data, size_t size);
// A (damaged) package file mounted by the PhysFS scanner, every entry read and every
// picture and script table in it loaded.
void RunPackage(const uint8_t* data, size_t size);
// A debugger connection's bytes: the client hello, then framed messages cut at places the
// input chooses; the messages must come out the same however the bytes arrive, and each
// runs as a debugger command.
void RunDebugFrames(const uint8_t* data, size_t size);
// A font file, the only font of the pack, opened by name at sizes the game uses and made to
// measure and draw a text; what it draws stays within its proportion.
void RunFontFile(const uint8_t* data, size_t size);
// A sound file loaded whole as a sample and opened as a stream; a sample stays within the
// whole-decode bound.
void RunSoundFile(const uint8_t* data, size_t size);

// A small pack played: a level file and additions to the metadata files of the pack's
// picture folders (sections of the input, PlayEntry.cpp); the level is built, served and
// played for a few hundred passes. Needs the asset pack (BB_TEST_ASSET_PACK).
void RunPlay(const uint8_t* data, size_t size);

// A song read by the music layer's loader and, when it loads, played looped for a bounded
// time on a performance of its own (SongEntry.cpp).
void RunSong(const uint8_t* data, size_t size);

struct Target
{
    const char* name; // the target's name: "config", "card", ... (fuzz_<name>)
    void (*run)(const uint8_t* data, size_t size);
};

// Every target, in a fixed order.
const std::vector<Target>& Targets();

} // namespace fuzz
