// The real program started without a graphical display: SDL draws the game as text in the
// terminal, and the player reads one sentence on standard error saying so and what the game
// needs (README, "The game needs a graphical display"), and nothing else of the display's
// start.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace bbtest;

TEST(TextDisplay, WithoutADisplayTheDefaultStartSaysOnlyThePromisedSentence)
{
    TempHome home;
    const char* previous = std::getenv("DISPLAY");
    const std::string saved = previous ? previous : "";
    unsetenv("DISPLAY");
    // The default start (full screen, Direct3D first), with SDL left to choose its driver.
    ProgramRun run({}, {"--console", "--nosound"}, "");
    if (previous)
        setenv("DISPLAY", saved.c_str(), 1);
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
    EXPECT_EQ("bumperlux: no graphical display (DISPLAY not set), so the game is drawn as text in "
              "this terminal; start it in a desktop session to see it.\n",
              run.Errors());
}
