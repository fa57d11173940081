// The audio library's sample, stream and channel calls.
#include "bass/Channel.h"
#include "bass/ErrorCode.h"
#include "bass/Mixer.h"
#include "bass/MixerSource.h"
#include "bass/PcmSource.h"
#include "bass/SoundDecoder.h"
#include "bass/VorbisSource.h"
#include "bass/bass.h"

#include <cstdio>
#include <limits>
#include <new>
#include <string>
#include <vector>

using bassx::Fail;
using bassx::Mixer;
using bassx::Ok;

namespace {

typedef std::lock_guard<std::mutex> Guard;

// Looks up a channel or stream; sets BASS_ERROR_HANDLE when there is none.
bassx::Channel* LookupChannel(std::uint32_t handle)
{
    bassx::Channel* channel = Mixer::Instance().FindChannel(handle);
    if (!channel) {
        Fail(BASS_ERROR_HANDLE);
    }
    return channel;
}

// Copies a sound file's bytes from memory or from a file. Returns BASS_OK or an error.
int ReadInput(bool mem, const void* file, QWORD offset, QWORD length,
              std::vector<std::uint8_t>& bytes)
{
    if (!file) {
        return BASS_ERROR_ILLPARAM;
    }
    try {
        if (mem) {
            if (length == 0 || length > std::numeric_limits<std::size_t>::max() ||
                offset > std::numeric_limits<std::size_t>::max()) {
                return BASS_ERROR_ILLPARAM;
            }
            const std::uint8_t* data = static_cast<const std::uint8_t*>(file) + offset;
            bytes.assign(data, data + length);
            return BASS_OK;
        }
        std::FILE* f = std::fopen(static_cast<const char*>(file), "rb");
        if (!f) {
            return BASS_ERROR_FILEOPEN;
        }
        bool ok = std::fseek(f, 0, SEEK_END) == 0;
        long size = ok ? std::ftell(f) : -1;
        ok = size >= 0 && offset <= static_cast<QWORD>(size) &&
             std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0;
        if (ok) {
            QWORD available = static_cast<QWORD>(size) - offset;
            QWORD wanted = length == 0 || length > available ? available : length;
            bytes.resize(static_cast<std::size_t>(wanted));
            ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
        }
        std::fclose(f);
        return ok ? BASS_OK : BASS_ERROR_FILEOPEN;
    } catch (const std::bad_alloc&) {
        return BASS_ERROR_MEM;
    }
}

// BASS_OK when new sounds may be loaded: the device is open.
int CanCreate(bool sample)
{
    Guard guard(Mixer::Instance().Lock());
    if (!Mixer::Instance().Initialised()) {
        return BASS_ERROR_INIT;
    }
    if (sample && Mixer::Instance().Device() == 0) {
        return BASS_ERROR_NOTAVAIL;
    }
    return BASS_OK;
}

// Opens a stream's source over the file's bytes: Ogg Vorbis decodes as it plays, WAV is
// decoded at once. Returns BASS_OK or an error.
int OpenStreamSource(std::vector<std::uint8_t> bytes, std::unique_ptr<bassx::ChannelSource>& source,
                     std::string& detail)
{
    try {
        switch (bassx::SoundDecoder::Detect(bytes.data(), bytes.size())) {
        case bassx::SOUNDFORMAT_OGG: {
            auto vorbis = std::make_unique<bassx::VorbisSource>(std::move(bytes));
            int error = vorbis->Open();
            if (error == BASS_OK) {
                source = std::move(vorbis);
            }
            return error;
        }
        case bassx::SOUNDFORMAT_WAV: {
            auto pcm = std::make_shared<bassx::PcmBuffer>();
            int error = bassx::SoundDecoder::Decode(bytes.data(), bytes.size(), *pcm, detail);
            if (error == BASS_OK) {
                source = std::make_unique<bassx::PcmSource>(std::move(pcm));
            }
            return error;
        }
        default:
            return BASS_ERROR_FILEFORM;
        }
    } catch (const std::bad_alloc&) {
        return BASS_ERROR_MEM;
    }
}

} // namespace

// ---- Samples ----------------------------------------------------------------------------

