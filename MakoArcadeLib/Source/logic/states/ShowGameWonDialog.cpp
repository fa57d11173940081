#include "logic/states/ShowGameWonDialog.h"

#include "core/Object.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "lua/MakoLuaState.h"
#include "screens/GameTips.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

namespace ArcadeGameStates {

namespace {

struct Letter
{
    const char* tip;
    const char* title;
    const char* sounds[2];
};

const Letter kLetters[] = {
    {"finished.Game1", "How???", {"attention3.ogg", "claps.ogg"}},
    {"finished.Game2", "Congrats!", {"attention5.ogg", "claps.ogg"}},
    {"finished.Game3", "Amazing!", {"claps.ogg", "attention5.ogg"}},
    {"finished.Game4", "Thank you!", {"attention5.ogg", "claps.ogg"}},
    {"finished.Game5", "Bonus Levels!", {"attention5.ogg", "claps.ogg"}},
};
constexpr int kLetterCount = static_cast<int>(sizeof(kLetters) / sizeof(kLetters[0]));

} // namespace

void ShowGameWonDialog::OnEnterState()
{
    if (!ShowGameTip(m_Logic->GetGameScreen(), kLetters[0].tip, kLetters[0].title, false)) {
        m_Logic->LeaveGameScreen();
        return;
    }
    for (const char* sound : kLetters[0].sounds)
        Sound::PlaySound(sound, false);
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->PlayMidi("Theme.mid", "FinishedGame", true);
}

bool ShowGameWonDialog::OnDialogStopped(const Event& event)
{
    const Object* dialog = static_cast<Object*>(EventData1(event));
    if (!dialog)
        return false;
    for (int i = 0; i < kLetterCount; ++i)
        if (dialog->GetName() == kLetters[i].tip) {
            ShowFrom(i + 1);
            break;
        }
    return false;
}

void ShowGameWonDialog::ShowFrom(int from)
{
    ArcadeGameLogic* logic = m_Logic;
    for (int i = from; i < kLetterCount; ++i) {
        if (!ShowGameTip(logic->GetGameScreen(), kLetters[i].tip, kLetters[i].title, false))
            continue;
        for (const char* sound : kLetters[i].sounds)
            Sound::PlaySound(sound, false);
        return;
    }
    // The bonus levels the last letter announces are in the lab.
    LuaPlus::LuaObject screen;
    screen.AssignString(GetGlobalLuaState(), "LabScreen");
    logic->SetScriptField("useScreenOnExit", screen);
    logic->LeaveGameScreen();
}

} // namespace ArcadeGameStates
