#include "screens/EnterNameAndSkillDialog.h"

#include "core/Class.h"
#include "widgets/TextBox.h"

MAKO_IMPLEMENT_CLASS(EnterNameAndSkillDialog, "EnterNameAndSkillDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<EnterNameAndSkillDialog>);

EnterNameAndSkillDialog::EnterNameAndSkillDialog() : EnterNameAndSkillDialog("") {}
EnterNameAndSkillDialog::EnterNameAndSkillDialog(const std::string& initialName)
    : Dialog("dlgSquare.png", 0)
{
    ApplyStringProperty("name", "EnterNameAndSkillDialog");
    Build(initialName);
}
std::string EnterNameAndSkillDialog::GetName() const
{
    return m_TextBox ? m_TextBox->GetText() : std::string();
}
void EnterNameAndSkillDialog::UpdateSkill() {}
bool EnterNameAndSkillDialog::OnButtonClick(const Event& event)
{
    return Dialog::OnButtonClick(event);
}
void EnterNameAndSkillDialog::Build(const std::string&) {}