HSAMPLE BASS_SampleLoad(bool mem, const void* file, QWORD offset, std::uint32_t length,
                        std::uint32_t max, std::uint32_t flags)
{
    int error = CanCreate(true);
    if (error == BASS_OK && (max < 1 || max > 65535)) {
        error = BASS_ERROR_ILLPARAM;
    }
    std::vector<std::uint8_t> bytes;
    if (error == BASS_OK) {
        error = ReadInput(mem, file, offset, length, bytes);
    }
    auto pcm = std::make_shared<bassx::PcmBuffer>();
    std::string detail;
    if (error == BASS_OK) {
        error = bassx::SoundDecoder::Decode(bytes.data(), bytes.size(), *pcm, detail);
    }
    if (error != BASS_OK) {
        Fail(error, detail);
        return 0;
    }
    bassx::Sample sample;
    sample.flags = (flags & ~(BASS_SAMPLE_8BITS | BASS_SAMPLE_MONO)) |
                   (pcm->channels == 1 ? BASS_SAMPLE_MONO : 0);
    sample.max = max;
    sample.pcm = std::move(pcm);
    Guard guard(Mixer::Instance().Lock());
    HSAMPLE handle = Mixer::Instance().AddSample(std::move(sample));
    Ok();
    return handle;
}

bool BASS_SampleFree(HSAMPLE handle)
{
    Guard guard(Mixer::Instance().Lock());
    if (!Mixer::Instance().FindSample(handle)) {
        return Fail(BASS_ERROR_HANDLE);
    }
    Mixer::Instance().FreeSample(handle);
    return Ok();
}

bool BASS_SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info)
{
    Guard guard(Mixer::Instance().Lock());
    const bassx::Sample* sample = Mixer::Instance().FindSample(handle);
    if (!sample) {
        return Fail(BASS_ERROR_HANDLE);
    }
    if (!info) {
        return Fail(BASS_ERROR_ILLPARAM);
    }
    const QWORD bytes = sample->pcm->Frames() * sample->pcm->FrameBytes();
    *info = BASS_SAMPLE{};
    info->freq = static_cast<std::uint32_t>(sample->pcm->rate);
    info->volume = 100;
    info->flags = sample->flags;
    info->length = bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(bytes);
    info->max = sample->max;
    info->origres = 16;
    info->chans = static_cast<std::uint32_t>(sample->pcm->channels);
    return Ok();
}

HCHANNEL BASS_SampleGetChannel(HSAMPLE handle, bool)
{
    Guard guard(Mixer::Instance().Lock());
    Mixer& mixer = Mixer::Instance();
    bassx::Sample* sample = mixer.FindSample(handle);
    if (!sample) {
        Fail(BASS_ERROR_HANDLE);
        return 0;
    }
    if (mixer.PurgeEnded(*sample) >= sample->max) {
        // Retire a channel that was taken but never started, if there is one.
        std::uint32_t idle = 0;
        for (std::uint32_t channel : sample->channels) {
            const bassx::Channel* existing = mixer.FindChannel(channel);
            if (existing && existing->State() == BASS_ACTIVE_STOPPED) {
                idle = channel;
                break;
            }
        }
        if (idle == 0) {
            Fail(BASS_ERROR_NOCHAN);
            return 0;
        }
        mixer.RemoveChannel(idle);
    }
    auto channel =
        std::make_unique<bassx::Channel>(std::make_unique<bassx::PcmSource>(sample->pcm), handle,
                                         (sample->flags & BASS_SAMPLE_LOOP) != 0);
    HCHANNEL result = mixer.AddChannel(std::move(channel));
    Ok();
    return result;
}

bool BASS_SampleStop(HSAMPLE handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Sample* sample = Mixer::Instance().FindSample(handle);
    if (!sample) {
        return Fail(BASS_ERROR_HANDLE);
    }
    const std::vector<std::uint32_t> channels = sample->channels;
    for (std::uint32_t channel : channels) {
        Mixer::Instance().RemoveChannel(channel);
    }
    return Ok();
}

// ---- Streams ----------------------------------------------------------------------------

