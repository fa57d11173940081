#include "core/Log.h"

#include "core/AtomicFile.h"
#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Utf8.h"
#include "win32/DebugOutput.h"
#include "win32/OwnFiles.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
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
LogState& TheLog()
{
    static LogState* state = new LogState();
    return *state;
}

// Where the log goes, as a signal handler may read it: two copies of the path, the one in use
// named by s_SignalSlot (-1: no file), so that a handler never reads one being written.
char s_SignalPaths[2][4096];
volatile std::sig_atomic_t s_SignalSlot = -1;
volatile std::sig_atomic_t s_SignalToStandardError = 0;

// Tells LogFromSignalHandler where the log goes now; called wherever that changes.
void PublishPlace()
{
    const LogState& state = TheLog();
    s_SignalToStandardError = state.toStandardError ? 1 : 0;
    if (state.path.empty() || state.path.size() >= sizeof s_SignalPaths[0]) {
        s_SignalSlot = -1;
        return;
    }
    const int next = s_SignalSlot == 0 ? 1 : 0;
    std::memcpy(s_SignalPaths[next], state.path.c_str(), state.path.size() + 1);
    s_SignalSlot = next;
}

void Echo(const char* text)
{
    if (TheLog().echo) {
        std::fputs(text, stdout);
        std::fflush(stdout);
    }
    OutputDebugStringA(text);
}

void KeepPending(const char* text)
{
    LogState& state = TheLog();
    state.pending.emplace_back(text);
    while (state.pending.size() > MAX_PENDING_LOG_LINES) {
        state.pending.pop_front();
        ++state.dropped;
    }
}

// The kept lines, preceded by a note on how many were dropped.
std::string PendingText()
{
    LogState& state = TheLog();
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
    TheLog().pending.clear();
    TheLog().dropped = 0;
}

// Opens the log file at path to append to, made when missing, through the writer of the
// game's own output, whose rules alone say what may stand there: never a link (ELOOP),
// never a FIFO or a socket (EINVAL, or ENXIO when no reader holds it) and never a plain file
// that has another name besides (EMLINK: it is some other file too). With empty, a plain
// file is emptied first; a device is written as it is.
std::FILE* OpenLogFile(const std::string& path, bool empty)
{
    return FileWriter::AppendOutputStream(path, true, empty);
}

// What the writer refused (refusal: its errno) at the log's place, cleared so that a log
// file of its own is made there: a link (wherever it leads, if anywhere) or a second name of
// another file is removed, never what it names; a FIFO or a socket is set aside (".bad").
// note then says what was done, for the log. True when something was cleared and the open
// is worth trying again.
bool ClearLogPlace(const std::string& path, int refusal, std::string& note)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
        return false;
    if ((refusal == EINVAL || refusal == ENXIO) &&
        (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))) {
        KeepFileAside(path, "it is a FIFO, not a regular file");
        return true;
    }
    std::string held;
    if (refusal == ELOOP && S_ISLNK(status.st_mode)) {
        char text[4096];
        const ssize_t length = ::readlink(path.c_str(), text, sizeof text);
        held = "a link to \"" + std::string(text, length > 0 ? static_cast<size_t>(length) : 0) +
               "\": the link was removed (what it leads to is untouched)";
    } else if (refusal == EMLINK && S_ISREG(status.st_mode)) {
        held = "a second name of another file: that name was removed (the file is untouched "
               "under its other names)";
    } else {
        return false;
    }
    if (::unlink(path.c_str()) != 0)
        return false;
    note = "The log's place \"" + path + "\" held " + held +
           ", and the log is written in its place.\n";
    return true;
}

// Cuts the log file at path back to the size it had when its status was before, if it is
// still that file (never through a link, never another file put in its place).
void CutBack(const std::string& path, const struct stat& before)
{
    const int fd = FileWriter::AppendOutput(path, false, false);
    if (fd < 0)
        return;
    struct stat now;
    if (::fstat(fd, &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == before.st_dev &&
        now.st_ino == before.st_ino)
        (void)::ftruncate(fd, before.st_size);
    ::close(fd);
}

// Writes text to the end of the log file; 0, or the errno value of the failure (a full disk
// shows only when the file is flushed and closed). A failed append is cut back to where the
// file ended, so the file never ends in part of a line and the kept lines are not written
// twice when they are tried again.
int WriteToFile(const std::string& path, const std::string& text)
{
    std::FILE* file = OpenLogFile(path, false);
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
            CutBack(path, before);
    }
    return ok ? 0 : (error != 0 ? error : EIO);
}

