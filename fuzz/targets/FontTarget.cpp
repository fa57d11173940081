// libFuzzer target: a font file as the game opens it (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunFontFile(data, size);
    return 0;
}
