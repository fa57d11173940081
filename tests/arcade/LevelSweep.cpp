#include "LevelSweep.h"

#include "autoplay/AutoPlayer.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/StartLevelDialog.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <iostream>
#include <utility>

namespace levelsweep {

Tally::Tally(std::string sweepName, std::string what, std::function<std::string()> closing)
    : sweep(std::move(sweepName)), kind(std::move(what)), note(std::move(closing))
{
}

Tally::~Tally()
{
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << sweep << ", " << kind << ": " << sites << " keys x " << values << " values, "
              << runs << " runs" << (note ? ", " + note() : std::string()) << ", longest run "
              << longestMs << " ms (" << longest << "), " << seconds << " s" << std::endl;
}

void Tally::Ran(const std::string& run, std::chrono::steady_clock::time_point from)
{
    ++runs;
    const long ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - from)
                             .count());
    if (ms > longestMs)
        longestMs = ms, longest = run;
    EXPECT_LT(ms, kLongestRunMs) << run << " did not end by itself";
}

void Fixture::SetUpTestSuite()
{
    GameFixture::SetUpTestSuite();
    bbtest::LoadGameLevels();
}

bool Fixture::RunLevelFile(const std::string& text, const std::string& file, std::string& error)
{
    return LevelManager::RunLevelText(GetGlobalLuaState(), text, "@Levels/" + file + ".lua",
                                      error) == 0;
}

void Fixture::PlayLevel(const std::string& name, int passCount)
{
    NewGame("{gameType = 'Levels', levelName = '" + name + "', ballsLeft = 3}");
    logic->StartGame();
    passes.SetDrawing(false);
    autoplay::AutoPlayer player;
    for (int n = 0; n < passCount && logic; ++n) {
        player.PlayOnePass(logic, true);
        passes.Step();
    }
    if (Level* level = logic ? logic->GetLevel() : nullptr) {
        // The letters that show the level's texts.
        delete new StartLevelDialog("tester", level->GetNoteText(), level->GetFromText(),
                                    level->GetFullName());
        delete new EndLevelBonusDialog(level->GetFullName(), 0);
    }
}

} // namespace levelsweep
