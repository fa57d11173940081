#include "bass/SoundDecoder.h"

#include "bass/VorbisStream.h"
#include "bass/bass.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace bassx {

namespace {

bool (*g_Stopping)() = nullptr;

bool Stopping()
{
    return g_Stopping && g_Stopping();
}

const char* (*g_Admit)(std::uint64_t bytes) = nullptr;

// Whether the samples of frames may be held; when not, detail says why.
bool Admitted(std::uint64_t frames, int channels, std::string& detail)
{
    const char* refusal =
        g_Admit ? g_Admit(frames * static_cast<std::uint64_t>(channels) * 2) : nullptr;
    if (refusal)
        detail = refusal;
    return !refusal;
}

// The most frames of a sound at the rate and channel count a whole decode may hold.
std::uint64_t MaxFrames(std::uint64_t rate, int channels)
{
    return std::min(SoundDecoder::kMaxSeconds * rate,
                    SoundDecoder::kMaxBytes / (static_cast<std::uint64_t>(channels) * 2));
}

// Says how long the sound is and why that is too long.
std::string TooLong(std::uint64_t frames, std::uint64_t rate, int channels, const char* how)
{
    char text[240];
    std::snprintf(text, sizeof(text),
                  "%s %llu frames of %d channel(s) at %llu Hz (%.0f s); a sound decoded whole "
                  "may last %llu s and hold %llu MB of samples",
                  how, static_cast<unsigned long long>(frames), channels,
                  static_cast<unsigned long long>(rate),
                  rate > 0 ? static_cast<double>(frames) / static_cast<double>(rate) : 0.0,
                  static_cast<unsigned long long>(SoundDecoder::kMaxSeconds),
                  static_cast<unsigned long long>(SoundDecoder::kMaxBytes / 1000000));
    return text;
}

// What in a WAV file's format chunk the game does not play, said with what it plays; "" when
// it plays the format. Each field is judged alone, so the file is named for its own fault.
std::string WavFormatFault(unsigned formatTag, unsigned channels, unsigned bits, std::uint32_t rate)
{
    char found[80];
    if (formatTag != 1) {
        std::snprintf(found, sizeof(found), "of format tag %u, not PCM", formatTag);
    } else if (bits != 8 && bits != 16) {
        std::snprintf(found, sizeof(found), "of %u-bit samples", bits);
    } else if (channels < 1 || channels > 2) {
        std::snprintf(found, sizeof(found), "of %u channels", channels);
    } else if (rate == 0 || rate > static_cast<std::uint32_t>(VorbisStream::kMaxRate)) {
        std::snprintf(found, sizeof(found), "at %lu Hz", static_cast<unsigned long>(rate));
    } else {
        return std::string();
    }
    char text[240];
    std::snprintf(text, sizeof(text),
                  "is a WAV file %s; a WAV file is played when it holds 8- or 16-bit PCM "
                  "(format tag 1) in one or two channels at 1 to %ld Hz",
                  found, VorbisStream::kMaxRate);
    return text;
}

} // namespace

void SoundDecoder::SetStopCheck(bool (*stopping)())
{
    g_Stopping = stopping;
}

void SoundDecoder::SetMemoryCheck(const char* (*admit)(std::uint64_t bytes))
{
    g_Admit = admit;
}

SoundFormat SoundDecoder::Detect(const std::uint8_t* data, std::size_t size)
{
    if (size >= 4 && std::memcmp(data, "OggS", 4) == 0) {
        return SOUNDFORMAT_OGG;
    }
    if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0) {
        return SOUNDFORMAT_WAV;
    }
    return SOUNDFORMAT_UNKNOWN;
}

int SoundDecoder::Decode(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                         std::string& detail)
{
    detail.clear();
    try {
        switch (Detect(data, size)) {
        case SOUNDFORMAT_OGG:
            return DecodeOgg(data, size, out, detail);
        case SOUNDFORMAT_WAV:
            return DecodeWav(data, size, out, detail);
        default:
            return BASS_ERROR_FILEFORM;
        }
    } catch (const std::bad_alloc&) {
        return BASS_ERROR_MEM;
    } catch (const std::length_error&) {
        return BASS_ERROR_MEM;
    }
}

