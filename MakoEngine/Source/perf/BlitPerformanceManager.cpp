#include "perf/BlitPerformanceManager.h"

#include "perf/TickPerformanceManager.h"

#include <boost/format.hpp>

namespace {

BlitPerformanceManager* gCurrentBlitManager = nullptr;

} // namespace

BlitPerformanceManager::BlitPerformanceManager()
{
    m_Dictionary = &m_Counters;
    m_LogFileName = "PerformanceLog_Blitting.txt";
    gCurrentBlitManager = this;
}

BlitPerformanceManager::~BlitPerformanceManager()
{
    if (gCurrentBlitManager == this)
        gCurrentBlitManager = nullptr;
}

BlitPerformanceManager* BlitPerformanceManager::GetCurrent()
{
    return gCurrentBlitManager;
}

bool BlitPerformanceManager::IsBlitLoggingEnabled()
{
    return gCurrentBlitManager && IsMeasuringPerformance();
}

void BlitPerformanceManager::AddBlit(const std::string& category, int width, int height, double ms)
{
    BlitPerfCounter& counter = m_Counters.Get(category);
    counter.numCalls += 1;
    counter.totalTime += ms;
    counter.numPixels += static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
}

void BlitPerformanceManager::AddCompositingBlit(int width, int height, double ms)
{
    AddBlit("Compositing", width, height, ms);
}

void BlitPerformanceManager::AddFadeBlit(int width, int height, double ms)
{
    AddBlit("Fade", width, height, ms);
}

void BlitPerformanceManager::AddClipBlit(int width, int height, double ms)
{
    AddBlit("Clip", width, height, ms);
}

void BlitPerformanceManager::WriteCounterValues(CounterLogWriter& writer, const std::string& name)
{
    const BlitPerfCounter& counter = m_Counters.Get(name);
    writer.WriteInt(static_cast<int>(counter.numCalls));
    writer.WriteDouble(counter.totalTime);
    writer.WriteInt(static_cast<int>(counter.numPixels));
    writer.WriteDouble(counter.totalTime > 0 ? counter.numPixels / counter.totalTime : 0.0);
}

void BlitPerformanceManager::ResetCounter(const std::string& name)
{
    m_Counters.Get(name) = BlitPerfCounter();
}

void BlitPerformanceManager::WriteCounterHeaders(CounterLogWriter& writer, const std::string& name)
{
    const char* const columns[] = {"%1%,numCalls", "%1%,totalTime", "%1%,numPixels",
                                   "%1%,fillRate"};
    for (const char* column : columns)
        writer.WriteString(boost::str(boost::format(column) % name));
}
