// Playing segments on a performance, rendered offline: timing of parts, loops and repeats,
// tempo map and master tempo, master volume, note release, and use from two threads.
#include "SmfBuilder.h"

#include "dmusic/Loader.h"
#include "dmusic/Performance.h"
#include "support/RequiredFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace dmusic;
using dmtest::SmfBuilder;
using dmtest::SmfTrack;

namespace {

constexpr int kRate = 22050;
constexpr int kTpq = 96;
constexpr std::uint32_t kMeasure = 4 * kTpq;          // ticks in a 4/4 measure
constexpr std::int64_t kFramesPerMeasure = 2 * kRate; // at 120 quarters a minute

// `measures` measures at 120 quarters a minute; measure m (from 0) plays key 60 + m on
// channel 0 for half a measure. Channel 0 is set up at the start with program 40 and
// volume 90.
std::string MeasureFile(int measures)
{
    SmfBuilder smf(1, kTpq);
    smf.AddTrack().Tempo(0, 500000).TimeSignature(0, 4, 2).End(measures * kMeasure);
    SmfTrack& t = smf.AddTrack();
    t.Program(0, 0, 40).At(0, {0xB0, 7, 90});
    for (int m = 0; m < measures; ++m) {
        t.NoteOn(m * kMeasure, 0, 60 + m).NoteOff(m * kMeasure + kMeasure / 2, 0, 60 + m);
    }
    t.End(measures * kMeasure);
    return smf.Bytes();
}

std::shared_ptr<Segment> Load(const std::string& bytes)
{
    Loader loader;
    std::shared_ptr<Segment> s;
    EXPECT_EQ(loader.LoadSegment(bytes.data(), bytes.size(), &s), RESULT_OK)
        << loader.GetLastError();
    return s;
}

double Rms(const std::vector<float>& v, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    to = std::min(to, v.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        sum += double(v[i]) * v[i];
    }
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

bool IsNoteOn(const PerformedEvent& e)
{
    return (e.status & 0xF0) == 0x90 && e.data2 > 0;
}

class PerformanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        BB_REQUIRE_FILE(Performance::kDefaultSoundFont, "General MIDI SoundFont");
        ASSERT_EQ(m_Perf.Init(kRate), RESULT_OK);
        m_Perf.SetEventListener([this](const PerformedEvent& e) { m_Log.push_back(e); });
        m_Perf.AddNotificationType(NotificationType::Segment);
    }

    void Play(Segment& s)
    {
        ASSERT_EQ(s.Download(m_Perf), RESULT_OK);
        ASSERT_EQ(m_Perf.PlaySegment(s, SEGF_DEFAULT, &m_State), RESULT_OK);
    }

    // Renders `seconds` the way the audio output does: in callbacks of 1000 frames.
    void RenderSeconds(double seconds, int rate = kRate)
    {
        std::vector<float> buffer(2000);
        for (auto left = std::int64_t(seconds * rate); left > 0; left -= 1000) {
            RenderInto(buffer.data(), int(std::min<std::int64_t>(left, 1000)), rate, &m_Perf);
        }
    }

    std::vector<PerformedEvent> NoteOns() const
    {
        std::vector<PerformedEvent> out;
        for (const PerformedEvent& e : m_Log) {
            if (IsNoteOn(e)) {
                out.push_back(e);
            }
        }
        return out;
    }

    std::vector<Notification> Notifications()
    {
        std::vector<Notification> out;
        Notification n;
        while (m_Perf.GetNotification(&n)) {
            out.push_back(n);
        }
        return out;
    }

    std::vector<PerformedEvent> m_Log; // outlives the performance, which logs as it closes
    Performance m_Perf;
    std::shared_ptr<SegmentState> m_State;
};

} // namespace

