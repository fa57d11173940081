#include "sound/DirectMusic.h"

#include "core/Log.h"
#include "sound/MusicManager.h"
#include "sound/MusicSegment.h"

namespace {

// The master volume the music starts with, in hundredths of a decibel.
const int kInitialMasterVolume = -1000;

void LogResult(const char* format, dmusic::Result r)
{
    LogAtLevel(1, format, dmusic::ResultName(r), dmusic::ResultDescription(r));
}

} // namespace

DirectMusic::DirectMusic() = default;

DirectMusic::~DirectMusic()
{
    // Only the log, which lasts the whole process: a player destroyed with the program's
    // statics outlives the data report.
    LogSynthMessages();
    m_Active = false;
    m_MusicManager.reset();
}

void DirectMusic::ReportPlaying()
{
    if (m_PlayingHeld) {
        NameBoundedSong(m_PlayingFile, std::string(), m_PlayingHeld->load());
    }
    LogSynthMessages();
}

dmusic::Result DirectMusic::Init(void* directSound, unsigned dsVersion)
{
    LogAtLevel(3, "DirectMusic: Init\n");
    m_MusicManager = std::make_unique<MusicManager>();
    dmusic::Result result = m_MusicManager->Initialize(nullptr, 128, 1, directSound, dsVersion);
    if (dmusic::Failed(result)) {
        LogResult("m_MusicManager->Initialize Failed\n>>>>>>%s\n>>>>>>%s\n", result);
        m_MusicManager.reset();
        return result;
    }
    dmusic::Performance* performance = m_MusicManager->GetPerformance();
    performance->AddNotificationType(dmusic::NotificationType::Segment);
    performance->SetNotificationHandle([this] { ++m_Notifications; });
    m_Active = true;
    SetMasterVolume(kInitialMasterVolume);
    return dmusic::RESULT_OK;
}

void DirectMusic::PlayMidiLooped(const std::string& segmentName, const std::string& partName)
{
    PlayMidi(segmentName, partName, true);
}

void DirectMusic::PlayMidi(const std::string& segmentName, const std::string& partName, bool loop)
{
    if (!m_Active) {
        return;
    }
    LogAtLevel(3, "DirectMusic::PlayMidi %s %s last=%s\n", segmentName.c_str(), partName.c_str(),
               m_LastSegment.c_str());
    if (segmentName.empty()) {
        return;
    }
    if (segmentName == m_LastSegment && partName == m_LastPart) {
        return;
    }
    ReportPlaying();
    MusicSegment* segment = MusicSegment::GetSegment(segmentName);
    if (!segment) {
        return;
    }

    dmusic::MusicTime start = 0;
    dmusic::MusicTime end = 0; // (0, 0): the whole segment
    int first = 0;
    int count = 0;
    segment->GetPartRange(partName, first, count);
    if (first >= 1 && count >= 1) {
        start = (first - 1) * MusicSegment::kMusicTimePerMeasure;
        end = (first - 1 + count) * MusicSegment::kMusicTimePerMeasure;
    } else {
        Log("WARNING: Music \"%s\" has no part \"%s\"; playing it from the start.\n",
            segmentName.c_str(), partName.c_str());
    }
    if (dmusic::Failed(segment->SetStartPoint(start))) {
        Log("WARNING: Part \"%s\" of music \"%s\" starts beyond its end; playing it from the "
            "start.\n",
            partName.c_str(), segmentName.c_str());
        start = 0;
        end = 0;
        segment->SetStartPoint(0);
    }
    if (dmusic::Failed(segment->SetLoopPoints(start, end))) {
        Log("WARNING: Part \"%s\" of music \"%s\" ends beyond its end; looping to the end.\n",
            partName.c_str(), segmentName.c_str());
        segment->SetLoopPoints(start, segment->GetLength());
    }
    segment->SetRepeats(loop ? dmusic::REPEAT_INFINITE : 0);
    if (dmusic::Succeeded(segment->Play(dmusic::SEGF_DEFAULT))) {
        m_PlayingFile = segment->GetName();
        m_PlayingHeld = segment->GetSegmentObject()->GetHeldBlocksCounter();
        m_LastSegment = segmentName;
        m_LastPart = partName;
    }
}

void DirectMusic::SetMasterVolume(int volume)
{
    if (!m_Active) {
        return;
    }
    dmusic::Result result = m_MusicManager->GetPerformance()->SetMasterVolume(volume);
    if (dmusic::Failed(result)) {
        LogAtLevel(1, "pPerf->SetGlobalParam GUID_PerfMasterVolume %d Failed\n>>>>>>%s\n>>>>>>%s\n",
                   volume, dmusic::ResultName(result), dmusic::ResultDescription(result));
    }
}

int DirectMusic::GetMasterVolume() const
{
    if (!m_Active) {
        return 0;
    }
    std::int32_t volume = 0;
    dmusic::Result result = m_MusicManager->GetPerformance()->GetMasterVolume(&volume);
    if (dmusic::Failed(result)) {
        LogAtLevel(1, "pPerf->GetGlobalParam GUID_PerfMasterVolume %d Failed\n>>>>>>%s\n>>>>>>%s\n",
                   volume, dmusic::ResultName(result), dmusic::ResultDescription(result));
        return 0;
    }
    return volume;
}

float DirectMusic::GetMasterTempo() const
{
    float tempo = 1.0f;
    if (m_Active)
        m_MusicManager->GetPerformance()->GetMasterTempo(&tempo);
    return tempo;
}

void DirectMusic::SetMasterTempo(float tempo)
{
    if (!m_Active) {
        return;
    }
    dmusic::Result result = m_MusicManager->GetPerformance()->SetMasterTempo(tempo);
    if (dmusic::Failed(result)) {
        LogAtLevel(1, "pPerf->SetGlobalParam GUID_PerfMasterTempo %f Failed\n>>>>>>%s\n>>>>>>%s\n",
                   static_cast<double>(tempo), dmusic::ResultName(result),
                   dmusic::ResultDescription(result));
    }
}
