// Hostile scripts in every kind of data file the game runs or reads: each is stopped by its
// budget, named and set aside or skipped, and the next file of its kind loads. Each case
// runs in a child process of its own, whose processor time must stay within what the budget
// allows, so a script the budget does not stop fails its case instead of the whole run.
#include "core/Config.h"
#include "core/Exception.h"
#include "core/StopSignal.h"
#include "debugger/DebugConnectionList.h"
#include "logic/LevelManager.h"
#include "players/GameDataIO.h"
#include "players/GameRecordManager.h"
#include "players/PlayerManager.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "support/TempHome.h"
#include "support/engine/LogCapture.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

using namespace bbtest;
using LuaPlus::LuaObject;
namespace fs = std::filesystem;

namespace {

struct HostileScript
{
    const char* name;
    const char* text;
};

const HostileScript kScripts[] = {
    {"pcall-wrapped loop", "while true do pcall(function() while true do end end) end"},
    {"debug.sethook", "debug.sethook() while true do end"},
    {"backtracking pattern", "local x = ('a'):rep(3000):find('.-.-.-.-.-.-b')"},
    {"huge string.rep", "local s = (''):rep(1e15) .. ('x'):rep(2^40)"},
    {"coroutine loop",
     "local co = coroutine.create(function() while true do end end) coroutine.resume(co)"},
    {"setmetatable tricks",
     "local m = { __index = function(t, k) while true do end end, __eq = function() "
     "while true do end end } local a, b = setmetatable({}, m), setmetatable({}, m) "
     "local _ = a == b or a.x"},
    {"endless recursion", "local function f() return 1 + f() end f()"},
    {"io and os", "io.open('written-by-a-data-file', 'w'):write('x') os.exit(7)"},
    {"global escape", "getfenv(0).print('x') loadstring('while true do end')()"},
    // Few instructions, each copying 16 MiB, and nothing kept.
    {"copy loop", "local s = ('x'):rep(1048576) while true do "
                  "local t = s..s..s..s..s..s..s..s..s..s..s..s..s..s..s..s end"},
};

// The promise (README): a data file that spends its budget ends within about 1.5 s of
// processor time, its instruction count stopping it well before. A case runs one hostile
// file and a little more (a good file of the same kind, the checks): it may use that for the
// hostile file and as much again for everything else. Time on the clock says nothing of the
// budget on a busy machine; a case still running after a minute of it is taken as hung and
// killed.
const double kPromisedFileSeconds = 1.5;
const double kCaseProcessorSeconds = 2 * kPromisedFileSeconds;
const int kHungSeconds = 60;

// Runs body in a child process; "" when it returned "" within the processor time of a case,
// else what went wrong (its text, too much processor time, a hang or a death).
std::string RunCase(const std::function<std::string()>& body)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const std::string result = body();
        ssize_t written = ::write(channel[1], result.data(), result.size());
        (void)written;
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kHungSeconds);
    bool hung = true;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd wait{channel[0], POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got <= 0) {
            hung = false;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    if (hung)
        ::kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (hung)
        return "hung: killed after " + std::to_string(kHungSeconds) + " s";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the process ended with status " + std::to_string(status) + " " + text;
    const double processor = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (processor > kCaseProcessorSeconds)
        text += "the case used " + std::to_string(processor) + " s of processor time, more than " +
                std::to_string(kCaseProcessorSeconds) + " s";
    return text;
}

// "" when the log names what, else a failure text.
std::string LogNames(const LogCapture& log, const std::string& what)
{
    const std::string text = log.Text();
    return text.find(what) != std::string::npos ? ""
                                                : "the log does not name " + what + ":\n" + text;
}

