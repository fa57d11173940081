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
// creates or opens anything (a FIFO is not waited on) and never fails: every problem
// answers false.
bool FileExists(const std::string& path, int flags);

// Creates every missing directory along path ('/'-separated; a trailing '/' is allowed),
// each of mode 0700: only this user may reach into the folders the game makes. Logs
// "CreateDirectories, dirName = \"<path>\"" and "Created directory: <dir>" for each one made.
// Returns true iff it made at least one. A directory that cannot be made raises the assertion
// failure "false" with the message "Could not create directory:\ndirectory = %1%\nerror = %2%"
// (directory, system error).
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
// "-" when negative, then the digits with "," between groups of three: 12,500.
std::string GroupThousands(int value);
// The same after a "$": $1,234, $-5.
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

// The nearest int, halves rounded up (x + 0.5 rounded down): -1.7 gives -2, -1.5 gives -1.
// Negative coordinates round like positive ones, so a whole number stays what it is (a wall
// centred at -1016 keeps its place when it is synced from the physics). A value past the
// int range gives INT_MAX or INT_MIN, NaN gives 0.
int RoundToInt(float x);

// A number from a script or a file as an int: truncated toward zero and held to the int
// range (a huge value gives INT_MAX or INT_MIN, NaN gives 0), never undefined.
int ClampToInt(double x);

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

// ---------------------------------------------------------------------------------------
// Version, system report, folders and the single-instance check (defined in
// UtilitySystem.cpp).

class CFileVersion;

// The reader's "FileVersion" text.
std::string GetVersionString(const CFileVersion& reader);

// The version of the program file at programPath (the program's argument 0; a bare name
// without a folder means the running program), leading blanks removed. When the version
// cannot be read, logs "WARNING: The application's version could not be retrieved,
// error = <system error>" and answers "0.0.0.0".
std::string ReadApplicationVersion(const std::string& programPath);

// Whether the display layer of the hardware display backend is present. The software
// stand-in of that layer is always linked into this program, so the answer is true; start-up
// still asks, and raises DirectX7NotAvailable when it is not.
bool IsDirectX7Available();

// Writes the processor report and then the memory status to the log, unconditionally:
// memory load in percent, total and available physical memory, total and available
// commit (memory plus swap), total and available address space of the process, in bytes.
void LogMemoryStatus();

// The user's special folder of folderId (CSIDL_PERSONAL, CSIDL_APPDATA from
// win32/Folders.h), without a trailing '/'. Raises Exception "Could not find the user's
// folder (id %1%): %2%" when it cannot be named (no home folder, unknown id).
std::string GetWindowsFolderPath(int folderId);

// The application's documents folder, with a trailing '/': where the log, player cards,
// screenshots, usage and performance logs go. The application sets it when it settles its
// paths (the personal folder followed by its documents folder name); until then it is the
// personal folder itself. Never empty, never the program's folder.
std::string GetDocumentsFolderPath();
void SetDocumentsFolderPath(const std::string& folder);

// The path of fileName inside the documents folder.
std::string GetDocumentsFilePath(const std::string& fileName);

// A path written with Windows separators ("tessarine\\bumperlux\\") in this platform's
// form: every backslash becomes '/'.
std::string ToNativePath(const std::string& path);

// What the single-instance check found.
enum SingleInstanceResult {
    SINGLE_INSTANCE_ALONE,         // this process holds the lock: it is the one copy that saves
    SINGLE_INSTANCE_OTHER_RUNNING, // another running copy holds it
    SINGLE_INSTANCE_UNAVAILABLE,   // it could not be taken (no plain file, a read-only folder)
};

// The single-instance check. Takes, for the rest of the process, the lock of the application
// code appCode (four characters, as made by AppCodeFromString): the file "<code>.lock" in
// savesFolder, the folder of the player cards (created when missing), a path already in this
// platform's form, taken as it stands: a backslash in the user's own folder names is a
// character of the name. The lock lives beside what it guards, so every start with the same
// saves sees it whatever its environment. OTHER_RUNNING is said in one line on standard error
// as well as in the log (the log of this run goes nowhere the user looks); the caller then ends
// with exit status 1. A lock file that is no plain file of its own (a link, wherever it leads;
// a FIFO; a folder) is never followed or opened: it is a lock that cannot be taken, and stays
// as it is. UNAVAILABLE is said on standard error (SingleInstanceWarning) with the reason,
// which also comes back in reason: the caller then plays without saving, and logs the
// warning once its log file is open (a log that goes to standard error instead has said it).
// appCode 0 raises the assertion failure "appCode != 0" with "0 is not a valid app code.".
SingleInstanceResult TakeSingleInstanceLock(uint32_t appCode, const std::string& savesFolder,
                                            std::string& reason);
// "Warning: <reason>; this copy of the game plays without saving." and a line end.
std::string SingleInstanceWarning(const std::string& reason);

// Whether no other running process holds the lock of appCode in savesFolder: true when this
// process holds it, or when it could be taken (it is then given up again at once). False
// when the lock cannot be checked. Work that would disturb another running instance
// (removing files it may be writing) asks this first.
bool IsOnlyInstance(uint32_t appCode, const std::string& savesFolder);
