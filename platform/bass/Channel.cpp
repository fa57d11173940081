#include "bass/Channel.h"

#include "bass/MixerSource.h"
#include "bass/bass.h"

#include <algorithm>
#include <cmath>

namespace bassx {

namespace {

// Frames rendered between two updates of the attributes; slides move in steps of at most
// this many frames (1.5 ms).
constexpr std::uint64_t RUN_FRAMES = 64;

constexpr double MIN_FREQ = 100;
constexpr double MAX_FREQ = 100000;

double ClampVolume(int volume)
{
    return std::clamp(volume, 0, 100);
}
double ClampPan(int pan)
{
    return std::clamp(pan, -100, 100);
}

} // namespace

Channel::Channel(std::unique_ptr<ChannelSource> source, std::uint32_t sample, bool loop)
    : m_Source(std::move(source)), m_Sample(sample), m_Loop(loop), m_Freq(m_Source->Rate())
{
}

double Channel::ClampFreq(int freq) const
{
    if (freq == 0) {
        return std::clamp(static_cast<double>(m_Source->Rate()), MIN_FREQ, MAX_FREQ);
    }
    return std::clamp(static_cast<double>(freq), MIN_FREQ, MAX_FREQ);
}

void Channel::Play(bool restart)
{
    if (m_State == BASS_ACTIVE_PAUSED && !restart) {
        m_State = BASS_ACTIVE_PLAYING;
        return;
    }
    if (restart) {
        m_Pos = 0;
    }
    m_Ended = false;
    m_State = BASS_ACTIVE_PLAYING;
    if (!Prime()) {
        Finish();
    }
}

void Channel::Pause()
{
    if (m_State == BASS_ACTIVE_PLAYING) {
        m_State = BASS_ACTIVE_PAUSED;
    }
}

void Channel::SetAttributes(int freq, int volume, int pan)
{
    if (freq != -1) {
        m_Freq = ClampFreq(freq);
        m_FreqSlide.active = false;
    }
    if (volume != -1) {
        m_Volume = ClampVolume(volume);
        m_VolumeSlide.active = false;
    }
    if (pan != -101) {
        m_Pan = ClampPan(pan);
        m_PanSlide.active = false;
    }
}

void Channel::GetAttributes(std::uint32_t& freq, std::uint32_t& volume, int& pan) const
{
    freq = static_cast<std::uint32_t>(std::lround(m_Freq));
    volume = static_cast<std::uint32_t>(std::lround(m_Volume));
    pan = static_cast<int>(std::lround(m_Pan));
}

void Channel::SlideAttributes(int freq, int volume, int pan, std::uint64_t frames)
{
    if (frames == 0) {
        SetAttributes(freq, volume, pan);
        return;
    }
    auto start = [frames](Slide& slide, double from, double to) {
        slide = Slide{true, from, to, frames, 0};
    };
    if (freq != -1) {
        start(m_FreqSlide, m_Freq, ClampFreq(freq));
    }
    if (volume != -1) {
        start(m_VolumeSlide, m_Volume, ClampVolume(volume));
    }
    if (pan != -101) {
        start(m_PanSlide, m_Pan, ClampPan(pan));
    }
}

std::uint32_t Channel::Sliding() const
{
    return (m_FreqSlide.active ? BASS_SLIDE_FREQ : 0) |
           (m_VolumeSlide.active ? BASS_SLIDE_VOL : 0) | (m_PanSlide.active ? BASS_SLIDE_PAN : 0);
}

bool Channel::SetPosition(std::uint64_t frame)
{
    if (frame > Length()) {
        return false;
    }
    m_Pos = frame;
    m_Phase = 0;
    if (m_State != BASS_ACTIVE_STOPPED && !Prime()) {
        Finish();
    }
    return true;
}

bool Channel::Prime()
{
    m_Phase = 0;
    if (m_Pos >= Length()) {
        if (!m_Loop || Length() == 0) {
            return false;
        }
        m_Pos = 0;
    }
    if (!m_Source->Seek(m_Pos) || !m_Source->ReadFrame(m_Cur.left, m_Cur.right)) {
        return false;
    }
    FetchNext();
    return true;
}

void Channel::FetchNext()
{
    m_NextIsEnd = false;
    m_NextWrapped = false;
    if (m_Source->ReadFrame(m_Next.left, m_Next.right)) {
        return;
    }
    if (m_Loop && m_Source->Seek(0) && m_Source->ReadFrame(m_Next.left, m_Next.right)) {
        m_NextWrapped = true;
        return;
    }
    // Hold the last frame so the interpolation does not ramp towards silence.
    m_Next = m_Cur;
    m_NextIsEnd = true;
}

void Channel::Advance()
{
    if (m_NextIsEnd) {
        // The loop flag may have been set after the end was reached.
        m_Pos = Length();
        if (!m_Loop || !Prime()) {
            Finish();
        }
        return;
    }
    if (m_NextWrapped) {
        // The loop flag may have been cleared after the first frame was read again.
        if (!m_Loop) {
            Finish();
            return;
        }
        m_Pos = 0;
    } else {
        ++m_Pos;
    }
    m_Cur = m_Next;
    FetchNext();
}

void Channel::Finish()
{
    m_State = BASS_ACTIVE_STOPPED;
    m_Ended = true;
    m_Pos = Length();
    m_Phase = 0;
}

void Channel::Render(float* stereo, int frames, float gain)
{
    int done = 0;
    while (done < frames && m_State == BASS_ACTIVE_PLAYING) {
        std::uint64_t run = std::min<std::uint64_t>(frames - done, RUN_FRAMES);
        run = std::min(run, FramesToSlideEvent());
        RenderRun(stereo + 2 * done, static_cast<int>(run), gain);
        StepSlides(run);
        done += static_cast<int>(run);
    }
}

void Channel::RenderRun(float* stereo, int frames, float gain)
{
    // Pan law: the centre keeps both sides at full level; panning attenuates only the far
    // side, linearly, to silence at -100 (right silent) or +100 (left silent).
    const float level = static_cast<float>(m_Volume / 100.0) * gain;
    const float left = level * static_cast<float>(m_Pan > 0 ? 1.0 - m_Pan / 100.0 : 1.0);
    const float right = level * static_cast<float>(m_Pan < 0 ? 1.0 + m_Pan / 100.0 : 1.0);
    const double step = m_Freq / MIX_RATE;
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(m_Phase);
        stereo[2 * i] += (m_Cur.left + (m_Next.left - m_Cur.left) * t) * left;
        stereo[2 * i + 1] += (m_Cur.right + (m_Next.right - m_Cur.right) * t) * right;
        m_Phase += step;
        while (m_Phase >= 1.0) {
            m_Phase -= 1.0;
            Advance();
            if (m_Ended) {
                return;
            }
        }
    }
}

std::uint64_t Channel::FramesToSlideEvent() const
{
    std::uint64_t left = ~std::uint64_t(0);
    for (const Slide* s : {&m_FreqSlide, &m_VolumeSlide, &m_PanSlide}) {
        if (s->active) {
            left = std::min(left, s->total - s->elapsed);
        }
    }
    return left;
}

void Channel::StepSlides(std::uint64_t frames)
{
    auto step = [frames](Slide& slide, double& value) {
        if (!slide.active) {
            return;
        }
        slide.elapsed += frames;
        if (slide.elapsed >= slide.total) {
            value = slide.to;
            slide.active = false;
        } else {
            value = slide.from + (slide.to - slide.from) * slide.elapsed / slide.total;
        }
    };
    step(m_FreqSlide, m_Freq);
    step(m_VolumeSlide, m_Volume);
    step(m_PanSlide, m_Pan);
}

} // namespace bassx
