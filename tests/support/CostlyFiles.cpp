#include "support/CostlyFiles.h"

#include <vorbis/vorbisenc.h>

#include <cstring>
#include <stdexcept>

namespace bbtest {

namespace {

// ---- Ogg Vorbis ------------------------------------------------------------------------------

struct Packet
{
    std::string bytes;
    std::int64_t granule = 0;
};

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

Packet Copy(const ogg_packet& packet)
{
    return Packet{std::string(reinterpret_cast<const char*>(packet.packet),
                              static_cast<std::size_t>(packet.bytes)),
                  packet.granulepos};
}

// The three header packets and the audio packets of two seconds of silence at 48 kHz, and
// the frames one audio packet adds once the blocks have settled.
struct Encoded
{
    std::vector<Packet> headers;
    std::vector<Packet> audio;
};

Encoded EncodeSilence(int channels)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, 48000, 0.0f) != 0)
        throw std::runtime_error("the Vorbis encoder refused its settings");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    Encoded encoded;
    ogg_packet id, comments, setup;
    vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &setup);
    encoded.headers = {Copy(id), Copy(comments), Copy(setup)};
    const int frames = 96000;
    for (int done = 0; done <= frames; done += 4096) {
        const int now = done < frames ? std::min(4096, frames - done) : 0;
        if (now > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, now);
            for (int c = 0; c < channels; ++c)
                std::memset(buffer[c], 0, sizeof(float) * now);
        }
        vorbis_analysis_wrote(&dsp, now);
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
                encoded.audio.push_back(Copy(packet));
        }
        if (now == 0)
            break;
    }
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return encoded;
}

void Put32Le(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string SilentOgg(const OggClaim& claim)
{
    const int madeChannels = claim.channels == 1 ? 1 : 2;
    const Encoded encoded = EncodeSilence(madeChannels);
    // A packet in the middle, after a packet of the same size of block, stands for every
    // later one: each adds the same number of frames.
    std::size_t steady = encoded.audio.size() / 2;
    while (steady + 1 < encoded.audio.size() &&
           encoded.audio[steady].granule - encoded.audio[steady - 1].granule !=
               encoded.audio[steady + 1].granule - encoded.audio[steady].granule)
        ++steady;
    const std::int64_t step = encoded.audio[steady].granule - encoded.audio[steady - 1].granule;
    const std::int64_t wanted = static_cast<std::int64_t>(claim.seconds * 48000);

    std::vector<Packet> headers = encoded.headers;
    // The identification header: version (4 bytes after "\x01vorbis"), channels, rate.
    headers[0].bytes[11] = static_cast<char>(claim.channels & 0xFF);
    Put32Le(headers[0].bytes, 12, static_cast<std::uint32_t>(claim.rate));

    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x0B0B);
    std::string out;
    std::int64_t number = 0;
    auto put = [&](const Packet& source, std::int64_t granule, bool last) {
        ogg_packet packet{};
        packet.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(source.bytes.data()));
        packet.bytes = static_cast<long>(source.bytes.size());
        packet.b_o_s = number == 0;
        packet.e_o_s = last;
        packet.granulepos = granule;
        packet.packetno = number++;
        ogg_stream_packetin(&stream, &packet);
        AppendPages(stream, out, number == 3 || last);
    };
    for (const Packet& header : headers)
        put(header, 0, false);
    std::int64_t granule = 0;
    for (std::size_t i = 0; i < steady && encoded.audio[i].granule < wanted; ++i) {
        granule = encoded.audio[i].granule;
        put(encoded.audio[i], granule, false);
    }
    while (granule + step < wanted) {
        granule += step;
        put(encoded.audio[steady], granule, false);
    }
    granule += step;
    put(encoded.audio[steady], claim.claimedFrames >= 0 ? claim.claimedFrames : granule, true);
    ogg_stream_clear(&stream);
    return out;
}

// ---- WAV ---------------------------------------------------------------------------------------

