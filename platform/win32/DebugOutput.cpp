#include "win32/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool IsDebugOutputShown()
{
    const char* value = std::getenv("BB_DEBUG_OUTPUT");
    return value && *value && std::strcmp(value, "0") != 0;
}

void OutputDebugStringA(const char* text)
{
    if (!text || !IsDebugOutputShown())
        return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}
