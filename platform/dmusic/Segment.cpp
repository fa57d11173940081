#include "dmusic/Segment.h"

#include "dmusic/Performance.h"

#include <algorithm>
#include <atomic>
#include <set>

namespace dmusic {
namespace {
std::atomic<std::uint64_t> gNextSegmentId{1};
}

Segment::Segment(std::shared_ptr<const MidiFile> file)
    : m_Id(gNextSegmentId++), m_File(file ? std::move(file) : std::make_shared<MidiFile>())
{
}

Result Segment::SetStartPoint(MusicTime start)
{
    if (start != 0 && (start < 0 || start >= GetLength())) {
        return ERR_OUT_OF_RANGE;
    }
    m_StartPoint = start;
    return RESULT_OK;
}

Result Segment::SetLoopPoints(MusicTime start, MusicTime end)
{
    if (!(start == 0 && end == 0) && (start < 0 || start >= end || end > GetLength())) {
        return ERR_OUT_OF_RANGE;
    }
    m_LoopStart = start;
    m_LoopEnd = end;
    return RESULT_OK;
}

void Segment::GetLoopPoints(MusicTime* start, MusicTime* end) const
{
    if (start) {
        *start = m_LoopStart;
    }
    if (end) {
        *end = m_LoopEnd;
    }
}

Result Segment::SetRepeats(std::int32_t repeats)
{
    if (repeats < REPEAT_INFINITE) {
        return ERR_INVALID_ARG;
    }
    m_Repeats = repeats;
    return RESULT_OK;
}

Result Segment::GetTimeSignature(MusicTime time, TimeSignature* signature) const
{
    if (!signature) {
        return ERR_POINTER;
    }
    *signature = m_File->TimeSignatureAt(time);
    return RESULT_OK;
}

std::vector<Preset> Segment::GetPresets() const
{
    std::set<Preset> found;
    int bank[16] = {};
    bool programmed[16] = {};
    for (const MidiEvent& event : m_File->Events()) {
        const int channel = event.status & 0x0F;
        const int presetBank = channel == kDrumChannel ? kDrumBank : bank[channel];
        switch (event.status & 0xF0) {
        case 0xB0:
            if (event.data1 == 0) {
                bank[channel] = event.data2;
            }
            break;
        case 0xC0:
            found.insert({presetBank, event.data1});
            programmed[channel] = true;
            break;
        case 0x90:
            // Notes before any program change play the channel's first program.
            if (!programmed[channel] && event.data2 > 0) {
                found.insert({presetBank, 0});
                programmed[channel] = true;
            }
            break;
        default:
            break;
        }
    }
    return std::vector<Preset>(found.begin(), found.end());
}

Result Segment::Download(Performance& performance)
{
    if (!performance.IsInitialized()) {
        return ERR_NOT_INITIALIZED;
    }
    // The instruments the segment plays are loaded into the synthesiser now, on the caller's
    // thread, rather than when the music reaches them on the audio thread.
    if (!IsDownloaded(performance)) {
        performance.PinPresets(GetPresets());
        m_DownloadedTo.push_back(performance.GetId());
    }
    return RESULT_OK;
}

Result Segment::Unload(Performance& performance)
{
    auto it = std::find(m_DownloadedTo.begin(), m_DownloadedTo.end(), performance.GetId());
    if (it == m_DownloadedTo.end()) {
        return RESULT_FALSE;
    }
    m_DownloadedTo.erase(it);
    performance.UnpinPresets(GetPresets());
    return RESULT_OK;
}

bool Segment::IsDownloaded(const Performance& performance) const
{
    return std::find(m_DownloadedTo.begin(), m_DownloadedTo.end(), performance.GetId()) !=
           m_DownloadedTo.end();
}

} // namespace dmusic
