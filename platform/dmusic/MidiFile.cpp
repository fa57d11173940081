#include "dmusic/MidiFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dmusic {
namespace {

// Ticks beyond this are refused: they could not be converted to music time safely, and no
// playable file comes near (2^40 ticks is years of music at any common resolution).
constexpr std::uint64_t kMaxTicks = std::uint64_t(1) << 40;

// What went wrong while reading; turned into a result and message by Parse.
struct FileError
{
    Result code;
    std::string text;
};

[[noreturn]] void FailWith(Result code, const char* format, long a = 0, long b = 0, long c = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c);
    throw FileError{code, text};
}

[[noreturn]] void Fail(const char* format, long a = 0, long b = 0, long c = 0)
{
    FailWith(ERR_INVALID_FILE, format, a, b, c);
}

// Bounds-checked reading of one chunk's bytes; every read past the end fails with the
// track number and offset.
class ByteReader
{
public:
    ByteReader(const unsigned char* data, std::size_t size, int track)
        : m_Data(data), m_Size(size), m_Track(track)
    {
    }

    bool AtEnd() const { return m_Pos >= m_Size; }
    std::size_t Pos() const { return m_Pos; }

    unsigned char Byte()
    {
        if (m_Pos >= m_Size) {
            Fail("track %ld is truncated: an event runs past the end of its chunk (byte %ld)",
                 m_Track, long(m_Pos));
        }
        return m_Data[m_Pos++];
    }

    // A variable-length quantity of at most four bytes.
    std::uint32_t VarLen()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned char b = Byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) {
                return value;
            }
        }
        Fail("track %ld: variable-length number longer than four bytes at byte %ld", m_Track,
             long(m_Pos));
    }

    const unsigned char* Take(std::uint32_t count)
    {
        if (count > m_Size - m_Pos) {
            Fail("track %ld is truncated: %ld data bytes declared at byte %ld run past its end",
                 m_Track, long(count), long(m_Pos));
        }
        const unsigned char* p = m_Data + m_Pos;
        m_Pos += count;
        return p;
    }

    unsigned char DataByte()
    {
        unsigned char b = Byte();
        if (b & 0x80) {
            Fail("track %ld: status byte 0x%02lX where a data byte belongs (byte %ld)", m_Track, b,
                 long(m_Pos - 1));
        }
        return b;
    }

private:
    const unsigned char* m_Data;
    std::size_t m_Size;
    std::size_t m_Pos = 0;
    long m_Track;
};

std::uint32_t ReadBE(const unsigned char* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        v = (v << 8) | p[i];
    }
    return v;
}

// Everything read from the tracks, in file order, before sorting.
struct RawContents
{
    std::vector<MidiEvent> events;
    std::vector<TempoChange> tempos;
    std::vector<TimeSignature> signatures;
    MusicTime length = 0;
    int raisedTempos = 0;
    std::uint32_t fastestStatedTempo = 0;

    // Counts one more event kept; refuses the file past kMaxSongEvents.
    void Count()
    {
        if (events.size() + tempos.size() + signatures.size() >= kMaxSongEvents) {
            FailWith(ERR_TOO_MANY_EVENTS, "the file holds more than %ld events",
                     long(kMaxSongEvents));
        }
    }
};

class TrackParser
{
public:
    TrackParser(int ticksPerQuarter, RawContents& out) : m_Tpq(ticksPerQuarter), m_Out(out) {}

    void Parse(const unsigned char* data, std::size_t size, int track)
    {
        ByteReader in(data, size, track);
        std::uint64_t ticks = 0;
        unsigned char running = 0;
        while (!in.AtEnd()) {
            ticks += in.VarLen();
            if (ticks > kMaxTicks) {
                Fail("track %ld: event time beyond the playable range", track);
            }
            unsigned char b = in.Byte();
            if (b == 0xFF) {
                running = 0;
                if (Meta(in, ToMusicTime(ticks), track)) {
                    break;
                }
            } else if (b == 0xF0 || b == 0xF7) {
                running = 0;
                in.Take(in.VarLen());
            } else if (b >= 0x80 && b < 0xF0) {
                running = b;
                Channel(in, b, in.DataByte(), ToMusicTime(ticks));
            } else if (b < 0x80) {
                if (!running) {
                    Fail("track %ld: data byte without a running status at byte %ld", track,
                         long(in.Pos() - 1));
                }
                Channel(in, running, b, ToMusicTime(ticks));
            } else {
                Fail("track %ld: system message 0x%02lX is not allowed in a file (byte %ld)", track,
                     b, long(in.Pos() - 1));
            }
        }
        m_Out.length = std::max(m_Out.length, ToMusicTime(ticks));
    }

private:
    MusicTime ToMusicTime(std::uint64_t ticks) const
    {
        return MusicTime((ticks * kMusicTimePerQuarter + m_Tpq / 2) / m_Tpq);
    }

