#pragma once
// The game's application for tests of the game screen and of starting games: no window,
// the tests' resources (game scripts and the generated asset pack), a screen manager with
// the game screen and a plain screen "Elsewhere" to leave it for, a timer manager, and the
// four player cards with Players[1] the current player (skill "casual", mode "Adventure"),
// the level manager and the pack's levels.
//
// One at a time: the application quits SDL, text and sound when it goes, as the program
// does, and the next one starts them afresh (a whole test program makes one after another).
//
// Pass() runs one main-loop pass as the program does (posted events, timers, the current
// screen's tick, deletion of killed actors) without drawing or sleeping.
#include "app/ArcadeApp.h"
#include "core/Event.h"

#include <string>
#include <vector>

class ArcadeGameScreen;
class Screen;
class Player;
class ScreenManager;
class TimerManager;

namespace bbtest {

class GameApp : public ArcadeApp
{
public:
    GameApp();
    ~GameApp() override;

    // Delivers every posted event to the application, as the event phase does.
    void DispatchPosted();
    void Pass(int passes = 1);
    // Shows the named screen and delivers the change notices.
    void SwitchTo(const std::string& screen);
    // The current player's game as the program opens it: the level's letter first, then
    // the brick drop. Nothing has been passed yet.
    void OpenLetter();
    // Adds the screen, shows it under its name with its tip letters closed and runs a pass.
    Screen* ShowWithoutItsTip(Screen* added, const std::string& name);

    ScreenManager* Screens() const { return m_ScreenManager.get(); }
    ArcadeGameScreen* GameScreen() const;
    TimerManager* Timers() const { return m_TimerManager.get(); }
    Player* CurrentPlayer() const;
    bool GamePauseAsked() const
    {
        return (m_Flags & (APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED)) != 0;
    }
    // Whether a switch between window and full screen was asked for since the last call.
    bool TakeDisplayToggle()
    {
        const bool asked = m_DisplayToggleRequested;
        m_DisplayToggleRequested = false;
        return asked;
    }

    // Says the program shows full screen (or a window) and lets the screens hear of it, as
    // a change of the display does: the window buttons show where they may.
    void SetFullScreen(bool on);
    using Application::NotifyDisplayChange;

    // The current player's game on the game screen, without the letter and the brick
    // drop, after 30 passes: the serve is next.
    void StartGame();
    // The same game at its level's start: the level's content is about to drop in, as the
    // program shows it once the level's letter is closed. Nothing has been passed yet.
    void OpenLevel();
    // The card text in slot 1 of folder, read by the game's loader as at a start, and the
    // screens that show cards (splash, map, lab, finds, menu) added.
    void LoadCard(const std::string& folder, const std::string& card);
    // Switches to the named screen, puts away any letter or tip it opened, passes 3 times.
    Screen* Show(const std::string& name);
    // Wins the level being played with the given score and secret: the level's find, if it
    // has one, is closed with "okay" until the tally's letter shows. False when it never does.
    bool WinToTally(int score, int secret = 0);
    // Input as SDL delivers it, through the application's own event handling (a key's
    // posted events are delivered too).
    void ClickLeft();
    void SendKey(int key, int mods = 0);
    using Application::IsCursorShown;

private:
    void SetUp();
    void SettleSound();
    // Also after a failed set-up: the tests' resource manager is never deleted here.
    void TearDown();
};

// Runs a script text in the global state.
void RunLua(const std::string& text);
// The string keys of the global Lua table the expression names, sorted ({} when it is none).
std::vector<std::string> TableKeys(const std::string& expression);
// The constant configuration's text under key ("" when it holds no text there).
std::string ConfigText(const std::string& key);

} // namespace bbtest
