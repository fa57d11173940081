#include "screens/InGameMenuDialog.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(InGameMenuDialog, "InGameMenuDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<InGameMenuDialog>);

InGameMenuDialog::InGameMenuDialog() : Dialog("InGameMenuDialog", 0)
{
    ApplyStringProperty("name", "InGameMenuDialog");
}