    void Channel(ByteReader& in, unsigned char status, unsigned char data1, MusicTime time)
    {
        unsigned char type = status & 0xF0;
        unsigned char data2 = (type == 0xC0 || type == 0xD0) ? 0 : in.DataByte();
        m_Out.Count();
        m_Out.events.push_back({time, status, data1, data2});
    }

    // Reads one meta event; returns true at the end of the track.
    bool Meta(ByteReader& in, MusicTime time, int track)
    {
        unsigned char type = in.Byte();
        std::uint32_t length = in.VarLen();
        const unsigned char* p = in.Take(length);
        if (type == 0x2F) {
            return true;
        }
        if (type == 0x51) {
            if (length != 3) {
                Fail("track %ld: tempo event of %ld bytes (3 expected)", track, long(length));
            }
            std::uint32_t us = ReadBE(p, 3);
            if (us == 0) {
                Fail("track %ld: tempo of zero microseconds per quarter note", track);
            }
            if (us < kMinMicrosecondsPerQuarter) {
                // Faster than the layer plays: read as the fastest pace it does.
                ++m_Out.raisedTempos;
                if (m_Out.fastestStatedTempo == 0 || us < m_Out.fastestStatedTempo) {
                    m_Out.fastestStatedTempo = us;
                }
                us = kMinMicrosecondsPerQuarter;
            }
            m_Out.Count();
            m_Out.tempos.push_back({time, us});
        } else if (type == 0x58) {
            if (length < 2) {
                Fail("track %ld: time signature event of %ld bytes (4 expected)", track,
                     long(length));
            }
            if (p[0] == 0 || p[1] > 6) {
                Fail("track %ld: time signature %ld/2^%ld cannot be played", track, p[0], p[1]);
            }
            m_Out.Count();
            m_Out.signatures.push_back({time, p[0], std::uint8_t(1u << p[1])});
        }
        return false;
    }

    int m_Tpq;
    RawContents& m_Out;
};

struct Header
{
    int format;
    int tracks;
    int ticksPerQuarter;
};

Header ParseHeader(const unsigned char* data, std::size_t size, std::size_t* pos)
{
    if (size < 8 || std::memcmp(data, "MThd", 4) != 0) {
        Fail("not a Standard MIDI File: no MThd header");
    }
    std::uint32_t length = ReadBE(data + 4, 4);
    if (length < 6 || length > size - 8) {
        Fail("the MThd header declares %ld bytes (6 expected, %ld present)", long(length),
             long(size - 8));
    }
    Header h{int(ReadBE(data + 8, 2)), int(ReadBE(data + 10, 2)), int(ReadBE(data + 12, 2))};
    if (h.format > 1) {
        throw FileError{ERR_UNSUPPORTED_FORMAT,
                        "format " + std::to_string(h.format) +
                            " Standard MIDI Files cannot play (formats 0 and 1 can)"};
    }
    if (h.ticksPerQuarter & 0x8000) {
        throw FileError{ERR_UNSUPPORTED_FORMAT,
                        "SMPTE time division cannot play (ticks per quarter note can)"};
    }
    if (h.ticksPerQuarter == 0) {
        Fail("the header gives zero ticks per quarter note");
    }
    if (h.tracks == 0 || (h.format == 0 && h.tracks != 1)) {
        Fail("a format %ld file declaring %ld tracks", h.format, h.tracks);
    }
    *pos = 8 + length;
    return h;
}

// Leaves out the notes that start past kMaxNotesAtOnce at one instant (events sorted by
// time); returns how many.
std::int64_t DropCrowdedNotes(std::vector<MidiEvent>& events)
{
    std::int64_t dropped = 0;
    std::size_t kept = 0;
    MusicTime instant = -1;
    int started = 0;
    for (const MidiEvent& e : events) {
        if ((e.status & 0xF0) == 0x90 && e.data2 != 0) {
            if (e.time != instant) {
                instant = e.time;
                started = 0;
            }
            if (++started > kMaxNotesAtOnce) {
                ++dropped;
                continue;
            }
        }
        events[kept++] = e;
    }
    events.resize(kept);
    return dropped;
}

