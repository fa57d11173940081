#include "display/CDXLog.h"

#include "core/FileWriter.h"
#include "core/MonotonicClock.h"
#include "core/Utility.h"

#include "win32/DebugOutput.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// Built before main, as the wrapper expects its log to exist from the start.
[[maybe_unused]] CDXLog& gCDXLogAtStartup = CDXLog::Get();

// prefix (formatted with the milliseconds), the text and a line feed, cut to fit a line of
// CDXLog::kLineLength characters.
template <typename Ms> std::string FormatLine(const char* prefix, Ms milliseconds, const char* text)
{
    char head[32];
    std::snprintf(head, sizeof head, prefix, milliseconds);
    std::string line = std::string(head) + text;
    if (line.size() > std::size_t(CDXLog::kLineLength - 2))
        line.resize(CDXLog::kLineLength - 2);
    return line + "\n";
}

} // namespace

CDXLog& CDXLog::Get()
{
    static CDXLog log;
    return log;
}

CDXLog::CDXLog() : m_StartTick(static_cast<std::uint64_t>(MonotonicClock::NowMs()))
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    m_FileName = MakeFileName(local);
}

std::string CDXLog::MakeFileName(const std::tm& t)
{
    char name[260];
    std::snprintf(name, sizeof name, "cdx%.4d%.2d%.2d%.2d%.2d%.2d.log", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return name;
}

std::uint32_t CDXLog::MillisecondsSinceStart() const
{
    return static_cast<std::uint32_t>(MonotonicClock::NowMs() - m_StartTick);
}

void CDXLog::Write(const char* text)
{
    if (m_Targets & CDXLOG_FILE)
        AppendToFile(text);
    if (m_Targets & CDXLOG_STDOUT)
        std::fputs(text, stdout);
    if (m_Targets & CDXLOG_STDERR)
        std::fputs(text, stderr);
    if (m_Targets & CDXLOG_SCREEN)
        WriteScreen(text);
    if ((m_Targets & CDXLOG_CALLBACK) && m_Callback)
        m_Callback(text);
    if (m_Targets & CDXLOG_DEBUGGER)
        OutputDebugStringA(text);
}

void CDXLog::AppendToFile(const char* text)
{
    if (m_FileFailed)
        return;
    const std::string path = GetDocumentsFilePath(m_FileName);
    // The trace is the game's own output: never appended through a link (core/FileWriter.h).
    std::FILE* file = FileWriter::AppendOutputStream(path, true, false);
    int error = file ? 0 : errno;
    if (file) {
        if (std::fputs(text, file) < 0 || std::fflush(file) != 0)
            error = errno != 0 ? errno : EIO;
        if (std::fclose(file) != 0 && error == 0)
            error = errno != 0 ? errno : EIO;
    }
    if (error == 0)
        return;
    m_FileFailed = true;
    std::fprintf(stderr,
                 "Warning: could not write the display trace \"%s\": %s. The trace is "
                 "no longer written to a file.\n",
                 path.c_str(), std::strerror(error));
    std::fflush(stderr);
}

void CDXLog::WriteScreen(const char* text)
{
    if (!m_Screen) {
        AppendToFile("No CDXScreen object supplied for GUIWIN output\n");
        return;
    }
    // The lines are kept; drawing them needs a device context, which this platform's
    // surfaces do not offer, so they are not drawn.
    std::snprintf(m_ScreenLines[m_NextScreenLine], kLineLength, "%s", text);
    m_NextScreenLine = (m_NextScreenLine + 1) % kScreenLines;
}

void CDXLog::Log(const char* format, ...)
{
    char body[kLineLength];
    va_list args;
    va_start(args, format);
    std::vsnprintf(body, sizeof body, format, args);
    va_end(args);
    Write(FormatLine("CDX: %u: ", MillisecondsSinceStart(), body).c_str());
}

void CDXLog::LogVerbose(const char* format, ...)
{
    if (m_Level != 2)
        return;
    char body[kLineLength];
    va_list args;
    va_start(args, format);
    std::vsnprintf(body, sizeof body, format, args);
    va_end(args);
    Write(FormatLine("CDX: %d: ", static_cast<int>(MillisecondsSinceStart()), body).c_str());
}
