// The real program and the user's files: a configuration that never ends, saves cut short
// or refused, the single-instance lock, the development layout, and log lines that tell
// the truth about the devices.
#include "e2e/ProgramRun.h"
#include "support/FileSizeLimit.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

using namespace bbtest;
namespace fs = std::filesystem;

using bbtest::Names;

namespace {

// Holds the program's single-instance lock, as a running instance does.
class HeldInstanceLock
{
public:
    explicit HeldInstanceLock(const TempHome&)
    {
        // Beside the player cards, whatever the runtime folder.
        const fs::path cards = fs::path(CardPath(1)).parent_path();
        fs::create_directories(cards);
        m_Fd = open((cards / "BLUX.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_Fd < 0 || flock(m_Fd, LOCK_EX | LOCK_NB) != 0)
            ADD_FAILURE() << "the lock could not be taken";
    }
    ~HeldInstanceLock() { close(m_Fd); }
    HeldInstanceLock(const HeldInstanceLock&) = delete;
    HeldInstanceLock& operator=(const HeldInstanceLock&) = delete;

private:
    int m_Fd = -1;
};

// Starts the program headless, quits it through the console and returns its exit status.
int RunAndQuit(const std::vector<std::string>& options)
{
    std::vector<std::string> args = {"--console", "--windowed", "--nosound"};
    args.insert(args.end(), options.begin(), options.end());
    ProgramRun run(args);
    run.Send("AppQuit()\n");
    int status = run.Wait();
    if (status != 0)
        ADD_FAILURE() << run.Errors();
    return status;
}

} // namespace

TEST(UserFiles, AConfigurationFileThatNeverEndsIsSetAsideAndStartUpGoesOn)
{
    TempHome home;
    WriteFile(GameConfigPath(), "LoadConfig { music_volume = 20 }\nwhile true do end\n");
    ASSERT_EQ(0, RunAndQuit({}));

    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find("Warning: the file \"" + GameConfigPath() +
                       "\" could not be read and was kept as \"" + GameConfigPath() + ".bad\""))
        << log;
    EXPECT_EQ("LoadConfig { music_volume = 20 }\nwhile true do end\n",
              ReadFile(GameConfigPath() + ".bad"));
    // The values it set before the loop stay for this run; nothing was changed, so no file
    // is made in its place.
    EXPECT_FALSE(fs::exists(GameConfigPath()));

