#pragma once
// What the sweeps over level data share: a tally of a sweep's runs (sites, values, runs and
// the longest run, printed as the sweep ends; a run that does not end by itself within
// kLongestRunMs fails), and a fixture that runs a level file's text as the game reads level
// files and plays the level it made: built by a real controller, served, played by the
// headless player through the game's own input path, and its letters made.
#include "GameFixture.h"

#include "logic/LevelManager.h"

#include <chrono>
#include <functional>
#include <string>

namespace levelsweep {

// A run longer than this has not ended by itself; far above what a busy machine needs.
constexpr long kLongestRunMs = 10000;

// Counts and the longest run of one sweep.
struct Tally
{
    // sweep: the sweep's name ("trip-wire sweep"); kind: what this part sweeps; note: what
    // the closing line adds after the runs (read as the sweep ends).
    Tally(std::string sweep, std::string kind, std::function<std::string()> note = {});
    ~Tally();
    Tally(const Tally&) = delete;
    Tally& operator=(const Tally&) = delete;

    // Counts a run that started at from; one longer than kLongestRunMs fails.
    void Ran(const std::string& run, std::chrono::steady_clock::time_point from);

    std::string sweep;
    std::string kind;
    std::function<std::string()> note;
    int sites = 0;
    int values = 0;
    int runs = 0;
    long longestMs = 0;
    std::string longest;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

class Fixture : public gametest::GameFixture
{
protected:
    // The game's resources and the pack's levels.
    static void SetUpTestSuite();

    // Runs the text as the level file `Levels/<file>.lua` (the game's own reader: the data
    // runner, its checks); false with the reason in error when the file failed.
    static bool RunLevelFile(const std::string& text, const std::string& file, std::string& error);

    // Starts a game of the level of that name, plays it for passCount passes (fewer when
    // the game ends) with the headless player, without drawing, and makes the letters that
    // show the level's texts. What a pass raises passes on.
    void PlayLevel(const std::string& name, int passCount);

    LevelManager manager;
};

} // namespace levelsweep
