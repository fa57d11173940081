#include "core/Random.h"

#include <cstdint>

namespace {
uint32_t g_RandomState = 1;
}

void MakoSrand(unsigned int seed)
{
    g_RandomState = seed;
}

int MakoRand()
{
    g_RandomState = g_RandomState * 214013u + 2531011u;
    return static_cast<int>((g_RandomState >> 16) & 0x7FFFu);
}
