#pragma once
// The screen on which a level is played. It holds no game rules: each time it becomes the
// current screen (and each time the game restarts) it builds a fresh play layer
// (RootActor) and a fresh game controller from the script table GameOptions, and it ends
// both when another screen takes over; a switch to it while it shows a game keeps that
// game. Around the controller it keeps what only a screen can: the cursor, input grab and
// window buttons (hidden and captured while playing, free while dialogs are open), the
// in-game menu, and sound paused with the game.
//
// Main thread only.
#include "scene/ArcadeEventHandler.h"
#include "screens/GameScreen.h"

class ArcadeGameLogic;
class RootActor;

class ArcadeGameScreen : public GameScreen, public ArcadeEventHandler
{
public:
    // The screen "GameScreen" over the background "bkgGame.jpg", without a game.
    ArcadeGameScreen();
    ~ArcadeGameScreen() override;

    // Mouse motion while no dialog is visible goes to the game controller alone (and is
    // consumed, also without one); everything else as for any screen.
    bool OnEvent(const Event& event) override;
    // Play-field events first (ARCADE_RESTARTGAME restarts), then the typed handlers.
    bool RouteEvent(const Event& event) override;
    // The screen's tick (and the game's); counts the game's frames.
    void Tick() override;
    // The game answers Alt+Return itself: in play it switches the display, while a dialog
    // (the in-game menu, a letter) shows it does nothing.
    bool HandlesDisplayToggle() const override { return true; }

    // Opens the in-game menu over the game, unless it is the top dialog already: the music
    // is lowered by the configuration's menuVolumeAdjust and the game paused. Nothing
    // happens while the game has no in-game menu dialog class.
    void ShowInGameMenu();
    // Ends the running game and starts a new one from GameOptions (the controller has
    // stored the level to play there). Cursor, grab and window buttons are left alone.
    void RestartGame();

    // The running game's controller and play layer; null while no game runs.
    ArcadeGameLogic* GetGameLogic() const;
    RootActor* GetRootActor() const { return m_RootActor; }
    // Whether the input state of before the first open dialog is being kept.
    bool IsInputStateSaved() const { return m_InputStateSaved; }

protected:
    bool OnDialogStarted(const Event& event) override;
    bool OnDialogStopped(const Event& event) override;
    bool OnDisplayChange(const Event& event) override;
    bool OnPauseGame(const Event& event) override;
    bool OnScreenChange(const Event& event) override;
    bool OnRestartGame(const Event& event) override;

private:
    // A new screen-sized play layer and a controller from GameOptions, started: a game of
    // the current player (GameOptionsForNewGame); without a player GameOptions must be a
    // table.
    void BeginGame();
    // Closes the dialogs still open (a game's letters and menus end with it), kills the
    // play layer and deletes the controller.
    void EndGame();

    RootActor* m_RootActor = nullptr;
    bool m_InputStateSaved = false;
    int m_FramesPlayed = 0; // frames of the current game so far
    bool m_SavedCursorShown = false;
    bool m_SavedInputGrabbed = false;
};
