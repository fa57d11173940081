#include "kit/MidiWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

void PutVarLen(std::vector<std::uint8_t>& out, unsigned long value)
{
    std::uint8_t bytes[5];
    int n = 0;
    bytes[n++] = value & 0x7F;
    while ((value >>= 7) != 0)
        bytes[n++] = static_cast<std::uint8_t>((value & 0x7F) | 0x80);
    while (n > 0)
        out.push_back(bytes[--n]);
}

void PutBigEndian(std::vector<std::uint8_t>& out, unsigned long value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

std::vector<std::uint8_t> MetaEvent(int type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out = {0xFF, static_cast<std::uint8_t>(type)};
    PutVarLen(out, data.size());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> TextMeta(int type, const std::string& text)
{
    return MetaEvent(type, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void Require(bool ok, const char* what)
{
    if (!ok)
        throw std::invalid_argument(what);
}

struct TimedEvent
{
    long tick;
    int order;
    std::vector<std::uint8_t> bytes;
};

// A track chunk from events, stably sorted by tick and order, closed by End of Track.
std::vector<std::uint8_t> TrackChunk(std::vector<TimedEvent> events, long endTick)
{
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    long now = 0;
    for (const TimedEvent& e : events) {
        PutVarLen(body, static_cast<unsigned long>(e.tick - now));
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        now = e.tick;
    }
    PutVarLen(body, static_cast<unsigned long>(std::max(endTick, now) - now));
    const std::vector<std::uint8_t> end = MetaEvent(0x2F, {});
    body.insert(body.end(), end.begin(), end.end());
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBigEndian(chunk, body.size(), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

} // namespace

MidiTrack::MidiTrack(std::string name, int channel, int program)
    : m_Name(std::move(name)), m_Channel(channel)
{
    Require(channel >= 0 && channel < 16, "MIDI channel out of range");
    Require(program >= -1 && program < 128, "MIDI program out of range");
    m_Events.push_back({0, 0, TextMeta(0x03, m_Name)});
    if (program >= 0)
        m_Events.push_back(
            {0,
             0,
             {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)}});
}

void MidiTrack::Note(long tick, long length, int key, int velocity)
{
    Require(tick >= 0 && length > 0, "a note needs a position and a length");
    Require(key >= 0 && key < 128 && velocity > 0 && velocity < 128, "note out of range");
    const auto ch = static_cast<std::uint8_t>(m_Channel);
    const auto k = static_cast<std::uint8_t>(key);
    m_Events.push_back(
        {tick, 3, {static_cast<std::uint8_t>(0x90 | ch), k, static_cast<std::uint8_t>(velocity)}});
    m_Events.push_back({tick + length, 2, {static_cast<std::uint8_t>(0x80 | ch), k, 64}});
}

void MidiTrack::Controller(long tick, int controller, int value)
{
    Require(tick >= 0 && controller >= 0 && controller < 128 && value >= 0 && value < 128,
            "controller out of range");
    m_Events.push_back({tick,
                        1,
                        {static_cast<std::uint8_t>(0xB0 | m_Channel),
                         static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(value)}});
}

long MidiTrack::LastTick() const
{
    long last = 0;
    for (const Event& e : m_Events)
        last = std::max(last, e.tick);
    return last;
}

std::vector<std::uint8_t> MidiTrack::Encode(long endTick) const
{
    std::vector<TimedEvent> events;
    for (const Event& e : m_Events)
        events.push_back({e.tick, e.order, e.bytes});
    return TrackChunk(std::move(events), endTick);
}

MidiSong::MidiSong(std::string title, int beatsPerMeasure, int beatUnit, double bpm,
                   int ticksPerQuarter)
    : m_Title(std::move(title)), m_BeatsPerMeasure(beatsPerMeasure), m_BeatUnit(beatUnit),
      m_TicksPerQuarter(ticksPerQuarter)
{
    Require(beatsPerMeasure > 0 && beatsPerMeasure < 64, "beats per measure out of range");
    Require(beatUnit > 0 && beatUnit <= 32 && (beatUnit & (beatUnit - 1)) == 0,
            "the beat unit is a power of two");
    Require(ticksPerQuarter > 0 && ticksPerQuarter < 0x8000 &&
                (ticksPerQuarter * 4) % beatUnit == 0,
            "ticks per quarter out of range");
    SetTempo(1, bpm);
}

long MidiSong::TicksPerBeat() const
{
    return static_cast<long>(m_TicksPerQuarter) * 4 / m_BeatUnit;
}

long MidiSong::TicksPerMeasure() const
{
    return TicksPerBeat() * m_BeatsPerMeasure;
}

long MidiSong::At(int measure, double beat) const
{
    Require(measure >= 1 && beat >= 0, "measures count from 1, beats from 0");
    return (measure - 1) * TicksPerMeasure() + std::lround(beat * TicksPerBeat());
}

void MidiSong::SetTempo(int measure, double bpm)
{
    Require(measure >= 1 && bpm >= 20 && bpm <= 400, "tempo out of range");
    auto it = std::find_if(m_Tempos.begin(), m_Tempos.end(),
                           [&](const auto& t) { return t.first >= measure; });
    if (it != m_Tempos.end() && it->first == measure)
        it->second = bpm;
    else
        m_Tempos.insert(it, {measure, bpm});
}

void MidiSong::AddPart(const std::string& name, int firstMeasure, int numMeasures)
{
    Require(!name.empty() && firstMeasure >= 1 && numMeasures >= 1, "a part needs measures");
    for (const Part& p : m_Parts)
        Require(p.name != name, "part names are unique");
    m_Parts.push_back({name, firstMeasure, numMeasures});
}

void MidiSong::SetLength(int measures)
{
    Require(measures >= 1, "a song lasts at least one measure");
    m_LengthMeasures = measures;
}

MidiTrack& MidiSong::AddTrack(const std::string& name, int channel, int program)
{
    m_Tracks.emplace_back(name, channel, program);
    return m_Tracks.back();
}

LuaValue MidiSong::PartsTable() const
{
    LuaValue parts = LuaValue::Table();
    for (const Part& p : m_Parts)
        parts.Set(p.name, LuaValue::Array({p.firstMeasure, p.numMeasures}));
    return parts;
}

std::vector<std::uint8_t> MidiSong::EncodeConductor(long endTick) const
{
    std::vector<TimedEvent> events;
    events.push_back({0, 0, TextMeta(0x03, m_Title)});
    int denominatorPower = 0;
    while ((1 << denominatorPower) < m_BeatUnit)
        ++denominatorPower;
    events.push_back({0, 0,
                      MetaEvent(0x58, {static_cast<std::uint8_t>(m_BeatsPerMeasure),
                                       static_cast<std::uint8_t>(denominatorPower), 24, 8})});
    for (const auto& [measure, bpm] : m_Tempos) {
        std::vector<std::uint8_t> data;
        PutBigEndian(data, static_cast<unsigned long>(std::lround(60000000.0 / bpm)), 3);
        events.push_back({At(measure), 1, MetaEvent(0x51, data)});
    }
    for (const Part& p : m_Parts)
        events.push_back({At(p.firstMeasure), 2, TextMeta(0x06, p.name)});
    return TrackChunk(std::move(events), endTick);
}

std::vector<std::uint8_t> MidiSong::Encode() const
{
    long endTick = m_LengthMeasures > 0 ? At(m_LengthMeasures + 1) : 0;
    for (const Part& p : m_Parts)
        if (m_LengthMeasures > 0 && p.firstMeasure + p.numMeasures - 1 > m_LengthMeasures)
            throw std::logic_error("part \"" + p.name + "\" runs past the end of the song");
    for (const MidiTrack& t : m_Tracks)
        endTick = std::max(endTick, t.LastTick());
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    PutBigEndian(out, m_Tracks.size() + 1, 2);
    PutBigEndian(out, static_cast<unsigned long>(m_TicksPerQuarter), 2);
    const std::vector<std::uint8_t> conductor = EncodeConductor(endTick);
    out.insert(out.end(), conductor.begin(), conductor.end());
    for (const MidiTrack& t : m_Tracks) {
        const std::vector<std::uint8_t> chunk = t.Encode(endTick);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace assetgen
