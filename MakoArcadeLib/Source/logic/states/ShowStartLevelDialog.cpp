#include "logic/states/ShowStartLevelDialog.h"

#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/states/StateSupport.h"
#include "screens/LetterDialog.h"
#include "screens/Screen.h"
#include "sound/Sound.h"

#include <algorithm>
#include <iterator>
#include <list>

namespace ArcadeGameStates {

namespace {

bool s_ShowWithoutApplication = false;

} // namespace

void ShowStartLevelDialog::ShowWithoutApplication(bool show)
{
    s_ShowWithoutApplication = show;
}

void ShowStartLevelDialog::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    m_NextBrick = 0;
    m_Done = false;
    m_Letter.Clear();
    // No message of an earlier level shows behind the letter.
    logic->ShowMessage("", 0);
    Level* level = logic->GetLevel();
    Screen* screen = logic->GetGameScreen();
    if (!GameProgress::AppFlag("enableStartLevelDialog", s_ShowWithoutApplication) || !level ||
        !screen) {
        logic->SetState("BrickDrop");
        return;
    }
    logic->PlayLevelMusic("Letter");
    // The letter stands in for the heads-up display until it is closed.
    logic->SetHudShown(false);
    StartLevelDialog* letter =
        new StartLevelDialog(LetterDialog::NameOf(logic->m_Player), level->GetNoteText(),
                             level->GetFromText(), level->GetFullName());
    m_Letter.Set(letter);
    screen->StartDialog(letter, false);
    Sound::PlaySound("Pickup_PaperNote4.ogg", false);
}

void ShowStartLevelDialog::Tick()
{
    if (m_Done)
        return;
    // The bricks stay put while the letter shows, so a count walks them in order.
    const std::list<Actor*>& bricks = m_Logic->GetBricks().GetMembers();
    auto it = bricks.begin();
    std::advance(it, std::min(m_NextBrick, bricks.size()));
    for (int step = 0; step < kBricksPerFrame; ++step, ++it, ++m_NextBrick) {
        if (it == bricks.end()) {
            m_Done = true;
            if (StartLevelDialog* letter = m_Letter.Get())
                letter->RevealFinalText();
            return;
        }
        if (Brick* brick = dynamic_cast<Brick*>(*it))
            brick->BuildImage();
    }
}

bool ShowStartLevelDialog::OnDialogStopped(const Event& event)
{
    const std::string button = ClickedButtonName(event);
    if (button != "StartButton" && button != "QuitButton")
        return false;
    m_Logic->SetHudShown(true);
    if (button == "StartButton")
        m_Logic->SetState("BrickDrop");
    else
        m_Logic->QuitToScreen();
    return true;
}

} // namespace ArcadeGameStates
