#pragma once
// The credits: the configuration text "credits" in the font "credits_font" at
// "credits_font_size", centred, under the title "Credits", with one "okay" button that
// closes it. Named "CreditsDialog".
//
// Registered as class "CreditsDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

class CreditsDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    CreditsDialog();
};
