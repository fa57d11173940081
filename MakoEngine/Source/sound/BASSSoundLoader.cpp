#include "sound/BASSSoundLoader.h"

#include "bass/SoundDecoder.h"
#include "core/Exception.h"
#include "core/StopSignal.h"
#include "resources/FileReader.h"
#include "resources/MemoryBudget.h"
#include "resources/ResourceInfo.h"
#include "sound/BassErrorText.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <memory>

namespace {

// Whether the name is at least five characters long and ends in one of the extensions
// (each four characters, compared exactly).
bool HasExtension(const std::string& name, std::initializer_list<const char*> extensions)
{
    if (name.size() < 5) {
        return false;
    }
    std::string tail = name.substr(name.size() - 4);
    for (const char* extension : extensions) {
        if (tail == extension) {
            return true;
        }
    }
    return false;
}

// The audio layer's refusal, naming the file; a sound refused for what its file holds (its
// length, a format the game does not play) says what that is. The resource manager names it
// once and the game goes on without it.
[[noreturn]] void ThrowLoadError(const char* format, const std::string& name)
{
    int code = BASS_ErrorGetCode();
    const std::string detail = BASS_ErrorGetDetail();
    if (!detail.empty())
        MAKO_THROW(ResourceLoadError, "the sound " + detail + "; it is not decoded");
    // Refused by the budget of what the game holds decoded: the pack's size, said as such.
    if (code == BASS_ERROR_MEM && !detail.empty())
        MAKO_THROW(BudgetExceeded, detail);
    MAKO_THROW(ResourceLoadError, boost::str(boost::format(format) % name % GetBassErrorName(code) %
                                             GetBassErrorDescription(code)));
}

// The budget's answer for the samples a whole decode is about to allocate.
const char* AdmitDecodedSound(std::uint64_t bytes)
{
    static std::string refusal;
    refusal = MemoryBudget::TryCharge(static_cast<long long>(bytes), "the sound");
    return refusal.empty() ? nullptr : refusal.c_str();
}

} // namespace

bool BASSSoundLoader::CanLoad(const ResourceInfo& info)
{
    return Sound::IsActive() && KindOfEntry(info) == RESOURCE_SOUND;
}

int BASSSoundLoader::KindOfEntry(const ResourceInfo& info) const
{
    return HasExtension(info.Name(), {".ogg", ".mp3", ".wav"}) ? RESOURCE_SOUND : RESOURCE_UNKNOWN;
}

void BASSSoundLoader::LoadResource(FileReader* reader, ResourceInfo& info)
{
    const std::string name = info.GetName();
    MAKO_ASSERT(reader != 0);
    const void* data = nullptr;
    std::uint32_t size = 0;
    reader->Read(name, data, size);

    const LuaPlus::LuaObject& metadata = info.GetMetadata();
    bool stream = false;
    std::uint32_t maxSamples = 65535;
    if (metadata.IsTable()) {
        LuaPlus::LuaObject streamValue = metadata["stream"];
        if (streamValue.IsBoolean()) {
            stream = streamValue.GetBoolean();
        }
        // A metadata file's count is held to 1..65535 where the file is read
        // (MetadataRanges); one set otherwise is passed on as given, and a count outside
        // that fails the load with the audio layer's error, naming the file.
        LuaPlus::LuaObject maxValue = metadata["maxSamples"];
        if (maxValue.IsNumber()) {
            maxSamples = static_cast<std::uint32_t>(maxValue.GetInteger());
        }
    }

    // A whole decode answers a stop of the program between its blocks.
    BASS_SetStopCheck(&StopSignal::IsRequested);
    // and holds its samples only when the budget has room for them.
    BASS_SetMemoryCheck(&AdmitDecodedSound);
    auto sound = std::make_unique<Sound>(name);
    if (stream) {
        HSTREAM handle = BASS_StreamCreateFile(true, data, 0, size, BASS_SAMPLE_SOFTWARE);
        if (handle == 0) {
            ThrowLoadError("Couldn't load stream \"%1%\", %2%, \"%3%\"", name);
        }
        sound->SetStream(handle);
    } else {
        HSAMPLE handle = BASS_SampleLoad(true, data, 0, size, maxSamples, BASS_SAMPLE_SOFTWARE);
        if (handle == 0) {
            ThrowLoadError("Couldn't load sample \"%1%\", %2%, \"%3%\"", name);
        }
        sound->SetSample(handle);
    }
    sound->CountMemoryUsage();
    sound->HoldDecodedBytes(!stream ||
                            bassx::SoundDecoder::Detect(static_cast<const std::uint8_t*>(data),
                                                        size) != bassx::SOUNDFORMAT_OGG);

    if (metadata.IsTable()) {
        LuaPlus::LuaObject volume = metadata["volume"];
        if (volume.IsNumber()) {
            sound->SetVolume(volume.GetInteger());
        }
        LuaPlus::LuaObject pan = metadata["pan"];
        if (pan.IsNumber()) {
            sound->SetPanValue(pan.GetInteger());
        }
    }
    info.SetResource(sound.release());
    info.SetType(RESOURCE_SOUND);
}
