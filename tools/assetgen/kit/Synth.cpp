#include "kit/Synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double Slide(double from, double to, double t)
{
    if (to <= 0 || from <= 0)
        return from;
    return from * std::pow(to / from, t);
}

float Oscillate(Wave wave, double phase)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Sine:
        return static_cast<float>(std::sin(kTwoPi * p));
    case Wave::Square:
        // Slightly rounded edges keep the square from buzzing at the top of the band.
        return static_cast<float>(std::tanh(6.0 * std::sin(kTwoPi * p)) / std::tanh(6.0));
    case Wave::Triangle:
        return static_cast<float>(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
    }
    return 0;
}

} // namespace

Signal::Signal(int sampleRate, double seconds) : rate(sampleRate)
{
    samples.assign(static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * rate)), 0.0f);
}

std::size_t Signal::IndexAt(double seconds) const
{
    const double i = std::floor(std::max(0.0, seconds) * rate);
    return std::min(samples.size(), static_cast<std::size_t>(i));
}

AudioClip AudioClip::Mono(const Signal& s)
{
    AudioClip c;
    c.rate = s.rate;
    c.channels = 1;
    c.samples = s.samples;
    return c;
}

AudioClip AudioClip::Stereo(const Signal& s, float pan)
{
    const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1) * 0.25 * 3.141592653589793;
    const float gl = static_cast<float>(std::cos(angle)), gr = static_cast<float>(std::sin(angle));
    AudioClip c;
    c.rate = s.rate;
    c.channels = 2;
    c.samples.reserve(s.samples.size() * 2);
    for (float v : s.samples) {
        c.samples.push_back(v * gl);
        c.samples.push_back(v * gr);
    }
    return c;
}

AudioClip AudioClip::Stereo(const Signal& left, const Signal& right)
{
    AudioClip c;
    c.rate = left.rate;
    c.channels = 2;
    const std::size_t n = std::max(left.samples.size(), right.samples.size());
    for (std::size_t i = 0; i < n; ++i) {
        c.samples.push_back(i < left.samples.size() ? left.samples[i] : 0.0f);
        c.samples.push_back(i < right.samples.size() ? right.samples[i] : 0.0f);
    }
    return c;
}

float Envelope::At(double t, double length) const
{
    if (t < 0 || t >= length)
        return 0;
    double g = 1;
    if (attack > 0 && t < attack)
        g = t / attack;
    else if (decay > 0)
        g = sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
    const double left = length - t;
    if (release > 0 && left < release)
        g *= left / release;
    const double fade = std::min({1.0, t / edge, left / edge});
    return static_cast<float>(g * fade);
}

Tone MakeTone(Wave wave, double freq, double freqEnd, float gain, double attack, double decay)
{
    Tone t;
    t.wave = wave;
    t.freq = freq;
    t.freqEnd = freqEnd;
    t.gain = gain;
    t.env.attack = attack;
    t.env.decay = decay;
    return t;
}

NoiseBurst MakeNoise(FilterMode mode, double cutoff, double cutoffEnd, float gain, double attack,
                     double decay, float resonance)
{
    NoiseBurst n;
    n.mode = mode;
    n.cutoff = cutoff;
    n.cutoffEnd = cutoffEnd;
    n.resonance = resonance;
    n.gain = gain;
    n.env.attack = attack;
    n.env.decay = decay;
    return n;
}

void AddTone(Signal& s, double start, double length, const Tone& tone)
{
    const std::size_t from = s.IndexAt(start), to = s.IndexAt(start + length);
    double phase = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double t = static_cast<double>(i - from) / s.rate;
        const double f = Slide(tone.freq, tone.freqEnd, t / length);
        s.samples[i] += tone.gain * tone.env.At(t, length) * Oscillate(tone.wave, phase);
        phase += f / s.rate;
    }
}

void AddNoise(Signal& s, double start, double length, const NoiseBurst& burst, Rng& rng)
{
    const std::size_t from = s.IndexAt(start), to = s.IndexAt(start + length);
    // Chamberlin state-variable filter; stable for cutoffs below about rate / 6.
    double low = 0, band = 0;
    const double damping = 2.0 * (1.0 - std::clamp(burst.resonance, 0.0f, 0.95f));
    for (std::size_t i = from; i < to; ++i) {
        const double t = static_cast<double>(i - from) / s.rate;
        const double fc = std::min(Slide(burst.cutoff, burst.cutoffEnd, t / length), s.rate / 6.0);
        const double f = 2 * std::sin(3.141592653589793 * fc / s.rate);
        const double in = rng.Uniform() * 2 - 1;
        low += f * band;
        const double high = in - low - damping * band;
        band += f * high;
        double out = low;
        if (burst.mode == FilterMode::BandPass)
            out = band;
        else if (burst.mode == FilterMode::HighPass)
            out = high;
        s.samples[i] += static_cast<float>(burst.gain * burst.env.At(t, length) * out);
    }
}

void FadeEdges(Signal& s, double seconds)
{
    const std::size_t n = std::min(s.samples.size() / 2, s.IndexAt(seconds));
    for (std::size_t i = 0; i < n; ++i) {
        const float k = static_cast<float>(i) / static_cast<float>(n);
        s.samples[i] *= k;
        s.samples[s.samples.size() - 1 - i] *= k;
    }
}

float Peak(const Signal& s)
{
    float peak = 0;
    for (float v : s.samples)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

void Normalise(Signal& s, double rmsDb, double peakDb)
{
    // Loudness over the part that sounds (above 1/20 of the peak), so a long tail does
    // not make a short hit louder than the rest.
    const float peak = Peak(s);
    if (peak <= 0)
        return;
    double sum = 0;
    std::size_t count = 0;
    for (float v : s.samples) {
        if (std::fabs(v) >= peak / 20) {
            sum += static_cast<double>(v) * v;
            ++count;
        }
    }
    const double rms = std::sqrt(sum / std::max<std::size_t>(count, 1));
    double gain = std::pow(10.0, rmsDb / 20) / rms;
    gain = std::min(gain, std::pow(10.0, peakDb / 20) / peak);
    for (float& v : s.samples)
        v = static_cast<float>(v * gain);
}

Signal FinishEffect(Signal s)
{
    Normalise(s);
    FadeEdges(s, 0.002);
    return s;
}

LayeredVoice ToneVoice(double start, double length, const Tone& tone)
{
    return {LayeredVoice::IsTone, start, length, tone, NoiseBurst()};
}

LayeredVoice NoiseVoice(double start, double length, const NoiseBurst& noise)
{
    return {LayeredVoice::IsNoise, start, length, Tone(), noise};
}

Signal RenderLayered(const LayeredSound& sound)
{
    Rng rng(sound.name);
    Signal s(44100, sound.seconds);
    for (const LayeredVoice& v : sound.voices) {
        if (v.kind == LayeredVoice::IsTone)
            AddTone(s, v.start, v.length, v.tone);
        else
            AddNoise(s, v.start, v.length, v.noise, rng);
    }
    return FinishEffect(s);
}

} // namespace assetgen
