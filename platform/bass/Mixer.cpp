#include "bass/Mixer.h"

#include "bass/bass.h"

#include <algorithm>
#include <cmath>

namespace bassx {

Mixer& Mixer::Instance()
{
    static Mixer mixer;
    return mixer;
}

void Mixer::Start(int device, std::uint32_t flags, std::uint32_t freq, const std::string& driver,
                  int bufferFrames)
{
    m_Initialised = true;
    m_Device = device;
    m_InitFlags = flags;
    m_RequestedFreq = freq;
    m_Driver = driver;
    m_BufferFrames = bufferFrames;
    m_Paused = false;
    m_OutputVolume = 100;
}

void Mixer::Shutdown()
{
    m_Channels.clear();
    m_Samples.clear();
    m_Initialised = false;
    m_Device = -1;
    m_InitFlags = 0;
    m_Driver.clear();
    m_BufferFrames = 0;
    m_Paused = false;
}

std::uint32_t Mixer::AddSample(Sample sample)
{
    std::uint32_t handle = m_NextHandle++;
    m_Samples.emplace(handle, std::move(sample));
    return handle;
}

Sample* Mixer::FindSample(std::uint32_t handle)
{
    auto it = m_Samples.find(handle);
    return it == m_Samples.end() ? nullptr : &it->second;
}

void Mixer::FreeSample(std::uint32_t handle)
{
    auto it = m_Samples.find(handle);
    if (it == m_Samples.end()) {
        return;
    }
    for (std::uint32_t channel : it->second.channels) {
        m_Channels.erase(channel);
    }
    m_Samples.erase(it);
}

std::uint32_t Mixer::AddChannel(std::unique_ptr<Channel> channel)
{
    std::uint32_t handle = m_NextHandle++;
    if (Sample* sample = FindSample(channel->Sample())) {
        sample->channels.push_back(handle);
    }
    m_Channels.emplace(handle, std::move(channel));
    return handle;
}

Channel* Mixer::FindChannel(std::uint32_t handle)
{
    auto it = m_Channels.find(handle);
    if (it == m_Channels.end()) {
        return nullptr;
    }
    Channel* channel = it->second.get();
    if (!channel->IsStream() && channel->Ended()) {
        return nullptr;
    }
    return channel;
}

void Mixer::RemoveChannel(std::uint32_t handle)
{
    auto it = m_Channels.find(handle);
    if (it == m_Channels.end()) {
        return;
    }
    if (Sample* sample = FindSample(it->second->Sample())) {
        auto& list = sample->channels;
        list.erase(std::remove(list.begin(), list.end(), handle), list.end());
    }
    m_Channels.erase(it);
}

std::size_t Mixer::PurgeEnded(Sample& sample)
{
    std::vector<std::uint32_t> ended;
    for (std::uint32_t handle : sample.channels) {
        auto it = m_Channels.find(handle);
        if (it == m_Channels.end() || it->second->Ended()) {
            ended.push_back(handle);
        }
    }
    for (std::uint32_t handle : ended) {
        RemoveChannel(handle);
        auto& list = sample.channels;
        list.erase(std::remove(list.begin(), list.end(), handle), list.end());
    }
    return sample.channels.size();
}

void Mixer::StopAll()
{
    for (auto it = m_Channels.begin(); it != m_Channels.end();) {
        if (it->second->IsStream()) {
            it->second->Stop();
            ++it;
        } else {
            std::uint32_t handle = it->first;
            ++it;
            RemoveChannel(handle);
        }
    }
}

void Mixer::SetMusicSource(MixSourceFn fn, void* user)
{
    std::lock_guard<std::mutex> guard(m_Lock);
    m_MusicFn = fn;
    m_MusicUser = fn ? user : nullptr;
}

void Mixer::Mix(float* stereo, int frames)
{
    if (m_Initialised && !m_Paused) {
        std::vector<std::uint32_t> ended;
        for (auto& [handle, channel] : m_Channels) {
            if (channel->State() != BASS_ACTIVE_PLAYING) {
                continue;
            }
            const std::uint32_t global = channel->IsStream() ? m_StreamVolume : m_SampleVolume;
            channel->Render(stereo, frames, global / 100.0f);
            if (channel->Ended() && !channel->IsStream()) {
                ended.push_back(handle);
            }
        }
        for (std::uint32_t handle : ended) {
            RemoveChannel(handle);
        }
    }
    if (m_MusicFn) {
        m_MusicFn(stereo, frames, MIX_RATE, m_MusicUser);
    }
}

void Mixer::RenderS16(short* out, int frames)
{
    if (frames <= 0) {
        return;
    }
    std::lock_guard<std::mutex> guard(m_Lock);
    m_Scratch.assign(static_cast<std::size_t>(frames) * 2, 0.0f);
    Mix(m_Scratch.data(), frames);
    const float gain = m_OutputVolume / 100.0f * 32768.0f;
    for (std::size_t i = 0; i < m_Scratch.size(); ++i) {
        float v = std::clamp(m_Scratch[i] * gain, -32768.0f, 32767.0f);
        out[i] = static_cast<short>(std::lrint(v));
    }
}

} // namespace bassx
