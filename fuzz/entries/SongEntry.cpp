// A song: read by the music layer's loader as the game reads a pack's songs, then, when it
// loads, played looped on a performance of its own for a bounded time. Whatever the file,
// no rendered block sends the synthesiser more messages than the performance's share, the
// music never covers more than the fastest pace allows, and no more notes start at one
// instant than the bound.
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "FuzzSeeds.h"

#include "dmusic/Loader.h"
#include "dmusic/Performance.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace fuzz {

namespace {

constexpr int kRate = 22050;
constexpr int kBlock = 512;
constexpr int kBlocks = 16;

// The performance every input plays on, started once per process; null without the
// SoundFont (the songs are then only read).
dmusic::Performance* SharedPerformance()
{
    static std::unique_ptr<dmusic::Performance> performance;
    static bool tried = false;
    if (!tried) {
        tried = true;
        struct stat info;
        if (::stat(dmusic::Performance::kDefaultSoundFont, &info) == 0) {
            performance = std::make_unique<dmusic::Performance>();
            if (dmusic::Failed(performance->Init(kRate)))
                performance.reset();
        }
    }
    return performance.get();
}

// What the listener saw in one block.
struct Seen
{
    long sent = 0;
    dmusic::MusicTime instant = -1;
    int atInstant = 0;
    int mostAtOnce = 0;
};

} // namespace

void RunSong(const uint8_t* data, size_t size)
{
    dmusic::Loader loader;
    std::shared_ptr<dmusic::Segment> segment;
    if (dmusic::Failed(loader.LoadSegment(data, size, &segment)))
        return;
    dmusic::Performance* performance = SharedPerformance();
    if (!performance)
        return;
    segment->SetRepeats(dmusic::REPEAT_INFINITE);
    Seen seen;
    performance->SetEventListener([&seen](const dmusic::PerformedEvent& e) {
        ++seen.sent;
        if (e.segmentTime != seen.instant) {
            seen.instant = e.segmentTime;
            seen.atInstant = 0;
        }
        if ((e.status & 0xF0) == 0x90 && e.data2 > 0)
            seen.mostAtOnce = std::max(seen.mostAtOnce, ++seen.atInstant);
    });
    segment->Download(*performance);
    performance->PlaySegment(*segment, dmusic::SEGF_DEFAULT);
    using P = dmusic::Performance;
    const long most = P::kEventBurst +
                      long(std::ceil(double(P::kEventsPerSecond) * kBlock / kRate)) +
                      P::kMostReleaseMessages + P::kMostChaseMessages;
    const double fastest = double(dmusic::kMusicTimePerQuarter) * 1e6 /
                           dmusic::kMinMicrosecondsPerQuarter * kBlock / kRate;
    std::vector<float> out(2 * kBlock);
    for (int block = 0; block < kBlocks; ++block) {
        std::shared_ptr<dmusic::SegmentState> state = performance->GetSegmentState();
        const dmusic::MusicTime before = state ? state->GetPosition() : 0;
        seen.sent = 0;
        performance->Render(out.data(), kBlock);
        const dmusic::MusicTime after = state ? state->GetPosition() : 0;
        if (seen.sent > most)
            Fail("a block sent " + std::to_string(seen.sent) + " messages, more than " +
                 std::to_string(most));
        if (after >= before && double(after - before) > fastest + 1)
            Fail("a block covered " + std::to_string(after - before) +
                 " units of music time, past the fastest pace");
    }
    if (seen.mostAtOnce > dmusic::kMaxNotesAtOnce)
        Fail(std::to_string(seen.mostAtOnce) + " notes started at one instant");
    performance->Stop();
    performance->SetEventListener(nullptr);
    segment->Unload(*performance);
}

std::vector<Seed> SongSeeds(const std::string& packFolder)
{
    std::vector<Seed> seeds;
    // A tune at one microsecond a quarter note, 32767 ticks a quarter note: 833 bytes.
    std::string track = {'\x00', '\xFF', '\x51', '\x03', '\x00', '\x00', '\x01'};
    for (int i = 0; i < 100; ++i) {
        const char key = char(48 + i % 36);
        track += {'\x01', '\x90', key, '\x64', '\x01', '\x80', key, '\x00'};
    }
    track += {'\x01', '\xFF', '\x2F', '\x00'};
    const std::size_t length = track.size();
    std::string song = {'M',
                        'T',
                        'h',
                        'd',
                        0,
                        0,
                        0,
                        6,
                        0,
                        0,
                        0,
                        1,
                        '\x7F',
                        '\xFF',
                        'M',
                        'T',
                        'r',
                        'k',
                        0,
                        0,
                        char(length >> 8),
                        char(length & 0xFF)};
    seeds.push_back({"endless-pace.mid", song + track});
    if (!packFolder.empty())
        for (const char* name : {"Theme.mid", "Lanterns.mid", "Andes.mid"})
            seeds.push_back(
                {std::string("pack-") + name, ReadScratchFile(packFolder + "/Music/" + name)});
    return seeds;
}

} // namespace fuzz
