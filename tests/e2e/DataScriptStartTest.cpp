// The real program over a configuration and cards whose scripts would run without end in
// a C call or behind a pcall: it names and sets them aside, starts and quits, and a stop
// signal during such a start ends it at once, in whichever data file it comes (the
// configuration, a card, a level file, a metadata file), setting none of them aside.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kDataStartArgs = {"--console", "--windowed", "--nosound"};
const char kBacktracking[] = "local x = ('a'):rep(3000):find('.-.-.-.-.-.-b')\n";

void WriteHostileFiles()
{
    fs::create_directories(fs::path(GameConfigPath()).parent_path());
    fs::create_directories(fs::path(CardPath(1)).parent_path());
    WriteFile(GameConfigPath(), std::string(kBacktracking) + "LoadConfig { music_volume = 40 }\n");
    WriteFile(CardPath(1), "while true do pcall(function() while true do end end) end\n"
                           "Player { guid = 1 }\n");
    WriteFile(CardPath(2), std::string(kBacktracking) + "Player { guid = 2 }\n");
}

} // namespace

TEST(DataScriptStart, HostileConfigurationAndCardsAreSetAsideAndTheGameRuns)
{
    TempHome home;
    WriteHostileFiles();
    ProgramRun run(kDataStartArgs);
    run.Send("Config.music_volume = 33\nAppQuit()\n");
    ASSERT_EQ(0, run.Wait(60000)) << run.Errors() << CrashReports();

    // The warning names the file set aside and the reason (Lua shortens the file's name).
    const std::string log = ReadFile(GameLogPath());
    const std::size_t aside = log.find(GameConfigPath() + ".bad\": ");
    ASSERT_NE(std::string::npos, aside) << log.substr(0, 4000);
    EXPECT_NE(std::string::npos, log.substr(aside, log.find('\n', aside) - aside)
                                     .find("bumperlux.cfg:1: attempt to call method 'find'"));
    EXPECT_TRUE(fs::exists(CardPath(1) + ".bad"));
    EXPECT_TRUE(fs::exists(CardPath(2) + ".bad"));
    EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("music_volume = 33,"));
}

TEST(DataScriptStart, AStopSignalDuringTheStartEndsTheGamePromptly)
{
    TempHome home;
    WriteHostileFiles();
    ProgramRun run(kDataStartArgs);
    // Once the configuration is named the start is past it: the next data file to run is
    // the first card, which loops.
    ASSERT_TRUE(run.WaitForLogLine(GameConfigPath(), 60000)) << run.Errors();
    ASSERT_TRUE(run.WaitForDataFileRun(60000)) << "no data file ran\n" << run.Errors();
    run.Signal(SIGTERM);
    // The wait only catches a hang: without the signal the whole start takes seconds.
    EXPECT_EQ(0, run.Wait(60000)) << "SIGTERM did not end the game: " << run.Errors();
    // Answered where the start stood: by the main loop, or by the file the start was running.
    EXPECT_NE(std::string::npos, ReadFile(GameLogPath()).find("SIGTERM received"));
}

namespace {

// A data file's text that copies 16 MiB an instruction and never ends.
const char kCopyLoop[] = "local s = ('x'):rep(1048576) while true do "
                         "local t = s..s..s..s..s..s..s..s..s..s..s..s..s..s..s..s end\n";

// A copy of the program's folder (its pack as a folder, and Site) under the temporary
// home, with text written to the pack's file at name; the folder's path. The log is
// detailed, so that it names each level file it runs.
std::string GameCopyWith(const TempHome& home, const std::string& name, const std::string& text)
{
    fs::create_directories(fs::path(GameConfigPath()).parent_path());
    WriteFile(GameConfigPath(), "LoadConfig { log_level = 3 }\n");
    const std::string folder = home.Path() + "/game";
    fs::create_directories(folder);
    fs::copy(std::string(BB_BINARY_DIR) + "/Site", folder + "/Site", fs::copy_options::recursive);
    fs::copy(std::string(BB_BINARY_DIR) + "/Assets", folder + "/Assets",
             fs::copy_options::recursive);
    WriteFile(folder + "/Assets/" + name, text);
    return folder;
}

// The program started with the budget gate preloaded (tests/support/preload/BudgetGate):
// it tells the test each time a data file starts to run, and waits for the test's word.
class GatedStart
{
public:
    explicit GatedStart(const std::vector<std::string>& args)
    {
        int toTest[2], toGame[2];
        if (::pipe(toTest) != 0 || ::pipe(toGame) != 0)
            return;
        m_Started = toTest[0];
        m_Word = toGame[1];
        ::fcntl(m_Started, F_SETFD, FD_CLOEXEC);
        ::fcntl(m_Word, F_SETFD, FD_CLOEXEC);
        setenv("LD_PRELOAD", BB_BUDGET_GATE_LIBRARY, 1);
        setenv("BB_BUDGET_GATE",
               (std::to_string(toTest[1]) + "," + std::to_string(toGame[0])).c_str(), 1);
        run = std::make_unique<ProgramRun>(args);
        unsetenv("LD_PRELOAD");
        unsetenv("BB_BUDGET_GATE");
        ::close(toTest[1]);
        ::close(toGame[0]);
    }
    ~GatedStart()
    {
        Open();
        if (m_Started >= 0)
            ::close(m_Started);
    }

