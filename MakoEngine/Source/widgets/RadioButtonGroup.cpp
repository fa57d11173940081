#include "widgets/RadioButtonGroup.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "widgets/RadioButton.h"

MAKO_IMPLEMENT_CLASS(RadioButtonGroup, "RadioButtonGroup", "ActorGroup", nullptr,
                     &InstantiateObjectOfClass<RadioButtonGroup>);

void RadioButtonGroup::Add(Actor* radioButtonActor)
{
    // The expression below is the text of the failure, spelled as it reads.
    // clang-format off
    MAKO_ASSERT_MSG(dynamic_cast<RadioButton *>(radioButtonActor) != 0,
                    "Cannot add a non-radio button to a RadioButtonGroup.");
    // clang-format on
    ActorGroup::Add(radioButtonActor);
}

bool RadioButtonGroup::OnButtonPress(const Event& event)
{
    auto* object = static_cast<Object*>(EventData1(event));
    auto* pressed = dynamic_cast<Actor*>(object);
    if (!pressed || !Contains(pressed))
        return false;
    RadioButton* button = dynamic_cast<RadioButton*>(pressed);
    // clang-format off
    MAKO_ASSERT(dynamic_cast<RadioButton *>(button) != 0);
    // clang-format on
    for (Actor* member : GetMembers()) {
        auto* radio = dynamic_cast<RadioButton*>(member);
        if (radio && radio->GetCheckMark())
            radio->SetChecked(radio == button);
    }
    return true;
}
