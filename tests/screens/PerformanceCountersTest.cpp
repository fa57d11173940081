#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "core/Utility.h"
#include "perf/BlitPerformanceManager.h"
#include "perf/PerformanceCounterManager.h"
#include "perf/ScopedPerformanceTimer.h"
#include "perf/TickPerformanceManager.h"
#include "perf/TimeCounter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

int64_t gNowNs = 0;
int64_t FakeClock()
{
    return gNowNs;
}
void At(double ms)
{
    gNowNs = static_cast<int64_t>(ms * 1000000.0);
}

// The managers as the application wires them, over a documents folder of their own and
// the fake clock.
class PerformanceFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetPerformanceClock(FakeClock);
        At(0);
        docs = home.DataHome() + "/bumperlux Documents/";
        fs::create_directories(docs);
        SetDocumentsFolderPath(docs);
        ticks.AddCounter(&counters);
        ticks.AddCounter(&blits);
    }
    void TearDown() override
    {
        SetPerformanceClock(nullptr);
        SetDocumentsFolderPath("");
    }
    std::string Log(const char* name) { return bbtest::ReadFile(docs + name); }
    size_t FilesInDocs()
    {
        size_t n = 0;
        for (auto& entry : fs::directory_iterator(docs)) {
            (void)entry;
            ++n;
        }
        return n;
    }

    bbtest::TempHome home;
    std::string docs;
    PerformanceCounterManager counters;
    BlitPerformanceManager blits;
    TickPerformanceManager ticks;
};

} // namespace

TEST(TimeCounter, NestedStartsPausesAndStopsMeasureTheRightSpans)
{
    SetPerformanceClock(FakeClock);
    At(0);
    TimeCounter counter(true);
    At(5);
    counter.Start(); // nested: the time still counts from the first start
    EXPECT_EQ(1, counter.GetNestedStarts());
    EXPECT_THROW(counter.GetElapsedTimeInMS(), Exception); // running: no readable time
    EXPECT_DOUBLE_EQ(10.0, counter.Pause(10000000));
    At(50);
    counter.Start(); // from paused: adds on
    At(53);
    EXPECT_DOUBLE_EQ(13.0, counter.Stop());
    EXPECT_EQ(TimerStopped, counter.GetState());
    counter.Start(); // from stopped: begins at 0 again
    At(54);
    EXPECT_DOUBLE_EQ(1.0, counter.Stop());
    EXPECT_DOUBLE_EQ(1.0, counter.Pause(0)); // a stopped counter stays stopped
    EXPECT_EQ(TimerStopped, counter.GetState());
    SetPerformanceClock(nullptr);
}

TEST_F(PerformanceFixture, NothingCountsWhileNotMeasuring)
{
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 1);
    {
        ScopedPerformanceTimer scope("drawing");
        At(5);
    }
    EXPECT_EQ(0.0, StopPerformanceTimer("drawing"));
    EXPECT_EQ(0u, counters.GetIntCounters().Size());
    EXPECT_EQ(0u, counters.GetTimeCounters().Size());
    EXPECT_FALSE(BlitPerformanceManager::IsBlitLoggingEnabled());
    ticks.Tick();
    ticks.EndTick();
    EXPECT_EQ(0u, ticks.GetTickCount());
    EXPECT_THROW(ticks.StopMeasuringPerformance(), Exception);
}

