// libFuzzer target: the user's configuration file (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunConfigFile(data, size);
    return 0;
}