// Sorts by time only; stable, so tracks stay in file order at equal times.
template <class T> void SortByTime(std::vector<T>& v)
{
    std::stable_sort(v.begin(), v.end(), [](const T& a, const T& b) { return a.time < b.time; });
}

// Ordered list with a first entry at time 0: the default when the file states none there;
// at equal times the last stated entry wins.
template <class T> std::vector<T> Timeline(std::vector<T> v, const T& initial)
{
    SortByTime(v);
    std::vector<T> out{initial};
    for (const T& item : v) {
        if (item.time == out.back().time) {
            out.back() = item;
        } else {
            out.push_back(item);
        }
    }
    return out;
}

} // namespace

Result MidiFile::Parse(const unsigned char* data, std::size_t size, std::string* error)
{
    Clear();
    try {
        if (!data) {
            Fail("no data");
        }
        std::size_t pos = 0;
        Header h = ParseHeader(data, size, &pos);
        RawContents raw;
        TrackParser parser(h.ticksPerQuarter, raw);
        int found = 0;
        while (found < h.tracks && size - pos >= 8) {
            std::uint32_t length = ReadBE(data + pos + 4, 4);
            if (length > size - pos - 8) {
                Fail("chunk %ld is truncated: it declares %ld bytes, %ld remain", found + 1,
                     long(length), long(size - pos - 8));
            }
            if (std::memcmp(data + pos, "MTrk", 4) == 0) {
                parser.Parse(data + pos + 8, length, ++found);
            }
            pos += 8 + length;
        }
        if (found < h.tracks) {
            Fail("the header declares %ld tracks, the file holds %ld", h.tracks, found);
        }
        SortByTime(raw.events);
        m_DroppedNotes = DropCrowdedNotes(raw.events);
        m_RaisedTempos = raw.raisedTempos;
        m_FastestStatedTempo = raw.fastestStatedTempo;
        m_Events = std::move(raw.events);
        m_Tempos = Timeline(std::move(raw.tempos), TempoChange{0, kDefaultMicrosecondsPerQuarter});
        m_TimeSignatures = Timeline(std::move(raw.signatures), TimeSignature{0, 4, 4});
        m_Length = raw.length;
        m_Format = h.format;
        m_TrackCount = h.tracks;
        m_TicksPerQuarter = h.ticksPerQuarter;
        return RESULT_OK;
    } catch (const FileError& e) {
        Clear();
        if (error) {
            *error = e.text;
        }
        return e.code;
    }
}

void MidiFile::Clear()
{
    *this = MidiFile();
}

std::string MidiFile::Bounded() const
{
    std::string out;
    if (m_RaisedTempos > 0) {
        out = "its tempo of " + std::to_string(m_FastestStatedTempo) +
              " microseconds a quarter note plays at " +
              std::to_string(kMinMicrosecondsPerQuarter) + ", the fastest the music plays";
    }
    if (m_DroppedNotes > 0) {
        out += std::string(out.empty() ? "" : "; ") + std::to_string(m_DroppedNotes) +
               " notes starting past " + std::to_string(kMaxNotesAtOnce) +
               " at one instant are left out";
    }
    return out;
}

std::uint32_t MidiFile::MicrosecondsPerQuarterAt(MusicTime time) const
{
    auto it = std::upper_bound(m_Tempos.begin(), m_Tempos.end(), time,
                               [](MusicTime t, const TempoChange& c) { return t < c.time; });
    return it == m_Tempos.begin() ? m_Tempos.front().microsecondsPerQuarter
                                  : (it - 1)->microsecondsPerQuarter;
}

const TimeSignature& MidiFile::TimeSignatureAt(MusicTime time) const
{
    auto it = std::upper_bound(m_TimeSignatures.begin(), m_TimeSignatures.end(), time,
                               [](MusicTime t, const TimeSignature& s) { return t < s.time; });
    return it == m_TimeSignatures.begin() ? m_TimeSignatures.front() : *(it - 1);
}

} // namespace dmusic
