#pragma once
// What the player is told when a save of this copy is refused because another copy of the
// game saved that file first (core/PlayerFileKeeper keeps the newer file): whose card or
// which settings were not saved. Each notice is written to the log when it is made and shown
// in the game once, by the teller the game installs (a letter on the shown screen); the
// screen manager offers the oldest notice not shown yet to the teller after every pass, so a
// notice made while nothing can be shown (a dialog open, no screen yet) waits for its turn.
// A notice made as the program ends is in the log only.
//
// Main thread only.
#include <functional>
#include <string>

class SaveNotice
{
public:
    // Shows the text to the player; false when it cannot be shown now (it is offered again).
    using Teller = std::function<bool(const std::string& text)>;

    // Notes that what ("the card of \"ann\" (slot 2)", "the settings music_volume") was not
    // saved because another copy saved its file first; said in the log at once.
    static void Refused(const std::string& what);
    // The text the player is shown for what.
    static std::string TextFor(const std::string& what);
    // Installs the game's teller (null: none; the notices wait).
    static void SetTeller(Teller teller);
    // Offers the oldest notice not shown yet to the teller; it is dropped once shown.
    static void TellPending();
    // How many notices wait to be shown.
    static int CountPending();
};
