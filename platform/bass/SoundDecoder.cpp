#include "bass/SoundDecoder.h"

#include "bass/VorbisStream.h"
#include "bass/bass.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace bassx {

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

int SoundDecoder::Decode(const std::uint8_t* data, std::size_t size, PcmBuffer& out)
{
    try {
        switch (Detect(data, size)) {
        case SOUNDFORMAT_OGG:
            return DecodeOgg(data, size, out);
        case SOUNDFORMAT_WAV:
            return DecodeWav(data, size, out);
        default:
            return BASS_ERROR_FILEFORM;
        }
    } catch (const std::bad_alloc&) {
        return BASS_ERROR_MEM;
    } catch (const std::length_error&) {
        return BASS_ERROR_MEM;
    }
}

int SoundDecoder::DecodeOgg(const std::uint8_t* data, std::size_t size, PcmBuffer& out)
{
    VorbisStream decoder;
    int error = decoder.Open(data, size);
    if (error != BASS_OK) {
        return error;
    }
    out.rate = decoder.Rate();
    out.channels = decoder.Channels();
    out.data.clear();
    // The length comes from the file's last page; a damaged file may claim any length, so
    // the reservation is only a hint bounded by what the data could plausibly hold.
    const std::uint64_t plausible = static_cast<std::uint64_t>(size) * 64;
    out.data.reserve(static_cast<std::size_t>(std::min(decoder.Frames(), plausible)) *
                     out.channels);
    const int block = 4096;
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(block) * out.channels);
    for (;;) {
        int frames = decoder.Read(buffer.data(), block);
        if (frames == 0) {
            break;
        }
        out.data.insert(out.data.end(), buffer.begin(), buffer.begin() + frames * out.channels);
    }
    return BASS_OK;
}

int SoundDecoder::DecodeWav(const std::uint8_t* data, std::size_t size, PcmBuffer& out)
{
    if (size > static_cast<std::size_t>(INT_MAX)) {
        return BASS_ERROR_FORMAT;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) {
        return BASS_ERROR_MEM;
    }
    SDL_AudioSpec format;
    Uint8* wav = nullptr;
    Uint32 wavLength = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &format, &wav, &wavLength)) {
        return BASS_ERROR_FILEFORM;
    }
    std::unique_ptr<Uint8, void (*)(Uint8*)> held(wav, &SDL_FreeWAV);
    if (format.channels < 1 || format.channels > 2 || format.freq <= 0) {
        return BASS_ERROR_FORMAT;
    }
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_S16SYS, format.channels,
                          format.freq) < 0) {
        return BASS_ERROR_FORMAT;
    }
    std::vector<Uint8> converted(static_cast<std::size_t>(wavLength) * cvt.len_mult + 4);
    std::memcpy(converted.data(), wav, wavLength);
    cvt.buf = converted.data();
    cvt.len = static_cast<int>(wavLength);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) {
        return BASS_ERROR_FORMAT;
    }
    std::size_t bytes = cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : wavLength;
    std::size_t frameBytes = static_cast<std::size_t>(format.channels) * 2;
    std::size_t frames = bytes / frameBytes;
    out.rate = format.freq;
    out.channels = format.channels;
    out.data.resize(frames * format.channels);
    std::memcpy(out.data.data(), converted.data(), frames * frameBytes);
    return BASS_OK;
}

} // namespace bassx
