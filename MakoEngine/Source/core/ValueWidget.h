#pragma once
// What a value widget (a scroll bar, a check box) offers to the binders that hear its
// MAKO_VALUECHANGE: its current value. Such a widget is an Object that also derives from
// ValueWidget, and it posts MAKO_VALUECHANGE with itself, as an Object pointer, in data1.
#include "lua/Variant.h"

class ValueWidget
{
public:
    virtual ~ValueWidget() = default;
    // The widget's current value (a double for sliders).
    virtual Variant GetValue() = 0;
};
