#pragma once
// MenuScreen: a screen with the standard menu behaviour. Escape (with any modifiers) or a
// click on "QuitButton" ends the program, "OptionsButton" opens the options dialog with
// the game paused, and a "QuitDialog" closed with its "OkayButton" ends the program.
#include "screens/Screen.h"

class MenuScreen : public Screen
{
public:
    // Makes the game's options dialog; set once by the game. Without one, "OptionsButton"
    // is left to other listeners.
    using OptionsDialogFactory = Dialog* (*)();
    static void SetOptionsDialogFactory(OptionsDialogFactory factory);

    MenuScreen(const std::string& name, const std::string& backgroundResourceName);

protected:
    bool OnKeyDown(const Event& event) override;
    bool OnButtonClick(const Event& event) override;
    // Never consumed, so other listeners still see the stopped dialog.
    bool OnDialogStopped(const Event& event) override;
};
