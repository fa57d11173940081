// The level check and the real game over one damaged pack: a picture folder's metadata with
// animations that lead back to themselves, a font of random bytes and an empty one, and a
// first level whose paddle stands out of reach with a size out of range, a second and a
// third secret, a value of the wrong kind and a background the pack lacks. The game plays
// the level to its serve; every line its log holds about a damaged file or the level must
// be a line of the check's report, in the game's words.
#include "e2e/ProgramRun.h"
#include "support/LevelCheckRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// What the log's lines name when they speak of what was damaged.
const char* const kMarks[] = {"Powerups/metadata.cfg", "DejaVuSans.ttf", "DejaVuSerif.ttf",
                              "Level \"Welcome\"", "level \"Welcome\""};

// A copy of the program's folder (the pack and Site) under home, damaged; its path.
std::string DamagedFolder(const TempHome& home)
{
    const std::string folder = GameFolderCopy(home.Path());
    const std::string assets = folder + "/Assets/";
    WriteFile(assets + "Images/Powerups/metadata.cfg",
              ReadFile(assets + "Images/Powerups/metadata.cfg") +
                  "\nMetadata { ['Bling.Coin.png'] = { numFrames = 8, width = 32, height = 32, "
                  "Animations = { spin1 = { 'spin2' }, spin2 = { 'spin1' }, spin3 = { 'spin3' } "
                  "} } }\n");
    std::mt19937 random(76);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() & 0xFF);
    WriteFile(assets + "Fonts/DejaVuSans.ttf", noise);
    WriteFile(assets + "Fonts/DejaVuSerif.ttf", "");
    WriteFile(assets + "Levels/Welcome.lua",
              "Levels.Welcome = { fullName = 'Welcome', music = 'Harbour.mid',\n"
              "    bricks = { 'R,G?,B?,Y?' }, minBallSpeed = 'fast',\n"
              "    backgroundName = 'bkgNowhere.jpg',\n"
              "    paddleStarts = { { position = { 99999, 99999 }, paddleSize = 9 } } }\n");
    return folder;
}

// The game started in folder straight into the first level, played to its serve, then quit;
// its exit status.
int PlayFirstLevel(const std::string& folder)
{
    ProgramRun run({"--keepcwd", "--nopkg", "--gamescreen", "--skipletter", "--skipdrop",
                    "--console", "--windowed", "--nosound"},
                   folder);
    std::string reached;
    for (int probe = 0; probe < 600 && reached.empty() && run.IsRunning(); ++probe) {
        const std::string tag = "probe " + std::to_string(probe) + ": ";
        run.Send("io.stderr:write('" + tag + "' .. tostring(GetGameState()) .. '\\n')\n");
        if (!run.WaitForErrorLine(tag))
            break;
        const std::string errors = run.Errors();
        const std::size_t at = errors.find(tag) + tag.size();
        const std::string state = errors.substr(at, errors.find('\n', at) - at);
        if (state == "WaitForSpawn" || state == "Playing")
            reached = state;
    }
    EXPECT_FALSE(reached.empty()) << run.Errors();
    run.Send("AppQuit()\n");
    return run.Wait();
}

// The check over the pack with only the damaged level among its levels: its report.
std::string CheckReport(const TempHome& home, const std::string& assets)
{
    KeepOnlyLevel(assets, "Welcome.lua");
    const LevelCheckRun run = RunLevelCheck(home.Path(), assets);
    EXPECT_EQ(1, run.status) << run.report << run.errors;
    return run.report;
}

// Whether the report has a line whose problem (its text past one of its ": ") the log line
// ends with: the same words, whatever place words each puts before them.
bool Named(const std::string& logLine, const std::vector<std::string>& report)
{
    for (const std::string& line : report)
        for (std::size_t at = line.find(": "); at != std::string::npos;
             at = line.find(": ", at + 1)) {
            const std::string problem = line.substr(at + 2);
            if (problem.size() >= 24 && logLine.size() >= problem.size() &&
                logLine.compare(logLine.size() - problem.size(), problem.size(), problem) == 0)
                return true;
        }
    return false;
}

} // namespace

TEST(CheckHearsTheGame, EveryLineTheGameLogsOfADamagedPackIsALineOfTheCheck)
{
    TempHome home;
    const std::string folder = DamagedFolder(home);
    EXPECT_EQ(0, PlayFirstLevel(folder)) << CrashReports();
    const std::string log = ReadFile(GameLogPath());
    const std::string report = CheckReport(home, folder + "/Assets");

    std::vector<std::string> lines;
    std::istringstream reportLines(report);
    for (std::string line; std::getline(reportLines, line);)
        lines.push_back(line);
    int spoken = 0;
    std::istringstream logLines(log);
    for (std::string line; std::getline(logLines, line);) {
        bool marked = false;
        for (const char* mark : kMarks)
            marked = marked || line.find(mark) != std::string::npos;
        if (!marked)
            continue;
        ++spoken;
        EXPECT_TRUE(Named(line, lines)) << "the game logs:\n  " << line << "\nthe check:\n"
                                        << report;
    }
    std::printf("%d lines of the game spoke of the damage; the check said %zu lines\n", spoken,
                lines.size());
    // The game spoke of each kind of damage: the circle, both fonts, the level.
    EXPECT_GE(spoken, 6) << log;
    for (const char* said : {"would play in a circle", "DejaVuSans.ttf", "DejaVuSerif.ttf",
                             "puts the paddle outside", "\"paddleSize\": 9", "a second secret"})
        EXPECT_NE(std::string::npos, report.find(said)) << said << "\n" << report;
    // The game's warnings are the check's warnings, not its problems.
    EXPECT_NE(std::string::npos, report.find("pack: warning: the metadata file")) << report;
}
