#pragma once
// The game's music player: plays named parts of MIDI music resources, looped or once,
// under a master volume (hundredths of a decibel, -20000 silent) and a master tempo
// (1.0 normal). One instance lives in the sound system (Sound::GetDirectMusic).
//
// Inert until Init succeeds: before that (and when the music is switched off) every call
// returns at once and GetMasterVolume gives 0.
//
// Main thread only.
#include "dmusic/Result.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class MusicManager;

class DirectMusic
{
public:
    DirectMusic();
    ~DirectMusic();
    DirectMusic(const DirectMusic&) = delete;
    DirectMusic& operator=(const DirectMusic&) = delete;

    // Starts the music machinery on the audio device that `directSound` stands for.
    // On success the music is active with master volume -1000 and 0 is returned; a
    // negative result means no music for this run (the failure is logged).
    dmusic::Result Init(void* directSound, unsigned dsVersion);
    bool IsActive() const { return m_Active; }

    // Plays a part of a music resource. Asking for the segment and part that were last
    // started leaves the music undisturbed. A part the music's metadata does not describe
    // plays the whole segment from its start, with a warning. With `loop` the part repeats
    // until other music starts; without, the segment plays on from the part to its end.
    // The names are remembered only once the music has started, so a request that failed
    // is tried again when it is repeated.
    void PlayMidi(const std::string& segmentName, const std::string& partName, bool loop);
    void PlayMidiLooped(const std::string& segmentName, const std::string& partName);

    // Master volume in hundredths of a decibel (-20000 .. 2000; 0 full level).
    void SetMasterVolume(int volume);
    int GetMasterVolume() const;
    // Factor on the music's own tempo (1.5 plays in two thirds of the time).
    void SetMasterTempo(float tempo);
    // The factor set last (1 while the music is not active).
    float GetMasterTempo() const;

    // What PlayMidi last started (empty at first).
    const std::string& GetLastSegmentName() const MAKO_LIFETIMEBOUND { return m_LastSegment; }
    const std::string& GetLastPartName() const MAKO_LIFETIMEBOUND { return m_LastPart; }

    // The machinery; null until Init.
    MusicManager* GetMusicManager() const MAKO_LIFETIMEBOUND { return m_MusicManager.get(); }
    // How often the performance has signalled segment notifications.
    int GetNotificationCount() const { return m_Notifications.load(); }

    // Names the song last started when the performance held its events for room (once a
    // run, through DataReport), and logs what the synthesiser said since it was last asked.
    // PlayMidi does so before other music starts, and Sound::Quit before the player goes.
    void ReportPlaying();

private:
    std::unique_ptr<MusicManager> m_MusicManager;
    // The file and held-block count of the song last started.
    std::string m_PlayingFile;
    std::shared_ptr<std::atomic<std::int64_t>> m_PlayingHeld;
    std::atomic<int> m_Notifications{0};
    std::string m_LastSegment;
    std::string m_LastPart;
    bool m_Active = false;
};
