#include "core/Log.h"

#include "core/AtomicFile.h"
#include "core/Exception.h"
#include "win32/DebugOutput.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>

#include <boost/format.hpp>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t kLineBufferSize = 4096;

struct LogState
{
    std::string path;
    std::deque<std::string> pending; // oldest first
    size_t dropped = 0;              // older pending lines given up to respect the cap
    int level = 2;
    bool failing = false;         // the last write to the log file failed (already reported)
    bool toStandardError = false; // there is no log file: entries go to standard error
    bool echo = false;            // the console is in use: entries go to standard output too
};

// Made on first use and never destroyed, so that logging works during static
// initialisation and destruction alike.
LogState& State()
{
    static LogState* state = new LogState();
    return *state;
}

void Echo(const char* text)
{
    if (State().echo) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    }
    OutputDebugStringA(text);
}

void KeepPending(const char* text)
{
    LogState& state = State();
    state.pending.emplace_back(text);
    while (state.pending.size() > MAX_PENDING_LOG_LINES) {
        state.pending.pop_front();
        ++state.dropped;
    }
}

// The kept lines, preceded by a note on how many were dropped.
std::string PendingText()
{
    LogState& state = State();
    std::string text;
    if (state.dropped > 0)
        text += "(" + std::to_string(state.dropped) +
                " earlier log lines were dropped while the log file could not be written.)\n";
    for (const std::string& line : state.pending)
        text += line;
    return text;
}

void ForgetPending()
{
    State().pending.clear();
    State().dropped = 0;
}

// Whether writing to a file of that mode could wait for a reader for ever.
bool MayBlock(mode_t mode)
{
    return S_ISFIFO(mode) || S_ISSOCK(mode);
}

// Opens the file at path for writing (emptied, or to append to), made when missing, without
// waiting: a FIFO is refused (null, errno EINVAL), whether or not a reader holds it open.
std::FILE* OpenWithoutWaiting(const std::string& path, bool empty)
{
    const int flags =
        O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (empty ? O_TRUNC : O_APPEND);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return nullptr;
    struct stat status;
    if (::fstat(fd, &status) != 0 || MayBlock(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, empty ? "w" : "a");
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

// Sets aside (".bad") a FIFO standing at path, so that a log file can be made there.
void SetAsideFifo(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) == 0 && MayBlock(status.st_mode))
        KeepFileAside(path, "it is a FIFO, not a regular file");
}

// Writes text to the file opened with mode; 0, or the errno value of the failure (a full
// disk shows only when the file is flushed and closed). A failed append is cut back to
// where the file ended, so the file never ends in part of a line and the kept lines are
// not written twice when they are tried again.
int WriteToFile(const std::string& path, const char* mode, const std::string& text)
{
    std::FILE* file = OpenWithoutWaiting(path, mode[0] == 'w');
    if (!file)
        return errno;
    struct stat before;
    const bool sized = ::fstat(fileno(file), &before) == 0 && S_ISREG(before.st_mode);
    bool ok =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    int error = ok ? 0 : errno;
    if (!ok && sized)
        (void)::ftruncate(fileno(file), before.st_size);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
        if (sized)
            (void)::truncate(path.c_str(), before.st_size);
    }
    return ok ? 0 : (error != 0 ? error : EIO);
}

// Says once, on standard error, that the log file cannot be written, and again after it
// could be written in between: the log itself cannot carry the news.
void ReportWriteFailure(const std::string& path, int error)
{
    LogState& state = State();
    if (state.failing)
        return;
    state.failing = true;
    std::fprintf(stderr,
                 "Warning: Could not write the log file \"%s\": %s. Log lines are kept in "
                 "memory until it can be written.\n",
                 path.c_str(), std::strerror(error));
    std::fflush(stderr);
}

void WriteEntry(const char* text)
{
    LogState& state = State();
    if (state.toStandardError) {
        std::fputs(text, stderr);
        std::fflush(stderr);
        OutputDebugStringA(text);
        return;
    }
    if (!state.path.empty()) {
        int error = WriteToFile(state.path, "a", PendingText() + text);
        if (error == 0) {
            ForgetPending();
            state.failing = false;
            Echo(text);
            return;
        }
        ReportWriteFailure(state.path, error);
    }
    KeepPending(text);
    Echo(text);
}

// An entry longer than a line may be is cut, and still ends its line, saying it was cut, so
// that the next entry starts a line of its own.
void WriteFormatted(const char* format, va_list args)
{
    char buffer[kLineBufferSize];
    const int length = std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    if (length < static_cast<int>(sizeof buffer)) {
        WriteEntry(buffer);
        return;
    }
    const std::string note = " [cut: the entry held " + std::to_string(length) + " bytes]\n";
    std::string text(buffer, sizeof buffer - 1 - note.size());
    WriteEntry((text + note).c_str());
}

} // namespace

void Log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

void LogAtLevel(int level, const char* format, ...)
{
    if (level > State().level)
        return;
    va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

int GetLogLevel()
{
    return State().level;
}

void SetLogLevel(int level)
{
    State().level = level;
}

int TryStartLogFile(const std::string& path)
{
    int error = GetInjectedWriteFault();
    if (error == 0)
        SetAsideFifo(path);
    std::FILE* file = error == 0 ? OpenWithoutWaiting(path, true) : nullptr;
    if (!file)
        return error != 0 ? error : errno;
    std::fclose(file);
    State().path.clear(); // the two lines below join the kept ones
    State().toStandardError = false;
    Log("Created log file at \"%s\"\n", path.c_str());
    Log("Writing previous log entries to disk.\n");
    error = WriteToFile(path, "a", PendingText());
    if (error == 0) {
        ForgetPending();
        State().failing = false;
    } else {
        ReportWriteFailure(path, error);
    }
    State().path = path;
    return 0;
}

void StartLogFile(const std::string& path)
{
    int error = TryStartLogFile(path);
    if (error != 0)
        MAKO_THROW(Exception, boost::str(boost::format("Could not open log file:\nfile = "
                                                       "%1%\nerrno = %2%\nerror string = %3%") %
                                         path % error % std::strerror(error)));
}

void LogToStandardError()
{
    LogState& state = State();
    state.path.clear();
    state.toStandardError = true;
    const std::string kept = PendingText();
    ForgetPending();
    std::fputs(kept.c_str(), stderr);
    std::fflush(stderr);
}

void SetLogEcho(bool on)
{
    LogState& state = State();
    if (on && !state.echo) {
        for (const std::string& line : state.pending)
            std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    }
    state.echo = on;
}

bool GetLogEcho()
{
    return State().echo;
}

void SetLogFilePath(const std::string& path)
{
    State().path = path;
    State().toStandardError = false;
}

const std::string& GetLogFilePath()
{
    return State().path;
}

size_t GetPendingLogLineCount()
{
    return State().pending.size();
}
