#include "sound/MusicManager.h"

#include "bass/MixerSource.h"
#include "core/DataReport.h"
#include "core/Log.h"
#include "dmusic/SynthLog.h"
#include "resources/ResourceMemory.h"
#include "sound/MusicSegment.h"

#include <set>
#include <utility>

namespace {

// The synthesiser stands in for the output port: one port with instrument download,
// software synthesis and output through the audio device.
const char* const kPortDescription = "FluidSynth General MIDI synthesiser";

const char* LevelWord(dmusic::SynthLevel level)
{
    switch (level) {
    case dmusic::SynthLevel::Panic:
        return "panic";
    case dmusic::SynthLevel::Error:
        return "error";
    case dmusic::SynthLevel::Warning:
        return "warning";
    case dmusic::SynthLevel::Info:
        return "info";
    default:
        return "debug";
    }
}

} // namespace

void NameBoundedSong(const std::string& name, const std::string& readingChanged,
                     std::int64_t heldBlocks)
{
    // Said once a run for each song and each kind of bound, whoever noticed it (the game as
    // it leaves the song, the level check as it plays it).
    static auto& named = *new std::set<std::pair<std::string, int>>;
    if (!readingChanged.empty() && named.emplace(name, 0).second) {
        DataReport::WarnOfPack("the song \"" + name +
                               "\" is played within the music's bounds: " + readingChanged);
    }
    if (heldBlocks > 0 && named.emplace(name, 1).second) {
        DataReport::WarnOfPack(
            "the song \"" + name + "\" is denser than the music plays (more than " +
            std::to_string(dmusic::Performance::kEventsPerSecond) +
            " messages a second): its events wait for room, so it plays slower than written");
    }
}

void LogSynthMessages()
{
    for (const dmusic::SynthMessage& message : dmusic::TakeSynthMessages()) {
        const int level = message.level <= dmusic::SynthLevel::Warning ? 1 : 4;
        std::int64_t more = message.count;
        if (message.first) {
            LogAtLevel(level, "FluidSynth %s: %s\n", LevelWord(message.level),
                       message.text.c_str());
            --more;
        }
        if (more > 0) {
            LogAtLevel(level, "FluidSynth said \"%s\" %lld more time(s)\n", message.text.c_str(),
                       static_cast<long long>(more));
        }
    }
}

MusicManager::MusicManager()
{
    Log("MusicManager: Construct\n");
}

MusicManager::~MusicManager()
{
    if (m_InMix) {
        // After this returns the audio thread no longer renders the performance.
        bassx::SetMusicSource(nullptr, nullptr);
        m_InMix = false;
    }
    SetMusicMemorySource(nullptr);
    if (m_pPerformance) {
        m_pPerformance->Stop();
        m_pPerformance->CloseDown();
        m_pPerformance.reset();
    }
    m_Loader.reset();
    LogSynthMessages();
}

dmusic::Result MusicManager::FailInitialize(const char* format, dmusic::Result result)
{
    LogAtLevel(1, format, dmusic::ResultName(result), dmusic::ResultDescription(result));
    m_pPerformance.reset();
    m_Loader.reset();
    return result;
}

dmusic::Result MusicManager::Initialize(void* window, int maxChannels, int useDirectSound,
                                        void* directSound, unsigned dsVersion)
{
    m_DSVersion = dsVersion;
    LogAtLevel(3, "MusicManager: Initialize\n");
    LogAtLevel(3, "MusicManager:  Create loader object\n");
    m_Loader = std::make_unique<dmusic::Loader>();
    LogAtLevel(3, "MusicManager:  Create performance object\n");
    m_pPerformance = std::make_shared<dmusic::Performance>();

    LogAtLevel(3, "MusicManager: m_pPerformance->Init()\n");
    dmusic::Result result = m_pPerformance->Init(bassx::MIX_RATE);
    LogSynthMessages();
    if (dmusic::Failed(result)) {
        if (result == dmusic::ERR_NO_SYNTHESIZER) {
            return FailInitialize(
                "MusicManager: Warning: No sound card found\n>>>>>>%s\n>>>>>>%s\n", result);
        }
        return FailInitialize("MusicManager: Init Failed\n>>>>>>%s\n>>>>>>%s\n", result);
    }

    LogAtLevel(2, "MusicManager: Port %s DLS=%d SOFT=%d DSOUND=%d\n", kPortDescription, 1, 1, 1);
    LogAtLevel(2, "MusicManager: Got Picked Port: %s\n", kPortDescription);
    LogAtLevel(2, "MusicManager: Using Picked Port\n");
    // The port's output: the performance is mixed into the audio device's output.
    bassx::SetMusicSource(&dmusic::RenderInto, m_pPerformance.get());
    m_InMix = true;
    std::weak_ptr<dmusic::Performance> performance = m_pPerformance;
    SetMusicMemorySource([performance]() -> std::int64_t {
        std::shared_ptr<dmusic::Performance> held = performance.lock();
        return held ? held->GetSynthBytes() : 0;
    });

    LogAtLevel(3, "MusicManager:  Turn off auto downloading\n");
    result = m_pPerformance->SetAutoDownload(false);
    if (dmusic::Failed(result)) {
        LogAtLevel(1,
                   "MusicManager: Warning: Turn off auto downloading failed\n>>>>>>%s\n>>>>>>%s\n",
                   dmusic::ResultName(result), dmusic::ResultDescription(result));
    } else {
        // Segments are loaded from memory; the folder is only reported.
        LogAtLevel(3, "MusicManager: SetSearchDirectory %s\n", ".\\Assets\\Music");
    }
    m_Initialized = true;
    return dmusic::RESULT_OK;
}

dmusic::Result MusicManager::LoadSegment(const std::string& name, const void* data,
                                         std::size_t size, bool download, bool isMidi,
                                         MusicSegment** segment)
{
    if (!m_Loader || !m_pPerformance) {
        return dmusic::ERR_NOT_INITIALIZED;
    }
    std::shared_ptr<dmusic::Segment> loaded;
    dmusic::Result result = m_Loader->LoadSegment(data, size, &loaded);
    if (dmusic::Failed(result)) {
        LogAtLevel(1, "MusicManager: GetObject %s Failed\n>>>>>>%s\n>>>>>>%s\n", name.c_str(),
                   dmusic::ResultName(result), dmusic::ResultDescription(result));
        // The loader's own account of what is wrong with the file.
        LogAtLevel(1, "MusicManager: %s\n", m_Loader->GetLastError().c_str());
        return result;
    }
    // Only Standard MIDI Files load here, so the MIDI set-up of the segment is implied.
    (void)isMidi;
    NameBoundedSong(name, loaded->GetMidiFile().Bounded(), 0);
    MusicSegment* made = new MusicSegment(name, m_pPerformance, loaded);
    if (download) {
        dmusic::Result downloaded = made->Download();
        if (dmusic::Failed(downloaded)) {
            LogAtLevel(1, "MusicManager: Can't Download %s\n>>>>>>%s\n>>>>>>%s\n", name.c_str(),
                       dmusic::ResultName(downloaded), dmusic::ResultDescription(downloaded));
        }
    }
    *segment = made;
    return dmusic::RESULT_OK;
}
