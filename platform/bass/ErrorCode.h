#pragma once
// The error code of the calling thread's latest audio call (BASS_ErrorGetCode).
namespace bassx {

// Records code and returns false, so that a failing call can `return Fail(code);`.
bool Fail(int code);
// Records success and returns true.
bool Ok();
int LastError();

} // namespace bassx
