#pragma once
// RadioButtonGroup: a group of radio buttons of which one is checked. When a member is
// pressed (MAKO_BUTTONPRESS reaches the group), that member is checked and every other
// unchecked; the press event is consumed. Only radio buttons may join.
//
// Scripts create such groups as class "RadioButtonGroup". Main thread only.
#include "scene/ActorGroup.h"

class RadioButtonGroup : public ActorGroup
{
    MAKO_DECLARE_CLASS();

public:
    // Anything but a RadioButton fails "Cannot add a non-radio button to a
    // RadioButtonGroup.".
    void Add(Actor* actor) override;

protected:
    bool OnButtonPress(const Event& event) override;
};
