#include "win32/MessageBox.h"

#include <cstdio>

int MessageBoxA(void* owner, const char* text, const char* caption, unsigned type)
{
    (void)owner;
    const char* kind = (type & 0xF0u) == MB_ICONHAND ? "Stop" : "Notice";
    std::fprintf(stderr, "\n[%s] %s\n%s\n", kind, caption && *caption ? caption : "Error",
                 text ? text : "");
    std::fflush(stderr);
    return (type & 0x0Fu) == MB_YESNO ? IDYES : IDOK;
}
