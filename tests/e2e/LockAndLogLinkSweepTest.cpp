// The single-instance lock and the log of the real program, each with something in its place
// that is no file of its own and could stall it: a link to a FIFO, and a FIFO itself. (Links to a
// card, to a card not there, outside the home and to nothing at every place the game writes,
// these two among them, are the writer sweep's, tests/e2e/WriterSweepTest.) The game starts, saves
// and quits; nothing outside its folders is made or changed, no card is emptied or set aside. A
// lock that is no plain file cannot be taken: the game says so once and plays without saving, and
// what is at the lock's place stays as it was. A log's place that holds a link gets a fresh log
// file instead of the link (what it led to untouched), and the log says so; the game saves.
#include "core/SaveTurn.h"
#include "e2e/ProgramRun.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// What stands at path, as TreeOf says it ("" for nothing).
std::string EntryAt(const std::string& path)
{
    const fs::path at(path);
    const auto tree = TreeOf(at.parent_path().string());
    const auto found = tree.find(at.filename().string());
    return found == tree.end() ? "" : found->second;
}

// How many times text holds part.
int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

enum Place { LOCK, LOG };

// What stands at the place: a link to a FIFO outside the home, or a FIFO itself.
enum Target { TO_FIFO, FIFO_ITSELF };
constexpr Target kTargets[] = {TO_FIFO, FIFO_ITSELF};

const char* NameOf(Target target)
{
    switch (target) {
    case TO_FIFO:
        return "a link to a FIFO";
    case FIFO_ITSELF:
        return "a FIFO";
    }
    return "?";
}

std::string PathOf(Place place)
{
    return place == LOCK ? fs::path(CardPath(1)).parent_path().string() + "/BLUX.lock"
                         : GameLogPath();
}

class LockAndLogLinkSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/bumperlux-outside-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        m_Outside = pattern;
    }
    void TearDown() override { RemoveTree(m_Outside); }

    // The cards (1 and 2 named) and the configuration, as an earlier session left them.
    void MakeSaves()
    {
        ProgramRun seed({"--console", "--windowed", "--nosound"});
        seed.Send("Players[1].Name = 'first' Players[2].Name = 'second' Players[4].Name = "
                  "'fourth' Config.music_volume = 49\nAppQuit()\n");
        ASSERT_EQ(0, seed.Wait()) << seed.Errors();
        for (int slot : {1, 2, 4})
            m_Cards[slot] = ReadFile(CardPath(slot));
        m_Config = ReadFile(GameConfigPath());
        ASSERT_NE(std::string::npos, m_Cards[2].find("second"));
    }
    // The saves put back but card 3, the outside folder made anew with a file and a FIFO, and the
    // place made to hold the target; the program's log and lock of earlier runs gone.
    void Prepare(Place place, Target target)
    {
        RemoveTree(m_Outside);
        fs::create_directories(m_Outside);
        WriteFile(m_Outside + "/notes", "mine\n");
        ASSERT_EQ(0, ::mkfifo((m_Outside + "/fifo").c_str(), 0600));
        fs::remove_all(fs::path(CardPath(1)).parent_path());
        fs::remove_all(fs::path(GameLogPath()).parent_path());
        for (int slot : {1, 2, 4})
            WriteFile(CardPath(slot), m_Cards[slot]);
        WriteFile(GameConfigPath(), m_Config);
        const fs::path at = PathOf(place);
        fs::create_directories(at.parent_path());
        switch (target) {
        case TO_FIFO:
            fs::create_symlink(m_Outside + "/fifo", at);
            break;
        case FIFO_ITSELF:
            ASSERT_EQ(0, ::mkfifo(at.c_str(), 0600));
            break;
        }
    }

    // Starts the game, changes card 1 and saves every card, and quits; what SaveData said.
    std::string PlayAndSave(ProgramRun& run)
    {
        run.Send("Players[1].Name = 'sweeper' "
                 "io.stderr:write('saved ' .. tostring(SaveData()) .. '\\n')\n");
        EXPECT_TRUE(run.WaitForErrorLine("saved ")) << run.Errors();
        run.Send("AppQuit()\n");
        EXPECT_EQ(0, run.Wait()) << run.Errors();
        const std::string errors = run.Errors();
        const std::size_t at = errors.find("saved ");
        return at == std::string::npos ? "" : errors.substr(at, errors.find('\n', at) - at);
    }

    // Nothing was made or changed outside the game's folders, no card emptied or set aside.
    void CheckNothingElseChanged(const std::map<std::string, std::string>& homeBefore,
                                 const std::map<std::string, std::string>& outsideBefore,
                                 const std::string& home)
    {
        for (const std::string& entry : Differences(outsideBefore, TreeOf(m_Outside)))
            ADD_FAILURE() << "changed outside the home: " << entry;
        const std::string documents = fs::path(CardPath(1)).parent_path().parent_path().string();
        const std::string config = fs::path(GameConfigPath()).parent_path().string();
        for (const std::string& entry : Differences(homeBefore, TreeOf(home))) {
            const std::string path = home + "/" + entry;
            const bool output = entry.rfind("run", 0) == 0 &&
                                entry.find('/') == std::string::npos &&
                                (fs::path(entry).extension() == ".out" ||
                                 fs::path(entry).extension() == ".err"); // the test's own
            if (path.rfind(documents, 0) != 0 && path.rfind(config, 0) != 0 && !output)
                ADD_FAILURE() << "changed outside the game's folders: " << entry;
        }
        for (const auto& entry : fs::directory_iterator(fs::path(CardPath(1)).parent_path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(std::string::npos, name.find(".bad")) << name;
            // The locks hold no saved values: the turn's is empty while no save is made.
            if (entry.is_regular_file() && name != "BLUX.lock" && name != SaveTurn::kLockName) {
                EXPECT_NE("", ReadFile(entry.path().string())) << name << " was emptied";
            }
        }
    }

    std::string m_Outside;
    std::string m_Cards[5];
    std::string m_Config;
};

} // namespace