int SoundDecoder::DecodeOgg(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                            std::string& detail)
{
    VorbisStream decoder;
    int error = decoder.Open(data, size);
    if (error == BASS_ERROR_FORMAT) {
        // The file's own format, not the device's.
        char text[160];
        std::snprintf(text, sizeof(text),
                      "is an Ogg Vorbis file of more than two channels or a rate above %ld Hz",
                      VorbisStream::kMaxRate);
        detail = text;
        return BASS_ERROR_FILEFORM;
    }
    if (error != BASS_OK) {
        return error;
    }
    out.rate = decoder.Rate();
    out.channels = decoder.Channels();
    out.data.clear();
    // The length is the granule position of the last page, which the decoder trims its
    // output to; a file whose length cannot be read is decoded up to the bound and refused
    // if it goes on past it. Either way the loop below never holds more than the bound.
    const std::uint64_t limit = MaxFrames(static_cast<std::uint64_t>(out.rate), out.channels);
    const std::uint64_t claimed = decoder.Frames();
    if (claimed > limit) {
        detail = TooLong(claimed, static_cast<std::uint64_t>(out.rate), out.channels, "lasts");
        return BASS_ERROR_TOOLONG;
    }
    const std::uint64_t length = claimed > 0 ? claimed : limit;
    if (!Admitted(length, out.channels, detail)) {
        return BASS_ERROR_MEM;
    }
    out.data.reserve(static_cast<std::size_t>(length) * out.channels);
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(kBlockFrames) * out.channels);
    std::uint64_t decoded = 0;
    for (;;) {
        if (Stopping()) {
            out.data.clear();
            return BASS_ERROR_STOPPED;
        }
        int frames = decoder.Read(buffer.data(), kBlockFrames);
        if (frames == 0) {
            break;
        }
        if (decoded + static_cast<std::uint64_t>(frames) > length) {
            if (claimed == 0) {
                out.data.clear();
                detail =
                    TooLong(decoded + static_cast<std::uint64_t>(frames),
                            static_cast<std::uint64_t>(out.rate), out.channels, "goes on past");
                return BASS_ERROR_TOOLONG;
            }
            // Data past the length the file gives is not part of the sound.
            frames = static_cast<int>(length - decoded);
        }
        out.data.insert(out.data.end(), buffer.begin(), buffer.begin() + frames * out.channels);
        decoded += static_cast<std::uint64_t>(frames);
        if (decoded >= length) {
            break;
        }
    }
    return BASS_OK;
}

int SoundDecoder::DecodeWav(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                            std::string& detail)
{
    // The chunks are read here, each within the bytes the file has: a chunk whose length
    // runs past the end of the file is damaged, whatever it claims, and nothing is
    // allocated for what a header claims before it is known to be there.
    auto le16 = [data](std::size_t at) { return unsigned(data[at]) | unsigned(data[at + 1]) << 8; };
    auto le32 = [&le16](std::size_t at) {
        return std::uint32_t(le16(at)) | std::uint32_t(le16(at + 2)) << 16;
    };
    unsigned formatTag = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    bool haveFormat = false;
    const std::uint8_t* samples = nullptr;
    std::size_t sampleBytes = 0;
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::uint32_t length = le32(at + 4);
        const std::size_t body = at + 8;
        if (length > size - body) {
            return BASS_ERROR_FILEFORM;
        }
        if (std::memcmp(data + at, "fmt ", 4) == 0 && length >= 16) {
            formatTag = le16(body);
            channels = le16(body + 2);
            rate = le32(body + 4);
            bits = le16(body + 14);
            haveFormat = true;
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            samples = data + body;
            sampleBytes = length;
            break;
        }
        // Chunks are padded to an even length.
        at = body + length + (length & 1);
    }
    if (!haveFormat || !samples) {
        return BASS_ERROR_FILEFORM;
    }
    detail = WavFormatFault(formatTag, channels, bits, rate);
    if (!detail.empty()) {
        return BASS_ERROR_FILEFORM;
    }
    // Its length at the rate the file gives is held to the bound before anything is
    // converted, so a rate that lies (a few hertz) cannot make a small file last for hours.
    const std::size_t frameBytes = channels * (bits / 8);
    const std::uint64_t frames = sampleBytes / frameBytes;
    if (frames > MaxFrames(rate, static_cast<int>(channels))) {
        detail = TooLong(frames, rate, static_cast<int>(channels), "lasts");
        return BASS_ERROR_TOOLONG;
    }
    if (!Admitted(frames, static_cast<int>(channels), detail)) {
        return BASS_ERROR_MEM;
    }
    out.rate = static_cast<int>(rate);
    out.channels = static_cast<int>(channels);
    out.data.clear();
    out.data.reserve(static_cast<std::size_t>(frames) * channels);
    const std::size_t values = static_cast<std::size_t>(frames) * channels;
    const std::size_t block = static_cast<std::size_t>(kBlockFrames) * channels;
    for (std::size_t done = 0; done < values; done += block) {
        if (Stopping()) {
            out.data.clear();
            return BASS_ERROR_STOPPED;
        }
        const std::size_t end = std::min(values, done + block);
        for (std::size_t i = done; i < end; ++i) {
            if (bits == 8) {
                out.data.push_back(static_cast<std::int16_t>((int(samples[i]) - 128) * 256));
            } else {
                out.data.push_back(static_cast<std::int16_t>(
                    static_cast<std::uint16_t>(samples[2 * i] | samples[2 * i + 1] << 8)));
            }
        }
    }
    return BASS_OK;
}

} // namespace bassx
