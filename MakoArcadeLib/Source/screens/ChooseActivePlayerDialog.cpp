#include "screens/ChooseActivePlayerDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "views/CardView.h"

#include <algorithm>

MAKO_IMPLEMENT_CLASS(ChooseActivePlayerDialog, "ChooseActivePlayerDialog", "CardViewDialog",
                     nullptr, &InstantiateObjectOfClass<ChooseActivePlayerDialog>);

ChooseActivePlayerDialog::ChooseActivePlayerDialog() : ChooseActivePlayerDialog("CardView") {}

ChooseActivePlayerDialog::ChooseActivePlayerDialog(const std::string& cardClassName)
    : CardViewDialog(cardClassName)
{
    ApplyStringProperty("name", "ChooseActivePlayerDialog");
    CreateLowerButtons(DIALOGBUTTONS_OKAY);
}

Player* ChooseActivePlayerDialog::GetSelectedPlayer()
{
    PlayerManager* manager = PlayerManager::GetInstance();
    return manager ? manager->GetCurrentPlayer(1) : nullptr;
}

void ChooseActivePlayerDialog::MarkSelectedCard()
{
    Player* current = GetSelectedPlayer();
    for (CardView* card : m_Cards) {
        Player* player = card->GetPlayer();
        const bool selected = current && player && player->IsEqualTo(current);
        card->GetDisabledOverlay()->SetVisible(!selected, true);
        if (selected)
            m_SelectedCard = card;
    }
}

bool ChooseActivePlayerDialog::OnCardClick(const Event& event)
{
    auto* card = dynamic_cast<CardView*>(static_cast<Object*>(EventData1(event)));
    if (!card || std::find(m_Cards.begin(), m_Cards.end(), card) == m_Cards.end())
        return false;
    Player* player = card->GetPlayer();
    if (!player)
        return true;
    m_PreviousCard = m_SelectedCard;
    Player* current = GetSelectedPlayer();
    // The manager tells the application of the change; choosing the current player again
    // changes nothing.
    if (!current || !player->IsEqualTo(current))
        PlayerManager::GetInstance()->SetCurrentPlayer(player, 1);
    MarkSelectedCard();
    if (card->IsEmpty())
        StartSignIn("");
    return true;
}

bool ChooseActivePlayerDialog::ReturnToPreviousPlayer()
{
    Player* current = GetSelectedPlayer();
    Player* previous = m_PreviousCard ? m_PreviousCard->GetPlayer() : nullptr;
    if (!current || current->GetIndex() <= 1 || !previous || previous->IsEqualTo(current))
        return false;
    PlayerManager::GetInstance()->SetCurrentPlayer(previous, 1);
    MarkSelectedCard();
    RefreshCards();
    return true;
}
