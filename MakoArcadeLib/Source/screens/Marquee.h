#pragma once
// Marquee: the one-line message strip along the bottom of the play area. It shows a text,
// centred, until the next message, an explicit clear, or the end of the time given with
// the text. It sits 16 pixels in from its parent's sides with its bottom edge 3 pixels
// below the parent's, and takes that place whenever it gets a parent. Main thread only.
#include "scene/Actor.h"

#include <cstdint>
#include <string>

class Label;

class Marquee : public Actor
{
public:
    static constexpr int kHeight = 24;

    // The strip with an empty label built from the resource "MarqueeLabel"; no timer.
    Marquee();
    // Kills a pending hide timer.
    ~Marquee() override;

    // Shows the text centred in the strip. Every new message ends the pending hide timer,
    // so an earlier message's time never clears a later text; milliseconds of 1 or more
    // hide this text after that time, less keeps it until replaced.
    void SetMessage(const std::string& text, int milliseconds);
    // Empties the text (and ends the pending hide timer).
    void ClearMessage();

    const std::string& GetMessage() const MAKO_LIFETIMEBOUND { return m_Text; }
    Label* GetLabel() const { return m_Label; }
    std::uint32_t GetHideTimer() const { return m_HideTimer; }

    // Stores the parent and takes the strip's place along its bottom edge.
    void SetParent(Actor* parent) override;

protected:
    // The hide timer clears the message; other timers go to Actor.
    bool OnTimer(const Event& event) override;

private:
    void KillHideTimer();

    Label* m_Label = nullptr;
    std::string m_Text;
    std::uint32_t m_HideTimer = 0;
};
