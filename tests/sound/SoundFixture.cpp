#include "SoundFixture.h"

#include "bass/MixerSource.h"
#include "bass/bass.h"
#include "core/Config.h"
#include "core/EventQueue.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "sound/BASSSoundLoader.h"
#include "sound/DirectMusicLoader.h"
#include "sound/Sound.h"

#include <algorithm>
#include <memory>

namespace bbtest {

namespace {

// Serves bytes held in memory.
class MemoryReader : public FileReader
{
public:
    explicit MemoryReader(std::string bytes) : m_Bytes(std::move(bytes)) {}
    void Read(const std::string&, const void*& outData, uint32_t& outSize) override
    {
        outData = m_Bytes.data();
        outSize = static_cast<uint32_t>(m_Bytes.size());
    }
    void Close() override {}

private:
    std::string m_Bytes;
};

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

std::string MakeWav(int channels, int rate, const std::vector<std::int16_t>& samples)
{
    std::string data;
    for (std::int16_t s : samples) {
        PutLE(data, static_cast<std::uint16_t>(s), 2);
    }
    std::string out = "RIFF";
    PutLE(out, 36 + static_cast<std::uint32_t>(data.size()), 4);
    out += "WAVEfmt ";
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);
    PutLE(out, channels, 2);
    PutLE(out, rate, 4);
    PutLE(out, rate * channels * 2, 4);
    PutLE(out, channels * 2, 2);
    PutLE(out, 16, 2);
    out += "data";
    PutLE(out, static_cast<std::uint32_t>(data.size()), 4);
    return out + data;
}

std::string ConstantWav(std::int16_t value, int frames)
{
    return MakeWav(1, 44100, std::vector<std::int16_t>(frames, value));
}

void OfflineDevices::Install()
{
    Sound::DeviceAccess access;
    access.describe = [this](int device) -> const char* {
        if (device < 0 || device >= static_cast<int>(descriptions.size())) {
            return nullptr;
        }
        return descriptions[device].c_str();
    };
    access.open = [this](int device, std::uint32_t freq, std::uint32_t flags) {
        attempts.emplace_back(device, freq, flags);
        bool works =
            anyModeWorks || std::find(working.begin(), working.end(),
                                      std::make_tuple(device, freq, flags)) != working.end();
        if (!works) {
            BASS_Init(99, freq, flags, nullptr, nullptr); // sets the device error
            return false;
        }
        return BASS_Init(1, freq, flags | bassx::DEVICE_OFFLINE, nullptr, nullptr);
    };
    Sound::SetDeviceAccess(&access);
}

SoundFixture::SoundFixture()
{
    m_Config = new Config(State());
    Run("LoadConfig { music_volume = 100, sfx_volume = 100 }");
    m_Resources = new ResourceManager(State());
    m_Resources->AddLoader(new BASSSoundLoader());
    m_Resources->AddLoader(new DirectMusicLoader());
}

SoundFixture::~SoundFixture()
{
    Sound::Quit();
    Sound::SetDeviceAccess(nullptr);
    GetPostedEventQueue().Clear();
    BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, 100);
    BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 100);
    delete m_Resources;
    delete m_Config;
}

void SoundFixture::StartAudio(bool music)
{
    static OfflineDevices devices;
    devices = OfflineDevices();
    devices.Install();
    Sound::Init(true);
    ASSERT_TRUE(Sound::IsActive());
    if (music) {
        Sound::InitDirectMusic(true);
    }
}

void SoundFixture::AddResource(const std::string& name, const std::string& bytes,
                               const std::string& metadata)
{
    auto* info = new ResourceInfo(name, std::make_unique<MemoryReader>(bytes));
    if (!metadata.empty()) {
        Run("soundTestMetadata = " + metadata);
        info->SetMetadata(Global("soundTestMetadata"));
    }
    m_Resources->AddInfo(name, info);
}

std::vector<short> SoundFixture::Render(int frames)
{
    std::vector<short> out(static_cast<std::size_t>(frames) * 2);
    bassx::RenderMix(out.data(), frames);
    return out;
}

void SoundFixture::DeliverPostedEvents()
{
    Event event;
    while (GetPostedEventQueue().Take(event)) {
        if (event.type == MAKO_ROUTEDEVENT) {
            EventQueue::DeliverRouted(event);
        } else {
            EventQueue::ReleaseEventData(event);
        }
    }
}

void SoundFixture::DestroyResources()
{
    delete m_Resources;
    m_Resources = nullptr;
}

void SoundFixture::SetConfigNumber(const std::string& key, double value)
{
    Run("Config." + key + " = " + std::to_string(value));
}

} // namespace bbtest
