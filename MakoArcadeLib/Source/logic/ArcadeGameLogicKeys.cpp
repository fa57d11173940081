// The controller's keys: what the current state and the keyboard translator leave.
#include "core/AppHost.h"
#include "core/Utility.h"
#include "logic/ArcadeGameLogic.h"
#include "screens/ArcadeGameScreen.h"

#include <SDL.h>

bool ArcadeGameLogic::OnKeyDown(const Event& event)
{
    if (m_Keyboard.OnKeyDown(event, this))
        return true;
    const int key = event.key.keysym.sym;
    const unsigned mods = event.key.keysym.mod & ~(KMOD_NUM | KMOD_CAPS);
    Screen* screen = GetScreen();
    if (IsOnlyAltDown(mods) && !(screen && screen->IsDialogVisible())) {
        AppHost* host = GetAppHost();
        if (key == SDLK_RETURN) {
            if (host) {
                host->RequestDisplayToggle();
                host->PostEvent(nullptr, MAKO_VALUECHANGE);
            }
            return true;
        }
        if (key == SDLK_F4) {
            if (host)
                host->Quit();
            return true;
        }
    }
    if (IsOnlyCtrlDown(mods))
        return false;
    if (key == SDLK_p || key == SDLK_ESCAPE || key == SDLK_SPACE || key == SDLK_F1) {
        if (auto* gameScreen = dynamic_cast<ArcadeGameScreen*>(screen))
            gameScreen->ShowInGameMenu();
        return true;
    }
    return false;
}

bool ArcadeGameLogic::OnKeyUp(const Event& event)
{
    return m_Keyboard.OnKeyUp(event, this);
}
