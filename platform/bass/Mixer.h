#pragma once
// The state of the audio layer and the mix: the open device, samples, channels and
// streams by handle, the global volumes and the music source. One instance for the
// process. The audio thread calls RenderS16; every other member is for the API calls on
// the main thread, which hold Lock() while they use them.
#include "bass/Channel.h"
#include "bass/MixerSource.h"
#include "bass/Sample.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace bassx {

class Mixer
{
public:
    static Mixer& Instance();

    std::mutex& Lock() { return m_Lock; }

    // Device lifetime. Start sets the master volume back to 100; the global volumes and
    // the configuration are kept.
    void Start(int device, std::uint32_t flags, std::uint32_t freq, const std::string& driver,
               int bufferFrames);
    // Frees every sample, stream and channel and forgets the device.
    void Shutdown();
    bool Initialised() const { return m_Initialised; }
    int Device() const { return m_Device; }
    std::uint32_t InitFlags() const { return m_InitFlags; }
    std::uint32_t RequestedFreq() const { return m_RequestedFreq; }
    const std::string& Driver() const { return m_Driver; }
    int BufferFrames() const { return m_BufferFrames; }

    // Handles. Find* return nullptr for unknown handles; FindChannel also for channels of
    // samples that have ended (their handles are no longer valid).
    std::uint32_t AddSample(Sample sample);
    Sample* FindSample(std::uint32_t handle);
    void FreeSample(std::uint32_t handle);
    std::uint32_t AddChannel(std::unique_ptr<Channel> channel);
    Channel* FindChannel(std::uint32_t handle);
    // Removes a channel (a sample's channel or a stream) and invalidates its handle.
    void RemoveChannel(std::uint32_t handle);
    // Removes the sample's channels that have ended; returns how many remain.
    std::size_t PurgeEnded(Sample& sample);
    // Stops every channel: sample channels are removed, streams keep their position.
    void StopAll();

    // Output and global volumes (0..100), written by the API and read by the mix, both
    // under the lock.
    void SetPaused(bool paused) { m_Paused = paused; }
    bool Paused() const { return m_Paused; }
    std::uint32_t m_SampleVolume = 100;
    std::uint32_t m_StreamVolume = 100;
    std::uint32_t m_OutputVolume = 100;
    bool m_PauseNoPlay = false;

    void SetMusicSource(MixSourceFn fn, void* user);

    // Renders frames of the mix as interleaved stereo S16; takes the lock.
    void RenderS16(short* out, int frames);

private:
    Mixer() = default;
    // Adds the mix into the zeroed stereo buffer; the lock is held.
    void Mix(float* stereo, int frames);

    std::mutex m_Lock;
    bool m_Initialised = false;
    int m_Device = -1;
    std::uint32_t m_InitFlags = 0;
    std::uint32_t m_RequestedFreq = 0;
    std::string m_Driver;
    int m_BufferFrames = 0;
    bool m_Paused = false;

    // Handles are counted up from 1 and never handed out twice.
    std::uint32_t m_NextHandle = 1;
    std::map<std::uint32_t, Sample> m_Samples;
    std::map<std::uint32_t, std::unique_ptr<Channel>> m_Channels;

    MixSourceFn m_MusicFn = nullptr;
    void* m_MusicUser = nullptr;
    std::vector<float> m_Scratch;
};

} // namespace bassx
