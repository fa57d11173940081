// Music parts rendered offline through the mix: where a part starts and loops, that a
// playing part is not restarted, master volume, master tempo, application pauses, and the
// music switched off.
#include "SoundFixture.h"

#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "dmusic/Performance.h"
#include "platform/dmusic/SmfBuilder.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "sound/DirectMusic.h"
#include "sound/DirectMusicLoader.h"
#include "sound/MusicManager.h"
#include "sound/MusicSegment.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>

using namespace bbtest;

namespace {

constexpr int kTpq = 96;
constexpr std::uint32_t kMeasureTicks = 4 * kTpq;
constexpr int kFramesPerMeasure = 44100; // 4/4 at 240 quarters a minute: one second

// Eight measures; measure m (from 1) plays key 59 + m for half a measure.
std::string EightMeasures()
{
    dmtest::SmfBuilder smf(1, kTpq);
    smf.AddTrack().Tempo(0, 250000).TimeSignature(0, 4, 2).End(8 * kMeasureTicks);
    dmtest::SmfTrack& t = smf.AddTrack();
    t.Program(0, 0, 0);
    for (int m = 0; m < 8; ++m) {
        t.NoteOn(m * kMeasureTicks, 0, 60 + m)
            .NoteOff(m * kMeasureTicks + kMeasureTicks / 2, 0, 60 + m);
    }
    t.End(8 * kMeasureTicks);
    return smf.Bytes();
}

const char* const kParts = "{ parts = { Intro = {1, 2}, Chorus = {3, 2}, Coda = {7, 2} } }";

class MusicTest : public SoundFixture
{
protected:
    void SetUp() override
    {
        BB_REQUIRE_FILE(dmusic::Performance::kDefaultSoundFont, "General MIDI SoundFont");
        StartAudio(true);
        ASSERT_TRUE(Sound::IsMusicActive());
        AddResource("Song.mid", EightMeasures(), kParts);
        Performance()->SetEventListener([this](const dmusic::PerformedEvent& e) {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0) {
                m_Keys.push_back(e.data1);
            }
        });
    }
    void TearDown() override
    {
        if (Sound::IsMusicActive()) {
            Performance()->SetEventListener(nullptr);
        }
    }

    dmusic::Performance* Performance() const
    {
        return Sound::GetDirectMusic()->GetMusicManager()->GetPerformance();
    }
    DirectMusic* Music() const { return Sound::GetDirectMusic(); }
    dmusic::MusicTime Position() const { return Performance()->GetSegmentState()->GetPosition(); }

    // Renders in pieces the size of an output buffer.
    void RenderFrames(int frames)
    {
        while (frames > 0) {
            int n = std::min(frames, 1024);
            Render(n);
            frames -= n;
        }
    }
    // Frames rendered until the playing part jumps back to its loop start.
    int FramesUntilLoop()
    {
        int frames = 0;
        dmusic::MusicTime last = Position();
        for (;;) {
            Render(64);
            frames += 64;
            dmusic::MusicTime now = Position();
            if (now < last || frames > 10 * kFramesPerMeasure) {
                return frames;
            }
            last = now;
        }
    }
    std::vector<int> Keys()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Keys;
    }

    std::mutex m_Mutex;
    std::vector<int> m_Keys;
};

double Rms(const std::vector<short>& v)
{
    double sum = 0;
    for (short s : v) {
        sum += double(s) * s;
    }
    return v.empty() ? 0 : std::sqrt(sum / double(v.size()));
}

} // namespace

TEST_F(MusicTest, PartStartsAtItsFirstMeasureAndLoopsOverItsRange)
{
    Music()->PlayMidiLooped("Song.mid", "Chorus");
    EXPECT_EQ(Performance()->GetSegmentState()->GetStartPoint(), 2 * 3072);
    RenderFrames(5 * kFramesPerMeasure / 2); // two and a half measures
    EXPECT_EQ(Keys(), (std::vector<int>{62, 63, 62}));
    EXPECT_EQ(Music()->GetLastSegmentName(), "Song.mid");
    EXPECT_EQ(Music()->GetLastPartName(), "Chorus");

    // Asking for the part that plays changes nothing.
    dmusic::MusicTime before = Position();
    Music()->PlayMidi("Song.mid", "Chorus", true);
    Render(64);
    EXPECT_GT(Position(), before);

    // Another part starts over at its own first measure.
    Music()->PlayMidi("Song.mid", "Coda", false);
    RenderFrames(kFramesPerMeasure / 2);
    EXPECT_EQ(Keys().back(), 66);
    EXPECT_EQ(Performance()->GetSegmentState()->GetRepeatsLeft(), 0);
}

