#pragma once
// The in-game menu: the dialog the game screen opens over a game in play (the menu keys,
// losing the display). Its layout is the resource table "InGameMenuDialog"; it is named
// "InGameMenuDialog" and has the buttons "ReturnButton" (back to the game),
// "RestartButton" and "QuitButton", each of which closes it. The controller reads the
// clicked button when it stops and resumes, restarts or leaves the game.
//
// Registered as class "InGameMenuDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

class InGameMenuDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    InGameMenuDialog();
};
