#include "screens/CardViewDialog.h"

#include "core/AppHost.h"
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "views/CardView.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/ButtonTemplate.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(CardViewDialog, "CardViewDialog", "Dialog", nullptr, nullptr);

namespace {

const int kSlotCount = 4;
// The paper's border a button keeps clear of: its worn rim and the shadow at the right.
const int kPaperEdge = 12;
const char* const kLastCleared = "LastClearedPlayer";
const char* const kSignIn = "EnterNameAndSkillDialog";

PlayerManager& Players()
{
    PlayerManager* manager = PlayerManager::GetInstance();
    MAKO_ASSERT(manager != nullptr);
    return *manager;
}

LuaObject LastClearedPlayer()
{
    return GetGlobalLuaState()->GetGlobal(kLastCleared);
}

void ForgetLastClearedPlayer()
{
    GetGlobalLuaState()->GetGlobals().SetNil(kLastCleared);
}

void CentreOn(Actor* actor, int x, int y)
{
    actor->SetPosition(x - actor->GetWidth() / 2, y - actor->GetHeight() / 2);
}

} // namespace

CardViewDialog::CardViewDialog(const std::string& cardClassName) : Dialog("bkgLetter.png", 0)
{
    ApplyStringProperty("name", "CardViewDialog");
    SetTitle("Choose Player", -1);
    BuildCards(cardClassName);
    BuildButtons();
}

CardViewDialog::~CardViewDialog() = default;

void CardViewDialog::BuildCards(const std::string& cardClassName)
{
    Class* cardClass = ClassManager::GetInstance()->GetClass(cardClassName);
    MAKO_ASSERT(cardClass != nullptr);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::unique_ptr<Object> object(cardClass->InstantiateDefault());
        auto* card = dynamic_cast<CardView*>(object.get());
        MAKO_ASSERT(card != nullptr);
        // Owned here until the dialog takes it: a stop asked for may end the loads below.
        card->SetPlayer(Players().GetPlayer(slot));
        card->AddEventReceiver(this);
        object.release();
        AddChild(card, "");
        m_Cards.push_back(card);
    }
    // Centre point and the half-steps between card centres: neighbours sit 32 px apart
    // side by side and 16 px apart one above the other.
    const int px = GetWidth() / 2 - 45;
    const int py = GetHeight() / 2 - 4;
    const int dx = m_Cards[0]->GetWidth() / 2 + 16;
    const int dy = m_Cards[0]->GetHeight() / 2 + 8;
    CentreOn(m_Cards[0], px - dx, py - dy);
    CentreOn(m_Cards[1], px + dx, py - dy);
    CentreOn(m_Cards[2], px - dx, py + dy);
    CentreOn(m_Cards[3], px + dx, py + dy);
}

void CardViewDialog::BuildButtons()
{
    const int px = GetWidth() / 2 - 45;
    const int py = GetHeight() / 2 - 4;
    const int dx = m_Cards[0]->GetWidth() / 2 + 16;
    const int dy = m_Cards[0]->GetHeight() / 2 + 8;
    Button* clear = MakeButtonFromTemplate(ButtonTemplates::ClearPlayer, this);
    // Right of the cards, but never past the paper's edge (its rim and shadow).
    const int x =
        std::min(px + static_cast<int>(2.5 * dx), GetWidth() - kPaperEdge - clear->GetWidth() / 2);
    CentreOn(clear, x, py - dy);
    AddChild(clear, "");
    Button* rename = MakeButtonFromTemplate(ButtonTemplates::ChangeName, this);
    CentreOn(rename, x, py - dy / 2);
    AddChild(rename, "");
    ShareCaptionSize(*this);
}

void CardViewDialog::RefreshCards()
{
    for (CardView* card : m_Cards)
        card->Refresh();
}

void CardViewDialog::UpdateCardOfSlot(int slot)
{
    if (slot >= 1 && slot <= static_cast<int>(m_Cards.size()))
        m_Cards[slot - 1]->SetPlayer(Players().GetPlayer(slot));
}