    // The lock went with the program: the next start is not refused.
    ASSERT_EQ(0, RunAndQuit({}));
}

TEST(UserFiles, LeftoversOfASaveCutShortAreRemovedOnlyWhenNoOtherInstanceRuns)
{
    TempHome home;
    const std::string folder = fs::path(GameConfigPath()).parent_path().string();
    WriteFile(GameConfigPath(), "LoadConfig { music_volume = 20 }\n");
    WriteFile(GameConfigPath() + ".tmp.k9Xq2Z", std::string(600, 'x'));
    WriteFile(folder + "/notes.tmp.k9Xq2Z", "mine");
    WriteFile(GameConfigPath() + ".backup", "mine too");
    {
        // Another instance might be saving right now: its file stays.
        HeldInstanceLock other(home);
        ASSERT_EQ(0, RunAndQuit({"--multiapp"}));
        EXPECT_TRUE(fs::exists(GameConfigPath() + ".tmp.k9Xq2Z"));
    }
    // A run that allowed others did not keep the lock: a normal start still works.
    ASSERT_EQ(0, RunAndQuit({}));
    // The leftover was removed in the turn to save there, whose lock stays.
    EXPECT_EQ((std::set<std::string>{".save-turn.lock", "bumperlux.cfg", "bumperlux.cfg.backup",
                                     "notes.tmp.k9Xq2Z"}),
              Names(folder));
    EXPECT_NE(std::string::npos,
              ReadFile(GameLogPath()).find("Removed \"" + GameConfigPath() + ".tmp.k9Xq2Z\""));
}

TEST(UserFiles, ARefusedSecondInstanceSaysWhyOnStandardError)
{
    TempHome home;
    HeldInstanceLock first(home);
    ProgramRun second({"--windowed", "--nosound"});
    second.CloseInput();
    EXPECT_EQ(1, second.Wait());
    EXPECT_EQ("Another instance of this program is already running.\n", second.Errors());
}

// A development run (--noExeResources) reads the engine's folder of the source tree it was
// built from, wherever the program's folder sits: beside it when the build folder is inside
// the tree, else at the tree itself. It starts, and saves the defaults it read there.
TEST(UserFiles, DevelopmentResourcesAreFoundFromTheProgramsFolder)
{
    TempHome home;
    // The build's own folder, and a copy of the program in a folder of its own that is
    // not inside the source tree (with the build's assets beside it).
    const fs::path elsewhere = fs::path(home.Path()) / "program";
    fs::create_directories(elsewhere);
    fs::copy_file(fs::path(BB_BINARY_DIR) / "bumperlux", elsewhere / "bumperlux");
    for (const char* item : {"Assets", "bumperlux.fun", "Site"})
        if (fs::exists(fs::path(BB_BINARY_DIR) / item))
            fs::create_symlink(fs::path(BB_BINARY_DIR) / item, elsewhere / item);
    const std::string marker = "Adding resource scanner: Windows directory resource scanner for \"";
    const std::string engine = "MakoEngine/Source/\"\n";
    for (const fs::path& folder : {fs::path(BB_BINARY_DIR), elsewhere}) {
        SCOPED_TRACE(folder.string());
        fs::remove_all(fs::path(GameConfigPath()).parent_path());
        fs::remove(GameLogPath());
        ProgramRun run((folder / "bumperlux").string(),
                       {"--console", "--windowed", "--nosound", "--noExeResources"});
        run.Send("Config.log_level = 2\nAppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
        const std::string log = ReadFile(GameLogPath());
        const std::size_t end = log.find(engine);
        const std::size_t start = log.rfind(marker, end);
        ASSERT_TRUE(end != std::string::npos && start != std::string::npos) << log;
        const std::string root = log.substr(start + marker.size(), end - start - marker.size());
        // Read from the program's folder, the working directory of the run.
        EXPECT_TRUE(fs::equivalent(folder / root / "MakoEngine/Source",
                                   fs::path(BB_SOURCE_DIR) / "MakoEngine/Source"))
            << root;
        EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("    music_volume = 50,\n"));
    }
}

TEST(UserFiles, StartUpLogsTheDriversAndRatesInUse)
{
    TempHome home;
    ProgramRun run({"--console", "--windowed", "--nohwaccel"});
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find("DisplayBackendSDL::ApplyDisplayParams: SDL's dummy driver was "
                       "successfully loaded.\n"))
        << log;
    EXPECT_EQ(std::string::npos, log.find("directx driver")) << log;
    // The device runs at 44,100 Hz, whatever rate was asked for first.
    EXPECT_NE(std::string::npos, log.find("Audio initialized: device=1, freq=44100, flags=0\n"))
        << log;
}

TEST(UserFiles, NonFiniteNumbersInTheConfigurationAreRefusedAndNeverSaved)
{
    TempHome home;
    WriteFile(GameConfigPath(), "LoadConfig { music_volume = 1e308 * 10, sfx_volume = 0/0 }\n");
    ASSERT_EQ(0, RunAndQuit({}));
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find("Warning: configuration key \"music_volume\" should be a finite number, "
                       "not inf; the value 50 was kept (in \"" +
                       GameConfigPath() + "\")"))
        << log;
    // Nothing was changed: the file stays as it was.
    EXPECT_EQ("LoadConfig { music_volume = 1e308 * 10, sfx_volume = 0/0 }\n",
              ReadFile(GameConfigPath()));
}

// A log that cannot grow (files may not grow past 4 KiB, which fails writes as a full disk
// does) is said once on standard error, and the program runs on and ends as usual.
TEST(UserFiles, ALogOnAFullDiskIsReportedAndTheProgramRunsOn)
{
    TempHome home;
    const LimitedRun limited = RunWithFileSizeLimit(4096, [] {
        ProgramRun run({"--console", "--windowed", "--nosound"});
        run.Send("AppQuit()\n");
        const int status = run.Wait();
        std::fputs(run.Errors().c_str(), stdout);
        return status;
    });
    ASSERT_EQ(0, limited.status) << limited.output;
    const std::string& errors = limited.output;
    const std::string warning =
        "Warning: Could not write the log file \"" + GameLogPath() + "\": File too large.";
    EXPECT_NE(std::string::npos, errors.find(warning)) << errors;
    EXPECT_EQ(errors.find(warning), errors.rfind(warning)) << "said once: " << errors;
}

