#pragma once
// HitMeter: the row of ten ball icons ("Ball1" .. "Ball10", frame 0 unlit, frame 1 lit,
// from the resource "HitMeter") that counts paddle hits toward the next power-up. A full
// meter blinks with a period of 30 frames (lit for ticks 1 to 14); one set to hold stays
// lit after its first blink until the hold is released. The game logic decides when hits
// count; the meter only shows them. Main thread only.
#include "scene/Actor.h"

class HitMeter : public Actor
{
public:
    static constexpr int kIcons = 10;
    static constexpr int kBlinkPeriod = 30;
    static constexpr int kBlinkOff = 15;

    // The actor "HitMeter" with the children of its resource, reset. A resource its data
    // cannot apply is named once (ObjectBoundary); the meter keeps what was made of it.
    HitMeter();

    // Lights the next icon, unless the meter is held.
    void AddHit();
    // Lights all icons: the meter is full and starts blinking.
    void Fill();
    // Unlights all icons; count, blink, hold and held all cleared.
    void Reset();
    // Releasing the hold of a held meter unlights it; blinking resumes on the next tick.
    void SetHoldWhenFull(bool hold);
    bool IsHoldingWhenFull() const { return m_Hold; }

    int GetCount() const { return m_Count; }
    bool IsHeld() const { return m_Held; }
    // The frame icon index (1..10) shows: 1 lit, 0 unlit, -1 without such an icon.
    int GetIconFrame(int index) const;

    // Blinks while full; the icons themselves are not ticked.
    void Tick() override;

private:
    void SetIcon(int index, int frame);
    void SetAllIcons(int frame);

    int m_Count = 0;
    int m_BlinkTick = 0;
    bool m_Hold = false;
    bool m_Held = false;
};
