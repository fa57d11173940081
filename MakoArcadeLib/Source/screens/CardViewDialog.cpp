#include "screens/CardViewDialog.h"

#include "core/Class.h"
#include "views/CardView.h"

MAKO_IMPLEMENT_CLASS(CardViewDialog, "CardViewDialog", "Dialog", nullptr, nullptr);

CardViewDialog::CardViewDialog(const std::string&) : Dialog("bkgLetter.png", 0) {}
CardViewDialog::~CardViewDialog() = default;
void CardViewDialog::RefreshCards()
{
    for (CardView* card : m_Cards)
        card->Refresh();
}
bool CardViewDialog::OnButtonClick(const Event& event)
{
    return Dialog::OnButtonClick(event);
}
bool CardViewDialog::OnDialogStarted(const Event&)
{
    return false;
}
bool CardViewDialog::OnDialogStopped(const Event&)
{
    return false;
}
void CardViewDialog::StartSignIn(const std::string&) {}
void CardViewDialog::PostPlayerChange() {}
void CardViewDialog::UpdateCardOfSlot(int) {}