TEST_F(PerformanceTest, PartStartsAtItsFirstMeasureAndLoopsOverItsRange)
{
    auto s = Load(MeasureFile(10));
    // The part {5, 4}: measures 5 to 8.
    ASSERT_EQ(s->SetStartPoint(12288), RESULT_OK);
    ASSERT_EQ(s->SetLoopPoints(12288, 24576), RESULT_OK);
    ASSERT_EQ(s->SetRepeats(REPEAT_INFINITE), RESULT_OK);
    Play(*s);
    RenderSeconds(20.5);

    std::vector<PerformedEvent> notes = NoteOns();
    const int keys[] = {64, 65, 66, 67, 64, 65, 66, 67, 64, 65, 66};
    ASSERT_EQ(notes.size(), std::size(keys));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].data1, keys[i]) << i;
        EXPECT_NEAR(double(notes[i].frame), double(i * kFramesPerMeasure), 1.0) << i;
        EXPECT_EQ(notes[i].segmentTime, 12288 + (i % 4) * 3072) << i;
    }
    // The channel set-up before the start point reached the synthesiser before the first
    // note, and again at every loop restart.
    int programs = 0;
    for (const PerformedEvent& e : m_Log) {
        if (e.status == 0xC0 && e.data1 == 40) {
            ++programs;
        }
    }
    EXPECT_EQ(programs, 3);

    std::vector<Notification> n = Notifications();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[0].what, SegmentNotification::Start);
    EXPECT_EQ(n[1].what, SegmentNotification::Loop);
    EXPECT_NEAR(double(n[1].referenceTime), 8e7, 1e3);
    EXPECT_EQ(n[2].what, SegmentNotification::Loop);
    EXPECT_NEAR(double(n[2].referenceTime), 16e7, 1e3);
    EXPECT_TRUE(m_State->IsPlaying());
    EXPECT_EQ(m_State->GetRepeatsLeft(), REPEAT_INFINITE);
    EXPECT_EQ(m_Perf.IsPlaying(s.get(), nullptr), RESULT_OK);
}

TEST_F(PerformanceTest, FiniteRepeatsPlayTheLoopAgainThenGoOnToTheEnd)
{
    auto s = Load(MeasureFile(3));
    ASSERT_EQ(s->SetLoopPoints(0, 3072), RESULT_OK);
    ASSERT_EQ(s->SetRepeats(2), RESULT_OK);
    Play(*s);
    RenderSeconds(11);

    std::vector<PerformedEvent> notes = NoteOns();
    const int keys[] = {60, 60, 60, 61, 62};
    ASSERT_EQ(notes.size(), std::size(keys));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].data1, keys[i]) << i;
    }
    std::vector<Notification> n = Notifications();
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[3].what, SegmentNotification::End);
    EXPECT_NEAR(double(n[3].referenceTime), 10e7, 1e3);
    EXPECT_FALSE(m_State->IsPlaying());
    EXPECT_EQ(m_State->GetRepeatsLeft(), 0);
    EXPECT_EQ(m_Perf.IsPlaying(nullptr, nullptr), RESULT_FALSE);
    EXPECT_EQ(m_Perf.GetSegmentState(), nullptr);
}

TEST_F(PerformanceTest, MasterTempoOneAndAHalfPlaysInTwoThirdsOfTheTime)
{
    auto s = Load(MeasureFile(2));
    ASSERT_EQ(m_Perf.SetMasterTempo(1.5f), RESULT_OK);
    Play(*s);
    RenderSeconds(3);

    std::vector<PerformedEvent> notes = NoteOns();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NEAR(double(notes[1].frame), kFramesPerMeasure / 1.5, 1.0);
    std::vector<Notification> n = Notifications();
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[1].what, SegmentNotification::End);
    EXPECT_NEAR(double(n[1].referenceTime), 4e7 / 1.5, 1e3);
    MusicTime now = 0;
    ASSERT_EQ(m_Perf.GetTime(nullptr, &now), RESULT_OK);
    EXPECT_NEAR(double(now), 3.0 * 1536 * 1.5, 1.0);
}

TEST_F(PerformanceTest, FollowsTheFilesTempoMapAcrossARateChange)
{
    // 120, then 60 from the second measure, then 240 from the third.
    SmfBuilder smf(0, kTpq);
    SmfTrack& t = smf.AddTrack();
    t.Tempo(0, 500000).NoteOn(0, 0, 60).NoteOff(10, 0, 60);
    t.Tempo(kMeasure, 1000000).NoteOn(kMeasure, 0, 61).NoteOff(kMeasure + 10, 0, 61);
    t.Tempo(2 * kMeasure, 250000).NoteOn(2 * kMeasure, 0, 62).NoteOff(2 * kMeasure + 10, 0, 62);
    t.NoteOn(3 * kMeasure, 0, 63).End(4 * kMeasure);
    auto s = Load(smf.Bytes());
    Play(*s);
    RenderSeconds(3);
    RenderSeconds(4.5, 2 * kRate); // the output now asks for twice the rate

    std::vector<PerformedEvent> notes = NoteOns();
    ASSERT_EQ(notes.size(), 4u);
    const double seconds[] = {0, 2, 6, 7};
    for (int i = 0; i < 4; ++i) {
        double frame =
            seconds[i] <= 3 ? seconds[i] * kRate : 3 * kRate + (seconds[i] - 3) * 2 * kRate;
        EXPECT_NEAR(double(notes[i].frame), frame, 2.0) << i;
    }
    ReferenceTime ref = 0;
    ASSERT_EQ(m_Perf.GetTime(&ref, nullptr), RESULT_OK);
    EXPECT_NEAR(double(ref), 7.5e7, 1e3);
    EXPECT_EQ(m_Perf.GetSampleRate(), 2 * kRate);
}