TEST_F(MusicTest, UnknownPartsAndFailedRequests)
{
    OutputCapture out(1);
    Music()->PlayMidi("Song.mid", "Bridge", true);
    EXPECT_NE(out.Text().find("WARNING: Music \"Song.mid\" has no part \"Bridge\"; playing it "
                              "from the start."),
              std::string::npos);
    EXPECT_EQ(Performance()->GetSegmentState()->GetStartPoint(), 0);
    RenderFrames(kFramesPerMeasure / 4);
    EXPECT_EQ(Keys(), std::vector<int>{60});

    // A request that failed is not taken for the music that plays.
    EXPECT_THROW(Music()->PlayMidi("Later.mid", "Intro", true), ResourceNotFoundException);
    EXPECT_EQ(Music()->GetLastSegmentName(), "Song.mid");
    AddResource("Later.mid", EightMeasures(), kParts);
    Music()->PlayMidi("Later.mid", "Intro", true);
    EXPECT_EQ(Music()->GetLastSegmentName(), "Later.mid");
    EXPECT_TRUE(Performance()->GetSegmentState()->IsPlaying());

    // A damaged song is logged by name with the loader's message, once, and the music
    // that plays goes on: the game plays without that song.
    const std::string whole = EightMeasures();
    std::string badTrackLength = whole;
    const std::size_t track = badTrackLength.find("MTrk");
    ASSERT_NE(track, std::string::npos);
    badTrackLength[track + 4] = '\x7f';
    dmtest::SmfBuilder noTempo(1, kTpq);
    noTempo.AddTrack().Tempo(0, 0).End(kMeasureTicks);
    const std::pair<const char*, std::string> damaged[] = {
        {"Garbage.mid", "MThd garbage"},
        {"Truncated.mid", whole.substr(0, whole.size() / 2)},
        {"TrackLength.mid", badTrackLength},
        {"TempoZero.mid", noTempo.Bytes()},
    };
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        AddResource(name, bytes, kParts);
        bbtest::OutputCapture log(1);
        EXPECT_NO_THROW(Music()->PlayMidi(name, "Intro", true));
        EXPECT_NO_THROW(Music()->PlayMidi(name, "Chorus", true));
        const std::string text = log.Text();
        const std::string line =
            std::string("Warning: the resource \"") + name + "\" could not be loaded (";
        EXPECT_NE(text.find(line), std::string::npos) << text;
        EXPECT_EQ(text.find(line), text.rfind(line)) << text;
        EXPECT_NE(text.find("the game plays without it"), std::string::npos) << text;
        EXPECT_EQ(Music()->GetLastSegmentName(), "Later.mid");
        EXPECT_TRUE(Performance()->GetSegmentState()->IsPlaying());
    }
    // What is left out is the resource manager's record, not a list of the music's own: a
    // sound file under that name is tried afresh, as it would be in the next test.
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        AddResource(name, whole, kParts);
        Music()->PlayMidi(name, "Intro", true);
        EXPECT_EQ(Music()->GetLastSegmentName(), name);
    }
    Music()->PlayMidi("Later.mid", "Intro", true);
}

