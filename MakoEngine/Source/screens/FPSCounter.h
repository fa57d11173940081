#pragma once
// The frame-rate read-out ("HW: 59.9" or "SW: 59.9"). The main loop calls Start at the
// beginning of each frame and CountFrame at its end; the rate is the number of frames
// over the summed frame durations, refreshed once at least 100 ms have been summed. Idle
// (counts and draws nothing) until the first Start. Main thread only.
#include "screens/NumericalStatDisplay.h"

#include <cstdint>
#include <functional>

class FPSCounter : public NumericalStatDisplay
{
public:
    // Makes the caption image for a caption text (the caller owns it).
    using CaptionMaker = std::function<Image*(const std::string& text)>;

    FPSCounter();
    // Given glyphs and caption maker, and a clock in milliseconds (SDL_GetTicks when
    // empty).
    FPSCounter(std::vector<Image*> glyphs, CaptionMaker captionMaker,
               std::function<std::uint32_t()> clock);
    ~FPSCounter() override;

    void Start();
    // Start with the frame's start time given (milliseconds of the same clock).
    void StartAt(std::uint32_t ticks);
    void CountFrame();
    float GetFramesPerSecond() const { return m_FramesPerSecond; }
    bool IsStarted() const { return m_IntervalStart != 0; }
    // "HW: " while the application runs with hardware acceleration, else "SW: ".
    const std::string& GetCaptionText() const MAKO_LIFETIMEBOUND { return m_CaptionText; }
    // The rate as drawn: "%1$04.1f".
    std::string FormatRate() const;

    void Draw(Canvas& canvas) override;

protected:
    // The acceleration may have changed: the caption is rebuilt. Not consumed.
    bool OnDisplayChange(const Event& event) override;

private:
    void BuildCaption();
    std::uint32_t Now() const;

    std::uint32_t m_IntervalStart = 0;
    std::uint32_t m_AccumulatedTime = 0;
    std::uint32_t m_FramesCounted = 0;
    float m_FramesPerSecond = 0.0f;
    std::unique_ptr<Image> m_Caption;
    std::string m_CaptionText;
    CaptionMaker m_CaptionMaker;
    std::function<std::uint32_t()> m_Clock;
};