namespace {

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::string LyingWav(const WavClaim& claim)
{
    const std::uint32_t dataClaim =
        claim.dataClaim >= 0 ? static_cast<std::uint32_t>(claim.dataClaim) : claim.dataBytes;
    const unsigned blockAlign = claim.channels * ((claim.bits + 7) / 8);
    std::string out = "RIFF";
    Put32(out, 36 + dataClaim);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, claim.formatTag);
    Put16(out, claim.channels);
    Put32(out, claim.rate);
    Put32(out, claim.rate * blockAlign);
    Put16(out, blockAlign);
    Put16(out, claim.bits);
    out += "data";
    Put32(out, dataClaim);
    out.append(claim.dataBytes, claim.bits == 8 ? '\x80' : '\0');
    return out;
}

// ---- TrueType ---------------------------------------------------------------------------------

namespace {

std::uint32_t Get(const std::string& bytes, std::size_t at, int width)
{
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

void Set(std::string& bytes, std::size_t at, int width, std::uint32_t value)
{
    for (int i = width - 1; i >= 0; --i) {
        bytes.at(at + i) = static_cast<char>(value & 0xFF);
        value >>= 8;
    }
}

// Where the table starts and how long it is; false when the font has none.
bool FindTable(const std::string& font, const char* tag, std::size_t& start, std::size_t& length)
{
    const std::size_t tables = Get(font, 4, 2);
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t entry = 12 + 16 * i;
        if (font.compare(entry, 4, tag) == 0) {
            start = Get(font, entry + 8, 4);
            length = Get(font, entry + 12, 4);
            return start + length <= font.size();
        }
    }
    return false;
}

// Where the glyph's data starts in the font, and its length; false when it has none.
bool FindGlyph(const std::string& font, int glyph, std::size_t& start, std::size_t& length)
{
    std::size_t head, headLength, loca, locaLength, glyf, glyfLength;
    if (glyph <= 0 || !FindTable(font, "head", head, headLength) ||
        !FindTable(font, "loca", loca, locaLength) || !FindTable(font, "glyf", glyf, glyfLength))
        return false;
    const bool longOffsets = Get(font, head + 50, 2) != 0;
    const std::size_t from = longOffsets ? Get(font, loca + 4 * glyph, 4)
                                         : 2 * std::size_t(Get(font, loca + 2 * glyph, 2));
    const std::size_t to = longOffsets ? Get(font, loca + 4 * (glyph + 1), 4)
                                       : 2 * std::size_t(Get(font, loca + 2 * (glyph + 1), 2));
    if (to <= from + 10 || to > glyfLength)
        return false;
    start = glyf + from;
    length = to - from;
    return true;
}

} // namespace

int GlyphOf(const std::string& font, std::uint16_t character)
{
    std::size_t cmap, length;
    if (!FindTable(font, "cmap", cmap, length))
        return 0;
    const std::size_t subtables = Get(font, cmap + 2, 2);
    for (std::size_t i = 0; i < subtables; ++i) {
        const std::size_t record = cmap + 4 + 8 * i;
        const std::size_t table = cmap + Get(font, record + 4, 4);
        if (Get(font, record, 2) != 3 || Get(font, record + 2, 2) != 1 || Get(font, table, 2) != 4)
            continue;
        const std::size_t segments = Get(font, table + 6, 2) / 2;
        const std::size_t ends = table + 14;
        const std::size_t starts = ends + 2 * segments + 2;
        const std::size_t deltas = starts + 2 * segments;
        const std::size_t ranges = deltas + 2 * segments;
        for (std::size_t s = 0; s < segments; ++s) {
            if (character > Get(font, ends + 2 * s, 2))
                continue;
            const std::uint32_t first = Get(font, starts + 2 * s, 2);
            if (character < first)
                return 0;
            const std::uint32_t delta = Get(font, deltas + 2 * s, 2);
            const std::uint32_t range = Get(font, ranges + 2 * s, 2);
            if (range == 0)
                return static_cast<int>((character + delta) & 0xFFFF);
            const std::size_t at = ranges + 2 * s + range + 2 * (character - first);
            const std::uint32_t glyph = Get(font, at, 2);
            return glyph == 0 ? 0 : static_cast<int>((glyph + delta) & 0xFFFF);
        }
    }
    return 0;
}

