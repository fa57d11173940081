#pragma once
// The engine's sound system over the audio layer opened offline: a fresh script state with
// a configuration and a resource manager holding sounds and music made in memory. Only
// Render advances the mix, so every figure is exact and repeatable.
#include "support/engine/LuaFixture.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class Config;
class ResourceManager;

namespace bbtest {

// A RIFF WAVE file of 16-bit PCM; `samples` interleaved over `channels`.
std::string MakeWav(int channels, int rate, const std::vector<std::int16_t>& samples);
// A mono 44100 Hz WAVE file of `frames` frames all holding `value`.
std::string ConstantWav(std::int16_t value, int frames);

class SoundFixture : public LuaFixture
{
protected:
    SoundFixture();
    ~SoundFixture() override;

    // Opens audio offline (as the default device would be, but without output) and, when
    // asked, the music; the configuration holds music_volume and sfx_volume 100.
    void StartAudio(bool music = false);

    // Registers a resource of that name with the bytes and optional metadata (script
    // text of a table expression, "" for none).
    void AddResource(const std::string& name, const std::string& bytes,
                     const std::string& metadata = "");
    // Renders frames of the whole mix: interleaved stereo.
    std::vector<short> Render(int frames);
    // Delivers every posted event (configuration updates).
    void DeliverPostedEvents();
    // Destroys the resource manager and everything it loaded, as engine shutdown does.
    void DestroyResources();
    // Sets a user configuration value through scripts, as the options screen does.
    void SetConfigNumber(const std::string& key, double value);

    Config* m_Config = nullptr;
    ResourceManager* m_Resources = nullptr;
};

// Opens device 1 offline; every (device, rate, flags) asked for is recorded.
struct OfflineDevices
{
    std::vector<std::string> descriptions{"No sound", "Default output (offline)"};
    // Devices that open (others fail with the driver error), by (device, freq, flags).
    std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> working;
    bool anyModeWorks = true;
    std::vector<std::tuple<int, std::uint32_t, std::uint32_t>> attempts;

    void Install();
};

} // namespace bbtest
