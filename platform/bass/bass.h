#pragma once
// The audio library the engine's sound classes play through: one output device, samples
// (sounds decoded whole at load, played on any number of channels at once) and streams
// (sounds decoded while they play, one channel each), with per-channel volume, pan,
// frequency, attribute slides, looping and byte positions, plus the global volumes.
//
// Everything mixes into one 44100 Hz, 16-bit stereo output. Supported files: Ogg Vorbis
// and RIFF WAVE (PCM), from memory or from a file.
//
// Conventions every call follows:
// - Calls are made from one thread (the main thread); mixing runs on the audio thread.
// - Each call sets the calling thread's error code (BASS_ErrorGetCode): BASS_OK on
//   success, one of the BASS_ERROR_ codes below on failure.
// - Calls returning bool return false on failure; calls returning a handle return 0;
//   calls returning a 32-bit value return BASS_DWORD_ERROR; calls returning a 64-bit
//   byte count return BASS_QWORD_ERROR.
// - Handles (samples, streams, channels) are never handed out twice in a process, so a
//   handle kept after its channel ended or was freed fails with BASS_ERROR_HANDLE and
//   never reaches a channel that was created later.
// - Positions and lengths are bytes of the sound's decoded format: 16-bit samples times
//   the sound's own channel count (1 or 2), at the sound's own rate.
#include <cstdint>

typedef std::uint64_t QWORD;
// A loaded sample: the decoded sound, from which channels are taken to play it.
typedef std::uint32_t HSAMPLE;
// One playback of a sample.
typedef std::uint32_t HCHANNEL;
// A stream; it is its own channel, so the channel calls take it too.
typedef std::uint32_t HSTREAM;

constexpr std::uint32_t BASS_DWORD_ERROR = 0xFFFFFFFFu;
constexpr QWORD BASS_QWORD_ERROR = ~QWORD(0);

// Error codes (BASS_ErrorGetCode).
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;       // out of memory
constexpr int BASS_ERROR_FILEOPEN = 2;  // the file could not be opened or read
constexpr int BASS_ERROR_DRIVER = 3;    // the output device could not be opened
constexpr int BASS_ERROR_BUFLOST = 4;   // (not raised by this implementation)
constexpr int BASS_ERROR_HANDLE = 5;    // not a valid handle of the kind the call needs
constexpr int BASS_ERROR_FORMAT = 6;    // a sound format that cannot be played here
constexpr int BASS_ERROR_POSITION = 7;  // a position beyond the end of the sound
constexpr int BASS_ERROR_INIT = 8;      // BASS_Init has not succeeded
constexpr int BASS_ERROR_START = 9;     // output paused while BASS_CONFIG_PAUSE_NOPLAY is on
constexpr int BASS_ERROR_ALREADY = 14;  // BASS_Init called twice without BASS_Free
constexpr int BASS_ERROR_NOCHAN = 18;   // every channel a sample may have is busy
constexpr int BASS_ERROR_ILLPARAM = 20; // an argument out of its range
constexpr int BASS_ERROR_NO3D = 21;     // (not raised by this implementation)
constexpr int BASS_ERROR_DEVICE = 23;   // no device of that number
constexpr int BASS_ERROR_NOPLAY = 24;   // pausing a channel that is not playing
constexpr int BASS_ERROR_FREQ = 25;     // (not raised: frequencies are clamped instead)
constexpr int BASS_ERROR_NOHW = 29;     // (not raised by this implementation)
constexpr int BASS_ERROR_NOTAVAIL = 37; // sample calls on the "no sound" device
constexpr int BASS_ERROR_FILEFORM = 41; // the data is neither Ogg Vorbis nor RIFF WAVE PCM
constexpr int BASS_ERROR_UNKNOWN = -1;
// Codes of this implementation's own, beyond the library's.
constexpr int BASS_ERROR_TOOLONG = 1000; // a sample longer than a whole decode may hold
constexpr int BASS_ERROR_STOPPED = 1001; // a decode given up because the program is stopping

// BASS_Init flags. The output is always 16-bit stereo; these are recorded (initflags)
// and otherwise accepted as requests the mixer does not need to honour.
constexpr std::uint32_t BASS_DEVICE_8BITS = 1;
constexpr std::uint32_t BASS_DEVICE_MONO = 2;

// Sample, stream and channel flags.
constexpr std::uint32_t BASS_SAMPLE_8BITS = 1;     // reported only; data is kept as 16-bit
constexpr std::uint32_t BASS_SAMPLE_MONO = 2;      // the sound has one channel
constexpr std::uint32_t BASS_SAMPLE_LOOP = 4;      // playback wraps to the start at the end
constexpr std::uint32_t BASS_SAMPLE_SOFTWARE = 16; // accepted; all mixing is in software

// BASS_ChannelIsActive results.
constexpr std::uint32_t BASS_ACTIVE_STOPPED = 0;
constexpr std::uint32_t BASS_ACTIVE_PLAYING = 1;
constexpr std::uint32_t BASS_ACTIVE_STALLED = 2; // (never: streams decode on demand)
constexpr std::uint32_t BASS_ACTIVE_PAUSED = 3;

