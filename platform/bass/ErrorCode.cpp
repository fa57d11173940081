#include "bass/ErrorCode.h"

#include "bass/bass.h"

namespace bassx {

namespace {
thread_local int tError = BASS_OK;
}

bool Fail(int code)
{
    tError = code;
    return false;
}

bool Ok()
{
    tError = BASS_OK;
    return true;
}

int LastError()
{
    return tError;
}

} // namespace bassx
