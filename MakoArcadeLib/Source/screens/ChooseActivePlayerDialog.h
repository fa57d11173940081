#pragma once
// ChooseActivePlayerDialog: the card dialog in which a click on a card makes its player
// the current one (slot 1). The current player's card is the selected card; every other
// card shows its disabled overlay. Clicking an empty slot opens the sign-in dialog for it;
// cancelling that sign-in goes back to the player who was current before.
//
// Named "ChooseActivePlayerDialog". Registered as class "ChooseActivePlayerDialog"
// (parent "CardViewDialog"; made from a script with cards of class "CardView").
// Main thread only.
#include "screens/CardViewDialog.h"

class ChooseActivePlayerDialog : public CardViewDialog
{
    MAKO_DECLARE_CLASS();

public:
    ChooseActivePlayerDialog();
    explicit ChooseActivePlayerDialog(const std::string& cardClassName);

    // The first current player.
    Player* GetSelectedPlayer() override;
    void MarkSelectedCard() override;

    // The card that was selected before the last card click.
    CardView* GetPreviousCard() const { return m_PreviousCard; }

protected:
    bool OnCardClick(const Event& event) override;
    bool ReturnToPreviousPlayer() override;

private:
    CardView* m_PreviousCard = nullptr;
};
