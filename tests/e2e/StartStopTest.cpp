// The real program stopped by SIGTERM while it starts: whatever the start had read or not
// read when the signal came (the configuration, each card), the configuration and every card
// are afterwards as they were, or as the player left them; and a current player whose card
// could not be read is still the one the configuration names at the next start.
#include "core/SaveTurn.h"
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kStartStopArgs = {"--console", "--windowed", "--nosound"};

// A card's script that copies 16 MiB an instruction and never ends: its reading lasts until
// a stop ends it.
const char kEndlessCard[] = "local s = ('x'):rep(1048576) while true do "
                            "local t = s..s..s..s..s..s..s..s..s..s..s..s..s..s..s..s end\n";

// The bytes of the configuration and of every card, and of anything else in their folders,
// by path; a file that is not there is left out.
std::map<std::string, std::string> SavedFiles()
{
    std::map<std::string, std::string> files;
    for (const std::string& path : {GameConfigPath(), CardPath(1)}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(fs::path(path).parent_path(), error))
            // The single-instance lock beside the cards and the lock of the turn to save hold
            // no saved values.
            if ((entry.is_regular_file() || entry.is_symlink()) &&
                entry.path().filename() != "BLUX.lock" &&
                entry.path().filename() != SaveTurn::kLockName)
                files[entry.path().string()] =
                    entry.is_regular_file() ? ReadFile(entry.path().string()) : "a link";
    }
    return files;
}

// The paths whose bytes differ between the two, or that only one of them has.
std::string Changes(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& after)
{
    std::string changes;
    for (const auto& file : after) {
        const auto was = before.find(file.first);
        if (was == before.end())
            changes += "made: " + file.first + "\n";
        else if (was->second != file.second)
            changes += "changed: " + file.first + "\n";
    }
    for (const auto& file : before)
        if (!after.count(file.first))
            changes += "gone: " + file.first + "\n";
    return changes;
}

void WriteCards(const std::string& first)
{
    fs::create_directories(fs::path(GameConfigPath()).parent_path());
    fs::create_directories(fs::path(CardPath(1)).parent_path());
    WriteFile(CardPath(1), first);
    WriteFile(CardPath(2), "Player { guid = 22, Name = \"bea\" }\n");
    WriteFile(GameConfigPath(), "LoadConfig { current_player_1_guid = 22, music_volume = 33 }\n");
}

unsigned long EnvNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

} // namespace

TEST(StartStop, AStopWhileACardLoadsWritesNeitherTheConfigurationNorAnyCard)
{
    TempHome home;
    WriteCards(kEndlessCard);
    const auto before = SavedFiles();
    ProgramRun run(kStartStopArgs);
    // The window is made just before the cards are read: the next data file to run is the
    // first card, which never ends.
    ASSERT_TRUE(run.WaitForLogLine("Application::CreateWindow finished.", 60000));
    ASSERT_TRUE(run.WaitForDataFileRun(60000)) << "no data file ran\n" << run.Errors();
    run.Signal(SIGTERM);
    EXPECT_EQ(0, run.Wait(60000)) << run.Errors();
    EXPECT_EQ("", Changes(before, SavedFiles()));
    const std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find("the configuration and the player cards are left as they were"));
    // The stop is no fault of the card it cut short.
    EXPECT_EQ(std::string::npos, log.find("stays where it is")) << log;
}

