#include "screens/MenuScreen.h"

#include "core/AppHost.h"
#include "core/Log.h"
#include "screens/Dialog.h"
#include "widgets/Button.h"

namespace {

MenuScreen::OptionsDialogFactory gOptionsDialogFactory = nullptr;

void QuitApplication()
{
    if (AppHost* host = GetAppHost())
        host->Quit();
}

} // namespace

void MenuScreen::SetOptionsDialogFactory(OptionsDialogFactory factory)
{
    gOptionsDialogFactory = factory;
}

MenuScreen::MenuScreen(const std::string& name, const std::string& backgroundResourceName)
    : Screen(name, backgroundResourceName, nullptr)
{
}

bool MenuScreen::OnKeyDown(const Event& event)
{
    if (event.key.keysym.sym != SDLK_ESCAPE)
        return false;
    QuitApplication();
    return true;
}

bool MenuScreen::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "OptionsButton") {
        if (!gOptionsDialogFactory) {
            Log("WARNING: MenuScreen: no options dialog is available.\n");
            return false;
        }
        StartDialog(gOptionsDialogFactory(), true);
        return true;
    }
    if (name == "QuitButton") {
        QuitApplication();
        return true;
    }
    return false;
}

bool MenuScreen::OnDialogStopped(const Event& event)
{
    const Dialog* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (dialog && dialog->GetName() == "QuitDialog" && dialog->GetClickedButton() &&
        dialog->GetClickedButton()->GetName() == "OkayButton")
        QuitApplication();
    return false;
}
