#include "screens/InGameMenuDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "screens/CheckedCast.h"
#include "screens/OptionsDialog.h"
#include "screens/Screen.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"

#include <SDL.h>

#include <memory>

MAKO_IMPLEMENT_CLASS(InGameMenuDialog, "InGameMenuDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<InGameMenuDialog>);

InGameMenuDialog::InGameMenuDialog() : Dialog("InGameMenuDialog", 0)
{
    ApplyStringProperty("name", "InGameMenuDialog");
    SetTitle("Menu", -1);
    if (Label* title = GetTitle())
        title->AcquireAndApplyResource("InGameMenuTitleLabel");
    ShareCaptionSize(*this);
}

bool InGameMenuDialog::OnKeyDown(const Event& event)
{
    if (event.key.keysym.sym != SDLK_SPACE)
        return false;
    // Space answers as "resume" does.
    m_ClickedButton = CheckedDownCast<Button*>(GetChild("ReturnButton"));
    CheckedDownCast<Screen*>(GetParent())->StopDialog(this);
    return true;
}

bool InGameMenuDialog::OnButtonClick(const Event& event)
{
    Button* button = dynamic_cast<Button*>(static_cast<Object*>(EventData1(event)));
    if (!button || button->GetParent() != this || button->GetName() != "OptionsButton")
        return Dialog::OnButtonClick(event);
    // The options open over the menu, which stays open; a game in play keeps its skill.
    std::unique_ptr<OptionsDialog> options(new OptionsDialog());
    options->LockSkillChoice();
    Screen* screen = CheckedDownCast<Screen*>(GetParent());
    screen->StartDialog(options.release(), true);
    return true;
}
