#include "SongCheck.h"

#include "bass/MixerSource.h"
#include "core/StopSignal.h"
#include "dmusic/Performance.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "sound/DirectMusic.h"
#include "sound/MusicManager.h"
#include "sound/MusicSegment.h"
#include "sound/Sound.h"

#include <vector>

namespace levelcheck {
namespace {

// The synthesiser's slowest rate: the sequencer's bounds count in seconds, not frames, so
// they hold alike at any rate, and a second costs least here.
constexpr int kRate = 8000;
constexpr int kBlock = 512;
// Music played of each song at most, in seconds: every shipped song's parts begin well
// within it, and a song too dense to play shows it within its first seconds.
constexpr int kSecondsPerSong = 12;

void PlaySong(dmusic::Performance& performance, MusicSegment& song)
{
    dmusic::Segment* segment = song.GetSegmentObject();
    if (!segment)
        return;
    segment->SetStartPoint(0);
    segment->SetLoopPoints(0, 0);
    segment->SetRepeats(dmusic::REPEAT_INFINITE);
    if (dmusic::Failed(segment->Download(performance)) ||
        dmusic::Failed(performance.PlaySegment(*segment, dmusic::SEGF_DEFAULT)))
        return;
    const std::int64_t heldBefore = segment->GetHeldBlocks();
    std::vector<float> out(2 * kBlock);
    for (int frames = 0; frames < kSecondsPerSong * kRate && !StopSignal::IsRequested();
         frames += kBlock)
        performance.Render(out.data(), kBlock, kRate);
    performance.Stop();
    segment->Unload(performance);
    NameBoundedSong(song.GetName(), std::string(), segment->GetHeldBlocks() - heldBefore);
}

} // namespace

void CheckSongs()
{
    ResourceManager* resources = GetResourceManager();
    if (!resources || !Sound::IsMusicActive())
        return;
    // The game's own performance, with the SoundFont it loaded (loaded once): taken out of
    // the mix, which no one hears here, so that only this pass renders it, at its rate.
    dmusic::Performance* played = Sound::GetDirectMusic()->GetMusicManager()->GetPerformance();
    if (!played)
        return;
    bassx::SetMusicSource(nullptr, nullptr);
    dmusic::Performance& performance = *played;
    for (const char* suffix : {".mid", ".sgt", ".sty", ".dls"})
        for (const std::string& name : resources->FindNamesEndingWith(suffix)) {
            if (StopSignal::IsRequested())
                break;
            MusicSegment* song = nullptr;
            try {
                song = static_cast<MusicSegment*>(resources->AcquireOfKind(name, RESOURCE_MUSIC));
            } catch (const std::exception&) {
                continue; // a damaged song, or not a song: named as the game names it
            }
            if (song)
                PlaySong(performance, *song);
        }
    LogSynthMessages();
}

} // namespace levelcheck