class HostileDataScriptTest : public LuaFixture
{
protected:
    // Runs every hostile script through load (in a child process each) and fails for each
    // that was not handled.
    void RunTable(const char* kind, const std::function<std::string(const std::string&)>& load)
    {
        for (const HostileScript& script : kScripts) {
            // A file the script writes lands in the temporary home, where the case looks.
            const std::string result = RunCase([&] {
                return ::chdir(m_Home.Path().c_str()) == 0 ? load(script.text) : "no chdir";
            });
            EXPECT_EQ("", result) << kind << " holding the " << script.name;
        }
    }

    TempHome m_Home;
};

} // namespace

TEST_F(HostileDataScriptTest, ConfigurationIsSetAsideAndTheNextOneLoads)
{
    const std::string path = m_Home.Path() + "/bumperlux.cfg";
    RunTable("configuration", [&](const std::string& script) -> std::string {
        Config config(State());
        LogCapture log;
        WriteFile(path, script + "\nLoadConfig { a = 1 }\n");
        if (config.ReadFile(path) == 0)
            return "the configuration loaded";
        if (!fs::exists(path + ".bad"))
            return "the configuration was not set aside";
        WriteFile(path, "LoadConfig { b = 2 }\n");
        if (config.ReadFile(path) != 0 || config.GetInteger("b") != 2)
            return "the next configuration did not load";
        return LogNames(log, path);
    });
}

TEST_F(HostileDataScriptTest, CardIsSetAsideAndTheOtherCardsLoad)
{
    const std::string folder = m_Home.Path() + "/cards/";
    LoadPlayerScripts(folder);
    fs::create_directories(folder);
    RunTable("card", [&](const std::string& script) -> std::string {
        GameRecordManager records(State());
        PlayerManager players(State());
        GameDataIO io(folder);
        LogCapture log;
        WriteFile(folder + "Player1.card", script + "\nPlayer { guid = 1, Name = 'one' }\n");
        WriteFile(folder + "Player2.card", "Player { guid = 2, Name = 'two' }\n");
        io.LoadAllPlayerData(true);
        if (!fs::exists(folder + "Player1.card.bad"))
            return "the card was not set aside";
        if (fs::exists(folder + "Player2.card.bad"))
            return "the good card was set aside";
        return LogNames(log, folder + "Player1.card");
    });
}

TEST_F(HostileDataScriptTest, LevelFileIsSkippedAndTheNextOneLoads)
{
    Run("Levels = {}");
    RunTable("level file", [&](const std::string& script) -> std::string {
        AddScript("Hostile.lua", script + "\nLevels.Hostile = { fullName = 'h' }\n");
        AddScript("Good.lua", "Levels.Good = { fullName = 'g' }\n");
        LogCapture log;
        LevelManager::RunLevelFile(State(), "Hostile.lua");
        LevelManager::RunLevelFile(State(), "Good.lua");
        if (!Global("Levels")["Hostile"].IsNil())
            return "the hostile level loaded";
        if (Global("Levels")["Good"]["fullName"].ToString() != std::string("g"))
            return "the next level did not load";
        if (fs::exists("written-by-a-data-file"))
            return "the level file wrote a file";
        return LogNames(log, "The level file \"Hostile.lua\" was skipped");
    });
}

TEST_F(HostileDataScriptTest, MetadataFileIsNamedAndTheNextFolderScans)
{
    RunTable("metadata file", [&](const std::string& script) -> std::string {
        ResourceManager manager(State());
        const std::string bad = m_Home.Path() + "/bad/";
        const std::string good = m_Home.Path() + "/good/";
        WriteFile(bad + "a.png", "x");
        WriteFile(bad + "metadata.cfg", script + "\nMetadata { ['a.png'] = {} }\n");
        WriteFile(good + "a.png", "x");
        WriteFile(good + "metadata.cfg", "Metadata { ['a.png'] = { numFrames = 2 } }\n");
        LogCapture log;
        WindowsDirectoryResourceScanner scanner(bad);
        ResourceInfoMap output = MakeResourceInfoMap();
        scanner.Scan(output);
        if (!output.at("a.png")->GetMetadata().IsNil())
            return "the hostile file gave its folder metadata";
        WindowsDirectoryResourceScanner next(good);
        ResourceInfoMap nextOutput = MakeResourceInfoMap();
        next.Scan(nextOutput);
        const LuaObject& metadata = nextOutput.at("a.png")->GetMetadata();
        if (!metadata.IsTable() || metadata.GetByName("numFrames").GetInteger() != 2)
            return "the next folder's metadata did not apply";
        return LogNames(log, "The metadata file \"" + bad + "metadata.cfg\" could not be run");
    });
}

