#include "screens/ChooseActivePlayerDialog.h"

#include "core/Class.h"
#include "players/PlayerManager.h"

MAKO_IMPLEMENT_CLASS(ChooseActivePlayerDialog, "ChooseActivePlayerDialog", "CardViewDialog",
                     nullptr, &InstantiateObjectOfClass<ChooseActivePlayerDialog>);

ChooseActivePlayerDialog::ChooseActivePlayerDialog() : ChooseActivePlayerDialog("CardView") {}
ChooseActivePlayerDialog::ChooseActivePlayerDialog(const std::string& cardClassName)
    : CardViewDialog(cardClassName)
{
    ApplyStringProperty("name", "ChooseActivePlayerDialog");
}
Player* ChooseActivePlayerDialog::GetSelectedPlayer()
{
    PlayerManager* manager = PlayerManager::GetInstance();
    return manager ? manager->GetCurrentPlayer(1) : nullptr;
}
void ChooseActivePlayerDialog::MarkSelectedCard() {}
bool ChooseActivePlayerDialog::OnCardClick(const Event&)
{
    return true;
}
bool ChooseActivePlayerDialog::OnDialogStopped(const Event& event)
{
    return CardViewDialog::OnDialogStopped(event);
}
