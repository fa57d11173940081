#pragma once
// The music machinery under DirectMusic: the loader that turns music files into segments
// and the performance that plays them. The performance renders through the General MIDI
// synthesiser and is mixed into the audio layer's output (the music source of the mix)
// from a successful Initialize until the manager is destroyed.
//
// Owned by DirectMusic; main thread only (the audio thread only renders the performance).
#include "dmusic/Loader.h"
#include "dmusic/Performance.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class MusicSegment;

// Names a song the music layer's bounds changed through DataReport::WarnOfPack, each kind
// of bound once a run: what its reading changed (dmusic::MidiFile::Bounded) and, when
// `heldBlocks` is nonzero, that it was too dense to play at its pace. The game and the level
// check say the same. Main thread.
void NameBoundedSong(const std::string& name, const std::string& readingChanged,
                     std::int64_t heldBlocks);

// Writes what the synthesiser said since the last call into the log: each distinct message
// the first time (level 1 for its errors and warnings, 4, tracing, for its chatter), and how many
// more times a message was said. Main thread.
void LogSynthMessages();

class MusicManager
{
public:
    // Logs "MusicManager: Construct".
    MusicManager();
    // Takes the performance out of the mix first, then stops it and closes it down.
    ~MusicManager();
    MusicManager(const MusicManager&) = delete;
    MusicManager& operator=(const MusicManager&) = delete;

    // Creates the loader and the performance, starts the synthesiser at the mix's rate and
    // hooks the performance into the audio output. `window` and `maxChannels` are kept for
    // the caller's sake and not used; `useDirectSound` 1 means: play on the audio device
    // that `directSound` stands for (the only device there is). Returns a negative result
    // on failure (logged at level 1), leaving nothing hooked into the mix.
    dmusic::Result Initialize(void* window, int maxChannels, int useDirectSound, void* directSound,
                              unsigned dsVersion);

    // Makes a segment from a music file held in memory (the bytes are read, not kept).
    // On success *segment receives the new MusicSegment, owned by the caller; with
    // `download` it is also made ready to play. Failures are logged at level 1 and
    // returned; *segment is then untouched. A song the music layer's bounds change as it is
    // read (a tempo past the fastest, notes past those one instant may start) is named
    // through DataReport (NameBoundedSong).
    dmusic::Result LoadSegment(const std::string& name, const void* data, std::size_t size,
                               bool download, bool isMidi, MusicSegment** segment);

    // The performance; null before a successful Initialize.
    dmusic::Performance* GetPerformance() const { return m_pPerformance.get(); }
    bool IsInitialized() const { return m_Initialized; }

private:
    dmusic::Result FailInitialize(const char* format, dmusic::Result result);

    std::unique_ptr<dmusic::Loader> m_Loader;
    // Shared with the segments, which may outlive the manager (the resource manager frees
    // them later); they hold it weakly and skip unloading once it is gone.
    std::shared_ptr<dmusic::Performance> m_pPerformance;
    unsigned m_DSVersion = 0;
    bool m_Initialized = false;
    bool m_InMix = false;
};