// A name is looked up only among resources of the kind wanted: a sound, a script, a picture,
// a table resource or a file nothing loads, given where a song is wanted (or a song where a
// sound is), is no such song (sound), named once, and the music that plays goes on.
TEST_F(MusicTest, NamesOfOtherKindsAreNoSuchSongAndNoSuchSound)
{
    Music()->PlayMidi("Song.mid", "Intro", true);
    m_Resources->AddLoader(new SDLImageLoader());
    AddResource("tone.wav", ConstantWav(1, 1000));
    AddResource("Ball.lua", "x = 1");
    AddResource("Ball.png", "not decoded");
    AddResource("Font.ttf", "not a font");
    Run("Resources.RedBrick = { class = 'Brick' }");
    const std::pair<const char*, const char*> others[] = {{"tone.wav", "sound"},
                                                          {"Ball.lua", "script"},
                                                          {"Ball.png", "picture"},
                                                          {"Font.ttf", "font"},
                                                          {"RedBrick", "table resource"}};
    for (const auto& [name, kind] : others) {
        SCOPED_TRACE(name);
        bbtest::OutputCapture log(1);
        EXPECT_NO_THROW(Music()->PlayMidi(name, "Intro", true));
        EXPECT_EQ(nullptr, MusicSegment::GetSegment(name));
        EXPECT_NE(log.Text().find(std::string("Warning: no such song \"") + name +
                                  "\" (the resource of that name is a " + kind +
                                  "); the game plays without it"),
                  std::string::npos)
            << log.Text();
        EXPECT_EQ(Music()->GetLastSegmentName(), "Song.mid");
        EXPECT_TRUE(Performance()->GetSegmentState()->IsPlaying());
    }
    // A song, a script or a table resource where a sound is wanted: named once, never played.
    for (const char* name : {"Song.mid", "Ball.lua", "RedBrick"}) {
        SCOPED_TRACE(name);
        bbtest::OutputCapture log(1);
        EXPECT_EQ(Sound::PlaySound(name, false), 0u);
        EXPECT_EQ(Sound::PlaySound(name, true), 0u);
        const std::string line = std::string("Warning: no such sound \"") + name + "\"";
        EXPECT_NE(log.Text().find(line), std::string::npos) << log.Text();
        EXPECT_EQ(log.Text().find(line), log.Text().rfind(line)) << log.Text();
    }
    EXPECT_NE(Sound::PlaySound("tone.wav", false), 0u);
}

TEST_F(MusicTest, MasterVolumeAndApplicationPauses)
{
    // The music starts at the configured music volume (100 in this configuration).
    EXPECT_EQ(Music()->GetMasterVolume(), 200);
    Music()->PlayMidiLooped("Song.mid", "Intro");
    RenderFrames(kFramesPerMeasure / 8);
    EXPECT_GT(Rms(Render(2048)), 50.0);

    Music()->SetMasterVolume(-20000);
    std::vector<short> silent = Render(2048);
    EXPECT_EQ(Rms(silent), 0.0);

    Music()->SetMasterVolume(-1000);
    Sound::PauseApp();
    Sound::PauseApp(); // a second notice keeps the real volume saved
    EXPECT_EQ(Music()->GetMasterVolume(), -20000);
    Sound::Pause();
    Sound::ResumeApp();
    EXPECT_EQ(Music()->GetMasterVolume(), -1000);
    Sound::Resume();

    // Volume changes follow the configuration.
    SetConfigNumber("music_volume", 50);
    DeliverPostedEvents();
    EXPECT_EQ(Music()->GetMasterVolume(), -900);
    SetConfigNumber("music_volume", 0);
    DeliverPostedEvents();
    EXPECT_EQ(Music()->GetMasterVolume(), -20000);
}

TEST_F(MusicTest, MasterTempoShortensThePart)
{
    Music()->PlayMidiLooped("Song.mid", "Chorus");
    int normal = FramesUntilLoop();
    EXPECT_NEAR(normal, 2 * kFramesPerMeasure, 64);

    Music()->SetMasterTempo(1.5f);
    int faster = FramesUntilLoop();
    EXPECT_NEAR(faster, 2 * kFramesPerMeasure * 2 / 3, 64);
}

TEST_F(MusicTest, QuitStopsTheMusicBeforeTheDevice)
{
    Music()->PlayMidiLooped("Song.mid", "Intro");
    RenderFrames(1024);
    Sound::Quit();
    EXPECT_FALSE(Sound::IsMusicActive());
    // The mix no longer reaches the freed performance, and the loaded music outlives it.
    Render(256);
    DestroyResources();
}

TEST(MusicOffTest, EveryMusicCallIsInertWithoutMusic)
{
    DirectMusic music;
    music.PlayMidi("Song.mid", "Intro", true);
    music.SetMasterVolume(-500);
    music.SetMasterTempo(2.0f);
    EXPECT_EQ(music.GetMasterVolume(), 0);
    EXPECT_EQ(music.GetLastSegmentName(), "");

    DirectMusicLoader loader;
    ResourceInfo info("Song.mid", nullptr);
    EXPECT_FALSE(loader.CanLoad(info));
    EXPECT_EQ(MusicSegment::GetSegment("Song.mid"), nullptr);
}
