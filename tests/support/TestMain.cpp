// The main of every test program: runs headless, with HOME and the XDG folders pointed
// at a temporary folder that is removed when the program ends.
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bbtest::TempHome home;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
