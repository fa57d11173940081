#pragma once
// Small services of the application shell: modifier-key tests, file and folder tests and
// creation, text and number formatting, random helpers and the debugger trace. The script
// functions chdir(path), CreateDirectory(path) -> bool and IsDirectory(path) -> bool are
// defined with them. Everything here runs on the main thread.
#include "core/Log.h"

#include <cstdint>
#include <string>

// Modifier tests on an SDL modifier state word. NumLock and CapsLock are ignored; every
// other bit must match exactly, so both Ctrl keys down is not "only Ctrl".
bool IsOnlyAltDown(unsigned int modifiers);     // exactly left Alt, or exactly right Alt
bool IsOnlyCtrlDown(unsigned int modifiers);    // exactly left Ctrl, or exactly right Ctrl
bool IsOnlyCtrlAltDown(unsigned int modifiers); // left Ctrl + left Alt, or right + right

// Flags of FileExists.
const int EXISTS_DIRECTORY = 1; // the path must be a directory
const int EXISTS_WRITABLE = 2;  // and it must be writable

// Whether path exists as a file (flags without EXISTS_DIRECTORY; a directory does not
// count) or as a directory (with it), and, with EXISTS_WRITABLE, is writable. Never
// creates anything and never fails: every problem answers false.
bool FileExists(const std::string& path, int flags);

// Creates every missing directory along path ('/'-separated; a trailing '/' is allowed).
// Logs "CreateDirectories, dirName = \"<path>\"" and "Created directory: <dir>" for each
// one made. Returns true iff it made at least one. A directory that cannot be made raises
// the assertion failure "false" with the message
// "Could not create directory:\ndirectory = %1%\nerror = %2%" (directory, system error).
bool CreateDirectories(const std::string& path);

// text with every line feed written as a backslash and "n".
std::string EscapeNewlines(const std::string& text);
// True iff text ends with suffix (an empty suffix always matches).
bool EndsWith(const std::string& text, const std::string& suffix);

// "<code>: <the system's message for code>" (message at most 255 characters). On this
// platform system error codes are errno values.
std::string FormatSystemError(int code);
// FormatSystemError of the current errno.
std::string GetLastErrorText();
// The runtime library's message for errnum, and for the current errno.
std::string FormatErrnoText(int errnum);
std::string GetErrnoText();

// "MM:SS" of a number of seconds (minutes grow past two digits as needed).
std::string FormatMinutesSeconds(int seconds);
// "$" then "-" when negative, then the digits with "," between groups of three: $1,234.
std::string FormatWithThousandsSeparators(int value);
// Reverses a zero-terminated text in place; null is ignored.
void ReverseString(char* text);

// Random helpers over MakoRand (core/Random.h):
// 0 .. n-1 (rand() % n); 0 when n is 0.
int RandomInt(int n);
// 0 .. max, both ends included (rand() / 32767 * max).
double RandomDouble(double max);
// lower .. upper with the upper end excluded (rand() / 32768 scaled), the bounds given in
// either order; lower itself when they are equal.
float RandomFloatInRange(float a, float b);

// x + 0.5 truncated toward zero (so -1.7 gives -1).
int RoundToInt(float x);

// Result codes of ConvertWideToAnsi.
const int32_t MAKO_S_OK = 0;
const int32_t MAKO_E_INVALIDARG = static_cast<int32_t>(0x80070057u);
const int32_t MAKO_E_FAIL = static_cast<int32_t>(0x80004005u);

// Converts wide text to the system's multibyte text (UTF-8) into buffer of length bytes.
// buffer[length - 1] always holds a terminator. MAKO_E_INVALIDARG for a null buffer or
// text or a length below 1; MAKO_E_FAIL when the text holds an invalid character or does
// not fit (the buffer then holds the whole characters that fit).
int32_t ConvertWideToAnsi(char* buffer, const wchar_t* wide, int length);

// printf-style text of at most 800 characters to the debugger output; text that does not
// fit is cut and ends in a line feed.
void DebugTrace(const char* format, ...) MAKO_PRINTF_FORMAT(1, 2);
