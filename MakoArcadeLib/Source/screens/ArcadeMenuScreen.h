#pragma once
// The main menu ("MenuScreen"), the hub of the game: the current player's card, the find
// the player made last, and the buttons to play, the map, the lab, the finds, choosing a
// player, options, help and quit. It also takes a new player through the sign-in dialog
// and hands the finished sign-in to the players (name, balls, saved cards, welcome tip).
//
// Its children come from the script resource "ArcadeMenuScreen"; the actors "CurrentPlayer",
// "artifact" (an Artefact) and "artifactName" must be there. Screens that do not exist
// (the lab and the finds until they are built) are logged and the menu stays.
//
// Main thread only.
#include "screens/ArcadeMenu.h"

#include <string>

class CardView;
class Dialog;
class Player;

class ArcadeMenuScreen : public ArcadeMenu
{
public:
    ArcadeMenuScreen();

    // Refreshes the find corner from the first current player's Adventure table: the last
    // find (its title shown, clickable) or the scream picture marked gone, "Still
    // Missing!!!" and not clickable. Makes "Adventure" the player's game mode.
    void Update();

    // The card of the first current player (a child of the screen).
    CardView* GetCard() const { return m_Card; }

protected:
    bool OnScreenChange(const Event& event) override;
    bool OnPlayerChange(const Event& event) override;
    bool OnCardClick(const Event& event) override;
    bool OnKeyDown(const Event& event) override;
    bool OnButtonClick(const Event& event) override;
    bool OnDialogStopped(const Event& event) override;
    // A medal clicked: a copy of it on the medal card, the game paused; consumed.
    bool OnMedalClick(const Event& event) override;

private:
    // The player choice dialog over the menu, the game paused.
    void ChoosePlayer();
    // Switches to the named screen when the screen manager has it; else logs and stays.
    void SwitchIfPresent(const std::string& screen);
    // The sign-in dialog closed: stores the name and welcomes the player (see the source).
    // False when a cancelled sign-in of an empty later slot leaves everything as it was.
    bool FinishSignIn(const Dialog* dialog);

    CardView* m_Card = nullptr; // a child; owned by the screen
};
