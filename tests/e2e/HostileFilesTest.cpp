// The real program over user files that are no files (a FIFO, a link to /dev/zero) or that
// never end, and under the signals of a closed terminal: it starts without waiting, names
// and keeps what it cannot read, and quits saving what quitting saves.
#include "e2e/ProgramRun.h"
#include "support/HostileScripts.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kHostileArgs = {"--console", "--windowed", "--nosound"};

} // namespace

TEST(HostileFiles, FifosAndDevicesAreKeptAndTheGameStartsAndSavesTheRest)
{
    TempHome home;
    fs::create_directories(fs::path(GameConfigPath()).parent_path());
    fs::create_directories(fs::path(GameLogPath()).parent_path());
    fs::create_directories(fs::path(CardPath(1)).parent_path());
    ASSERT_EQ(0, ::mkfifo(GameConfigPath().c_str(), 0600));
    ASSERT_EQ(0, ::mkfifo(GameLogPath().c_str(), 0600));
    ASSERT_EQ(0, ::symlink("/dev/zero", CardPath(1).c_str()));
    WriteFile(CardPath(2), std::string(kGrowsWithoutEnd) + " Player { guid = 2 }\n");
    WriteFile(CardPath(3), "Player { guid = 34.5, Name = 'half' }\n");

    ProgramRun run(kHostileArgs);
    run.Send("Config.music_volume = 33\nAppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors() << CrashReports();

    // A FIFO or a device where a file of the user's should be is kept where it is, and the
    // settings and the card are played without saving over it.
    const std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos,
              log.find(GameConfigPath() +
                       "\" stays where it is (it could not be read: it is a FIFO, not a regular "
                       "file)"))
        << log.substr(0, 4000);
    EXPECT_NE(std::string::npos, log.find(CardPath(1) +
                                          "\" stays where it is (it could not be read: it is a "
                                          "device, not a regular file (the link \"" +
                                          CardPath(1) + "\" leads to \"/dev/zero\"))"))
        << log.substr(0, 4000);
    EXPECT_NE(std::string::npos,
              log.find(CardPath(2) + ".bad\": the file needs more than 128 MiB of memory"));
    EXPECT_NE(std::string::npos, log.find("guid was 34.5, not a whole number"));
    EXPECT_TRUE(fs::is_fifo(GameLogPath() + ".bad"));
    EXPECT_TRUE(fs::is_fifo(GameConfigPath()));
    EXPECT_TRUE(fs::is_symlink(CardPath(1)));
    // Mended when read, card 3 stays as it is until the player changes it.
    EXPECT_EQ("Player { guid = 34.5, Name = 'half' }\n", ReadFile(CardPath(3)));
}

TEST(HostileFiles, EveryStopSignalSavesAndASecondOneEndsTheShutdownLeavingFilesWhole)
{
    for (const int number : {SIGHUP, SIGQUIT, SIGTERM}) {
        SCOPED_TRACE(number);
        TempHome home;
        {
            // One signal: the game saves and quits.
            ProgramRun run(kHostileArgs);
            run.Send("Config.music_volume = 21\nio.stderr:write('set\\n')\n");
            ASSERT_TRUE(run.WaitForErrorLine("set")) << run.Errors();
            run.Signal(number);
            EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
            EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("music_volume = 21,"));
        }
        // A second signal while the game shuts down ends it at once: a hung shutdown needs
        // no SIGKILL. Whatever it cut short, the configuration is whole, old or new.
        ProgramRun run(kHostileArgs);
        run.Send("Config.music_volume = 22\nio.stderr:write('set\\n')\n");
        ASSERT_TRUE(run.WaitForErrorLine("set")) << run.Errors();
        run.Signal(number);
        ASSERT_TRUE(run.WaitForLogLine("received: the game ends.")) << run.Errors();
        run.Signal(SIGINT);
        run.Wait();
        const std::string config = ReadFile(GameConfigPath());
        EXPECT_TRUE(config.find("music_volume = 21,") != std::string::npos ||
                    config.find("music_volume = 22,") != std::string::npos)
            << config;
        EXPECT_EQ(0u, config.find("LoadConfig {")) << config;
        EXPECT_EQ(config.size() - 2, config.rfind("}\n")) << config;
    }
}
