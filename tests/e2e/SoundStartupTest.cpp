// Sound start-up through the real program, headless (SDL's dummy audio driver, or ALSA
// without a card).
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace bbtest;

TEST(SoundStartup, NoSoundOptionCancelsAudioAndANormalStartOpensTheDevice)
{
    TempHome home;
    {
        ProgramRun run({"--console", "--windowed", "--nosound"});
        run.Send("AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
        std::string log = ReadFile(GameLogPath());
        EXPECT_NE(std::string::npos,
                  log.find("Audio was disabled via the command line or a startup script.  "
                           "Cancelling audio initialization.\n"))
            << log;
        EXPECT_EQ(std::string::npos, log.find("Audio initialized: "));
    }
    ProgramRun run({"--console", "--windowed"});
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("Audio Device 0: No sound\n")) << log;
    EXPECT_NE(std::string::npos, log.find("Audio Device 1: ")) << log;
    EXPECT_NE(std::string::npos, log.find("Audio initialized: device=1, freq=")) << log;
    EXPECT_NE(std::string::npos, log.find("BASS_INFO: driver: ")) << log;
}

TEST(SoundStartup, AStartWithoutASoundCardWritesNothingToStandardError)
{
    TempHome home;
    // The system's sound library looks for a card that is not there and complains.
    const std::string config = home.Path() + "/asound.conf";
    WriteFile(config, "pcm.!default { type hw card \"NoSuchCard\" }\n");
    const char* before = getenv("SDL_AUDIODRIVER");
    const std::string driver = before ? before : "";
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    ProgramRun run({"--console", "--windowed"});
    if (before)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    unsetenv("ALSA_CONFIG_PATH");
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();
    EXPECT_EQ("", run.Errors());
    // What it said is in the log, and the game plays on silently.
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("ALSA lib ")) << log.substr(0, 3000);
    EXPECT_NE(std::string::npos, log.find("NoSuchCard")) << log.substr(0, 3000);
    EXPECT_EQ(std::string::npos, log.find("Audio initialized: ")) << log.substr(0, 3000);
}
