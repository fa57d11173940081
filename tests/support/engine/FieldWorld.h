#pragma once
// The game's own resources for play-field tests: the tables of the game scripts, the
// images and sounds of the generated asset pack, and audio opened offline, so balls,
// walls and their friends find everything they use as in the game, and a test can record
// which sounds they play.
//
//   bbtest::OpenGameResources();   // once per program (later calls do nothing)
//   bbtest::SoundLog sounds;       // records every sound played by name while it lives
//
// The pack is the one CTest's AssetPack fixture wrote (BB_TEST_ASSET_PACK), or for a test
// program run by itself the build's own Assets/ (support/RequiredFiles.h); a missing pack
// fails the test with a message naming it.
#include <string>
#include <vector>

namespace bbtest {

// The tests' resource manager (TestResources) gets the image and sound loaders and scans
// the engine's scripts, the game's configuration files, the game scripts and the asset
// pack; the core scripts, the game's constant configuration and every game script then
// run in the game's order; SDL video (dummy) and TrueType text start; audio opens offline (no
// device, the mix advances only when rendered). Fails the calling test when the pack is missing.
void OpenGameResources();

// Records every sound played by name (Sound's play listener) while it lives; logs may
// nest, and each hears every play.
class SoundLog
{
public:
    struct Play
    {
        std::string name;
        int volume; // Sound::kVolumeUnset when the sound has none of its own
        int pan;    // Sound::kPanUnset likewise
    };

    SoundLog();
    ~SoundLog();
    SoundLog(const SoundLog&) = delete;
    SoundLog& operator=(const SoundLog&) = delete;

    const std::vector<Play>& Plays() const { return m_Plays; }
    // How often the named sound was played.
    int Count(const std::string& name) const;
    // The names in the order played.
    std::vector<std::string> Names() const;
    void Clear() { m_Plays.clear(); }

private:
    std::vector<Play> m_Plays;
};

} // namespace bbtest