TEST(UserFiles, ResourceUsageReportsAreWholeOrNamedWithTheirCause)
{
    TempHome home;
    const std::string documents =
        fs::path(GameLogPath()).parent_path().parent_path().string() + "/";
    WriteFile(documents + "ResourceUsage-RESOURCE_IMAGE.txt/in the way", "x");
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("LogResourceUsage()\nAppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find("WARNING: Could not save the resource usage report \"" + documents +
                       "ResourceUsage-RESOURCE_IMAGE.txt\": Is a directory\n"))
        << log;
    // Every other report lists as many entries as the log says were processed.
    int listed = 0;
    for (const char* type : {"UNKNOWN", "SOUND", "TABLE", "MUSIC"}) {
        std::string report = ReadFile(documents + "ResourceUsage-RESOURCE_" + type + ".txt");
        EXPECT_EQ(0u, report.find("Resource Name\tAcquire Count\n")) << type;
        int lines = static_cast<int>(std::count(report.begin(), report.end(), '\n')) - 1;
        listed += lines;
        EXPECT_NE(std::string::npos,
                  log.find("LogResourceUsage: " + std::to_string(lines) +
                           " resources of type RESOURCE_" + type + " processed.\n"))
            << type;
    }
    EXPECT_LT(0, listed);
}

// A home as long as a folder variable may be (4,095 bytes), with no XDG folders: the game
// starts, plays without saving, ends as asked, and writes nothing into its own folder (the
// current folder of the game).
TEST(UserFiles, AHomeAsLongAsTheDesignAllowsStartsAndWritesNothingInTheCurrentFolder)
{
    TempHome home;
    // The crash reporter's folders in the game's own folder.
    const auto reports = [] {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(BB_BINARY_DIR))
            if (entry.path().filename().string().rfind("Error Report", 0) == 0)
                found.insert(entry.path().filename().string());
        return found;
    };
    const std::set<std::string> before = reports();
    // The program alone sees the long home: the test's own files stay in the test's home.
    ProgramRun run(
        {"env", "-u", "XDG_DATA_HOME", "-u", "XDG_CONFIG_HOME", "HOME=/" + std::string(4094, 'h')},
        {"--console", "--windowed", "--nosound"}, "dummy");
    run.Send("io.stderr:write('ready\\n')\n");
    ASSERT_TRUE(run.WaitForErrorLine("ready")) << run.Errors();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
    EXPECT_EQ(std::string::npos, run.Errors().find("Could not find the user's folder"))
        << run.Errors();
    EXPECT_EQ(before, reports());
}

// WriteConfig() answers whether the settings are saved: true when written or when nothing
// changed, else false and why (here a folder stands where the configuration goes).
TEST(UserFiles, WriteConfigAnswersWhetherTheSettingsAreSaved)
{
    TempHome home;
    const std::string answer = "local ok, why = WriteConfig() "
                               "io.stderr:write('saved ' .. tostring(ok) .. ' ' .. tostring(why) "
                               ".. '\\n')\n";
    {
        ProgramRun run({"--console", "--windowed", "--nosound"});
        run.Send("Config.music_volume = 31 " + answer);
        EXPECT_TRUE(run.WaitForErrorLine("saved true nil")) << run.Errors();
        run.Send("AppQuit()\n");
        EXPECT_EQ(0, run.Wait()) << run.Errors();
    }
    fs::remove(GameConfigPath());
    fs::create_directories(GameConfigPath());
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("Config.music_volume = 32 " + answer);
    EXPECT_TRUE(run.WaitForErrorLine("saved false ")) << run.Errors();
    EXPECT_EQ(std::string::npos, run.Errors().find("saved false nil")) << run.Errors();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
}
