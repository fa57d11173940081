// libFuzzer target: the serialiser's text, read and written back (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunSerializer(data, size);
    return 0;
}
