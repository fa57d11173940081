// Sound start-up through the real program, headless (SDL's dummy audio driver).
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

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
