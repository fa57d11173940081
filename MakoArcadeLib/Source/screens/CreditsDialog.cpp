#include "screens/CreditsDialog.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(CreditsDialog, "CreditsDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<CreditsDialog>);

CreditsDialog::CreditsDialog() : Dialog(0)
{
    ApplyStringProperty("name", "CreditsDialog");
    CreateLowerButtons(DIALOGBUTTONS_OKAY);
}