TEST(StartStop, APlayerWhoseCardIsHeldStaysTheCurrentPlayerForTheNextStart)
{
    TempHome home;
    WriteCards("Player { guid = 11, Name = \"al\" }\n");
    // Slot 2's card cannot be read this time (its drive is away): slot 1 stands in.
    fs::remove(CardPath(2));
    fs::create_symlink("/nonexistent/drive/Player2.card", CardPath(2));
    {
        ProgramRun run(kStartStopArgs);
        run.Send("io.stderr:write('current=' .. Players.current[1].Name .. '\\n') AppQuit()\n");
        ASSERT_TRUE(run.WaitForErrorLine("current=al"));
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("current_player_1_guid = 22,"))
        << ReadFile(GameConfigPath());
    fs::remove(CardPath(2));
    WriteFile(CardPath(2), "Player { guid = 22, Name = \"bea\" }\n");
    ProgramRun again(kStartStopArgs);
    again.Send("io.stderr:write('current=' .. Players.current[1].Name .. '\\n') AppQuit()\n");
    EXPECT_TRUE(again.WaitForErrorLine("current=bea"));
    EXPECT_EQ(0, again.Wait()) << again.Errors();
}

// BB_START_SIGNALS sets the number of runs (100 by default), BB_START_SIGNAL_SEED the seed
// of the moments; the tally is printed.
TEST(StartStop, SignalsAtEveryMomentOfTheStartLoseNothing)
{
    TempHome home;
    // The game's own save of four named cards, slot 2 current, and a large card in slot 1,
    // so that reading the cards takes a while of the start.
    {
        ProgramRun run(kStartStopArgs);
        run.Send("for i = 1, 4 do Players[i].Name = 'p' .. i end "
                 "Players[1].Notes = {} for i = 1, 5000 do Players[1].Notes[i] = 'note ' .. i end "
                 "SetCurrentPlayerFromIndex(2, 1) Config.music_volume = 33 AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    {
        // The current player's first start fills in the modes the card did not have yet.
        ProgramRun run(kStartStopArgs);
        run.Send("AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    const auto saved = SavedFiles();
    ASSERT_NE(std::string::npos, saved.at(CardPath(1)).find("note 5000"));
    // A whole start and quit with nothing changed writes the same bytes; the start's length
    // sets the span the signals fall in.
    long span = 0;
    {
        fs::remove(GameLogPath());
        const auto started = std::chrono::steady_clock::now();
        ProgramRun run(kStartStopArgs);
        ASSERT_TRUE(run.WaitForLogLine("Starting main loop.", 60000));
        span = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - started)
                                     .count());
        run.Send("AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    ASSERT_EQ("", Changes(saved, SavedFiles()));

    const unsigned long runs = EnvNumber("BB_START_SIGNALS", 100);
    std::mt19937 random(
        static_cast<std::mt19937::result_type>(EnvNumber("BB_START_SIGNAL_SEED", 20261209)));
    std::uniform_int_distribution<long> moment(0, span);
    unsigned long beforeLog = 0, inStart = 0, inData = 0, afterStart = 0, lost = 0;
    for (unsigned long i = 0; i < runs; ++i) {
        fs::remove(GameLogPath());
        ProgramRun run(kStartStopArgs);
        ::usleep(static_cast<useconds_t>(moment(random)));
        run.Signal(SIGTERM);
        const int status = run.Wait(60000);
        // Ended by the signal itself (before its handler was in place) or as asked.
        EXPECT_TRUE(status == 0 || status == -1) << run.Errors();
        const std::string changes = Changes(saved, SavedFiles());
        EXPECT_EQ("", changes) << "run " << i;
        lost += !changes.empty();
        std::error_code error;
        const std::string log = fs::exists(GameLogPath(), error) ? ReadFile(GameLogPath()) : "";
        if (log.empty())
            ++beforeLog;
        else if (log.find("Starting main loop.") == std::string::npos ||
                 log.find("came before the start finished") != std::string::npos)
            ++inStart;
        else
            ++afterStart;
        inData += log.find("reading it was stopped by SIGTERM") != std::string::npos;
    }
    std::printf("start signals: %lu runs over a start of %ld ms: %lu before the log, %lu during "
                "the start (%lu in a card or the configuration), %lu after it; %lu lost\n",
                runs, static_cast<long>(span / 1000), beforeLog, inStart, inData, afterStart, lost);
}
