// The writer sweep: every file the real game writes, found by tracing it rather than listed.
//
// The game runs once on an X server of its own under strace, and does what writes files:
// every developer key of the Ctrl shortcuts is pressed (the performance counters on and off,
// the resource report, a screenshot, the log levels, the display change), a card is changed
// and saved, the memory and resource reports are asked for on the console, and the game
// quits. Every path it opened for writing, made, renamed or removed is collected. Then a link
// is put at each of those places but the player's own files (which follow the player's links
// by design) and the game runs the same way again. Whatever the link leads to (a card, a file
// outside the home, nothing), no card changes, nothing outside the home changes, and the game
// writes nothing outside its own folders, in either run, and every link stays the link it was
// (the log alone puts a log file of its own in place of a link, as it says).
#include "e2e/ProgramRun.h"
#include "e2e/XvfbServer.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// The system calls that write to the file system by name.
const char kTracedCalls[] = "trace=open,openat,creat,rename,renameat,renameat2,unlink,unlinkat,"
                            "mkdir,mkdirat,link,linkat,symlink,symlinkat,truncate";

bool Installed(const char* program)
{
    return std::system(("command -v " + std::string(program) + " > /dev/null 2>&1").c_str()) == 0;
}

// The paths a trace shows written: opened for writing or made, renamed (both names), removed,
// linked. A relative path is taken from the program's folder, where it runs.
std::set<std::string> WrittenPaths(const std::string& trace)
{
    static const std::regex kOpen(R"~(\b(open|openat|creat)\((?:AT_FDCWD, |\d+, )?"([^"]*)"(.*))~");
    static const std::regex kOther(
        R"~(\b(rename|renameat|renameat2|unlink|unlinkat|mkdir|mkdirat|link|linkat|symlink|symlinkat|truncate)\((.*))~");
    static const std::regex kQuoted(R"~("([^"]*)")~");
    static const std::regex kWriting(R"(O_(WRONLY|RDWR|CREAT|TRUNC|APPEND|TMPFILE))");
    std::set<std::string> paths;
    std::ifstream in(trace);
    std::string line;
    const auto add = [&paths](std::string path) {
        if (!path.empty() && path[0] != '/')
            path = std::string(BB_BINARY_DIR) + "/" + path;
        paths.insert(fs::path(path).lexically_normal().string());
    };
    while (std::getline(in, line)) {
        std::smatch match;
        if (std::regex_search(line, match, kOpen)) {
            if (match[1] == "creat" || std::regex_search(match[3].str(), kWriting))
                add(match[2]);
        } else if (std::regex_search(line, match, kOther)) {
            const std::string args = match[2];
            // symlink's first name is the link's text, not a place written.
            bool first = true;
            for (auto it = std::sregex_iterator(args.begin(), args.end(), kQuoted);
                 it != std::sregex_iterator(); ++it, first = false)
                if (!(first && (match[1] == "symlink" || match[1] == "symlinkat")))
                    add((*it)[1]);
        }
    }
    return paths;
}

bool IsBelow(const std::string& path, const std::string& folder)
{
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

class WriterSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* tool : {"strace", "xdotool", "Xvfb"})
            if (!Installed(tool))
                GTEST_SKIP() << tool << " is not installed";
        char pattern[] = "/tmp/bumperlux-outside-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        m_Outside = pattern;
        WriteFile(m_Outside + "/notes", "mine\n");
        m_Home = std::make_unique<TempHome>();
        m_Server = std::make_unique<XvfbServer>("800x600x24", m_Home->Path() + "/xvfb.log");
        ASSERT_NE("", m_Server->GetDisplay()) << ReadFile(m_Home->Path() + "/xvfb.log");
        // The leak check stops the program's threads with ptrace, which strace holds.
        const char* asan = std::getenv("ASAN_OPTIONS");
        m_AsanOptions = asan ? asan : "";
        setenv("ASAN_OPTIONS", (m_AsanOptions + ":detect_leaks=0").c_str(), 1);
        m_Display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        setenv("DISPLAY", m_Server->GetDisplay().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_Home) {
            setenv("ASAN_OPTIONS", m_AsanOptions.c_str(), 1);
            setenv("DISPLAY", m_Display.c_str(), 1);
        }
        m_Server.reset();
        m_Home.reset();
        if (!m_Outside.empty())
            RemoveTree(m_Outside);
    }

    // Presses the key chord (xdotool's words: "ctrl+3") in the game's window. A window the
    // game makes anew (a display change) may be gone by the time the keys come: the callers
    // that need a key to arrive press again until the game says it did.
    void Press(const std::string& chord)
    {
        const std::string command = "xdotool search --sync --limit 1 --name . key --window %1 " +
                                    chord + " > /dev/null 2>&1";
        (void)std::system(command.c_str());
    }
    // Presses chord until the log holds line (a key sent before the window takes input may
    // be lost).
    bool PressUntil(ProgramRun& run, const std::string& chord, const std::string& line)
    {
        for (int attempt = 0; attempt < 20 && run.IsRunning(); ++attempt) {
            Press(chord);
            if (run.WaitForLogLine(line, 1500))
                return true;
        }
        return false;
    }

    // Plays one traced run: every developer key, a changed card saved, the reports, a quit.
    // The written paths come back.
    std::set<std::string> TracedRun(const std::string& name)
    {
        const std::string trace = m_Home->Path() + "/" + name + ".trace";
        std::error_code ec;
        fs::remove(GameLogPath(), ec); // so each run's lines are its own
        ProgramRun run({"strace", "-f", "-qq", "--seccomp-bpf", "-o", trace, "-e", kTracedCalls},
                       {"--console", "--windowed", "--nosound", "--nohwaccel"}, "x11");
        run.Send("ShowFPS(true)\n");
        EXPECT_TRUE(run.WaitForLogLine("FPS counter enabled", 60000)) << run.Errors();
        // The keys, each seen to arrive by what it logs.
        EXPECT_TRUE(PressUntil(run, "ctrl+p", "Saving screenshot to \"")) << run.Errors();
        EXPECT_TRUE(PressUntil(run, "ctrl+0", "WM_USER: wParam="));
        EXPECT_TRUE(PressUntil(run, "ctrl+8", "Tick logging set to: TRUE"));
        for (const char* chord : {"ctrl+1", "ctrl+2", "ctrl+4", "ctrl+1", "ctrl+2", "ctrl+9"})
            Press(chord);
        EXPECT_TRUE(PressUntil(run, "ctrl+6", "Incrementing Log Level"));
        EXPECT_TRUE(PressUntil(run, "ctrl+5", "Decrementing Log Level"));
        EXPECT_TRUE(PressUntil(run, "ctrl+3", "resources were processed, in total"));
        EXPECT_TRUE(PressUntil(run, "ctrl+8", "Tick logging set to: FALSE"));
        EXPECT_TRUE(PressUntil(run, "ctrl+7", "Manually setting HW acceleration to: ON"));
        EXPECT_TRUE(PressUntil(run, "ctrl+7", "Manually setting HW acceleration to: OFF"));
        // A changed card saved, the reports the console asks for, and a quit.
        run.Send("Players[1].Name = 'sweeper' LogMemoryReport() LogResourceUsage() "
                 "io.stderr:write('saved ' .. tostring(SaveData()) .. '\\n')\n");
        EXPECT_TRUE(run.WaitForErrorLine("saved ", 60000)) << run.Errors();
        run.Send("AppQuit()\n");
        EXPECT_EQ(0, run.Wait(120000)) << run.Errors();
        return WrittenPaths(trace);
    }

    // The game's own folders: what it may write in.
    std::vector<std::string> GameFolders() const
    {
        return {fs::path(GameLogPath()).parent_path().parent_path().string(),
                fs::path(GameConfigPath()).parent_path().string(), m_Home->RuntimeDir()};
    }
    // Every path of paths outside the game's folders, but the devices it writes to.
    std::vector<std::string> OutsideTheGamesFolders(const std::set<std::string>& paths) const
    {
        std::vector<std::string> outside;
        for (const std::string& path : paths) {
            bool inside = IsBelow(path, "/dev");
            for (const std::string& folder : GameFolders())
                inside = inside || IsBelow(path, folder);
            if (!inside)
                outside.push_back(path);
        }
        return outside;
    }

    // The places of the game's own output among paths: files of the game's folders that are
    // neither the player's files (cards, the configuration, which follow the player's links)
    // nor temporary names, nor folders.
    std::vector<std::string> OutputPlaces(const std::set<std::string>& paths) const
    {
        static const std::regex kTemporary(R"(\.tmp\.[A-Za-z0-9]{6}$)");
        std::vector<std::string> places;
        for (const std::string& path : paths) {
            const std::string cards = fs::path(CardPath(1)).parent_path().string() + "/Player";
            const bool card = path.rfind(cards, 0) == 0 && path.find(".card") != std::string::npos;
            const bool player = card || path == GameConfigPath();
            if (player || std::regex_search(path, kTemporary) || fs::is_directory(path) ||
                OutsideTheGamesFolders({path}).size() == 1 || IsBelow(path, "/dev"))
                continue;
            places.push_back(path);
        }
        return places;
    }

    // The sweep with the link text target: a first run finds the places, the second runs
    // with a link to target at each.
    void Sweep(const std::string& targetName, const std::string& target)
    {
        // An earlier session's cards: 1 and 2 named.
        {
            ProgramRun seed({"--console", "--windowed", "--nosound"});
            seed.Send("Players[1].Name = 'first' Players[2].Name = 'second'\nAppQuit()\n");
            ASSERT_EQ(0, seed.Wait()) << seed.Errors();
        }
        const std::set<std::string> first = TracedRun("first");
        const std::vector<std::string> places = OutputPlaces(first);
        for (const std::string& path : OutsideTheGamesFolders(first))
            ADD_FAILURE() << "the game wrote outside its folders: " << path;
        ASSERT_GE(places.size(), 5u) << "the trace found too few places";

        // A link at every place; what it could reach noted.
        for (const std::string& place : places) {
            std::error_code ec;
            fs::remove(place, ec);
            fs::create_symlink(target, place);
        }
        const std::string cards = fs::path(CardPath(1)).parent_path().string();
        const auto cardsBefore = TreeOf(cards);
        const auto outsideBefore = TreeOf(m_Outside);
        const std::set<std::string> second = TracedRun("second-" + targetName);
        for (const std::string& path : OutsideTheGamesFolders(second))
            ADD_FAILURE() << "the game wrote outside its folders: " << path;
        for (const std::string& entry : Differences(outsideBefore, TreeOf(m_Outside)))
            ADD_FAILURE() << "changed outside the home: " << entry;
        for (const std::string& entry : Differences(cardsBefore, TreeOf(cards))) {
            // Card 1 is the one the run changes and saves; nothing else among the cards may
            // change, and no card is set aside.
            if (entry != "Player1.card")
                ADD_FAILURE() << "a card changed: " << entry;
        }
        EXPECT_EQ(std::string::npos, ReadFile(CardPath(2)).find("Resource Name"));
        // Nothing the game did not make is replaced: every link stays, but at the log's place,
        // where the log makes a file of its own instead of the link (and says so).
        for (const std::string& place : places) {
            std::error_code ec;
            if (place == GameLogPath())
                EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(place, ec))) << place;
            else
                EXPECT_EQ(target, fs::read_symlink(place, ec).string()) << place << " was replaced";
        }
        std::printf("writer sweep (links to %s), %zu places:\n", targetName.c_str(), places.size());
        for (const std::string& place : places)
            std::printf("  %s\n", place.substr(m_Home->Path().size()).c_str());
    }

    std::unique_ptr<TempHome> m_Home;
    std::unique_ptr<XvfbServer> m_Server;
    std::string m_Outside;
    std::string m_AsanOptions;
    std::string m_Display;
};

} // namespace

TEST_F(WriterSweep, NoFileOfTheGameGoesThroughALinkToACard)
{
    Sweep("a card", CardPath(2));
}

TEST_F(WriterSweep, NoFileOfTheGameGoesThroughALinkOutsideTheHome)
{
    Sweep("a file outside the home", m_Outside + "/notes");
}

TEST_F(WriterSweep, NoFileOfTheGameGoesThroughALinkToNothing)
{
    Sweep("nothing", m_Outside + "/nothing");
}

TEST_F(WriterSweep, NoFileOfTheGameGoesThroughALinkToACardNotThere)
{
    // A name beside the cards that no slot has: followed, it would appear among them.
    Sweep("a card not there", fs::path(CardPath(1)).parent_path().string() + "/Player5.card");
}
