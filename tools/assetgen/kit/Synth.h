#pragma once
// A small synthesis kit for sound effects: a mono signal buffer, a few voices (sine,
// square, triangle, filtered noise) with envelopes and frequency sweeps, and the final
// touches every effect gets (edge fades so nothing clicks, one common loudness).
#include "kit/Rng.h"

#include <vector>

namespace assetgen {

// A mono signal: samples in -1..1 at a sample rate (Hz).
struct Signal
{
    int rate = 44100;
    std::vector<float> samples;

    Signal(int sampleRate, double seconds);
    double Seconds() const { return static_cast<double>(samples.size()) / rate; }
    // Sample index of a time in seconds, clamped to the buffer.
    std::size_t IndexAt(double seconds) const;
};

// An audio clip ready for encoding: interleaved samples of one or two channels.
struct AudioClip
{
    int rate = 44100;
    int channels = 1;
    std::vector<float> samples; // interleaved, frames × channels

    std::size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
    static AudioClip Mono(const Signal& s);
    // Places a mono signal in the stereo field, pan -1 (left) .. 1 (right), equal power.
    static AudioClip Stereo(const Signal& s, float pan);
    static AudioClip Stereo(const Signal& left, const Signal& right);
};

// Amplitude envelope: a short attack, then exponential decay towards the sustain level
// with the given time constant, and a release over the last `release` seconds of the
// voice. Every voice also fades in and out over at least `edge` seconds.
struct Envelope
{
    double attack = 0.002;
    double decay = 0.08; // time constant, seconds
    float sustain = 0.0f;
    double release = 0.01;
    double edge = 0.002;

    // Gain at time t of a voice that lasts `length` seconds.
    float At(double t, double length) const;
};

enum class Wave { Sine, Square, Triangle };

// A tone whose frequency slides from `freq` to `freqEnd` (exponentially) over the voice.
struct Tone
{
    Wave wave = Wave::Sine;
    double freq = 440;
    double freqEnd = 0; // 0: no slide
    float gain = 0.5f;
    Envelope env;
};

enum class FilterMode { LowPass, BandPass, HighPass };

// Noise through a resonant filter whose cutoff slides from `cutoff` to `cutoffEnd`.
struct NoiseBurst
{
    FilterMode mode = FilterMode::LowPass;
    double cutoff = 2000;
    double cutoffEnd = 0;   // 0: no slide
    float resonance = 0.5f; // 0 (none) .. 0.95
    float gain = 0.5f;
    Envelope env;
};

// A tone sliding from freq to freqEnd (0: no slide) under an envelope of attack and decay
// seconds.
Tone MakeTone(Wave wave, double freq, double freqEnd, float gain, double attack, double decay);
// A filtered noise burst sliding from cutoff to cutoffEnd, under an envelope of attack and
// decay seconds.
NoiseBurst MakeNoise(FilterMode mode, double cutoff, double cutoffEnd, float gain, double attack,
                     double decay, float resonance = 0.5f);

// Adds a voice into the signal from `start` for `length` seconds (cut at the end of
// the buffer).
void AddTone(Signal& s, double start, double length, const Tone& tone);
void AddNoise(Signal& s, double start, double length, const NoiseBurst& burst, Rng& rng);

// Fades the first and last `seconds` of the whole signal to silence.
void FadeEdges(Signal& s, double seconds);
// Scales to the common loudness of the pack (RMS of `rmsDb` dBFS over the loud part),
// without letting a peak pass `peakDb` dBFS. Silence stays silence.
void Normalise(Signal& s, double rmsDb = -16.0, double peakDb = -1.0);
// The last step of every sound effect: the pack's common loudness and 2 ms fades at both
// ends, so no effect clicks when it starts or stops.
Signal FinishEffect(Signal s);

// Peak absolute sample value.
float Peak(const Signal& s);

// A sound effect of a few voices laid over each other: tones and noise bursts, each from
// its start for its length (seconds).
struct LayeredVoice
{
    enum Kind { IsTone, IsNoise } kind;
    double start, length;
    Tone tone;
    NoiseBurst noise;
};
LayeredVoice ToneVoice(double start, double length, const Tone& tone);
LayeredVoice NoiseVoice(double start, double length, const NoiseBurst& noise);

struct LayeredSound
{
    const char* name;
    double seconds;
    std::vector<LayeredVoice> voices;
};
// The voices mixed at 44.1 kHz (noise seeded by the sound's name) and finished as every
// effect is.
Signal RenderLayered(const LayeredSound& sound);

} // namespace assetgen
