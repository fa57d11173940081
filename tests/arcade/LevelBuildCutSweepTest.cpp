// A level's build can end at any step: a stop asked for (a SIGTERM while the bricks are made),
// the level's meter of work running out, an entry whose data fails after others were made.
// Wherever it ends, what it made so far is freed: the field is cleared, the game goes back,
// and not one actor or physics body more lives than before the game started.
//
// The sweep builds every written level through the game's own start (the controller's
// LoadingLevel state), once whole to count the steps of work its build takes, then again
// cut by a stop asked for at steps spread over that count and at steps drawn from a fixed
// list of seeds, one draw a seed (the list is printed; BB_CUT_SEED=n replays one).
// Each cut must end the build (the level is not played), leave the live counts where they
// were and blame nothing on the level's data.
#include "GameFixture.h"

#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "physics/PhysicsBody.h"
#include "scene/Actor.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

// Charges to a level's build meter since the probe was armed, and the charge a stop is
// asked at (0: never).
long long gCharges = 0;
long long gStopAt = 0;

void CountAndCut(const WorkMeter& meter, long long units)
{
    // The build's meter, named once the level is known ("a level", then `level "X"`).
    const std::string& what = meter.GetWhat();
    if (what != "a level" && what.rfind("level \"", 0) != 0)
        return;
    const long long before = gCharges;
    gCharges += units;
    if (gStopAt > before && gStopAt <= gCharges)
        StopSignal::Request(SIGTERM);
}

struct LiveCounts
{
    int actors = Actor::GetLiveCount();
    int bodies = PhysicsBody::GetLiveCount();
    bool operator==(const LiveCounts& other) const
    {
        return actors == other.actors && bodies == other.bodies;
    }
};

std::ostream& operator<<(std::ostream& out, const LiveCounts& counts)
{
    return out << counts.actors << " actors, " << counts.bodies << " bodies";
}

// Cuts per level spread evenly over its build, and one drawn by each seed of the list (by
// BB_CUT_SEED's alone when it is set).
const int kEvenCuts = 6;
const unsigned kCutSeeds[] = {1, 2, 3};

class LevelBuildCutSweep : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        Files() = bbtest::LoadGameLevels();
    }
    // The written levels' files, as the pack holds them.
    static std::vector<std::string>& Files()
    {
        static std::vector<std::string> files;
        return files;
    }

    void TearDown() override
    {
        WorkMeter::SetProbe(nullptr);
        StopSignal::Reset();
        GameFixture::TearDown();
    }

    // Starts a game of the level on a fresh screen, a stop asked at charge stopAt (0: none),
    // and ends it on an empty screen again. The steps of work the start charged, and in
    // built whether the level was built.
    long long StartAndEnd(const std::string& name, long long stopAt, bool& built)
    {
        FreshScreen();
        gCharges = 0;
        gStopAt = stopAt;
        WorkMeter::SetProbe(CountAndCut);
        NewGame("{gameType = 'Levels', levelName = '" + name + "', ballsLeft = 3}");
        logic->StartGame();
        WorkMeter::SetProbe(nullptr);
        built = logic->GetLevel() != nullptr;
        StopSignal::Reset();
        FreshScreen();
        return gCharges;
    }

    // An empty screen and play layer; what the game before left goes with the old one.
    void FreshScreen()
    {
        EndGame();
        passes.Step();
        passes.SetRoot(nullptr);
        GetPostedEventQueue().Clear();
        delete screen;
        screen = new Screen("CutSweepScreen", "", nullptr);
        layer = new gametest::FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        passes.SetRoot(screen);
    }

    LevelManager manager;
};

} // namespace

TEST_F(LevelBuildCutSweep, ABuildEndedAtAnyStepFreesWhatItMade)
{
    std::vector<unsigned> seeds(std::begin(kCutSeeds), std::end(kCutSeeds));
    if (const char* given = std::getenv("BB_CUT_SEED"))
        seeds = {unsigned(std::strtoul(given, nullptr, 10))};
    std::cout << "cut seeds";
    for (unsigned seed : seeds)
        std::cout << " " << seed;
    std::cout << " (BB_CUT_SEED=n draws with n alone)" << std::endl;
    ASSERT_FALSE(Files().empty()) << "no level files in the asset pack";
    const auto from = std::chrono::steady_clock::now();
    int cuts = 0;
    for (const std::string& file : Files()) {
        const std::string name = file.substr(0, file.size() - 4);
        bool built = false;
        // Two whole starts first: the level builds, and its steps are counted on the second
        // (the first also checks what later builds of the level share).
        StartAndEnd(name, 0, built);
        const LiveCounts before;
        const long long steps = StartAndEnd(name, 0, built);
        ASSERT_TRUE(built) << name << " does not build whole";
        EXPECT_EQ(before, LiveCounts()) << name << ": a whole game leaves objects alive";
        std::vector<long long> at;
        for (int i = 0; i < kEvenCuts; ++i)
            at.push_back(1 + steps * i / kEvenCuts);
        // Each seed draws the same step of a level on every run, and a different one for
        // each level.
        for (unsigned seed : seeds) {
            std::seed_seq mixed{seed, unsigned(std::hash<std::string>()(name))};
            std::mt19937 draw(mixed);
            at.push_back(std::uniform_int_distribution<long long>(1, steps)(draw));
        }
        for (long long stop : at) {
            const LiveCounts start;
            const bbtest::LogCapture log;
            StartAndEnd(name, stop, built);
            ++cuts;
            EXPECT_FALSE(built) << name << " cut at step " << stop << " of " << steps
                                << " was still built";
            EXPECT_EQ(start, LiveCounts())
                << name << " cut at step " << stop << " of " << steps << " left objects alive";
            // The stop is no fault of the level's data: nothing is blamed for it.
            for (const char* blame :
                 {"could not be built", "skipped", "could not be loaded", "damaged"})
                EXPECT_EQ(std::string::npos, log.Text().find(blame))
                    << name << " cut at step " << stop << ":\n"
                    << log.Text();
        }
    }
    std::cout << cuts << " cut builds in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count()
              << " s" << std::endl;
}