    // Waits at most timeoutMs for the next data file to start; false when none did.
    bool NextFile(int timeoutMs)
    {
        pollfd started{m_Started, POLLIN, 0};
        char byte = 0;
        return m_Started >= 0 && ::poll(&started, 1, timeoutMs) == 1 &&
               ::read(m_Started, &byte, 1) == 1;
    }
    // Lets the file run on.
    void GoOn() { Say('g'); }
    // SIGTERM comes to the game while the file runs, before its first instruction's turn
    // ends; the gate is open from then on.
    void StopTheFile()
    {
        Say('s');
        Open();
    }

    std::unique_ptr<ProgramRun> run;

private:
    void Say(char word)
    {
        if (m_Word >= 0 && ::write(m_Word, &word, 1) != 1)
            Open();
    }
    void Open()
    {
        if (m_Word >= 0)
            ::close(m_Word);
        m_Word = -1;
    }

    int m_Started = -1;
    int m_Word = -1;
};

// Starts the program, gated, in folder (its working directory) with the pack's folder.
std::unique_ptr<GatedStart> StartGatedIn(const std::string& folder)
{
    const fs::path here = fs::current_path();
    fs::current_path(folder);
    auto gated = std::make_unique<GatedStart>(
        std::vector<std::string>{"--keepcwd", "--console", "--windowed", "--nosound", "--nopkg"});
    fs::current_path(here);
    return gated;
}

struct CopyLoopCase
{
    const char* kind;
    // Writes the file and starts the program.
    std::function<std::unique_ptr<GatedStart>(const TempHome&)> start;
    // The log line after which the next data file to run is the looping one.
    const char* before;
    const char* stopped; // what the log says of the stopped file
};

} // namespace

TEST(DataScriptStart, AStopSignalDuringACopyLoopInAnyDataFileIsAnsweredAtOnce)
{
    const CopyLoopCase cases[] = {
        {"configuration",
         [](const TempHome&) {
             fs::create_directories(fs::path(GameConfigPath()).parent_path());
             WriteFile(GameConfigPath(), kCopyLoop);
             return std::make_unique<GatedStart>(kDataStartArgs);
         },
         "Loading script file: bumperlux_Defaults.cfg", "reading it was stopped by SIGTERM"},
        {"card",
         [](const TempHome&) {
             fs::create_directories(fs::path(CardPath(1)).parent_path());
             WriteFile(CardPath(1), kCopyLoop);
             return std::make_unique<GatedStart>(kDataStartArgs);
         },
         "Application::CreateWindow finished.", "reading it was stopped by SIGTERM"},
        {"level file",
         [](const TempHome& home) {
             return StartGatedIn(GameCopyWith(home, "Levels/Copier.lua", kCopyLoop));
         },
         "Loading script file: Copier.lua", "the file was stopped by SIGTERM"},
        {"metadata",
         [](const TempHome& home) {
             // Every metadata file loops, so the first the scan runs is one.
             const std::string folder = GameCopyWith(home, "Music/metadata.cfg", kCopyLoop);
             for (const auto& file : fs::recursive_directory_iterator(folder + "/Assets"))
                 if (file.path().filename() == "metadata.cfg")
                     WriteFile(file.path().string(), kCopyLoop);
             return StartGatedIn(folder);
         },
         "Adding resource scanner: PhysicsFS", "the file was stopped by SIGTERM"},
    };
    for (const CopyLoopCase& loop : cases) {
        SCOPED_TRACE(loop.kind);
        TempHome home;
        std::unique_ptr<GatedStart> gated = loop.start(home);
        ProgramRun* run = gated->run.get();
        // The game waits at each data file's start for the test's word, so the log is read
        // while it stands still: the files before the case's line run on, and the first file
        // after it is the looping one, which the signal reaches as it runs.
        bool reached = false;
        while (!reached && gated->NextFile(60000)) {
            reached = run->WaitForLogLine(loop.before, 0);
            if (!reached)
                gated->GoOn();
        }
        ASSERT_TRUE(reached) << "no data file ran after \"" << loop.before << "\"\n"
                             << run->Errors();
        const auto signalled = std::chrono::steady_clock::now();
        gated->StopTheFile();
        // The wait only catches a hang; the time it took is printed for the record.
        const int status = run->Wait(60000);
        std::printf(
            "%s: the program ended %.0f ms after SIGTERM (status %d)\n", loop.kind,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - signalled)
                .count(),
            status);
        EXPECT_NE(-1, status) << run->Errors();
        // The file was stopped by the signal, not by its budget, and nothing was set aside or
        // blamed on the data for the stop.
        const std::string log = ReadFile(GameLogPath()) + CrashReports();
        EXPECT_NE(std::string::npos, log.find(loop.stopped)) << log.substr(0, 6000);
        for (const char* blame : {"did not finish within", "needs more than", "skipped",
                                  "could not be loaded", "damaged", "read without it"})
            EXPECT_EQ(std::string::npos, log.find(blame)) << blame << "\n" << log.substr(0, 6000);
        EXPECT_FALSE(fs::exists(GameConfigPath() + ".bad"));
        EXPECT_FALSE(fs::exists(CardPath(1) + ".bad"));
        // A stopped configuration or card counts as unread: the quit writes nothing over it.
        if (std::string(loop.kind) == "configuration") {
            EXPECT_EQ(kCopyLoop, ReadFile(GameConfigPath()));
        }
        if (std::string(loop.kind) == "card") {
            EXPECT_EQ(kCopyLoop, ReadFile(CardPath(1)));
        }
    }
}
