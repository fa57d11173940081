// libFuzzer target: a (damaged) package file (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunPackage(data, size);
    return 0;
}