// BASS_ChannelIsSliding bits.
constexpr std::uint32_t BASS_SLIDE_FREQ = 1;
constexpr std::uint32_t BASS_SLIDE_VOL = 2;
constexpr std::uint32_t BASS_SLIDE_PAN = 4;

// BASS_SetConfig / BASS_GetConfig options.
constexpr std::uint32_t BASS_CONFIG_GVOL_SAMPLE = 4; // volume of all sample channels, 0..100
constexpr std::uint32_t BASS_CONFIG_GVOL_STREAM = 5; // volume of all streams, 0..100
// 1: BASS_ChannelPlay fails with BASS_ERROR_START while the output is paused; 0 (the
// default): channels may be started while paused and sound once BASS_Start is called.
constexpr std::uint32_t BASS_CONFIG_PAUSE_NOPLAY = 13;

// BASS_GetDSoundObject object kinds.
constexpr std::uint32_t BASS_OBJECT_DS = 1;

// Device capability bits of BASS_INFO::flags.
constexpr std::uint32_t BASS_INFO_STEREO = 0x02;   // stereo output
constexpr std::uint32_t BASS_INFO_16BIT = 0x08;    // 16-bit output
constexpr std::uint32_t BASS_INFO_ANYRATE = 0x10;  // any rate in minrate..maxrate plays
constexpr std::uint32_t BASS_INFO_EMULATED = 0x20; // (never set here)

// What BASS_GetInfo reports about the open device.
struct BASS_INFO
{
    std::uint32_t flags;     // BASS_INFO_ bits
    std::uint32_t hwsize;    // bytes of hardware sample memory (0: none)
    std::uint32_t hwfree;    // free bytes of it (0)
    std::uint32_t free3d;    // free hardware 3D voices (0)
    std::uint32_t minrate;   // lowest channel frequency, Hz
    std::uint32_t maxrate;   // highest channel frequency, Hz
    bool eax;                // environmental effects (false)
    std::uint32_t minbuf;    // length of the device buffer, ms
    std::uint32_t dsver;     // version of the platform sound interface (0: none)
    std::uint32_t latency;   // delay before a started sound is heard, ms
    std::uint32_t initflags; // the flags BASS_Init was given
    std::uint32_t speakers;  // 2
    std::uint32_t freq;      // output rate, Hz (44100)
    const char* driver;      // name of the output driver; valid until BASS_Free
};

// What BASS_SampleGetInfo reports about a sample.
struct BASS_SAMPLE
{
    std::uint32_t freq;    // original rate, Hz: the frequency of its new channels
    std::uint32_t volume;  // default volume of new channels (100)
    int pan;               // default pan of new channels (0)
    std::uint32_t flags;   // the load flags, plus BASS_SAMPLE_MONO for one-channel sounds
    std::uint32_t length;  // bytes of decoded data
    std::uint32_t max;     // most channels that may exist at once
    std::uint32_t origres; // bits per sample of the decoded data (16)
    std::uint32_t chans;   // 1 or 2
};

// Devices are numbered from 0: 0 is the "no sound" device (streams decode and mix but
// nothing is heard; sample calls fail with BASS_ERROR_NOTAVAIL), 1 is the system's
// default audio output when one is present. -1 means device 1.
// Returns the device's description, or nullptr (BASS_ERROR_DEVICE) past the last device.
const char* BASS_GetDeviceDescription(int device);

// Opens a device. freq is the requested output rate; the mixer always runs at 44100 Hz.
// Fails with BASS_ERROR_ALREADY, BASS_ERROR_DEVICE or BASS_ERROR_DRIVER. win and clsid
// are accepted for compatibility and ignored.
bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, void* win, const void* clsid);
// Closes the device and frees every sample, stream and channel.
bool BASS_Free();
bool BASS_GetInfo(BASS_INFO* info);
// The error code of this thread's most recent call.
int BASS_ErrorGetCode();
// What that call found in the data when it failed on it, in words ("lasts 3600 s, ..."):
// "" when it said nothing more than its code.
const char* BASS_ErrorGetDetail();
// The function a whole decode (BASS_SampleLoad, a WAV stream) asks at every block whether
// the program is stopping; when it says yes the decode is given up and the call fails with
// BASS_ERROR_STOPPED. Null (the default) for none. Usable before BASS_Init.
void BASS_SetStopCheck(bool (*stopping)());
// The function a whole decode asks, once it knows the bytes its samples take and before it
// allocates them, whether they may be held: null when they may, else why not; the call then
// fails with BASS_ERROR_MEM and that text as its detail (BASS_ErrorGetDetail). Null (the
// default) for none. Usable before BASS_Init.
void BASS_SetMemoryCheck(const char* (*admit)(std::uint64_t bytes));
// A token standing for the device's sound object, for layers that share the device; not
// dereferenceable. nullptr before BASS_Init or for an unknown object kind.
void* BASS_GetDSoundObject(std::uint32_t object);

// Output control. BASS_Pause holds every sample and stream where it is (the music mixed
// in through the music source keeps playing); BASS_Start lets them go on. BASS_Stop also
// stops every sample channel and stream.
bool BASS_Start();
bool BASS_Pause();
bool BASS_Stop();

