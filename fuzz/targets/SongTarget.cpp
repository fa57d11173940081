// libFuzzer target: a song read and played by the music layer (see FuzzEntries.h).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunSong(data, size);
    return 0;
}