void CardViewDialog::PostPlayerChange()
{
    if (AppHost* host = GetAppHost()) {
        host->PostEvent(nullptr, MAKO_PLAYERCHANGE);
        host->PostEvent(nullptr, MAKO_HIGHSCORESUPDATED);
    }
}

void CardViewDialog::StartSignIn(const std::string& name)
{
    Screen* screen = ScreenManager::GetInstance()->GetCurrentScreen();
    MAKO_ASSERT(screen != nullptr);
    screen->StartDialog(new EnterNameAndSkillDialog(name), true);
}

// ---- Buttons ------------------------------------------------------------------------------

bool CardViewDialog::OnButtonClick(const Event& event)
{
    auto* button = dynamic_cast<Button*>(static_cast<Object*>(EventData1(event)));
    const std::string name = button ? button->GetName() : std::string();
    if (name == "ChangeNameButton") {
        Player* player = GetSelectedPlayer();
        LuaObject current = player ? player->GetTable()["Name"] : LuaObject();
        StartSignIn(current.IsString() ? current.GetString() : "");
        return true;
    }
    if (name == "ClearPlayerButton") {
        ClearSelectedPlayer();
        return true;
    }
    return Dialog::OnButtonClick(event);
}

void CardViewDialog::ClearSelectedPlayer()
{
    Player* player = GetSelectedPlayer();
    if (!player || player->GetIndex() < 1)
        return;
    const int slot = player->GetIndex();
    LuaObject old = Players().ClearPlayer(slot);
    GetGlobalLuaState()->GetGlobals().SetObject(kLastCleared, old);
    UpdateCardOfSlot(slot);
    PostPlayerChange();
    StartSignIn("");
}

// ---- Dialogs starting and stopping --------------------------------------------------------

bool CardViewDialog::OnDialogStarted(const Event& event)
{
    if (static_cast<Object*>(EventData1(event)) == static_cast<Object*>(this))
        MarkSelectedCard();
    return false;
}

bool CardViewDialog::OnDialogStopped(const Event& event)
{
    auto* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (!dialog)
        return false;
    if (dialog == this) {
        // A clear can no longer be taken back once the chooser is closed.
        ForgetLastClearedPlayer();
        return false;
    }
    if (dialog->GetName() != kSignIn)
        return false;
    Button* clicked = dialog->GetClickedButton();
    const std::string button = clicked ? clicked->GetName() : std::string();
    if (button == "OkayButton") {
        // The new player stays: the cleared one is gone for good.
        ForgetLastClearedPlayer();
        RefreshCards();
        PostPlayerChange();
        if (auto* screen = dynamic_cast<Screen*>(GetParent()))
            if (!IsStopping())
                screen->StopDialog(this);
        return false;
    }
    Player* selected = GetSelectedPlayer();
    if (button == "CancelButton" && selected && selected->IsEmpty()) {
        if (!RestoreAfterCancel())
            return false;
        MarkSelectedCard();
        RefreshCards();
        PostPlayerChange();
    }
    return false;
}

bool CardViewDialog::RestoreAfterCancel()
{
    Player* selected = GetSelectedPlayer();
    const int slot = selected->GetIndex();
    LuaObject cleared = LastClearedPlayer();
    if (cleared.IsTable()) {
        // The clear is taken back: the old card returns to the slot it was cleared from.
        MAKO_ASSERT_MSG(cleared.IsNil() == false, "clearedPlayerTable.IsNil() == false");
        Player restored(cleared);
        Players().SetIndex(&restored, slot);
        UpdateCardOfSlot(slot);
        ForgetLastClearedPlayer();
        return true;
    }
    if (ReturnToPreviousPlayer())
        return false;
    if (slot >= 1) {
        selected->GetTable().SetString("Name", (boost::format("Player %1%") % slot).str().c_str());
    }
    return true;
}
