#pragma once
// Cost of the software image operations per frame, by category: calls, milliseconds and
// pixels touched, logged to "PerformanceLog_Blitting.txt" as four columns per category
// ("<category>,numCalls", ",totalTime", ",numPixels", ",fillRate"; fillRate is pixels per
// millisecond, 0 when no time was measured).
//
// The application makes one; the newest one alive is the program's (GetCurrent). The image
// operations time themselves only while IsBlitLoggingEnabled and then record here.
#include "perf/BlitPerfCounter.h"
#include "perf/ExtendedTickPerformanceCounter.h"

class BlitPerformanceManager : public ExtendedTickPerformanceCounter
{
public:
    BlitPerformanceManager();
    ~BlitPerformanceManager() override;

    // The program's blit manager, or null.
    static BlitPerformanceManager* GetCurrent();
    // Whether blits are being logged: a blit manager exists and performance measuring is on.
    static bool IsBlitLoggingEnabled();

    // Records one operation of widthxheight pixels that took ms milliseconds. Records
    // whether or not measuring is on; values reach a log only while it is.
    void AddBlit(const std::string& category, int width, int height, double ms);
    void AddCompositingBlit(int width, int height, double ms);
    void AddFadeBlit(int width, int height, double ms);
    void AddClipBlit(int width, int height, double ms);

    void WriteCounterValues(CounterLogWriter& writer, const std::string& name) override;
    void ResetCounter(const std::string& name) override;
    void WriteCounterHeaders(CounterLogWriter& writer, const std::string& name) override;

    CounterDictionary<BlitPerfCounter>& GetCounters() MAKO_LIFETIMEBOUND { return m_Counters; }

private:
    CounterDictionary<BlitPerfCounter> m_Counters;
};
