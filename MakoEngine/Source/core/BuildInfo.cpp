// The program's build date and time, kept in one unit so that the rest of the build
// does not change with the clock.
#include "core/Exception.h"

const char* MakoBuildDate()
{
    return __DATE__;
}

const char* MakoBuildTime()
{
    return __TIME__;
}