TEST_F(PerformanceTest, MasterVolumeScalesTheOutputAndSilencesItAtTheBottom)
{
    auto s = Load(MeasureFile(4));
    Play(*s);
    std::vector<float> full = m_Perf.RenderFrames(kRate / 2);
    ASSERT_GT(Rms(full), 1e-3);

    Performance quieter;
    ASSERT_EQ(quieter.Init(kRate), RESULT_OK);
    ASSERT_EQ(quieter.SetMasterVolume(-1000), RESULT_OK);
    ASSERT_EQ(s->Download(quieter), RESULT_OK);
    ASSERT_EQ(quieter.PlaySegment(*s, 0), RESULT_OK);
    std::vector<float> reduced = quieter.RenderFrames(kRate / 2);
    EXPECT_NEAR(Rms(reduced) / Rms(full), std::pow(10.0, -0.5), 1e-3);

    ASSERT_EQ(quieter.SetMasterVolume(-20000), RESULT_OK);
    std::vector<float> silent = quieter.RenderFrames(kRate);
    EXPECT_EQ(Rms(silent), 0.0);
    std::int32_t volume = 0;
    ASSERT_EQ(quieter.GetMasterVolume(&volume), RESULT_OK);
    EXPECT_EQ(volume, -20000);
    // The music ran on while silent: the second measure's note sounds when turned up.
    EXPECT_EQ(quieter.GetSegmentState()->GetPosition(), 2304);
    ASSERT_EQ(quieter.SetMasterVolume(0), RESULT_OK);
    EXPECT_GT(Rms(quieter.RenderFrames(kRate)), 1e-3);

    EXPECT_EQ(quieter.SetMasterVolume(-20001), ERR_INVALID_ARG);
    EXPECT_EQ(quieter.SetMasterTempo(0.0f), ERR_INVALID_ARG);
    EXPECT_EQ(quieter.SetMasterTempo(std::nanf("")), ERR_INVALID_ARG);
}

TEST_F(PerformanceTest, NoNoteHangsAcrossLoopRestartsOrAfterStop)
{
    // A note held past the loop end under a held sustain pedal.
    SmfBuilder smf(0, kTpq);
    smf.AddTrack()
        .At(0, {0xB0, 64, 127})
        .NoteOn(0, 0, 60)
        .NoteOn(kMeasure / 2, 0, 67)
        .NoteOff(2 * kMeasure - 1, 0, 60)
        .NoteOff(2 * kMeasure - 1, 0, 67)
        .End(2 * kMeasure);
    auto s = Load(smf.Bytes());
    ASSERT_EQ(s->SetLoopPoints(0, 3072), RESULT_OK);
    ASSERT_EQ(s->SetRepeats(REPEAT_INFINITE), RESULT_OK);
    Play(*s);
    RenderSeconds(1.9);
    const int voicesInOnePass = m_Perf.GetActiveVoiceCount();
    ASSERT_GT(voicesInOnePass, 0);
    RenderSeconds(10);
    EXPECT_LE(m_Perf.GetActiveVoiceCount(), 2 * voicesInOnePass);

    // Every note-on finds its key released (pedal first) since the one before.
    bool down[128] = {};
    bool pedal = false;
    for (const PerformedEvent& e : m_Log) {
        if (e.status == 0xB0 && e.data1 == 64) {
            pedal = e.data2 >= 64;
        } else if ((e.status & 0xF0) == 0x80 || (e.status == 0x90 && e.data2 == 0)) {
            down[e.data1] = pedal; // a pedal still down keeps the note sounding
        } else if (IsNoteOn(e)) {
            EXPECT_FALSE(down[e.data1]) << "key " << int(e.data1) << " at frame " << e.frame;
            down[e.data1] = true;
        }
    }
    EXPECT_EQ(NoteOns().size(), 12u);

    ASSERT_EQ(m_Perf.Stop(), RESULT_OK);
    EXPECT_FALSE(m_State->IsPlaying());
    RenderSeconds(4);
    EXPECT_EQ(m_Perf.GetActiveVoiceCount(), 0);
    EXPECT_LT(Rms(m_Perf.RenderFrames(kRate / 2)), 1e-4);
}

