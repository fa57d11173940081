#include "bass/ErrorCode.h"

#include "bass/bass.h"

#include <utility>

namespace bassx {

namespace {
thread_local int tError = BASS_OK;
thread_local std::string tDetail;
} // namespace

bool Fail(int code, std::string detail)
{
    tError = code;
    tDetail = std::move(detail);
    return false;
}

bool Ok()
{
    tError = BASS_OK;
    tDetail.clear();
    return true;
}

int LastError()
{
    return tError;
}

const std::string& LastErrorDetail()
{
    return tDetail;
}

} // namespace bassx