HSTREAM BASS_StreamCreateFile(bool mem, const void* file, QWORD offset, QWORD length,
                              std::uint32_t flags)
{
    int error = CanCreate(false);
    std::vector<std::uint8_t> bytes;
    if (error == BASS_OK) {
        error = ReadInput(mem, file, offset, length, bytes);
    }
    std::unique_ptr<bassx::ChannelSource> source;
    std::string detail;
    if (error == BASS_OK) {
        error = OpenStreamSource(std::move(bytes), source, detail);
    }
    if (error != BASS_OK) {
        Fail(error, detail);
        return 0;
    }
    auto channel =
        std::make_unique<bassx::Channel>(std::move(source), 0, (flags & BASS_SAMPLE_LOOP) != 0);
    Guard guard(Mixer::Instance().Lock());
    HSTREAM handle = Mixer::Instance().AddChannel(std::move(channel));
    Ok();
    return handle;
}

bool BASS_StreamFree(HSTREAM handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = Mixer::Instance().FindChannel(handle);
    if (!channel || !channel->IsStream()) {
        return Fail(BASS_ERROR_HANDLE);
    }
    Mixer::Instance().RemoveChannel(handle);
    return Ok();
}

// ---- Channels ---------------------------------------------------------------------------

bool BASS_ChannelPlay(std::uint32_t handle, bool restart)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    if (Mixer::Instance().Paused() && Mixer::Instance().m_PauseNoPlay) {
        return Fail(BASS_ERROR_START);
    }
    channel->Play(restart);
    return Ok();
}

bool BASS_ChannelStop(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    if (channel->IsStream()) {
        channel->Stop();
    } else {
        Mixer::Instance().RemoveChannel(handle);
    }
    return Ok();
}

bool BASS_ChannelPause(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    if (channel->State() != BASS_ACTIVE_PLAYING) {
        return Fail(BASS_ERROR_NOPLAY);
    }
    channel->Pause();
    return Ok();
}

std::uint32_t BASS_ChannelIsActive(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return BASS_ACTIVE_STOPPED;
    }
    Ok();
    return channel->State();
}

bool BASS_ChannelSetFlags(std::uint32_t handle, std::uint32_t flags)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    channel->SetLoop((flags & BASS_SAMPLE_LOOP) != 0);
    return Ok();
}

bool BASS_ChannelSetAttributes(std::uint32_t handle, int freq, int volume, int pan)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    channel->SetAttributes(freq, volume, pan);
    return Ok();
}

bool BASS_ChannelGetAttributes(std::uint32_t handle, std::uint32_t* freq, std::uint32_t* volume,
                               int* pan)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    std::uint32_t f = 0, v = 0;
    int p = 0;
    channel->GetAttributes(f, v, p);
    if (freq) {
        *freq = f;
    }
    if (volume) {
        *volume = v;
    }
    if (pan) {
        *pan = p;
    }
    return Ok();
}

bool BASS_ChannelSlideAttributes(std::uint32_t handle, int freq, int volume, int pan,
                                 std::uint32_t time)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    const std::uint64_t frames = (static_cast<std::uint64_t>(time) * bassx::MIX_RATE + 500) / 1000;
    channel->SlideAttributes(freq, volume, pan, frames);
    return Ok();
}

std::uint32_t BASS_ChannelIsSliding(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return 0;
    }
    Ok();
    return channel->Sliding();
}

QWORD BASS_ChannelGetPosition(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return BASS_QWORD_ERROR;
    }
    Ok();
    return channel->Position() * channel->FrameBytes();
}

bool BASS_ChannelSetPosition(std::uint32_t handle, QWORD pos)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return false;
    }
    if (!channel->SetPosition(pos / channel->FrameBytes())) {
        return Fail(BASS_ERROR_POSITION);
    }
    return Ok();
}

QWORD BASS_ChannelGetLength(std::uint32_t handle)
{
    Guard guard(Mixer::Instance().Lock());
    bassx::Channel* channel = LookupChannel(handle);
    if (!channel) {
        return BASS_QWORD_ERROR;
    }
    Ok();
    return channel->Length() * channel->FrameBytes();
}