TEST_F(PerformanceTest, ANewSegmentReplacesThePlayingOneAndReleasesItsNotes)
{
    auto a = Load(MeasureFile(4));
    auto b = Load(MeasureFile(2));
    Play(*a);
    RenderSeconds(0.5);
    std::shared_ptr<SegmentState> first = m_State;
    Play(*b);
    EXPECT_FALSE(first->IsPlaying());
    EXPECT_EQ(m_Perf.IsPlaying(a.get(), nullptr), RESULT_FALSE);
    EXPECT_EQ(m_Perf.IsPlaying(b.get(), m_State.get()), RESULT_OK);
    // Stopping something else leaves it playing.
    EXPECT_EQ(m_Perf.Stop(a.get()), RESULT_OK);
    EXPECT_EQ(m_Perf.Stop(nullptr, first.get()), RESULT_OK);
    EXPECT_TRUE(m_State->IsPlaying());

    bool released = false;
    for (const PerformedEvent& e : m_Log) {
        released = released || (e.status == 0x80 && e.data1 == 60 && e.frame == kRate / 2);
    }
    EXPECT_TRUE(released);
    std::vector<Notification> n = Notifications();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[1].what, SegmentNotification::Abort);
    EXPECT_EQ(n[1].segmentId, a->GetId());
    EXPECT_EQ(n[2].what, SegmentNotification::Start);
    EXPECT_EQ(n[2].segmentId, b->GetId());
}

TEST_F(PerformanceTest, RefusesToPlayWhatIsNotReady)
{
    auto s = Load(MeasureFile(2));
    Performance idle;
    EXPECT_EQ(idle.PlaySegment(*s, 0), ERR_NOT_INITIALIZED);
    EXPECT_EQ(s->Download(idle), ERR_NOT_INITIALIZED);
    EXPECT_EQ(idle.SetMasterVolume(0), ERR_NOT_INITIALIZED);
    std::vector<float> buffer(200, 0.25f);
    RenderInto(buffer.data(), 100, kRate, &idle);
    EXPECT_EQ(buffer, std::vector<float>(200, 0.25f));
    EXPECT_EQ(idle.Init(kRate, "/nonexistent/none.sf2"), ERR_SOUNDFONT);
    EXPECT_FALSE(idle.IsInitialized());
    EXPECT_EQ(idle.Init(1000), ERR_INVALID_ARG);

    EXPECT_EQ(m_Perf.Init(kRate), ERR_ALREADY_INITIALIZED);
    EXPECT_EQ(m_Perf.PlaySegment(*s, 0), ERR_NOT_DOWNLOADED);
    EXPECT_EQ(m_Perf.PlaySegment(*s, 1u << 3), ERR_INVALID_ARG);
    ASSERT_EQ(m_Perf.SetAutoDownload(true), RESULT_OK);
    EXPECT_EQ(m_Perf.PlaySegment(*s, SEGF_DEFAULT), RESULT_OK);
    EXPECT_TRUE(s->IsDownloaded(m_Perf));
    EXPECT_EQ(s->Unload(m_Perf), RESULT_OK);
    EXPECT_EQ(s->Unload(m_Perf), RESULT_FALSE);
}

TEST_F(PerformanceTest, MainThreadSteersWhileTheAudioThreadRenders)
{
    auto a = Load(MeasureFile(4));
    auto b = Load(MeasureFile(2));
    ASSERT_EQ(a->SetRepeats(REPEAT_INFINITE), RESULT_OK);
    ASSERT_EQ(a->Download(m_Perf), RESULT_OK);
    ASSERT_EQ(b->Download(m_Perf), RESULT_OK);
    m_Perf.SetEventListener(nullptr);

    std::atomic<bool> done{false};
    std::thread audio([&] {
        std::vector<float> buffer(1024);
        while (!done) {
            RenderInto(buffer.data(), 512, kRate, &m_Perf);
        }
    });
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(m_Perf.PlaySegment(i % 2 ? *a : *b, SEGF_DEFAULT), RESULT_OK);
        EXPECT_EQ(m_Perf.SetMasterVolume(-(i * 97) % 20000), RESULT_OK);
        EXPECT_EQ(m_Perf.SetMasterTempo(0.5f + float(i % 3)), RESULT_OK);
        if (i % 7 == 0) {
            EXPECT_EQ(m_Perf.Stop(), RESULT_OK);
        }
    }
    done = true;
    audio.join();
    m_Perf.CloseDown();
    EXPECT_FALSE(m_Perf.IsInitialized());
}
