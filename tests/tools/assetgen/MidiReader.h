#pragma once
// A small Standard MIDI File reader, independent of the writer, for the tests of the
// generated music.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgentest {

struct MidiEvent
{
    long tick;
    int status;   // 0xFF for meta events
    int metaType; // meta events only
    std::vector<std::uint8_t> data;
};

struct MidiFile
{
    int format = -1;
    int division = 0;
    std::vector<std::vector<MidiEvent>> tracks;
};

// Reads a whole file; throws on anything malformed, including trailing bytes.
class MidiReader
{
public:
    explicit MidiReader(const std::vector<std::uint8_t>& bytes) : m_Bytes(bytes) {}

    MidiFile Read()
    {
        Expect("MThd");
        if (Fixed(4) != 6)
            throw std::runtime_error("header length");
        MidiFile f;
        f.format = static_cast<int>(Fixed(2));
        const unsigned long tracks = Fixed(2);
        f.division = static_cast<int>(Fixed(2));
        for (unsigned long t = 0; t < tracks; ++t)
            f.tracks.push_back(Track());
        if (m_At != m_Bytes.size())
            throw std::runtime_error("trailing bytes");
        return f;
    }

private:
    std::uint8_t Byte()
    {
        if (m_At >= m_Bytes.size())
            throw std::runtime_error("truncated");
        return m_Bytes[m_At++];
    }
    unsigned long Fixed(int n)
    {
        unsigned long v = 0;
        while (n-- > 0)
            v = (v << 8) | Byte();
        return v;
    }
    unsigned long VarLen()
    {
        unsigned long v = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return v;
        }
        throw std::runtime_error("variable length too long");
    }
    void Expect(const char* tag)
    {
        for (int i = 0; i < 4; ++i)
            if (Byte() != static_cast<std::uint8_t>(tag[i]))
                throw std::runtime_error(std::string("expected ") + tag);
    }
    std::vector<MidiEvent> Track()
    {
        Expect("MTrk");
        const std::size_t length = Fixed(4);
        const std::size_t end = m_At + length;
        std::vector<MidiEvent> events;
        long tick = 0;
        int running = 0;
        while (m_At < end) {
            tick += static_cast<long>(VarLen());
            int status = m_Bytes.at(m_At) & 0x80 ? Byte() : running;
            MidiEvent e{tick, status, 0, {}};
            if (status == 0xFF) {
                e.metaType = Byte();
                const unsigned long n = VarLen();
                for (unsigned long i = 0; i < n; ++i)
                    e.data.push_back(Byte());
            } else if (status >= 0x80 && status < 0xF0) {
                running = status;
                const int kind = status & 0xF0;
                e.data.push_back(Byte());
                if (kind != 0xC0 && kind != 0xD0)
                    e.data.push_back(Byte());
            } else {
                throw std::runtime_error("unexpected status byte");
            }
            events.push_back(e);
        }
        if (m_At != end || events.empty() || events.back().metaType != 0x2F)
            throw std::runtime_error("track does not end with End of Track");
        return events;
    }

    const std::vector<std::uint8_t>& m_Bytes;
    std::size_t m_At = 0;
};

inline std::string Text(const MidiEvent& e)
{
    return std::string(e.data.begin(), e.data.end());
}

} // namespace assetgentest
