// What a console line prints reaches a pipe while the program runs, not only when it ends:
// a script that drives the game through pipes reads each answer before sending the next line.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace bbtest;

TEST(ConsoleOutput, EachLinesPrintReachesAPipeAtOnce)
{
    TempHome home;
    // The program's standard output is a pipe into cat, which passes on each byte it gets.
    ProgramRun run({"sh", "-c", "\"$@\" | cat", "sh"}, {"--console", "--windowed", "--nosound"},
                   "dummy");
    run.Send("print('first answer')\n");
    EXPECT_TRUE(run.WaitForOutputLine("first answer")) << run.Output() << run.Errors();
    run.Send("x = 41 + 1\n");
    run.Send("print('second answer', x)\n");
    EXPECT_TRUE(run.WaitForOutputLine("second answer\t42")) << run.Output();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
}
