#pragma once
// The error code of the calling thread's latest audio call (BASS_ErrorGetCode), and what
// the call found in the data (BASS_ErrorGetDetail).
#include <string>

namespace bassx {

// Records code and returns false, so that a failing call can `return Fail(code);`. The
// detail says what was found in the data; "" for none.
bool Fail(int code, std::string detail = std::string());
// Records success and returns true.
bool Ok();
int LastError();
const std::string& LastErrorDetail();

} // namespace bassx
