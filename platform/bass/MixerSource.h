#pragma once
// Hooks of the audio layer for other layers and tests: the music source that is mixed
// into the same output as the samples and streams, and rendering of the mix without an
// output device.
#include <cstdint>

namespace bassx {

// Output rate of the mix, Hz.
constexpr int MIX_RATE = 44100;

// BASS_Init flag: set everything up as with a real device but open none; the mix
// advances only through RenderMix, so rendering is deterministic. Works with device 0
// and 1 whether or not the system has an audio driver.
constexpr std::uint32_t DEVICE_OFFLINE = 0x40000000u;

// Adds a source's output into the mix: fn must ADD interleaved stereo float samples in
// [-1, 1] for `frames` frames at `sampleRate` Hz into `stereo`. Called on the audio
// thread inside the mixer; pass nullptr to remove. The music source is not paused by
// BASS_Pause.
// fn runs with the mixer's lock held: it must not call into this layer, and
// SetMusicSource must not be called while holding a lock that fn takes. Once
// SetMusicSource returns, the previous fn is not running and will not be called again.
using MixSourceFn = void (*)(float* stereo, int frames, int sampleRate, void* user);
void SetMusicSource(MixSourceFn fn, void* user);

// Renders `frames` frames of the whole mix (effects and music) into `out` (interleaved
// stereo S16) without an audio device being needed: for tests and offline rendering;
// works after BASS_Init on the "no sound"/dummy device too. Before BASS_Init only the
// music source is heard.
void RenderMix(short* out, int frames);

} // namespace bassx
