// libFuzzer target: a player card file (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunPlayerCard(data, size);
    return 0;
}
