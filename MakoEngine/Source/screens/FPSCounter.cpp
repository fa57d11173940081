#include "screens/FPSCounter.h"

#include "core/AppHost.h"
#include "display/Image.h"

#include <SDL.h>

#include <boost/format.hpp>

FPSCounter::FPSCounter() : m_CaptionMaker(&NumericalStatDisplay::RenderText)
{
    BuildCaption();
}

FPSCounter::FPSCounter(std::vector<Image*> glyphs, CaptionMaker captionMaker,
                       std::function<std::uint32_t()> clock)
    : NumericalStatDisplay(std::move(glyphs)), m_CaptionMaker(std::move(captionMaker)),
      m_Clock(std::move(clock))
{
    BuildCaption();
}

FPSCounter::~FPSCounter() = default;

std::uint32_t FPSCounter::Now() const
{
    return m_Clock ? m_Clock() : SDL_GetTicks();
}

// The caption is rendered in the read-out's own font and colour (the resources define no
// separate label template for it), so it matches the digits after it.
void FPSCounter::BuildCaption()
{
    m_Caption.reset();
    AppHost* host = GetAppHost();
    m_CaptionText = host && host->IsHWAccelEnabled() ? "HW: " : "SW: ";
    if (m_CaptionMaker)
        m_Caption.reset(m_CaptionMaker(m_CaptionText));
}

void FPSCounter::Start()
{
    StartAt(Now());
}

void FPSCounter::StartAt(std::uint32_t ticks)
{
    m_IntervalStart = ticks != 0 ? ticks : 1; // 0 means "not started"
}

void FPSCounter::CountFrame()
{
    if (m_IntervalStart == 0)
        return;
    m_AccumulatedTime += Now() - m_IntervalStart;
    ++m_FramesCounted;
    if (m_AccumulatedTime >= 100) {
        m_FramesPerSecond = static_cast<float>(m_FramesCounted / (m_AccumulatedTime * 0.001));
        m_AccumulatedTime = 0;
        m_FramesCounted = 0;
    }
}

std::string FPSCounter::FormatRate() const
{
    return boost::str(boost::format("%1$04.1f") % m_FramesPerSecond);
}

void FPSCounter::Draw(Canvas& canvas)
{
    if (m_IntervalStart == 0)
        return;
    DrawNumbers(canvas, FormatRate(), m_Caption.get());
}

bool FPSCounter::OnDisplayChange(const Event&)
{
    BuildCaption();
    return false;
}
