#pragma once
// One playing voice of the mixer: a sample's channel or a stream. It reads its source
// in sequence, resamples it to the mix rate by linear interpolation, applies volume and
// pan, and moves its attribute slides along with the frames it renders. Used under the
// mixer's lock only.
#include "bass/ChannelSource.h"

#include <cstdint>
#include <memory>

namespace bassx {

class Channel
{
public:
    // sample: the owning sample's handle, 0 for a stream.
    Channel(std::unique_ptr<ChannelSource> source, std::uint32_t sample, bool loop);

    std::uint32_t Sample() const { return m_Sample; }
    bool IsStream() const { return m_Sample == 0; }
    // BASS_ACTIVE_STOPPED, _PLAYING or _PAUSED.
    std::uint32_t State() const { return m_State; }
    bool Ended() const { return m_Ended; }

    // Starts or resumes; restart rewinds to the start first.
    void Play(bool restart);
    void Stop() { m_State = 0; }
    void Pause();

    bool Loop() const { return m_Loop; }
    void SetLoop(bool loop) { m_Loop = loop; }

    // Attributes as BASS_ChannelSetAttributes takes them (markers -1 and -101 leave one
    // unchanged; values are clamped). Setting an attribute ends its slide.
    void SetAttributes(int freq, int volume, int pan);
    void GetAttributes(std::uint32_t& freq, std::uint32_t& volume, int& pan) const;
    // Slides the given attributes to their targets over `frames` frames of the mix.
    void SlideAttributes(int freq, int volume, int pan, std::uint64_t frames);
    // BASS_SLIDE_ bits.
    std::uint32_t Sliding() const;

    // In frames of the source.
    std::uint64_t Position() const { return m_Pos; }
    std::uint64_t Length() const { return m_Source->Frames(); }
    std::uint32_t FrameBytes() const
    {
        return static_cast<std::uint32_t>(m_Source->Channels()) * 2;
    }
    bool SetPosition(std::uint64_t frame);

    // Adds `frames` frames into the interleaved stereo mix, each side scaled by gain.
    // A channel that reaches the end without looping stops (Ended() becomes true).
    void Render(float* stereo, int frames, float gain);

private:
    struct Slide
    {
        bool active = false;
        double from = 0;
        double to = 0;
        std::uint64_t total = 0;   // frames of the mix the slide lasts
        std::uint64_t elapsed = 0; // frames of the mix rendered since it began
    };
    struct Frame
    {
        float left = 0;
        float right = 0;
    };

    bool Prime();
    void FetchNext();
    void Advance();
    void Finish();
    void RenderRun(float* stereo, int frames, float gain);
    void StepSlides(std::uint64_t frames);
    std::uint64_t FramesToSlideEvent() const;
    double ClampFreq(int freq) const;

    std::unique_ptr<ChannelSource> m_Source;
    std::uint32_t m_Sample;
    std::uint32_t m_State = 0;
    bool m_Loop;
    bool m_Ended = false;

    double m_Freq;         // Hz
    double m_Volume = 100; // 0..100
    double m_Pan = 0;      // -100..100
    Slide m_FreqSlide, m_VolumeSlide, m_PanSlide;

    std::uint64_t m_Pos = 0; // frame of m_Cur
    double m_Phase = 0;      // 0..1 between m_Cur and m_Next
    Frame m_Cur, m_Next;
    bool m_NextIsEnd = false;   // no frame follows m_Cur: the sound ends there
    bool m_NextWrapped = false; // m_Next is the first frame, read because the sound loops
};

} // namespace bassx
