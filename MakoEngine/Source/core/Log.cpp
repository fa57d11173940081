#include "core/Log.h"

#include "core/Exception.h"
#include "lua/LuaFunctionList.h"
#include "win32/DebugOutput.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>

namespace {

const size_t kLineBufferSize = 4096;

struct LogState
{
    std::string path;
    std::deque<std::string> pending; // oldest first
    size_t dropped = 0;              // older pending lines given up to respect the cap
    int level = 2;
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
    std::fputs(text, stdout);
    std::fflush(stdout);
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

// Writes the kept lines into an open log file, preceded by a note on how many were
// dropped, and forgets them.
void WritePending(std::FILE* file)
{
    LogState& state = State();
    if (state.dropped > 0)
        std::fprintf(file,
                     "(%zu earlier log lines were dropped while the log file could not "
                     "be written.)\n",
                     state.dropped);
    for (const std::string& line : state.pending)
        std::fputs(line.c_str(), file);
    state.pending.clear();
    state.dropped = 0;
}

void WriteEntry(const char* text)
{
    LogState& state = State();
    if (!state.path.empty()) {
        if (std::FILE* file = std::fopen(state.path.c_str(), "a")) {
            WritePending(file);
            std::fputs(text, file);
            std::fclose(file);
            Echo(text);
            return;
        }
    }
    KeepPending(text);
    Echo(text);
}

void WriteFormatted(const char* format, va_list args)
{
    char buffer[kLineBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format ? format : "", args);
    WriteEntry(buffer);
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

void StartLogFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        int error = errno;
        MAKO_THROW(Exception, boost::str(boost::format("Could not open log file:\nfile = "
                                                       "%1%\nerrno = %2%\nerror string = %3%") %
                                         path % error % std::strerror(error)));
    }
    State().path.clear(); // the two lines below join the kept ones
    Log("Created log file at \"%s\"\n", path.c_str());
    Log("Writing previous log entries to disk.\n");
    WritePending(file);
    std::fclose(file);
    State().path = path;
}

void SetLogFilePath(const std::string& path)
{
    State().path = path;
}

const std::string& GetLogFilePath()
{
    return State().path;
}

size_t GetPendingLogLineCount()
{
    return State().pending.size();
}

// logprint(text): writes text and a line end to the log. The text is never a format.
MAKO_LUA_FUNCTION(logprint)
{
    const char* text = lua_gettop(L) > 0 ? lua_tostring(L, -1) : nullptr;
    Log("%s\n", text ? text : "nil");
    return 0;
}
