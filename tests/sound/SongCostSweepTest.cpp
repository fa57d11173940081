// Songs that promise huge or endless work, played through the game's music path (the
// resource loader, DirectMusic's parts, the performance rendered by the mix) for a bounded
// time: no rendered block sends the synthesiser more than the performance's share of
// messages, the music never runs faster than the fastest pace nor starts more notes at one
// instant than the bound, nothing reaches standard error (the synthesiser's own messages go
// to the log, once each), every song the bounds change is named once through the data
// report, and a song within them is not named at all.
#include "SoundFixture.h"

#include "core/DataReport.h"
#include "core/OutputCapture.h"
#include "dmusic/MusicTypes.h"
#include "dmusic/Performance.h"
#include "dmusic/SynthLog.h"
#include "platform/dmusic/SmfBuilder.h"
#include "sound/DirectMusic.h"
#include "sound/MusicManager.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"
#include "support/engine/LogCapture.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace bbtest;
using dmtest::SmfBuilder;
using dmtest::SmfTrack;

namespace {

// What the game must make of a song.
enum class Outcome {
    Plays,   // played as written, never named
    Bounded, // played within the bounds and named for it
    Refused, // not loaded: named as a file that cannot be loaded
    Either,  // refused or played, as the reader finds it; bounded work either way
};

struct Song
{
    std::string name;
    std::string bytes;
    Outcome outcome;
    std::string metadata;  // the song's metadata ("" none)
    std::string part = ""; // the part played (looped); "" plays the whole song
    std::string said = ""; // what its refusal says ("" for anything)
};

std::string NotesAt(std::uint32_t tick, int count, int division, std::uint32_t tempo)
{
    SmfBuilder smf(0, division);
    SmfTrack& t = smf.AddTrack().Tempo(0, tempo);
    for (int i = 0; i < count; ++i)
        t.NoteOn(tick, i % 16, 24 + i % 96);
    for (int i = 0; i < count; ++i)
        t.NoteOff(tick + std::uint32_t(division), i % 16, 24 + i % 96);
    t.End(tick + 2 * std::uint32_t(division));
    return smf.Bytes();
}

// A tune of `notes` notes one tick apart.
std::string Tune(int division, std::uint32_t tempo, int notes)
{
    SmfBuilder smf(0, division);
    SmfTrack& t = smf.AddTrack().Tempo(0, tempo);
    for (int i = 0; i < notes; ++i)
        t.NoteOn(2 * std::uint32_t(i), 0, 60 + i % 24)
            .NoteOff(2 * std::uint32_t(i) + 1, 0, 60 + i % 24);
    t.End(2 * std::uint32_t(notes));
    return smf.Bytes();
}

std::vector<Song> Songs()
{
    std::vector<Song> songs;
    const std::uint32_t kSlowest = 0xFFFFFF;
    // Pace: the tempo and the division at their extremes.
    songs.push_back({"Lanterns.mid", Tune(32767, 1, 100), Outcome::Bounded, ""});
    songs.push_back({"Lanterns16K.mid", Tune(32767, 1, 2000), Outcome::Bounded, ""});
    songs.push_back({"DivisionOneFastest.mid", Tune(1, 1, 100), Outcome::Bounded, ""});
    songs.push_back({"SlowestTempo.mid", Tune(32767, kSlowest, 100), Outcome::Plays, ""});
    songs.push_back({"DivisionOneSlowest.mid", Tune(1, kSlowest, 20), Outcome::Plays, ""});
    songs.push_back({"FastestPlayable.mid", Tune(96, dmusic::kMinMicrosecondsPerQuarter, 100),
                     Outcome::Plays, ""});
    songs.push_back({"DivisionZero.mid", Tune(0, 500000, 4), Outcome::Refused, ""});
    songs.push_back({"Smpte.mid", Tune(0xE728, 500000, 4), Outcome::Refused, ""});
    // Density: notes at one instant, from one track, from thousands, by running status.
    songs.push_back({"Chord20000.mid", NotesAt(0, 20000, 96, 500000), Outcome::Bounded, ""});
    songs.push_back({"ChordOfTheBound.mid", NotesAt(0, dmusic::kMaxNotesAtOnce, 96, 500000),
                     Outcome::Plays, ""});
    {
        SmfBuilder smf(1, 96);
        for (int i = 0; i < 4000; ++i)
            smf.AddTrack().NoteOn(0, i % 16, 30 + i % 64).NoteOff(96, i % 16, 30 + i % 64).End(96);
        songs.push_back({"Tracks4000.mid", smf.Bytes(), Outcome::Bounded, ""});
    }
    {
        SmfBuilder smf(1, 96);
        for (int i = 0; i < 65535; ++i)
            smf.AddTrack().End(0);
        songs.push_back({"Tracks65535.mid", smf.Bytes(), Outcome::Plays, ""});
    }
    {
        // One status byte, then 5000 note-ons and 5000 note-offs at the same tick by running
        // status: the note-offs alone are ten times the share of a block.
        std::string on = {'\x00', '\x90'}, off = {'\x00', '\x90'};
        for (int i = 0; i < 5000; ++i) {
            on += std::string{char(i % 128), '\x40'} + (i + 1 < 5000 ? std::string(1, '\0') : "");
            off += std::string{char(i % 128), '\x00'} + (i + 1 < 5000 ? std::string(1, '\0') : "");
        }
        SmfBuilder smf(0, 96);
        smf.AddTrack().Raw(on).Raw(std::string("\x60", 1) + off.substr(1)).End(200);
        songs.push_back({"RunningStatus.mid", smf.Bytes(), Outcome::Bounded, ""});
    }
    {
        // 200,000 controller changes at one tick, then a part after them: played whole, the
        // flood is due at once; the part starts after it, with a chase that covers it all.
        SmfBuilder smf(0, 96);
        SmfTrack& t = smf.AddTrack();
        std::string flood = {'\x00', '\xB0'};
        for (int i = 0; i < 200000; ++i)
            flood += std::string{char(i % 120), char(i % 128)} +
                     (i + 1 < 200000 ? std::string(1, '\0') : "");
        t.Raw(flood).NoteOn(384, 0, 60).NoteOff(500, 0, 60).End(3 * 384);
        songs.push_back({"ControllerFlood.mid", smf.Bytes(), Outcome::Bounded, ""});
        songs.push_back({"ControllerFloodPart.mid", smf.Bytes(), Outcome::Plays,
                         "{ parts = { Loop = {2, 1} } }", "Loop"});
    }
    // A drum kit the SoundFont lacks: the synthesiser warns, into the game's log.
    {
        SmfBuilder smf(0, 96);
        smf.AddTrack().Program(0, 9, 100).NoteOn(0, 9, 36).NoteOff(48, 9, 36).End(96);
        songs.push_back({"MissingKit.mid", smf.Bytes(), Outcome::Plays, ""});
        // Banks the SoundFont lacks on melodic channels: more distinct warnings than are kept.
        SmfBuilder banks(0, 96);
        SmfTrack& t = banks.AddTrack();
        for (int i = 0; i < 90; ++i) // channels 0 to 8 and 10 to 15, banks 1 to 6
            t.At(std::uint32_t(i), {0xB0 | (i % 15 + (i % 15 > 8)), 0, 1 + i / 15})
                .Program(std::uint32_t(i), i % 15 + (i % 15 > 8), i % 15);
        songs.push_back({"MissingBanks.mid", banks.Bytes(), Outcome::Plays, ""});
    }
    // Loops: a whole song one music unit long, restarting thousands of times a second.
    {
        SmfBuilder smf(0, int(dmusic::kMusicTimePerQuarter));
        smf.AddTrack().Tempo(0, dmusic::kMinMicrosecondsPerQuarter).NoteOn(0, 0, 60).End(1);
        songs.push_back({"EndlessLoop.mid", smf.Bytes(), Outcome::Bounded, ""});
    }
    // Time: huge delta times, within and past the playable range.
    {
        SmfBuilder smf(0, 96);
        SmfTrack& t = smf.AddTrack();
        for (std::uint32_t i = 1; i <= 8; ++i)
            t.NoteOn(i * 0x0FFFFFFFu, 0, 60);
        t.End(9 * 0x0FFFFFFFu);
        songs.push_back({"HugeDeltas.mid", smf.Bytes(), Outcome::Plays, ""});
        std::string past = {'\x00', '\x90', '\x3C', '\x40'};
        for (int i = 0; i < 5000; ++i)
            past += std::string("\xFF\xFF\xFF\x7F\x3C\x40", 6);
        SmfBuilder far(0, 96);
        far.AddTrack().Raw(past);
        songs.push_back({"PastThePlayableRange.mid", far.Bytes(), Outcome::Refused, ""});
    }
    // Size: past the events a song may hold (two bytes an event by running status).
    {
        std::string many = {'\x00', '\xC0', '\x00'};
        for (std::size_t i = 0; i < dmusic::kMaxSongEvents; ++i)
            many += std::string{'\x00', char(i % 128)};
        SmfBuilder smf(0, 96);
        smf.AddTrack().Raw(many);
        songs.push_back({"TooManyEvents.mid", smf.Bytes(), Outcome::Refused, "", "",
                         "DMUSIC_E_TOO_MANY_EVENTS"});
    }
    // Chunk lengths that lie: past the file, and short of the track's events.
    {
        std::string longer = Tune(96, 500000, 10);
        longer[18] = longer[19] = longer[20] = '\x7F';
        songs.push_back({"LengthPastTheFile.mid", longer, Outcome::Refused, ""});
        std::string shorter = Tune(96, 500000, 10);
        shorter[21] = char(shorter[21] - 7);
        songs.push_back({"LengthShortOfItsEvents.mid", shorter, Outcome::Either, ""});
    }
    return songs;
}

class SongCostSweep : public SoundFixture
{
protected:
    void SetUp() override
    {
        BB_REQUIRE_FILE(dmusic::Performance::kDefaultSoundFont, "General MIDI SoundFont");
        StartAudio(true);
        ASSERT_TRUE(Sound::IsMusicActive());
        m_Previous = DataReport::SetListener(
            [this](const DataIssue& issue) { m_Heard.push_back(issue.ToString()); });
        Performance()->SetEventListener([this](const dmusic::PerformedEvent& e) {
            ++m_Sent;
            // Notes started at one place of the song, one after the other.
            if (e.segmentTime != m_Instant) {
                m_Instant = e.segmentTime;
                m_NotesAtInstant = 0;
            }
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0)
                m_MostAtOnce = std::max(m_MostAtOnce, ++m_NotesAtInstant);
        });
    }
    void TearDown() override
    {
        if (Sound::IsMusicActive())
            Performance()->SetEventListener(nullptr);
        DataReport::SetListener(std::move(m_Previous));
    }

