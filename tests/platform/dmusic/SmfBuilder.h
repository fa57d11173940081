#pragma once
// Builds small Standard MIDI Files byte by byte for the music layer's tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace dmtest {

class SmfTrack
{
public:
    // Appends an event at absolute tick `tick` (not before the previous one).
    SmfTrack& At(std::uint32_t tick, std::initializer_list<int> bytes)
    {
        WriteVarLen(tick - m_Tick);
        m_Tick = tick;
        for (int b : bytes) {
            m_Data.push_back(char(b));
        }
        return *this;
    }
    SmfTrack& NoteOn(std::uint32_t tick, int ch, int key, int vel = 100)
    {
        return At(tick, {0x90 | ch, key, vel});
    }
    SmfTrack& NoteOff(std::uint32_t tick, int ch, int key) { return At(tick, {0x80 | ch, key, 0}); }
    SmfTrack& Program(std::uint32_t tick, int ch, int program)
    {
        return At(tick, {0xC0 | ch, program});
    }
    SmfTrack& Tempo(std::uint32_t tick, std::uint32_t usPerQuarter)
    {
        return At(tick, {0xFF, 0x51, 3, int(usPerQuarter >> 16), int((usPerQuarter >> 8) & 0xFF),
                         int(usPerQuarter & 0xFF)});
    }
    SmfTrack& TimeSignature(std::uint32_t tick, int beats, int beatPower)
    {
        return At(tick, {0xFF, 0x58, 4, beats, beatPower, 24, 8});
    }
    SmfTrack& End(std::uint32_t tick) { return At(tick, {0xFF, 0x2F, 0}); }
    // Raw bytes with no delta time in front (for malformed data).
    SmfTrack& Raw(const std::string& bytes)
    {
        m_Data += bytes;
        return *this;
    }
    const std::string& Data() const { return m_Data; }

private:
    void WriteVarLen(std::uint32_t v)
    {
        char buf[5];
        int n = 0;
        buf[n++] = char(v & 0x7F);
        while (v >>= 7) {
            buf[n++] = char(0x80 | (v & 0x7F));
        }
        while (n) {
            m_Data.push_back(buf[--n]);
        }
    }

    std::string m_Data;
    std::uint32_t m_Tick = 0;
};

class SmfBuilder
{
public:
    SmfBuilder(int format, int ticksPerQuarter) : m_Format(format), m_Tpq(ticksPerQuarter) {}

    SmfTrack& AddTrack()
    {
        m_Tracks.emplace_back();
        return m_Tracks.back();
    }

    // The whole file; `declaredTracks` overrides the track count in the header.
    std::string Bytes(int declaredTracks = -1) const
    {
        std::string out = "MThd";
        Put32(out, 6);
        Put16(out, m_Format);
        Put16(out, declaredTracks < 0 ? int(m_Tracks.size()) : declaredTracks);
        Put16(out, m_Tpq);
        for (const SmfTrack& t : m_Tracks) {
            out += "MTrk";
            Put32(out, std::uint32_t(t.Data().size()));
            out += t.Data();
        }
        return out;
    }

    static void Put16(std::string& s, int v)
    {
        s.push_back(char((v >> 8) & 0xFF));
        s.push_back(char(v & 0xFF));
    }
    static void Put32(std::string& s, std::uint32_t v)
    {
        Put16(s, int(v >> 16));
        Put16(s, int(v & 0xFFFF));
    }

private:
    int m_Format;
    int m_Tpq;
    std::vector<SmfTrack> m_Tracks;
};

} // namespace dmtest
