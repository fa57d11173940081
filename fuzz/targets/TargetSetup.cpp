// What every libFuzzer target does before its first input: a headless SDL, the log file
// /dev/null, and the program's log echo muted (libFuzzer reports on standard error) unless
// BB_FUZZ_VERBOSE is set.
#include "FuzzHost.h"

#include "core/Log.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const char* verbose = std::getenv("BB_FUZZ_VERBOSE");
    if (!verbose || !*verbose || std::string(verbose) == "0") {
        std::fflush(stdout);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            close(null);
        }
    }
    fuzz::PrepareFuzzHost();
    // Log lines go nowhere rather than pile up in memory, so that every run frees what it
    // allocated and the fuzzer's leak check stays for runs that really leak.
    SetLogFilePath("/dev/null");
    return 0;
}
