#pragma once
// The sound system: Sound is at once the resource holding one loaded sound file (a sample
// of the audio layer, decoded whole and played on any number of channels, or a stream,
// decoded while it plays on its one channel) and the holder of the static audio functions
// the whole engine calls: opening and closing the audio device, the two pause layers,
// the global music and effect volumes, playing and steering sounds by resource name, and
// control of single playing channels by handle. It also starts the music player
// (DirectMusic) and keeps its master volume in step with the music volume and with
// application pauses.
//
// Audio is inactive until Init opens a device (and stays inactive with no real device or
// when sound is switched off); while it is inactive the by-name functions return at once,
// the loaders refuse sound and music files, and GetSound fails its assertion.
//
// Main thread only; the audio layer mixes on its own thread.
#include "bass/bass.h"
#include "resources/Resource.h"

#include <cstdint>
#include <functional>
#include <string>

class DirectMusic;
class SoundConfigHelper;

class Sound : public Resource
{
public:
    // Volume and pan values that leave the channel's own setting unchanged.
    static constexpr int kVolumeUnset = -1;
    static constexpr int kPanUnset = -101;

    // A sound of that resource name holding nothing yet; the loader gives it its sample
    // or stream. Reads the repeat window from the configuration key
    // "soundDoNotPlayAgainRange" (1000 bytes when it holds no number).
    explicit Sound(const std::string& name);
    // Frees the sample or stream and takes the bytes counted for it off the "Sound" total.
    ~Sound() override;

    // Bytes of decoded sound: a stream's length; a sample's length, doubled unless the
    // sample is 8-bit.
    int CalcMemoryUsage() override;

