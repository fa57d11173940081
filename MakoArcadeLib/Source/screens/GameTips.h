#pragma once
// Game tips: the letters that explain a screen the first time a player reaches it, the
// help letters behind the screens' "?" buttons, and the letters that close an episode or
// the game. A tip named T is the constant configuration's entry T (its text); "T.Title"
// (optional) replaces the caller's title and "T.Character" (optional, default "Miriel")
// names the sender, whose picture the letter shows. The player's option "T.shown" records
// that the player has read it.
//
// Main thread only.
#include <string>

class Screen;

// Shows the tip as a letter on the screen, with the game paused and the sound
// "Pickup_PaperNote4.ogg", unless the current player has seen it already: a forced tip, or
// any tip while the configuration's alwaysShowTips is set, shows every time. Returns true
// when the letter was opened. A tip without a text, or with no screen to show it on, is
// not shown (logged) and gives false; so the caller always goes on.
bool ShowGameTip(Screen* screen, const std::string& tip, const std::string& title, bool force);
// Shows text as a letter with only an okay button on the screen, unless the screen has a
// dialog open (the text waits: false). For what the game must tell the player at once, such as
// a save another copy of the game made first (core/SaveNotice). Logged when shown.
bool ShowNoticeLetter(Screen* screen, const std::string& text);
