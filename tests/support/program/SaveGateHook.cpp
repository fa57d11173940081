// The test build of the program (bumperlux-gated, never shipped) holds its saves where a test
// asks: when BB_SAVE_GATE names a folder, each stage of every save inside its turn says
// "save gate N: written|checked <file>" on standard error (N counts from 1) and waits until the
// folder holds a file named N, or "open". An end-to-end test can so keep a real copy of the
// game inside its turn for as long as it likes.
#include "core/PlayerFileKeeper.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void WaitAtGate(PlayerFileKeeper::SaveStage stage, const std::string& target)
{
    const char* folder = std::getenv("BB_SAVE_GATE");
    if (!folder || !*folder)
        return;
    static int count = 0;
    const int number = ++count;
    std::fprintf(stderr, "save gate %d: %s %s\n", number,
                 stage == PlayerFileKeeper::SAVESTAGE_WRITTEN ? "written" : "checked",
                 target.c_str());
    std::fflush(stderr);
    const std::string open = std::string(folder) + "/open";
    const std::string mine = std::string(folder) + "/" + std::to_string(number);
    while (::access(open.c_str(), F_OK) != 0 && ::access(mine.c_str(), F_OK) != 0) {
        const struct timespec step = {0, 2 * 1000000L};
        ::nanosleep(&step, nullptr);
    }
}

// Installed before the program's entry runs.
const bool gInstalled = (PlayerFileKeeper::SetSaveGate(&WaitAtGate), true);

} // namespace