    // Used by the loader. The sound takes ownership of the handle.
    void SetSample(HSAMPLE sample) { m_Sample = sample; }
    void SetStream(HSTREAM stream) { m_Stream = stream; }
    // Stores the pan used from the next play on (-100 left .. 100 right; kPanUnset).
    void SetPanValue(int pan) { m_Pan = pan; }
    // Adds the sound's bytes to the "Sound" memory total; the destructor takes the same
    // amount off again.
    void CountMemoryUsage();
    // Holds what the sound keeps decoded against the budget of what the game holds decoded
    // (MemoryBudget) until it goes: a sample's samples, a stream's when decodedWhole (a WAV
    // stream); an Ogg stream decodes as it plays and holds none.
    void HoldDecodedBytes(bool decodedWhole);
    // The bytes held decoded, while no channel of the sound plays.
    long long ReleasableBytes() override;

    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }
    HSAMPLE GetSample() const { return m_Sample; }
    HSTREAM GetStream() const { return m_Stream; }
    // The channel of the sample's latest play; 0 before the first and for a stream.
    HCHANNEL GetChannel() const { return m_Channel; }
    int GetVolume() const { return m_Volume; }
    int GetPan() const { return m_Pan; }
    float GetDoNotPlayAgainRange() const { return m_DoNotPlayAgainRange; }

    // Plays the sound and returns its channel handle, 0 when nothing started.
    // A stream resumes where it is (rewound first when it had stopped), looping exactly
    // when `loop` is set; it does not play while the music volume is 0, and its failures
    // throw SoundControlException. A sample starts a new channel with the sound's volume
    // and pan, unless its latest channel is still within the first repeat-window bytes of
    // its playback (then that channel's handle is returned and nothing starts); it does not
    // play while the effects volume is 0, and its failures are logged and give 0.
    std::uint32_t PlaySound(bool loop);
    // Stops the stream, or every channel of the sample. Failure: SoundControlException.
    void StopSound();
    // Stores the volume (0..100) for every new channel; a sample's latest channel takes
    // it at once.
    void SetVolume(int volume);
    // Stores the volume and slides the sample's latest channel to it over `milliseconds`.
    void SlideVolume(int volume, unsigned milliseconds);
    // Pans the sample's latest channel now; the stored pan is unchanged.
    void PanChannel(int pan);
    // Whether the sample's latest channel is playing; false for a stream.
    bool IsPlaying();

    // --- Device and lifetime -------------------------------------------------------
    // Opens the first audio device that works (the caller passes the application's
    // `enableSound` property: false after --nosound). Logs the device list, the device
    // opened and its description; the sound library's own messages go to the log too,
    // never to standard error. With no real device, with sound switched off, or when
    // no device opens, audio stays inactive and the game runs silently.
    static void Init(bool enableSound);
    // Starts the music player on the open device when audio is active and `enableMusic`
    // (the application's property: false after --nomusic) is set; the music starts at
    // the configured music volume. Failures leave the music inactive and are logged.
    static void InitDirectMusic(bool enableMusic);
    // Stops and frees the music, then closes the audio device.
    static void Quit();
    static bool IsActive();
    static bool IsMusicActive();
    // The music player, never null: until InitDirectMusic starts it (and after Quit) it
    // is inactive and every music call returns at once.
    static DirectMusic* GetDirectMusic();

    // How Init reaches the audio devices. The default describes and opens the audio
    // layer's devices; a test sets its own to stand for other machines (open may call
    // BASS_Init itself, for instance offline). SetDeviceAccess(nullptr) restores the
    // default.
    struct DeviceAccess
    {
        std::function<const char*(int device)> describe;
        std::function<bool(int device, std::uint32_t freq, std::uint32_t flags)> open;
    };
    static void SetDeviceAccess(const DeviceAccess* access);

    // Told of every sound played by name while audio is active, after the play: the
    // name, the channel handle (0 when nothing started) and the volume and pan it plays
    // with (kVolumeUnset / kPanUnset when the sound has none of its own). It lets a test
    // record what the game plays; an empty listener removes it.
    using PlayListener =
        std::function<void(const std::string& name, std::uint32_t channel, int volume, int pan)>;
    static void SetPlayListener(PlayListener listener);

    // --- Pausing -------------------------------------------------------------------
    // The game pause (the game screen pauses play) and the application pause (the window
    // lost the focus) are independent: output runs only while neither is in force. The
    // application pause also silences the music and restores its volume afterwards.
    static void Pause();
    static void Resume();
    static void PauseApp();
    static void ResumeApp();
    static bool IsGamePaused();
    static bool IsAppPaused();

    // --- Global volumes (0..100) -----------------------------------------------------
    // The music volume governs every stream and the music; the effects volume every
    // sample. Values above 100 fail the assertion "volume <= 100".
    static unsigned GetMusicVolume();
    static void SetMusicVolume(unsigned volume);
    static void SetSFXVolume(unsigned volume);
    // The music master volume (hundredths of a decibel) for a music volume: 0 is silence
    // (-20000), else volume × 22 − 2000.
    static int MusicMasterVolume(unsigned volume);

    // --- By resource name (nothing while audio is inactive) ---------------------------
    // The Sound resource of that name, loaded on first use. Requires active audio; a
    // missing or damaged sound raises its resource error.
    static Sound* GetSound(const std::string& name);
    // The functions below never raise for a sound that is missing or cannot be loaded: it
    // is logged once by name (by the resource manager, or "Warning: the sound "x.ogg" is
    // not among the resources; the game plays without it") and is silent from then on. Stopping,
    // panning and asking whether it plays never load a sound. 0 while audio is inactive or for an
    // empty name.
    static std::uint32_t PlaySound(const std::string& name, bool loop);
    static std::uint32_t PlaySound(const char* name, bool loop = false);
    static void StopSound(const std::string& name);
    static void SetVolume(const std::string& name, int volume);
    static void SlideVolume(const std::string& name, int volume, unsigned milliseconds);
    // Stores the pan used from the sound's next play on.
    static void SetPan(const std::string& name, int pan);
    static void PanChannel(const std::string& name, int pan);
    static bool IsPlaying(const std::string& name);

    // --- By channel handle (handles from PlaySound) -----------------------------------
    // Handle 0 does nothing; a handle whose channel has ended is ignored; any other
    // failure throws SoundControlException.
    static void StopChannel(std::uint32_t handle);
    // Hz; 0 for handle 0 or an ended channel.
    static std::uint32_t GetChannelFrequency(std::uint32_t handle);
    static void SetChannelPan(std::uint32_t handle, int pan);
    static void SetChannelVolume(std::uint32_t handle, int volume);
    static void SetChannelFrequency(std::uint32_t handle, int frequency);

private:
    // The sound of that name (loaded first when load is true, else only when it is loaded
    // already); null for a sound that is missing or cannot be loaded, logged once.
    static Sound* FindSound(const std::string& name, bool load);

    std::uint32_t PlayStream(bool loop);
    std::uint32_t PlaySample(bool loop);
    bool IsRepeatTooSoon();

    HSAMPLE m_Sample = 0;
    HCHANNEL m_Channel = 0;
    HSTREAM m_Stream = 0;
    std::string m_Name;
    int m_Volume = kVolumeUnset;
    int m_Pan = kPanUnset;
    float m_DoNotPlayAgainRange = 1000.0f;
    int m_CountedBytes = 0;       // added to the "Sound" total; taken off at destruction
    long long m_DecodedBytes = 0; // held against the budget; given back at destruction
};
