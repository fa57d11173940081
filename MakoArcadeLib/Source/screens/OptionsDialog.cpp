#include "screens/OptionsDialog.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(OptionsDialog, "OptionsDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<OptionsDialog>);

OptionsDialog::OptionsDialog() : Dialog(0)
{
    ApplyStringProperty("name", "OptionsDialog");
    CreateLowerButtons(DIALOGBUTTONS_OKAY);
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::LockSkillChoice() {}
void OptionsDialog::UpdateControls() {}
bool OptionsDialog::OnButtonClick(const Event& event)
{
    return Dialog::OnButtonClick(event);
}
bool OptionsDialog::OnConfigUpdate(const Event&)
{
    return false;
}
bool OptionsDialog::OnValueChange(const Event&)
{
    return false;
}
bool OptionsDialog::OnResetWindow(const Event&)
{
    return false;
}