// Master output volume, 0..100 (applies to the whole mix; 100 after each BASS_Init).
// BASS_GetVolume returns BASS_DWORD_ERROR on failure.
bool BASS_SetVolume(std::uint32_t volume);
std::uint32_t BASS_GetVolume();

// Returns the new value, or BASS_DWORD_ERROR (BASS_ERROR_ILLPARAM) for an unknown option or
// a value out of range. Usable before BASS_Init; kept across BASS_Free.
std::uint32_t BASS_SetConfig(std::uint32_t option, std::uint32_t value);
std::uint32_t BASS_GetConfig(std::uint32_t option);

// Loads a sample: from memory (mem true: file points at the data, length bytes from
// offset, length must not be 0) or from a file (mem false: file is a path, length 0 =
// to the end). The data is decoded and copied; the caller keeps ownership of its memory.
// max (1..65535) is the most channels of this sample that may exist at once. A sound longer
// than a sample may be (bassx::SoundDecoder's bound) fails with BASS_ERROR_TOOLONG, its
// length in BASS_ErrorGetDetail, before it is decoded.
HSAMPLE BASS_SampleLoad(bool mem, const void* file, QWORD offset, std::uint32_t length,
                        std::uint32_t max, std::uint32_t flags);
// Stops and frees every channel of the sample, then the sample.
bool BASS_SampleFree(HSAMPLE handle);
bool BASS_SampleGetInfo(HSAMPLE handle, BASS_SAMPLE* info);
// A new channel of the sample, stopped, with the sample's defaults (frequency, volume,
// pan, flags). When the sample already has max channels, a channel that is not playing
// or paused is retired and its handle invalidated; when all are busy, fails with
// BASS_ERROR_NOCHAN. onlynew is accepted and has no further effect.
HCHANNEL BASS_SampleGetChannel(HSAMPLE handle, bool onlynew);
// Stops (and frees) every channel of the sample.
bool BASS_SampleStop(HSAMPLE handle);

// Opens a stream; arguments as for BASS_SampleLoad (length must not be 0 from memory).
// The stream keeps its own copy of the file's bytes. Ogg Vorbis is decoded while it
// plays. Flags: BASS_SAMPLE_LOOP, others are accepted.
HSTREAM BASS_StreamCreateFile(bool mem, const void* file, QWORD offset, QWORD length,
                              std::uint32_t flags);
bool BASS_StreamFree(HSTREAM handle);

// Channel calls take a channel of a sample or a stream.
// Plays, or resumes a paused or stopped channel where it is; restart plays from the
// start. Fails with BASS_ERROR_START when the output is paused and
// BASS_CONFIG_PAUSE_NOPLAY is on.
bool BASS_ChannelPlay(std::uint32_t handle, bool restart);
// Stops the channel. A sample's channel ends (its handle becomes invalid); a stream
// keeps its position.
bool BASS_ChannelStop(std::uint32_t handle);
// Pauses a playing channel (BASS_ERROR_NOPLAY when it is not playing); BASS_ChannelPlay
// resumes it.
bool BASS_ChannelPause(std::uint32_t handle);
// BASS_ACTIVE_ state; BASS_ACTIVE_STOPPED (with BASS_ERROR_HANDLE) for an invalid handle.
std::uint32_t BASS_ChannelIsActive(std::uint32_t handle);
// Sets the loop flag (BASS_SAMPLE_LOOP set: loops; clear: plays to the end and stops).
bool BASS_ChannelSetFlags(std::uint32_t handle, std::uint32_t flags);
// freq in Hz (0 = the sound's original rate, -1 = unchanged; clamped to 100..100000),
// volume 0..100 (-1 = unchanged), pan -100 (left) .. 100 (right) (-101 = unchanged);
// values beyond their range are clamped. Setting an attribute ends its slide.
bool BASS_ChannelSetAttributes(std::uint32_t handle, int freq, int volume, int pan);
// Any pointer may be null.
bool BASS_ChannelGetAttributes(std::uint32_t handle, std::uint32_t* freq, std::uint32_t* volume,
                               int* pan);
// Moves each given attribute (same markers and ranges as BASS_ChannelSetAttributes) in a
// straight line from its current value to the target over time milliseconds of the
// channel's playback; time 0 sets it at once.
bool BASS_ChannelSlideAttributes(std::uint32_t handle, int freq, int volume, int pan,
                                 std::uint32_t time);
// BASS_SLIDE_ bits of the attributes still sliding; 0 for an invalid handle.
std::uint32_t BASS_ChannelIsSliding(std::uint32_t handle);
// Bytes played from the start of the sound (wrapping when it loops).
QWORD BASS_ChannelGetPosition(std::uint32_t handle);
// Moves to a byte position (rounded down to a whole frame); beyond the end fails with
// BASS_ERROR_POSITION. A stopped stream starts from there at its next BASS_ChannelPlay.
bool BASS_ChannelSetPosition(std::uint32_t handle, QWORD pos);
// Bytes of the whole sound.
QWORD BASS_ChannelGetLength(std::uint32_t handle);
