#include "perf/CounterLogWriter.h"

#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Log.h"
#include "core/Utility.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

CounterLogWriter::CounterLogWriter()
    : m_TempFile(nullptr), m_ColumnStarted(false), m_State(Idle), m_TempFailed(false)
{
}

CounterLogWriter::~CounterLogWriter()
{
    DiscardTempFile();
}

void CounterLogWriter::BeginLine()
{
    MAKO_ASSERT(m_State == Idle);
    if (!m_TempFile && !m_TempFailed)
        OpenTempFile();
    m_ColumnStarted = false;
    m_State = WritingLineOfPerfData;
}

void CounterLogWriter::OpenTempFile()
{
    MAKO_ASSERT(m_TempFile == 0);
    std::string folder;
    try {
        folder = GetDocumentsFolderPath();
    } catch (const Exception& e) {
        Log("WARNING: No folder for the performance log: %s\n", e.what());
        m_TempFailed = true;
        return;
    }
    // The frame lines need no name: the file lives while it is open, so a game that is
    // killed mid-period leaves nothing behind in the user's folder.
    std::FILE* file = FileWriter::OpenScratchFile(folder);
    if (!file) {
        Log("WARNING: Could not create a temporary file for the performance log in \"%s\", "
            "reason=\"%s\"\n",
            folder.c_str(), GetErrnoText().c_str());
        m_TempFailed = true;
        return;
    }
    m_TempFile = file;
}

void CounterLogWriter::DiscardTempFile()
{
    if (m_TempFile)
        std::fclose(m_TempFile);
    m_TempFile = nullptr;
}

// Writes one value with the format for the first value of a line or for a later one: frame
// values to the temporary file, header names to the header kept in memory.
void CounterLogWriter::WriteValue(const char* first, const char* later, ...)
{
    MAKO_ASSERT(m_State == WritingLineOfPerfData || m_State == WritingHeaders);
    if (m_State == WritingLineOfPerfData && !m_TempFile)
        return; // this period's temporary file could not be made: its lines are dropped
    va_list args;
    va_start(args, later);
    va_list again;
    va_copy(again, args);
    const char* format = m_ColumnStarted ? later : first;
    int length = std::vsnprintf(nullptr, 0, format, args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    va_end(args);
    if (m_State == WritingHeaders)
        m_Header += text;
    else
        std::fputs(text.c_str(), m_TempFile);
    m_ColumnStarted = true;
}

void CounterLogWriter::WriteInt(int value)
{
    WriteValue("%d", "\t%d", value);
}

void CounterLogWriter::WriteDouble(double value)
{
    WriteValue("%f", "\t%f", std::isfinite(value) ? value : 0.0);
}

void CounterLogWriter::WriteString(const std::string& value)
{
    WriteValue("%s", "\t%s", value.c_str());
}

void CounterLogWriter::EndLine()
{
    MAKO_ASSERT(m_State == WritingLineOfPerfData);
    if (m_TempFile)
        std::fputs("\n", m_TempFile);
    m_State = Idle;
}

bool CounterLogWriter::BeginFinalization(const std::string& path)
{
    MAKO_ASSERT(m_State == Idle);
    m_TempFailed = false; // the next period tries again
    if (!m_TempFile)
        return false;
    m_FinalPath = path;
    m_Header.clear();
    m_ColumnStarted = false;
    m_State = WritingHeaders;
    return true;
}

void CounterLogWriter::EndFinalization()
{
    MAKO_ASSERT(m_TempFile != 0);
    MAKO_ASSERT(m_State == WritingHeaders);
    std::string text = m_Header + "\n";
    bool read = std::fflush(m_TempFile) == 0 && std::fseek(m_TempFile, 0, SEEK_SET) == 0;
    char block[1024];
    size_t got;
    while (read && (got = std::fread(block, 1, sizeof block, m_TempFile)) > 0)
        text.append(block, got);
    read = read && !std::ferror(m_TempFile);
    // The log is the game's own file: never written through a link, nor over a file the
    // game did not make.
    FileWriter::Result written;
    if (read)
        written = FileWriter::WriteOutput(m_FinalPath, text, FileWriter::REPLACE_OWN);
    else
        written.reason = std::strerror(errno != 0 ? errno : EIO);
    if (!read || !written.Ok())
        Log("WARNING: Could not write the performance log \"%s\", reason=\"%s\". The previous "
            "log was kept.\n",
            m_FinalPath.c_str(), written.reason.c_str());
    DiscardTempFile();
    m_Header.clear();
    m_State = Idle;
}
