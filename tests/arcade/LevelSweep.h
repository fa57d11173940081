#pragma once
// What the level sweeps share: a game of one level of `Levels`, started, served and played
// by the autoplay (which moves the paddle through the game's own input), with the letters
// that show the level's texts made; and the tally of a sweep's runs, whose longest run is
// printed at its end with the counts.
#include "GameFixture.h"

#include "autoplay/AutoPlayer.h"
#include "logic/Level.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/StartLevelDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>
#include <utility>

namespace gametest {

// The text of a level file every sweep run starts from: the level of that name holding a
// brick, a goober, a paddle with its ball, a free ball and an artefact, and then
// `local L = Levels.<name>`, so what the run adds can name it L.
inline std::string SweepBaseLevel(const std::string& name)
{
    return "Levels." + name + R"lua( = {
    fullName = "Trip", noteText = "A note.", fromText = "The Workshop", music = "Harbour.mid",
    compiledBricks = { { resource = "RedBrick", position = { 10, 3 } } },
    levelActors = { { class = "Goober", resource = "NormalGoober", position = { 320, 200 } } },
    paddleStarts = { { position = { 288, 416 }, ballStart = { } } },
    ballStarts = { { position = { 300, 300 }, velocity = { 0, 150 } } },
    artefact = { name = "artifactScarab.jpg", position = { 272, 52 }, score = 100 },
}
local L = Levels.)lua" +
           name + "\n";
}

class LevelSweepFixture : public GameFixture
{
protected:
    // Plays the level of that name for passCount passes (fewer when the game ends), drawing
    // nothing, then makes its start and end letters.
    void PlayLevel(const std::string& levelName, int passCount)
    {
        FreshScreen();
        NewGame("{gameType = 'Levels', levelName = '" + levelName + "', ballsLeft = 3}");
        logic->StartGame();
        passes.SetDrawing(false);
        autoplay::AutoPlayer player;
        for (int n = 0; n < passCount && logic; ++n) {
            player.PlayOnePass(logic, true);
            passes.Step();
        }
        if (Level* level = logic ? logic->GetLevel() : nullptr) {
            delete new StartLevelDialog("tester", level->GetNoteText(), level->GetFromText(),
                                        level->GetFullName());
            delete new EndLevelBonusDialog(level->GetFullName(), 0);
        }
    }

    // A new game screen and play layer, as the game makes when a game starts: what an
    // earlier run's game left on its layer (its heads-up display, field actors the layer
    // deletes later) goes with the old screen, so a sweep's thousandth run starts on as
    // empty a field, and costs as much, as its first.
    void FreshScreen()
    {
        EndGame();
        passes.SetRoot(nullptr);
        GetPostedEventQueue().Clear();
        delete screen;
        screen = new Screen("ControllerTestScreen", "", nullptr);
        layer = new FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        passes.SetRoot(screen);
    }
};

// Counts and the longest run of a sweep; Ran() fails a run that did not end by itself.
struct SweepTally
{
    // A run longer than this has not ended by itself: far above what a machine loaded many
    // times over needs (the class sweep's runs of a 1 MiB value take 8 to 12 s under the
    // sanitizers on a machine loaded three times over).
    static constexpr long kLongestRunMs = 60000;

    explicit SweepTally(std::string what) : kind(std::move(what)) {}
    std::string kind;
    int sites = 0;
    int values = 0;
    int runs = 0;
    long longestMs = 0;
    std::string longest;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    void Ran(const std::string& run, std::chrono::steady_clock::time_point from)
    {
        ++runs;
        const long ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - from)
                                 .count());
        if (ms > longestMs)
            longestMs = ms, longest = run;
        EXPECT_LT(ms, kLongestRunMs) << run << " did not end by itself";
    }
    // "<kind>: 12 keys x 8 values, 40 runs<extra>, longest run 310 ms (<run>), 9.5 s".
    void Print(const std::string& sweep, const std::string& extra = std::string()) const
    {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << sweep << ", " << kind << ": " << sites << " keys x " << values << " values, "
                  << runs << " runs" << extra << ", longest run " << longestMs << " ms (" << longest
                  << "), " << seconds << " s" << std::endl;
    }
};

} // namespace gametest
