// libFuzzer target: a small pack, its level built, served and played (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunPlay(data, size);
    return 0;
}
