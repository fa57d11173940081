#pragma once
// The in-game menu: the dialog the game screen opens over a game in play (the menu keys,
// losing the display). Its layout is the resource table "InGameMenuDialog"; it is named
// "InGameMenuDialog" and has the buttons "ReturnButton" (back to the game; also Space,
// Return and Escape), "RestartButton" and "QuitButton", each of which closes it, and
// "OptionsButton", which opens the options over the menu with the skill choice locked and
// leaves the menu open. The controller reads the clicked button when the menu stops and
// resumes, restarts or leaves the game.
//
// Registered as class "InGameMenuDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

class InGameMenuDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    InGameMenuDialog();

protected:
    // Space: "ReturnButton" becomes the clicked button and the menu closes; consumed.
    bool OnKeyDown(const Event& event) override;
    // "OptionsButton" opens the options dialog on the same screen; others as Dialog.
    bool OnButtonClick(const Event& event) override;
};
