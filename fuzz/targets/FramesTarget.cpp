// libFuzzer target: the debugger's connection bytes (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunDebugFrames(data, size);
    return 0;
}
