#pragma once
// GameOverDialog: the letter after the last ball of a game is lost. Its signature is the
// sender's name as given (no dash). Buttons: "MapButton" ("map"; the lab's game mode calls
// it "lab") leaves the game, "ReplayButton" ("try again") plays the level again; both
// close the letter, and its owner reads which one from the stopped letter.
//
// Registered as class "GameOverDialog" (parent "LetterDialog"). Main thread only.
#include "screens/LetterDialog.h"

#include <string>

class GameOverDialog : public LetterDialog
{
    MAKO_DECLARE_CLASS();

public:
    GameOverDialog(const std::string& to, const std::string& note, const std::string& from,
                   const std::string& title);
    ~GameOverDialog() override;
};
