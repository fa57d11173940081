#pragma once
// Scrollbar: a horizontal slider for a value between a minimum and a maximum: a track
// image ("bkgTrackBar.png") with a draggable thumb (Scrollbar::Thumb). The thumb's centre
// ranges over the track, from its left to its right edge; every value set (by code, by a
// binder or by dragging) is announced with MAKO_VALUECHANGE (data1: the scroll bar as its
// Object) to the scroll bar's receivers. Dragging beeps ("Beep01.ogg"), at most once per
// 200 ms. The event says whether the player chose the value (dragging, ChooseValue) or the
// program set it (SetValue, a binder's start value): a binder stores only a choice.
//
// Values are always kept within [minimum, maximum]: a value from outside (a hand-edited
// configuration, a rounding at the track's end) is clamped. A binder ties the value to a
// configuration key: it supplies the start value and stores every change the player makes.
//
// Main thread only.
#include "core/ValueWidget.h"
#include "scene/Actor.h"

#include <cstdint>
#include <memory>
#include <optional>

class ConfigDataBinder;

class Scrollbar : public Actor, public ValueWidget
{
public:
    class Thumb;

    Scrollbar(double value, double minValue, double maxValue);
    ~Scrollbar() override;

    // Stores the value clamped to the bounds, moves the thumb when asked and posts
    // MAKO_VALUECHANGE (also when the value did not change) as shown (VALUECHANGE_SHOWN).
    void SetValue(double value, bool updateThumb);
    // SetValue for a value the player chose (VALUECHANGE_CHOSEN).
    void ChooseValue(double value, bool updateThumb);
    // The maximum must not be below the minimum; the current value is clamped to it.
    void SetMaxValue(double maxValue, bool updateThumb);
    // Takes the binder (the old one is deleted), lets it hear the scroll bar's changes and
    // takes its value. A value that is not a number leaves the scroll bar as it is.
    void SetBinder(ConfigDataBinder* binder);

    // The value as a double (nil before the first SetValue).
    Variant GetValue() override;
    double GetMinValue() const { return m_MinValue; }
    double GetMaxValue() const { return m_MaxValue; }
    Thumb* GetThumb() const { return m_Thumb; }
    Actor* GetTrack() const { return m_Track; }
    int GetLeftEdge() const { return m_LeftEdge; }
    int GetRightEdge() const { return m_RightEdge; }
    ConfigDataBinder* GetBinder() const MAKO_LIFETIMEBOUND { return m_Binder.get(); }

    // Moves the thumb's centre by dx pixels, kept on the track, and takes the value there.
    void MoveThumbBy(int dx);
    // Plays the beep unless one played in the last 200 ms.
    void Beep();
    // Whether a beep played in the last 200 ms (the next one waits).
    bool IsBeepBlocked() const { return m_BeepTimer != 0; }

protected:
    bool OnTimer(const Event& event) override;

private:
    void ValueBoundsUpdated();
    void UpdateThumbPosition();
    void UpdateValueFromThumb();
    double Clamp(double value) const;
    void TakeValue(double value, bool updateThumb, ValueChangeCause cause);

    Actor* m_Track = nullptr;
    Thumb* m_Thumb = nullptr;
    std::optional<double> m_Value;
    double m_MinValue = 0.0;
    double m_MaxValue = 0.0;
    double m_PosK = 0.0; // value units per pixel of track
    int m_LeftEdge = 0;
    int m_RightEdge = 0;
    std::unique_ptr<ConfigDataBinder> m_Binder;
    std::uint32_t m_BeepTimer = 0;
};