TEST_F(LockAndLogLinkSweep, NoLinkAtTheLockOrTheLogIsFollowedAndNoCardIsEmptied)
{
    TempHome home;
    ASSERT_NO_FATAL_FAILURE(MakeSaves());
    int runs = 0, unsaved = 0, freshLogs = 0;
    for (const Place place : {LOCK, LOG}) {
        for (const Target target : kTargets) {
            SCOPED_TRACE(std::string(place == LOCK ? "the lock" : "the log") + " as " +
                         NameOf(target));
            ASSERT_NO_FATAL_FAILURE(Prepare(place, target));
            const std::string placePath = PathOf(place);
            const std::string placeBefore = EntryAt(placePath);
            const auto homeBefore = TreeOf(home.Path());
            const auto outsideBefore = TreeOf(m_Outside);
            ProgramRun run({"--console", "--windowed", "--nosound"});
            const std::string saved = PlayAndSave(run);
            ++runs;
            // Read only when it is a plain file: through a link to a FIFO, reading would wait.
            const std::string log = fs::is_regular_file(fs::symlink_status(GameLogPath()))
                                        ? ReadFile(GameLogPath())
                                        : "";
            if (place == LOCK) {
                // The lock cannot be taken: said once, nothing saved, the place as it was.
                EXPECT_EQ(1, CountOf(run.Errors(), "the single-instance lock cannot be taken"))
                    << run.Errors();
                EXPECT_EQ(m_Cards[1], ReadFile(CardPath(1)));
                EXPECT_EQ(m_Cards[2], ReadFile(CardPath(2)));
                EXPECT_EQ(m_Config, ReadFile(GameConfigPath()));
                EXPECT_FALSE(fs::exists(fs::symlink_status(CardPath(3)))) << "card 3 was made";
                EXPECT_EQ(placeBefore, EntryAt(placePath));
                unsaved += ReadFile(CardPath(1)) == m_Cards[1];
            } else {
                // A log file of its own in the place, the game saving as ever.
                EXPECT_EQ("saved true", saved);
                struct stat status;
                ASSERT_EQ(0, ::lstat(placePath.c_str(), &status));
                EXPECT_TRUE(S_ISREG(status.st_mode));
                EXPECT_NE(std::string::npos, log.find("Created log file at \"" + placePath));
                const std::string said =
                    target == FIFO_ITSELF
                        ? ".bad\": it is a FIFO, not a regular file"
                        : "The log's place \"" + placePath + "\" held a link to \"";
                EXPECT_EQ(1, CountOf(log, said)) << log.substr(0, 3000);
                EXPECT_NE(std::string::npos, ReadFile(CardPath(1)).find("\"sweeper\""));
                EXPECT_EQ(m_Cards[2], ReadFile(CardPath(2)));
                freshLogs += S_ISREG(status.st_mode) && saved == "saved true";
            }
            CheckNothingElseChanged(homeBefore, outsideBefore, home.Path());
        }
    }
    std::printf("lock and log sweep: %d runs (2 places x 2 kinds), %d played without saving, "
                "%d with a log of their own\n",
                runs, unsaved, freshLogs);
}
