#include "perf/CounterLogWriter.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <unistd.h>

CounterLogWriter::CounterLogWriter()
    : m_TempFile(nullptr), m_FinalFile(nullptr), m_ColumnStarted(false), m_State(Idle),
      m_TempFailed(false)
{
}

CounterLogWriter::~CounterLogWriter()
{
    if (m_FinalFile)
        std::fclose(m_FinalFile);
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
    MAKO_ASSERT(m_TempFileName.empty() == true);
    std::string folder;
    try {
        folder = GetDocumentsFolderPath();
    } catch (const Exception& e) {
        Log("WARNING: No folder for the performance log: %s\n", e.what());
        m_TempFailed = true;
        return;
    }
    std::string name = folder + "tmpXXXXXX";
    int fd = mkstemp(&name[0]);
    std::FILE* file = fd >= 0 ? fdopen(fd, "w+") : nullptr;
    if (!file) {
        Log("WARNING: Could not create a temporary file for the performance log in \"%s\", "
            "reason=\"%s\"\n",
            folder.c_str(), GetErrnoText().c_str());
        if (fd >= 0) {
            close(fd);
            unlink(name.c_str());
        }
        m_TempFailed = true;
        return;
    }
    m_TempFile = file;
    m_TempFileName = name;
}

void CounterLogWriter::DiscardTempFile()
{
    if (m_TempFile)
        std::fclose(m_TempFile);
    if (!m_TempFileName.empty())
        unlink(m_TempFileName.c_str());
    m_TempFile = nullptr;
    m_TempFileName.clear();
}

std::FILE* CounterLogWriter::GetDestFile()
{
    if (m_State == WritingLineOfPerfData)
        return m_TempFile;
    if (m_State == WritingHeaders)
        return m_FinalFile;
    MAKO_ASSERT(false);
    return nullptr;
}

// Writes one value with the format for the first value of a line or for a later one.
void CounterLogWriter::WriteValue(const char* first, const char* later, ...)
{
    std::FILE* dest = GetDestFile();
    if (!dest)
        return; // this period's temporary file could not be made: its lines are dropped
    va_list args;
    va_start(args, later);
    std::vfprintf(dest, m_ColumnStarted ? later : first, args);
    va_end(args);
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
    m_FinalFile = std::fopen(path.c_str(), "w");
    if (!m_FinalFile) {
        Log("WARNING: Could not open \"%s\" for writing, reason=\"%s\"\n", path.c_str(),
            GetErrnoText().c_str());
        DiscardTempFile();
        return false;
    }
    m_ColumnStarted = false;
    m_State = WritingHeaders;
    return true;
}

void CounterLogWriter::EndFinalization()
{
    MAKO_ASSERT(m_TempFile != 0);
    MAKO_ASSERT(m_State == WritingHeaders);
    std::fputs("\n", m_FinalFile);
    bool copied = std::fflush(m_TempFile) == 0 && std::fseek(m_TempFile, 0, SEEK_SET) == 0;
    char block[1024];
    size_t got;
    while (copied && (got = std::fread(block, 1, sizeof block, m_TempFile)) > 0)
        copied = std::fwrite(block, 1, got, m_FinalFile) == got;
    copied = !std::ferror(m_TempFile) && copied;
    if (std::fclose(m_FinalFile) != 0)
        copied = false;
    m_FinalFile = nullptr;
    if (!copied)
        Log("WARNING: The performance log could not be written completely, reason=\"%s\"\n",
            GetErrnoText().c_str());
    MAKO_ASSERT(m_TempFileName.empty() == false);
    DiscardTempFile();
    m_State = Idle;
}