TEST_F(HostileDataScriptTest, ConnectionListIsIgnoredAndAFifoIsNotWaitedOn)
{
    const std::string path = m_Home.Path() + "/RemoteLuaDebuggingServerNetworkConnection.txt";
    RunTable("connection list", [&](const std::string& script) -> std::string {
        WriteFile(path, script + "\n" + script + "\n");
        if (!DebugConnectionList::Read(path).empty())
            return "the list gave entries";
        WriteFile(path, "Client\n127.0.0.1:4000\n");
        return DebugConnectionList::Read(path).size() == 1 ? "" : "the next list did not read";
    });
    std::remove(path.c_str());
    ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
    EXPECT_EQ("", RunCase([&]() -> std::string {
                  LogCapture log;
                  if (!DebugConnectionList::Read(path).empty())
                      return "the FIFO gave entries";
                  return LogNames(log, path + "\" stays where it is (it could not be read: "
                                              "it is a FIFO, not a regular file)");
              }));
}

TEST_F(HostileDataScriptTest, AFunctionPlantedInAnEarlierLevelDropsThatLevel)
{
    // A later file reaches every level through Levels: whatever it plants there, at any key
    // and depth, is found when it ends, and the level holding it is dropped.
    const std::string endless = "local f = function() while true do end end\n";
    struct Planted
    {
        const char* name;
        std::string text;
        const char* logged;
        bool dropsWelcome;
    } const cases[] = {
        {"a brick's strength", endless + "Levels.Welcome.compiledBricks[1].strength = f\n",
         "Levels.Welcome holds a function the file made, at compiledBricks[1].strength", true},
        {"another level's actors",
         endless + "Levels.Welcome.levelActors = { { class = 'Label', text = f } }\n",
         "Levels.Welcome holds a function the file made, at levelActors[1].text", true},
        {"a number key", endless + "Levels.Welcome[2.5] = { f }\n",
         "Levels.Welcome holds a function the file made, at [2.5][1]", true},
        {"a key", endless + "Levels.Welcome.x = { [f] = true }\n",
         "Levels.Welcome holds a function the file made, at x[function]", true},
        {"a level under a number", endless + "Levels[1] = { f }\n",
         "Levels[1] holds a function the file made, at [1]", false},
    };
    for (const Planted& planted : cases) {
        SCOPED_TRACE(planted.name);
        Run("Levels = {}");
        AddScript("Welcome.lua", "Levels.Welcome = { fullName = 'w', compiledBricks = {\n"
                                 "    { resource = 'RedBrick', position = { 1, 1 } } } }\n");
        AddScript("Planter.lua", planted.text + "Levels.Own = { fullName = 'o' }\n");
        LogCapture log;
        LevelManager::RunLevelFile(State(), "Welcome.lua");
        LevelManager::RunLevelFile(State(), "Planter.lua");
        EXPECT_EQ(planted.dropsWelcome, Global("Levels")["Welcome"].IsNil());
        EXPECT_TRUE(Global("Levels")[1].IsNil());
        EXPECT_EQ("o", std::string(Global("Levels")["Own"]["fullName"].ToString()));
        EXPECT_EQ("", LogNames(log, "The level file \"Planter.lua\" was skipped"));
        EXPECT_EQ("", LogNames(log, std::string(planted.logged) + "; the level was dropped"));
    }
}
