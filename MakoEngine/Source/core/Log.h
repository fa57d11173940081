#pragma once
// The engine log. Every diagnostic line of the program goes through Log or LogAtLevel:
// it is appended to the log file and sent to the debugger output; while the console is in
// use (SetLogEcho, "--console") it is also echoed unchanged to standard output, which
// otherwise stays quiet, as a program without a console shows nothing. Until the log file is known
// (and whenever it cannot be opened) lines are kept in memory, at most MAX_PENDING_LOG_LINES of
// them (the newest; the log later says how many older ones were dropped), and written into the
// file, in order, as soon as it can be written. A log file that cannot be written (a full disk) is
// reported once on standard error, "Warning: Could not write the log file "<path>": <cause>. ...",
// and again only after a write in between succeeded; its lines are kept in memory meanwhile. Works
// from the first instant of the process, static initialisation included. Main thread only.
//
// The caller supplies line ends; the log adds none, but to an entry longer than 4095 bytes:
// it is cut to at most that length, before a character rather than inside one (the log stays
// valid UTF-8), ending with a note that it was cut and a line end.
//
// The log never writes through a link and never empties anything but a plain file with no
// other name: see StartLogFile. A FIFO or a socket where it goes is never opened for writing
// (it would wait for a reader); a device is written as it is, never waited on.
#include <cstddef>
#include <string>

#if defined(__GNUC__)
#define MAKO_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define MAKO_PRINTF_FORMAT(fmt, args)
#endif

// Writes one entry unconditionally.
void Log(const char* format, ...) MAKO_PRINTF_FORMAT(1, 2);

// Writes one entry when level <= the log level. Level 3 is the chatty one (pause and
// resume notices); 4 is tracing.
void LogAtLevel(int level, const char* format, ...) MAKO_PRINTF_FORMAT(2, 3);

// The log level LogAtLevel compares with: 2 until the application sets it at the end of
// start-up (from its property "logLevel", which the log options set, else the configuration
// key "log_level").
int GetLogLevel();
void SetLogLevel(int level);

// The application's log start-up: creates (or empties) the file at path, raising
// Exception "Could not open log file:\nfile = %1%\nerrno = %2%\nerror string = %3%" when it
// cannot; logs "Created log file at \"<path>\"" and "Writing previous log entries to
// disk."; writes every line kept in memory into it, in order; and from then on appends
// every entry to path. What stands at path is no log of its own when it is a link (wherever
// it leads, if anywhere) or a second name of another file: that name alone is removed, never
// what it names, a fresh log file is made in its place, and the log says so ("The log's place
// \"<path>\" held a link to \"<target>\": the link was removed ..."). A FIFO there is set
// aside (".bad"). Appends later refuse a link, a FIFO or a second name put at path meanwhile:
// the entries wait in memory as for a file that cannot be written.
void StartLogFile(const std::string& path);
// The same without raising: 0, or the errno value of the failure to create the file
// (nothing changes then).
int TryStartLogFile(const std::string& path);

// For a program that has no folder to write its log into: every line kept in memory, then
// every entry from now on, goes to standard error instead (not echoed to standard output
// as well). StartLogFile or SetLogFilePath ends it.
void LogToStandardError();

// Standard output echoes every entry from now on (on) or nothing (off, the default).
// Turning it on echoes first the lines still waiting for the log file.
void SetLogEcho(bool on);
bool GetLogEcho();

// Appends entries to path from now on, without emptying it or writing kept lines first
// (they follow with the next entry that reaches the file). "" goes back to keeping lines
// in memory.
void SetLogFilePath(const std::string& path);
const std::string& GetLogFilePath();

// Appends line (line end included) to the log file as it stands, or to standard error when
// the log goes there, from a signal handler: async-signal-safe, so it allocates nothing, writes
// no kept lines first and echoes nothing. A line the file refuses is lost.
void LogFromSignalHandler(const char* line);

// How many lines wait in memory for the log file.
size_t GetPendingLogLineCount();

const size_t MAX_PENDING_LOG_LINES = 1000;
