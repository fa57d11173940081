#pragma once
// A song that promises endless work, as a hostile pack holds it: a Standard MIDI File of
// format 0, 32767 ticks a quarter note, a tempo of one microsecond a quarter note and a
// hundred notes one tick apart, 833 bytes.
#include <cstdint>
#include <string>

namespace bbtest {

inline std::string EndlessSong()
{
    auto put = [](std::string& out, std::uint32_t value, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            out.push_back(char((value >> (8 * i)) & 0xFF));
    };
    std::string track = {'\x00', '\xFF', '\x51', '\x03', '\x00', '\x00', '\x01'};
    for (int i = 0; i < 100; ++i) {
        const char key = char(48 + i % 36);
        track += {'\x01', '\x90', key, '\x64', '\x01', '\x80', key, '\x00'};
    }
    track += {'\x01', '\xFF', '\x2F', '\x00'};
    std::string file = "MThd";
    put(file, 6, 4);
    put(file, 0, 2);
    put(file, 1, 2);
    put(file, 32767, 2);
    file += "MTrk";
    put(file, std::uint32_t(track.size()), 4);
    return file + track;
}

} // namespace bbtest
