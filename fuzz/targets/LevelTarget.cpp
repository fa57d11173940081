// libFuzzer target: a level file and its brick text (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunLevelFile(data, size);
    return 0;
}
