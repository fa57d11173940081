// The real program, headless: it starts on the splash screen, switches screens from the
// console, survives a switch to a screen that does not exist, and quits.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace bbtest;

TEST(ScreenSwitch, ConsoleSwitchesScreensAndABadNameOnlyReportsAnError)
{
    TempHome home;
    WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 3,\n}\n");
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("print('current: ' .. Screens.current.name)\n");
    run.Send("SwitchToScreen('Nowhere')\n");
    run.Send("print('still: ' .. Screens.current.name)\n");
    run.Send("SwitchToScreen('SplashScreen')\n");
    run.Send("print('start button: ' .. tostring(Screens.SplashScreen ~= nil))\n");
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();

    const std::string out = run.Output();
    EXPECT_NE(std::string::npos, out.find("current: SplashScreen\n")) << out;
    EXPECT_NE(std::string::npos, out.find("still: SplashScreen\n")) << out;
    EXPECT_NE(std::string::npos, out.find("start button: true\n")) << out;

    const std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("A Screen with name \"Nowhere\" does not exist.")) << log;
    EXPECT_NE(std::string::npos, log.find("SplashScreen::SplashScreen()\n"));
    // The first switch at start-up and the one from the console.
    std::size_t flushes = 0;
    for (std::size_t at = log.find("ScreenManager::SwitchToScreen: Flushing vidmem.\n");
         at != std::string::npos;
         at = log.find("ScreenManager::SwitchToScreen: Flushing vidmem.\n", at + 1))
        ++flushes;
    EXPECT_EQ(2u, flushes);
    const std::size_t screens = log.find("~Application - SAFE_DELETE(m_ScreenManager)\n");
    const std::size_t canvas = log.find("~Application - SAFE_DELETE(m_MainCanvas)\n");
    EXPECT_NE(std::string::npos, screens);
    EXPECT_LT(screens, canvas);
}
