#include "dmusic/SegmentState.h"

#include <algorithm>
#include <cmath>

namespace dmusic {
namespace {

constexpr std::uint8_t kControl = 0xB0;
constexpr std::uint8_t kProgram = 0xC0;
constexpr std::uint8_t kPitchBend = 0xE0;
constexpr std::uint8_t kSustain = 64;
constexpr std::uint8_t kSostenuto = 66;
constexpr std::uint8_t kSoft = 67;
constexpr std::uint8_t kResetControllers = 121;
constexpr std::uint8_t kAllNotesOff = 123;

bool IsNoteOn(const MidiEvent& e)
{
    return (e.status & 0xF0) == 0x90 && e.data2 != 0;
}
bool IsNoteOff(const MidiEvent& e)
{
    return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
}

// Messages that set up a channel's sound (programs, controllers, bends) and so are replayed
// when playback jumps past them; notes, pedals and channel-mode messages are not.
bool IsChased(const MidiEvent& e)
{
    switch (e.status & 0xF0) {
    case kControl:
        return e.data1 < 120 && e.data1 != kSustain && e.data1 != kSostenuto && e.data1 != kSoft;
    case kProgram:
    case 0xD0:
    case kPitchBend:
        return true;
    default:
        return false;
    }
}

// Data entry and the parameter numbers it goes to: replayed in their order, since what a
// data entry sets depends on the parameter chosen before it.
bool IsParameterControl(std::uint8_t control)
{
    return control == 6 || control == 38 || (control >= 96 && control <= 101);
}

// Parameter messages a chase replays per channel at most (the latest).
constexpr std::size_t kChasedParameterMessages = 64;

// What brings the channels to the state they have at `until`: of the chased messages before
// it, the last of each kind per channel (program, pressure, bend, each controller) and the
// latest parameter messages, in file order. At most 16 * (123 + 64) messages however long
// the song; *next receives the index of the first event at or after `until`.
std::vector<MidiEvent> ChaseTo(const std::vector<MidiEvent>& events, MusicTime until,
                               std::size_t* next)
{
    constexpr int kKinds = 123; // controllers 0..119, program, pressure, bend
    std::vector<std::ptrdiff_t> last(16 * kKinds, -1);
    std::array<std::vector<std::size_t>, 16> parameters;
    std::size_t i = 0;
    for (; i < events.size() && events[i].time < until; ++i) {
        const MidiEvent& e = events[i];
        if (!IsChased(e)) {
            continue;
        }
        const int ch = e.status & 0x0F;
        int kind = 0;
        switch (e.status & 0xF0) {
        case kControl:
            if (IsParameterControl(e.data1)) {
                // Noted all: at most one index an event of a song the reader bounded.
                parameters[std::size_t(ch)].push_back(i);
                continue;
            }
            kind = e.data1;
            break;
        case kProgram:
            kind = 120;
            break;
        case 0xD0:
            kind = 121;
            break;
        default:
            kind = 122;
            break;
        }
        last[std::size_t(ch * kKinds + kind)] = std::ptrdiff_t(i);
    }
    *next = i;
    std::vector<std::size_t> chosen;
    for (std::ptrdiff_t index : last) {
        if (index >= 0) {
            chosen.push_back(std::size_t(index));
        }
    }
    for (const std::vector<std::size_t>& kept : parameters) {
        const std::size_t from =
            kept.size() > kChasedParameterMessages ? kept.size() - kChasedParameterMessages : 0;
        chosen.insert(chosen.end(), kept.begin() + std::ptrdiff_t(from), kept.end());
    }
    std::sort(chosen.begin(), chosen.end());
    std::vector<MidiEvent> chase;
    chase.reserve(chosen.size());
    for (std::size_t index : chosen) {
        chase.push_back(events[index]);
    }
    return chase;
}

} // namespace

SegmentState::SegmentState(const Segment& segment, MusicTime performanceTime)
    : m_File(segment.GetMidiFilePtr()), m_HeldBlocks(segment.GetHeldBlocksCounter()),
      m_SegmentId(segment.GetId()), m_StartTime(performanceTime),
      m_StartPoint(segment.GetStartPoint()), m_RepeatsLeft(segment.GetRepeats())
{
    segment.GetLoopPoints(&m_LoopStart, &m_LoopEnd);
    if (m_LoopStart == 0 && m_LoopEnd == 0) {
        m_LoopEnd = m_File->Length();
    }
    if (m_LoopEnd <= m_LoopStart) {
        m_RepeatsLeft = 0; // an empty segment has nothing to loop
    }
    m_StartChase = ChaseTo(m_File->Events(), m_StartPoint, &m_StartNext);
    m_LoopChase = ChaseTo(m_File->Events(), m_LoopStart, &m_LoopNext);
    Publish();
}

void SegmentState::Begin(EventSink& sink)
{
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        const MidiEvent defaults[] = {
            {0, std::uint8_t(kControl | ch), kResetControllers, 0},
            {0, std::uint8_t(kControl | ch), 0, 0},  // bank select
            {0, std::uint8_t(kControl | ch), 32, 0}, // bank select, fine
            {0, std::uint8_t(kProgram | ch), 0, 0},
            {0, std::uint8_t(kControl | ch), 7, 100}, // channel volume
            {0, std::uint8_t(kControl | ch), 10, 64}, // pan centre
            {0, std::uint8_t(kControl | ch), 11, 127},
            {0, std::uint8_t(kPitchBend | ch), 0, 64},
        };
        for (const MidiEvent& e : defaults) {
            Send(sink, e);
        }
    }
    Chase(sink, m_StartChase, m_StartNext);
    m_Position = double(m_StartPoint);
    m_BeforeLoopEnd = m_StartPoint < m_LoopEnd;
    Publish();
}

