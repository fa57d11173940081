#include "perf/ExtendedTickPerformanceCounter.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"

#include <vector>

std::string PerformanceLogPath(const std::string& fileName)
{
    try {
        return GetDocumentsFilePath(fileName);
    } catch (const Exception& e) {
        Log("WARNING: No folder for the performance log \"%s\": %s\n", fileName.c_str(), e.what());
        return std::string();
    }
}

void ExtendedTickPerformanceCounter::StartMeasuring()
{
    m_Dictionary->Clear();
}

void ExtendedTickPerformanceCounter::Tick() {}

void ExtendedTickPerformanceCounter::EndTick()
{
    std::vector<std::string> names;
    m_Dictionary->GetNames(names);
    m_Writer.BeginLine();
    for (const std::string& name : names)
        WriteCounterValues(m_Writer, name);
    m_Writer.EndLine();
    for (const std::string& name : names)
        ResetCounter(name);
}

void ExtendedTickPerformanceCounter::StopMeasuring()
{
    if (!m_Writer.BeginFinalization(PerformanceLogPath(m_LogFileName)))
        return;
    std::vector<std::string> names;
    m_Dictionary->GetNames(names);
    for (const std::string& name : names)
        WriteCounterHeaders(m_Writer, name);
    m_Writer.EndFinalization();
}