std::string PatchFont(const std::string& font, const FontField& field)
{
    std::string out = font;
    std::size_t start = 0, length = 0;
    switch (field.kind) {
    case FontField::Field:
        if (FindTable(out, field.table, start, length) &&
            static_cast<std::size_t>(field.offset + field.width) <= length)
            Set(out, start + field.offset, field.width, field.value);
        break;
    case FontField::EveryAdvance: {
        std::size_t hhea, hheaLength;
        if (FindTable(out, "hhea", hhea, hheaLength) && FindTable(out, "hmtx", start, length)) {
            const std::size_t metrics = Get(out, hhea + 34, 2);
            for (std::size_t i = 0; i < metrics && 4 * i + 2 <= length; ++i)
                Set(out, start + 4 * i, 2, field.value);
        }
        break;
    }
    case FontField::GlyphContours:
        if (FindGlyph(out, GlyphOf(out, field.character), start, length))
            Set(out, start, 2, field.value);
        break;
    case FontField::GlyphReach: {
        if (!FindGlyph(out, GlyphOf(out, field.character), start, length))
            break;
        const int contours = static_cast<std::int16_t>(Get(out, start, 2));
        if (contours <= 0)
            break; // a composite glyph: left as it is
        std::size_t at = start + 10;
        const std::size_t points = Get(out, at + 2 * (contours - 1), 2) + 1;
        at += 2 * contours;
        at += 2 + Get(out, at, 2); // the instructions
        std::vector<unsigned> flags;
        while (flags.size() < points) {
            const unsigned flag = static_cast<unsigned char>(out.at(at++));
            flags.push_back(flag);
            if (flag & 0x08)
                for (unsigned repeat = static_cast<unsigned char>(out.at(at++)); repeat > 0;
                     --repeat)
                    flags.push_back(flag);
        }
        for (unsigned flag : flags) {
            if (flag & 0x02) {
                at += 1;
            } else if (!(flag & 0x10)) {
                Set(out, at, 2, field.value);
                break;
            }
        }
        break;
    }
    }
    return out;
}

std::vector<FontField> FontExtremes()
{
    using F = FontField;
    return {
        // The scale of every glyph: the smallest and largest units per em a reader takes.
        {"unitsPerEm=16", F::Field, "head", 18, 2, 16},
        {"unitsPerEm=64", F::Field, "head", 18, 2, 64},
        {"unitsPerEm=16384", F::Field, "head", 18, 2, 16384},
        {"unitsPerEm=65535", F::Field, "head", 18, 2, 65535},
        // The font's box.
        {"xMin=-32768", F::Field, "head", 36, 2, 0x8000},
        {"yMax=32767", F::Field, "head", 42, 2, 0x7FFF},
        // Ascent, descent and line gap, as the horizontal header and the OS/2 table give them.
        {"hhea.ascender=32767", F::Field, "hhea", 4, 2, 0x7FFF},
        {"hhea.ascender=-32768", F::Field, "hhea", 4, 2, 0x8000},
        {"hhea.descender=-32768", F::Field, "hhea", 6, 2, 0x8000},
        {"hhea.descender=32767", F::Field, "hhea", 6, 2, 0x7FFF},
        {"hhea.lineGap=32767", F::Field, "hhea", 8, 2, 0x7FFF},
        {"hhea.advanceWidthMax=65535", F::Field, "hhea", 10, 2, 0xFFFF},
        {"OS/2.typoAscender=32767", F::Field, "OS/2", 68, 2, 0x7FFF},
        {"OS/2.winAscent=65535", F::Field, "OS/2", 74, 2, 0xFFFF},
        {"OS/2.winDescent=65535", F::Field, "OS/2", 76, 2, 0xFFFF},
        // Every glyph's advance, and single glyphs damaged or reaching far.
        {"everyAdvance=65535", F::EveryAdvance, "hmtx", 0, 2, 0xFFFF},
        {"glyph e contours=32767", F::GlyphContours, "glyf", 0, 2, 0x7FFF, 'e'},
        {"glyph e contours=-2", F::GlyphContours, "glyf", 0, 2, 0xFFFE, 'e'},
        {"glyph M reach=32767", F::GlyphReach, "glyf", 0, 2, 0x7FFF, 'M'},
        {"glyph o reach=-32768", F::GlyphReach, "glyf", 0, 2, 0x8000, 'o'},
    };
}

} // namespace bbtest
