#pragma once
// What a value widget (a scroll bar, a check box) offers to the binders that hear its
// MAKO_VALUECHANGE: its current value. Such a widget is an Object that also derives from
// ValueWidget, and it posts MAKO_VALUECHANGE with itself, as an Object pointer, in data1,
// and in the event's code whether the player chose the value (VALUECHANGE_CHOSEN) or the
// program set it to show it (VALUECHANGE_SHOWN, also what an event without a code means):
// only a choice is stored, so a value held to the widget's range for showing is never
// written back.
#include "lua/Variant.h"

enum ValueChangeCause {
    VALUECHANGE_SHOWN = 0,  // set by the program: shown, not stored
    VALUECHANGE_CHOSEN = 1, // moved by the player: stored
};

class ValueWidget
{
public:
    virtual ~ValueWidget() = default;
    // The widget's current value (a double for sliders).
    virtual Variant GetValue() = 0;
};