// Says once, on standard error, that the log file cannot be written, and again after it
// could be written in between: the log itself cannot carry the news.
void ReportWriteFailure(const std::string& path, int error)
{
    LogState& state = TheLog();
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
    LogState& state = TheLog();
    if (state.toStandardError) {
        std::fputs(text, stderr);
        std::fflush(stderr);
        OutputDebugStringA(text);
        return;
    }
    if (!state.path.empty()) {
        int error = WriteToFile(state.path, PendingText() + text);
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

// An entry longer than a line may be is cut, at the start of a character, and still ends its
// line, saying it was cut, so that the next entry starts a line of its own.
//
// The log holds only valid UTF-8 whatever an entry quotes (a damaged file's bytes in a script
// error): a byte that is no part of a well-formed character is written as its escape "\xEF".
void WriteFormatted(const char* format, va_list args)
{
    char buffer[kLineBufferSize];
    const int length = std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    const std::string entry = Utf8::EscapeInvalid(
        std::string(buffer, std::min(static_cast<size_t>(std::max(length, 0)), sizeof buffer - 1)));
    if (length < static_cast<int>(sizeof buffer) && entry.size() < sizeof buffer) {
        WriteEntry(entry.c_str());
        return;
    }
    // How long the entry was: as formatted, or as escaped when only the escapes made it long.
    const size_t held =
        length >= static_cast<int>(sizeof buffer) ? static_cast<size_t>(length) : entry.size();
    const std::string note = " [cut: the entry held " + std::to_string(held) + " bytes]\n";
    // The cut falls before the character it would split (one has at most four bytes), so the
    // log stays valid UTF-8 wherever the entry was.
    size_t kept = sizeof buffer - 1 - note.size();
    for (int back = 0; back < 3 && kept > 0 && !Utf8::IsLead(entry[kept]); ++back)
        --kept;
    WriteEntry((entry.substr(0, kept) + note).c_str());
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
    if (level > TheLog().level)
        return;
    va_list args;
    va_start(args, format);
    WriteFormatted(format, args);
    va_end(args);
}

int GetLogLevel()
{
    return TheLog().level;
}

void SetLogLevel(int level)
{
    TheLog().level = level;
}

int TryStartLogFile(const std::string& path)
{
    if (const int fault = GetInjectedWriteFault())
        return fault;
    std::string note;
    std::FILE* file = OpenLogFile(path, true);
    // What the writer refuses there is no log of its own: it is cleared, once, and the log
    // made in its place.
    if (!file) {
        const int refusal = errno;
        if (!ClearLogPlace(path, refusal, note))
            return refusal;
        file = OpenLogFile(path, true);
        if (!file)
            return errno;
    }
    std::fclose(file);
    TheLog().path.clear(); // the lines below join the kept ones
    TheLog().toStandardError = false;
    Log("Created log file at \"%s\"\n", path.c_str());
    Log("Writing previous log entries to disk.\n");
    if (!note.empty())
        Log("%s", note.c_str());
    const int error = WriteToFile(path, PendingText());
    if (error == 0) {
        ForgetPending();
        TheLog().failing = false;
    } else {
        ReportWriteFailure(path, error);
    }
    TheLog().path = path;
    PublishPlace();
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
    LogState& state = TheLog();
    state.path.clear();
    state.toStandardError = true;
    PublishPlace();
    const std::string kept = PendingText();
    ForgetPending();
    std::fputs(kept.c_str(), stderr);
    std::fflush(stderr);
}

void SetLogEcho(bool on)
{
    LogState& state = TheLog();
    if (on && !state.echo) {
        for (const std::string& line : state.pending)
            std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    }
    state.echo = on;
}

bool GetLogEcho()
{
    return TheLog().echo;
}

void SetLogFilePath(const std::string& path)
{
    TheLog().path = path;
    TheLog().toStandardError = false;
    PublishPlace();
}

void LogFromSignalHandler(const char* line)
{
    std::size_t length = 0;
    while (line[length] != '\0')
        ++length;
    int fd = STDERR_FILENO;
    if (!s_SignalToStandardError) {
        const int slot = s_SignalSlot;
        if (slot < 0)
            return;
        fd = FileWriter::AppendOutput(s_SignalPaths[slot], false, false);
        if (fd < 0)
            return;
    }
    ownfiles::WriteAll(fd, line, length); // nothing more a signal handler can do on failure
    if (fd != STDERR_FILENO)
        ::close(fd);
}

const std::string& GetLogFilePath()
{
    return TheLog().path;
}

size_t GetPendingLogLineCount()
{
    return TheLog().pending.size();
}
