#pragma once
// A per-frame measurer of one counter dictionary with one log file: every frame writes one
// line of values (WriteCounterValues per counter, in creation order) and then resets each
// counter; stopping writes the log with its header (WriteCounterHeaders per counter).
// Subclasses point m_Dictionary at their dictionary and name the log file.
#include "perf/CounterDictionary.h"
#include "perf/CounterLogWriter.h"
#include "perf/TickPerformanceCounter.h"

#include <string>

class ExtendedTickPerformanceCounter : public TickPerformanceCounter
{
public:
    void StartMeasuring() override;
    void StopMeasuring() override;
    void Tick() override;
    void EndTick() override;

    // Writes the value columns of counter name.
    virtual void WriteCounterValues(CounterLogWriter& writer, const std::string& name) = 0;
    // Zeroes counter name for the next frame.
    virtual void ResetCounter(const std::string& name) = 0;
    // Writes the column names of counter name.
    virtual void WriteCounterHeaders(CounterLogWriter& writer, const std::string& name) = 0;

    // The log file's name (placed in the documents folder).
    const std::string& GetLogFileName() const MAKO_LIFETIMEBOUND { return m_LogFileName; }

protected:
    CounterDictionaryBase* m_Dictionary = nullptr; // not owned
    CounterLogWriter m_Writer;
    std::string m_LogFileName;
};

// Where a performance log named fileName is written: the documents folder.
std::string PerformanceLogPath(const std::string& fileName);