void SegmentState::Chase(EventSink& sink, const std::vector<MidiEvent>& chase, std::size_t next)
{
    for (const MidiEvent& e : chase) {
        Send(sink, e);
    }
    m_NextEvent = next;
}

SegmentState::Progress SegmentState::Sequence(EventSink& sink, bool* held)
{
    const std::vector<MidiEvent>& events = m_File->Events();
    Progress progress = Progress::Playing;
    *held = false;
    for (;;) {
        bool looping = LoopActive();
        while (m_NextEvent < events.size() && double(events[m_NextEvent].time) <= m_Position &&
               !(looping && events[m_NextEvent].time >= m_LoopEnd)) {
            if (!sink.HasRoom()) {
                *held = true;
                Publish();
                return progress;
            }
            Send(sink, events[m_NextEvent++]);
        }
        if (looping && m_Position >= double(m_LoopEnd)) {
            if (!sink.HasRoom()) {
                *held = true;
                Publish();
                return progress;
            }
            Restart(sink);
            progress = Progress::Looped;
            continue; // events at the loop start are due now
        }
        if (m_NextEvent >= events.size() && m_Position >= double(m_File->Length())) {
            Finish(sink);
            return Progress::Ended;
        }
        Publish();
        return progress;
    }
}

void SegmentState::Restart(EventSink& sink)
{
    double overshoot = m_Position - double(m_LoopEnd);
    ReleaseNotes(sink, m_LoopEnd);
    Chase(sink, m_LoopChase, m_LoopNext);
    // Keep the fraction of a frame that ran past the loop end so that passes keep their
    // exact length; a pass always lasts at least until the next rendered frame.
    m_Position = double(m_LoopStart) + overshoot;
    if (m_Position >= double(m_LoopEnd)) {
        m_Position = double(m_LoopStart);
    }
    if (m_RepeatsLeft > 0) {
        --m_RepeatsLeft;
    }
}

double SegmentState::NextStop() const
{
    const std::vector<MidiEvent>& events = m_File->Events();
    double stop = double(LoopActive() ? m_LoopEnd : m_File->Length());
    if (m_NextEvent < events.size()) {
        stop = std::min(stop, double(events[m_NextEvent].time));
    }
    const std::vector<TempoChange>& tempos = m_File->Tempos();
    auto next = std::upper_bound(tempos.begin(), tempos.end(), m_Position,
                                 [](double t, const TempoChange& c) { return t < double(c.time); });
    if (next != tempos.end()) {
        stop = std::min(stop, double(next->time));
    }
    return stop;
}

double SegmentState::MusicTimePerSecond(double masterTempo) const
{
    std::uint32_t us = m_File->MicrosecondsPerQuarterAt(MusicTime(std::floor(m_Position)));
    return double(kMusicTimePerQuarter) * 1e6 / double(us) * masterTempo;
}

void SegmentState::Advance(double musicTime)
{
    m_Position += musicTime;
    Publish();
}

void SegmentState::Finish(EventSink& sink)
{
    ReleaseNotes(sink, MusicTime(m_Position));
    m_Playing = false;
    Publish();
}

void SegmentState::ReleaseNotes(EventSink& sink, MusicTime time)
{
    for (std::uint8_t ch = 0; ch < 16; ++ch) {
        Send(sink, {time, std::uint8_t(kControl | ch), kSustain, 0});
        Send(sink, {time, std::uint8_t(kControl | ch), kSostenuto, 0});
        for (int key = 0; key < 128; ++key) {
            if (m_Sounding[ch][key]) {
                Send(sink, {time, std::uint8_t(0x80 | ch), std::uint8_t(key), 0});
            }
        }
        Send(sink, {time, std::uint8_t(kControl | ch), kAllNotesOff, 0});
    }
}

void SegmentState::Send(EventSink& sink, const MidiEvent& event)
{
    std::uint8_t ch = event.status & 0x0F;
    if (IsNoteOn(event)) {
        m_Sounding[ch][event.data1] = true;
    } else if (IsNoteOff(event)) {
        m_Sounding[ch][event.data1] = false;
    } else if ((event.status & 0xF0) == kControl &&
               (event.data1 == 120 || event.data1 >= kAllNotesOff)) {
        m_Sounding[ch].reset(); // all sound off, all notes off and the mode changes
    }
    sink.Send(event.status, event.data1, event.data2, event.time);
}

void SegmentState::Publish()
{
    m_PositionNow = MusicTime(m_Position);
    m_RepeatsLeftNow = m_RepeatsLeft;
}

} // namespace dmusic
