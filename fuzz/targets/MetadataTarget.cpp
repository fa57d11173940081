// libFuzzer target: an image folder's metadata file (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunImageMetadata(data, size);
    return 0;
}
