// The real program with a song that promises endless work in its pack (a tune at a pace of
// a microsecond a quarter note, as the song of the level it plays): the game starts, plays
// that level with its music, answers its console, and ends within a second of AppQuit or of
// SIGTERM, with exit 0, standard error quiet and memory far below what a flood would cost.
#include "e2e/ProgramRun.h"
#include "support/EndlessSong.h"
#include "support/ResidentMemory.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <sstream>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// A copy of the program's folder with the song in place of the level's, under the home.
std::string FolderWithSong(const TempHome& home, const std::string& song)
{
    const std::string folder = GameFolderCopy(home.Path());
    WriteFile(folder + "/Assets/Music/Lanterns.mid", song);
    return folder;
}

// Starts the game in the folder, music on, and brings it to the level that plays the song;
// ends with the game answering its console while the song plays.
std::unique_ptr<ProgramRun> PlayLevelWithSong(const std::string& folder)
{
    auto run = std::make_unique<ProgramRun>(
        std::vector<std::string>{"--keepcwd", "--console", "--nopkg", "--windowed"}, folder);
    EXPECT_TRUE(run->WaitForLogLine("Loading done", 60000)) << ReadFile(GameLogPath());
    run->Send("GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = 'GreatWall' } "
              "SwitchToScreen('GameScreen')\n");
    bool playing = false;
    for (int i = 0; i < 200 && !playing && run->IsRunning(); ++i) {
        const std::string mark = "answer " + std::to_string(i);
        run->Send("io.stderr:write('" + mark + " ' .. Screens.current.name .. '\\n')\n");
        playing = run->WaitForErrorLine(mark + " GameScreen", 250);
    }
    EXPECT_TRUE(playing) << ReadFile(GameLogPath());
    // The console answers, again and again, while the level and its song play.
    for (int i = 0; i < 10; ++i) {
        const std::string mark = "answer again " + std::to_string(i);
        run->Send("io.stderr:write('" + mark + "\\n')\n");
        EXPECT_TRUE(run->WaitForErrorLine(mark, 2000)) << "the console did not answer";
    }
    return run;
}

// The lines of the log about music, for a failure's message.
std::string MusicLines(const std::string& log)
{
    std::istringstream in(log);
    std::string line, lines;
    while (std::getline(in, line))
        if (line.find("usic") != std::string::npos || line.find("song") != std::string::npos ||
            line.find("FluidSynth") != std::string::npos)
            lines += line + "\n";
    return lines;
}

// Standard error less the console's own answers.
std::string Unasked(const std::string& errors)
{
    std::istringstream in(errors);
    std::string line, rest;
    while (std::getline(in, line))
        if (line.rfind("answer ", 0) != 0)
            rest += line + "\n";
    return rest;
}

} // namespace

TEST(HostileSong, AnEndlessSongLeavesTheQuitAndSigtermAnsweredWithinASecond)
{
    const std::string song = EndlessSong();
    ASSERT_EQ(833u, song.size());
    using Clock = std::chrono::steady_clock;
    long long peak = 0;
    long slowestMs = 0;
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "SIGTERM" : "AppQuit()");
        TempHome home;
        std::unique_ptr<ProgramRun> run = PlayLevelWithSong(FolderWithSong(home, song));
        peak = std::max(peak, PeakResidentKb(run->GetPid()));
        // The second runs from the signal sent, or from the game's answer that it runs the
        // quit (the console is read once a pass: the pass's wait is not the quit's).
        Clock::time_point asked = Clock::now();
        if (bySignal) {
            run->Signal(SIGTERM);
        } else {
            run->Send("io.stderr:write('answer quit\\n') AppQuit()\n");
            EXPECT_TRUE(run->WaitForErrorLine("answer quit", 5000)) << "the console did not answer";
            asked = Clock::now();
        }
        EXPECT_EQ(0, run->Wait(1000)) << CrashReports();
        const long ms = long(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked).count());
        slowestMs = std::max(slowestMs, ms);
        EXPECT_EQ("", Unasked(run->Errors()));
        EXPECT_EQ("", CrashReports());
        const std::string log = ReadFile(GameLogPath());
        const std::string named =
            "the song \"Music/Lanterns.mid\" is played within the music's bounds";
        EXPECT_NE(std::string::npos, log.find(named)) << MusicLines(log);
        EXPECT_EQ(log.find(named), log.rfind(named)) << "named once";
        const std::string dense = "the song \"Music/Lanterns.mid\" is denser than the music plays";
        EXPECT_NE(std::string::npos, log.find(dense)) << MusicLines(log);
        EXPECT_EQ(log.find(dense), log.rfind(dense)) << "named once";
    }
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 400 * 1024) << "kB at the peak";
    RecordProperty("PeakKilobytes", std::to_string(peak));
    RecordProperty("SlowestAnswerMs", std::to_string(slowestMs));
}
