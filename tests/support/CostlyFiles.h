#pragma once
// Small files that promise huge or endless work, made in memory for the sweeps of the
// tests, the fuzz seeds and the level check's tests: Ogg Vorbis and WAV sounds whose
// headers lie about their rate, channels and length, and TrueType fonts (made from a
// sound font file's bytes) whose header fields and glyphs are set to their extremes.
// Nothing here knows the game; each maker says what the file claims.
#include <cstdint>
#include <string>
#include <vector>

namespace bbtest {

// An Ogg Vorbis file of silence, `seconds` long at 48 kHz, made of one silent packet
// repeated: an hour of stereo takes about 180 KB. The identification header then claims
// `rate` and `channels` (the packets were made for 48 kHz stereo or mono), and the last
// page claims `claimedFrames` when it is not negative (a length the data does not have).
struct OggClaim
{
    long rate = 48000;
    int channels = 2;
    double seconds = 1;
    std::int64_t claimedFrames = -1;
};
std::string SilentOgg(const OggClaim& claim);

// A RIFF WAVE file whose header claims what is given, followed by `dataBytes` bytes of
// silence (fewer than the data chunk claims when dataClaim is larger).
struct WavClaim
{
    std::uint32_t rate = 22050;
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;
    std::uint32_t dataBytes = 4410;
    std::int64_t dataClaim = -1; // the data chunk's size field; -1: dataBytes
    std::uint16_t formatTag = 1; // 1 PCM, 2 MS ADPCM, 0x11 IMA ADPCM, anything else
};
std::string LyingWav(const WavClaim& claim);

// One change of a TrueType font. Field: a field of a table (its tag, offset and width, 2
// or 4 bytes, big-endian) set to value. EveryAdvance: every advance width of "hmtx" set to
// value. GlyphContours: the contour count of the glyph of `character` set to value (a
// damaged glyph). GlyphReach: the first coordinate of that glyph's outline stored in two
// bytes set to value, moving every later point of it by that much (an enormous glyph).
struct FontField
{
    enum Kind { Field, EveryAdvance, GlyphContours, GlyphReach };
    const char* name; // what the case is called ("unitsPerEm=16")
    Kind kind;
    const char* table;
    int offset;
    int width;
    std::uint32_t value;
    std::uint16_t character = 0;
};
// The font's bytes with the change made; the bytes unchanged when the font lacks the
// table (or the glyph).
std::string PatchFont(const std::string& font, const FontField& field);
// The changes a sweep makes: every header field a renderer scales or sizes by, at its
// extremes, and damaged or enormous glyphs of common letters.
std::vector<FontField> FontExtremes();

// The glyph index of a 16-bit character by the font's format 4 character map; 0 when it
// has none.
int GlyphOf(const std::string& font, std::uint16_t character);

} // namespace bbtest
