#pragma once
// CardViewDialog: the "Choose Player" dialog frame shared by the card choosers. It shows
// the four player slots as cards (of a class named by the maker, "CardView" or a subclass)
// in a two-by-two grid, with the buttons "ClearPlayerButton" and "ChangeNameButton" beside
// them and the lower button "OkayButton". It hears its cards' MAKO_CARDCLICK and opens the
// sign-in dialog (EnterNameAndSkillDialog) for a rename or after a clear.
//
// A cleared player's card waits in the script global `LastClearedPlayer` until the sign-in
// that follows ends: cancelled, the player comes back into its slot; confirmed, the
// global is cleared. Closing the card dialog clears it too.
//
// Subclasses say who is selected. Registered as class "CardViewDialog" (parent "Dialog",
// not instantiable). Main thread only.
#include "screens/Dialog.h"

#include <string>
#include <vector>

class CardView;
class Player;

class CardViewDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    // Builds the dialog with cards of the named class (it must derive from "CardView").
    explicit CardViewDialog(const std::string& cardClassName);
    ~CardViewDialog() override;

    // The player the rename and clear buttons act on.
    virtual Player* GetSelectedPlayer() = 0;
    // Marks the card of the selected player; the base marks none.
    virtual void MarkSelectedCard() {}

    // The four cards in slot order 1 to 4.
    const std::vector<CardView*>& GetCards() const MAKO_LIFETIMEBOUND { return m_Cards; }
    CardView* GetSelectedCard() const { return m_SelectedCard; }
    // Every card re-reads its player.
    void RefreshCards();

protected:
    bool OnButtonClick(const Event& event) override;
    bool OnDialogStarted(const Event& event) override;
    bool OnDialogStopped(const Event& event) override;

    // Starts a sign-in dialog with the initial name on the current screen, game paused.
    void StartSignIn(const std::string& name);
    // Posts MAKO_PLAYERCHANGE and MAKO_HIGHSCORESUPDATED to the application.
    static void PostPlayerChange();
    // Puts the player of the slot on its card (slots 1 to 4).
    void UpdateCardOfSlot(int slot);
    // After a cancelled sign-in of an empty slot that was chosen by a click: makes the
    // player chosen before current again and answers true; the base has no such player.
    virtual bool ReturnToPreviousPlayer() { return false; }

    std::vector<CardView*> m_Cards;
    CardView* m_SelectedCard = nullptr;

private:
    void BuildCards(const std::string& cardClassName);
    void BuildButtons();
    void ClearSelectedPlayer();
    // Mends what a cancelled sign-in of the empty selected player leaves: brings a
    // cleared player back, returns to the player chosen before, or names the empty one
    // "Player <slot>". False when nothing more is to be done.
    bool RestoreAfterCancel();
};