    dmusic::Performance* Performance() const
    {
        return Sound::GetDirectMusic()->GetMusicManager()->GetPerformance();
    }

    // What was heard naming `name`, one line each.
    std::vector<std::string> HeardOf(const std::string& name) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_Heard)
            if (line.find("\"" + name + "\"") != std::string::npos)
                lines.push_back(line);
        return lines;
    }

    DataReport::Listener m_Previous;
    std::vector<std::string> m_Heard;
    long long m_Sent = 0;
    dmusic::MusicTime m_Instant = -1;
    int m_NotesAtInstant = 0;
    int m_MostAtOnce = 0;
};

} // namespace

TEST_F(SongCostSweep, EverySongCostsBoundedWorkAndTheBoundedAreNamed)
{
    constexpr int kBlock = 1024;
    constexpr int kSeconds = 2;
    // The rule: a block sends what room there was (at most the burst), what the block's
    // frames add to it, and one release and chase run past it (a loop's restart).
    const long long most =
        dmusic::Performance::kEventBurst +
        std::llround(std::ceil(double(dmusic::Performance::kEventsPerSecond) * kBlock / 44100)) +
        dmusic::Performance::kMostReleaseMessages + dmusic::Performance::kMostChaseMessages;

    // The fastest pace: the music time a block may cover at master tempo 1.
    const double fastest = double(dmusic::kMusicTimePerQuarter) * 1e6 /
                           dmusic::kMinMicrosecondsPerQuarter * kBlock / 44100;

    const std::vector<Song> songs = Songs();
    AddResource("Quiet.mid", Tune(96, 500000, 4), "");
    LogCapture log;
    OutputCapture standardError(2);
    long long busiest = 0;
    for (const Song& song : songs) {
        SCOPED_TRACE(song.name);
        AddResource(song.name, song.bytes, song.metadata);
        m_Heard.clear();
        m_Instant = -1;
        m_MostAtOnce = 0;
        Sound::GetDirectMusic()->PlayMidi(song.name, song.part, true);
        for (int block = 0; block < kSeconds * 44100 / kBlock; ++block) {
            std::shared_ptr<dmusic::SegmentState> state = Performance()->GetSegmentState();
            const dmusic::MusicTime before = state ? state->GetPosition() : 0;
            m_Sent = 0;
            Render(kBlock);
            busiest = std::max(busiest, m_Sent);
            ASSERT_LE(m_Sent, most) << "block " << block;
            // Forward within the block (a loop's restart jumps back): never past the pace.
            const dmusic::MusicTime after = state ? state->GetPosition() : 0;
            if (after >= before) {
                ASSERT_LE(double(after - before), fastest + 1) << "block " << block;
            }
        }
        EXPECT_LE(m_MostAtOnce, dmusic::kMaxNotesAtOnce);
        // The song is left: what its playing came to is said now.
        Sound::GetDirectMusic()->PlayMidi("Quiet.mid", "", true);
        const std::vector<std::string> named = HeardOf(song.name);
        const bool refused = std::any_of(named.begin(), named.end(), [&](const std::string& l) {
            return l.find("could not be loaded") != std::string::npos &&
                   l.find(song.said) != std::string::npos;
        });
        switch (song.outcome) {
        case Outcome::Plays:
            EXPECT_TRUE(named.empty()) << named.front();
            break;
        case Outcome::Bounded:
            EXPECT_FALSE(named.empty());
            EXPECT_FALSE(refused);
            for (const std::string& line : named)
                EXPECT_EQ(std::count(named.begin(), named.end(), line), 1) << line;
            break;
        case Outcome::Refused:
            EXPECT_TRUE(refused);
            break;
        case Outcome::Either:
            break;
        }
    }
    DestroyResources();
    EXPECT_EQ(standardError.Text(), "");
    // What the synthesiser said is in the log, each message once, a bounded number of them.
    const std::string logged = log.Text();
    const std::string warned = "FluidSynth warning: Instrument not found on channel 9";
    EXPECT_NE(logged.find(warned), std::string::npos);
    EXPECT_EQ(logged.find(warned), logged.rfind(warned));
    std::size_t distinct = 0;
    for (std::size_t at = logged.find("FluidSynth "); at != std::string::npos;
         at = logged.find("FluidSynth ", at + 1))
        distinct += logged.compare(at, 16, "FluidSynth said ") != 0;
    EXPECT_LE(distinct, dmusic::kMaxDistinctSynthMessages);
    // The game only counts the performance's notifications (the endless loop gives
    // thousands): what waits untaken is the latest few.
    int waiting = 0;
    while (Performance()->GetNotification(nullptr))
        ++waiting;
    EXPECT_LE(waiting, 64);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    RecordProperty("BusiestBlock", std::to_string(busiest));
    RecordProperty("PeakKilobytes", std::to_string(usage.ru_maxrss));
}
