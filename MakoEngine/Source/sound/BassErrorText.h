#pragma once
// Names and descriptions of the audio layer's error codes (BASS_ErrorGetCode), for the
// sound system's log lines and error messages. Every code has both texts: codes the
// table does not list give "UNKNOWN_ERROR" and "UNKNOWN ERROR!". The texts are static.

// "BASS_ERROR_HANDLE" for 5, and so on.
const char* GetBassErrorName(int code);
// The one-sentence explanation of the code.
const char* GetBassErrorDescription(int code);