TEST_F(PerformanceFixture, AMeasuringPeriodWritesHeaderAndOneLinePerFrame)
{
    ticks.StartMeasuringPerformance();
    EXPECT_THROW(ticks.StartMeasuringPerformance(), Exception);
    EXPECT_TRUE(BlitPerformanceManager::IsBlitLoggingEnabled());

    // Frame 1: "all" runs across the frame; "events" is timed twice and adds up; a start
    // while running only nests.
    ticks.Tick();
    ScopedPerformanceTimer all("all");
    At(1);
    {
        ScopedPerformanceTimer events("events");
        At(2);
    }
    StartPerformanceTimer("events");
    StartPerformanceTimer("events");
    At(2.5);
    EXPECT_DOUBLE_EQ(1.5, StopPerformanceTimer("events"));
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 2);
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 1);
    blits.AddCompositingBlit(10, 20, 0.5);
    blits.AddCompositingBlit(10, 10, 0.5);
    blits.AddFadeBlit(4, 4, 0); // calls but no measured time
    At(4);
    all.Stop();
    ticks.EndTick();

    // Frame 2: counters start from zero again; "all" still running at the end of the frame
    // is charged up to then.
    At(10);
    ticks.Tick();
    all.Start();
    At(13);
    ticks.EndTick();

    // Frame 3: a counter first used now becomes the last column.
    ticks.Tick();
    PerformanceCounterManager::AddToIntCounter("ParticleEmitters Created", 7);
    {
        ScopedPerformanceTimer late("Deletion");
    }
    ticks.EndTick();
    EXPECT_EQ(3u, ticks.GetTickCount());
    // The frame lines wait in files without a name: a kill now leaves nothing behind.
    EXPECT_EQ(0u, FilesInDocs());
    ticks.StopMeasuringPerformance();
    EXPECT_FALSE(ticks.IsMeasuringPerformance());

    EXPECT_EQ("all\tevents\tDeletion\n"
              "4.000000\t1.500000\n"
              "3.000000\t0.000000\n"
              "0.000000\t0.000000\t0.000000\n",
              Log("PerformanceLog_TimeCounters.txt"));
    EXPECT_EQ("Sounds Played\tParticleEmitters Created\n"
              "3\n"
              "0\n"
              "0\t7\n",
              Log("PerformangeLog_IntCounters.txt"));
    EXPECT_EQ("Compositing,numCalls\tCompositing,totalTime\tCompositing,numPixels\t"
              "Compositing,fillRate\tFade,numCalls\tFade,totalTime\tFade,numPixels\t"
              "Fade,fillRate\n"
              "2\t1.000000\t300\t300.000000\t1\t0.000000\t16\t0.000000\n"
              "0\t0.000000\t0\t0.000000\t0\t0.000000\t0\t0.000000\n"
              "0\t0.000000\t0\t0.000000\t0\t0.000000\t0\t0.000000\n",
              Log("PerformanceLog_Blitting.txt"));
    EXPECT_EQ(3u, FilesInDocs()); // the temporary files are gone
}

TEST_F(PerformanceFixture, AnEmptyPeriodLeavesEarlierLogsAloneAndARestartBeginsAfresh)
{
    ticks.StartMeasuringPerformance();
    ticks.Tick();
    PerformanceCounterManager::AddToIntCounter("Images Uploaded", 1);
    {
        ScopedPerformanceTimer scope("ticking");
    }
    blits.AddClipBlit(2, 2, 1);
    ticks.EndTick();
    ticks.StopMeasuringPerformance();
    std::string earlier = Log("PerformangeLog_IntCounters.txt");

    // Stopped before any frame ended: nothing measured, nothing written, nothing broken.
    ticks.StartMeasuringPerformance();
    ticks.StopMeasuringPerformance();
    EXPECT_EQ(earlier, Log("PerformangeLog_IntCounters.txt"));
    EXPECT_EQ(3u, FilesInDocs());

    // A new period forgets the old counters and replaces the files.
    ticks.StartMeasuringPerformance();
    EXPECT_EQ(0u, counters.GetIntCounters().Size());
    ticks.Tick();
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 4);
    ticks.EndTick();
    ticks.StopMeasuringPerformance();
    EXPECT_EQ("Sounds Played\n4\n", Log("PerformangeLog_IntCounters.txt"));
    EXPECT_EQ("\n\n", Log("PerformanceLog_TimeCounters.txt")); // a frame with no sections
    EXPECT_EQ("\n\n", Log("PerformanceLog_Blitting.txt"));
}

TEST_F(PerformanceFixture, ALogThatCannotBeWrittenIsReportedAndMeasuringGoesOn)
{
    ticks.StartMeasuringPerformance();
    ticks.Tick();
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 1);
    ticks.EndTick();
    // The log's name is taken by a folder: it cannot be replaced.
    fs::create_directories(docs + "PerformangeLog_IntCounters.txt");
    bbtest::OutputCapture out(1);
    ticks.StopMeasuringPerformance();
    std::string text = out.Text();
    EXPECT_NE(std::string::npos,
              text.find("WARNING: Could not write the performance log \"" + docs +
                        "PerformangeLog_IntCounters.txt\", reason=\"Is a directory\". The "
                        "previous log was kept."))
        << text;
    EXPECT_EQ("\n\n", Log("PerformanceLog_TimeCounters.txt"));
    EXPECT_EQ(3u, FilesInDocs()); // two logs and the folder; no temporary file left

    // Without a documents folder the frame lines are dropped, not the game.
    SetDocumentsFolderPath(home.Path() + "/missing/");
    ticks.StartMeasuringPerformance();
    ticks.Tick();
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 1);
    ticks.EndTick();
    ticks.StopMeasuringPerformance();
    EXPECT_FALSE(fs::exists(home.Path() + "/missing"));
}
