#pragma once
// A game of one level on the game screen, run pass by pass as the program runs it, and
// brought into play as a player brings it: the level loads, its bricks drop, the serve
// waits for its ball, a click serves, and more balls join through the controller. The
// play benchmarks measure its passes; a test plays the same way into play, so that a
// benchmark that no longer reaches play fails where the tests run.
//
// While it lives it is the installed application host (WindowlessHost) with a timer
// manager of its own, so the controller's timers (the brick drop, the serve's delay, the
// play clock) run as in the game. The game's scripts, resources and the level's table
// (Levels[name]) must be loaded first. Main thread only.
#include "app/WindowlessHost.h"
#include "core/EventReceiver.h"
#include "core/TimerManager.h"
#include "logic/LevelManager.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Actor;
class ArcadeGameLogic;
class Canvas;
class Object;
class Screen;

namespace benchgame {

class LevelGame : public WindowlessHost, private EventReceiver
{
public:
    explicit LevelGame(std::string level);
    // Ends the game and deletes the screen; the host installed before comes back.
    ~LevelGame() override;
    LevelGame(const LevelGame&) = delete;
    LevelGame& operator=(const LevelGame&) = delete;

    // A new controller for the level (the one before ends), started: it builds the level,
    // fills the field and begins the brick drop.
    void Load();
    // From the start of the loaded level into play, pass by pass (drawn onto canvas when
    // one is given): the passes run until the serve's ball is there, a click (the left
    // button pressed and let go) serves it, and more balls enter play through the
    // controller until `balls` are in play. "" when the game then plays (PlayMistake),
    // else what went wrong, in one line. After each pass drawn, `present` (when given)
    // presents it: a display that draws only what changed finishes each frame there, as
    // the program does, instead of piling the serve's frames into the next one.
    std::string Serve(int balls, Canvas* canvas, const std::function<void()>& present = {});
    // "" while the controller is in its playing state with `balls` balls in play and every
    // paddle of the serve whole; else what differs, in one line.
    std::string PlayMistake(int balls) const;
    // The controller goes and the field with it.
    void End();

    // The phases of a main-loop pass, in the main loop's order: SDL's events and the
    // posted ones, the timers, the screen's tick (the controller's with it), drawing, and
    // (after the present, which is the caller's) the deletion of what was killed.
    void DispatchEvents();
    void UpdateTimers();
    void Tick();
    void Draw(Canvas& canvas);
    void DeleteDead();
    // A whole pass without the present; drawn onto canvas when one is given.
    void Pass(Canvas* canvas);

    // Of the named levels (tables of the global Levels), the one with the most bricks and
    // actors (compiledBricks, levelActors and extraActors together): the busiest field.
    // The first of equals; "" when none is a table.
    static std::string Busiest(const std::vector<std::string>& levels);

    ArcadeGameLogic* GetLogic() const { return m_Logic; }
    // The name of the controller's state ("" without a controller or a state).
    std::string GetStateName() const;

    // The application host while the game lives (the rest is WindowlessHost's).
    TimerManager* GetTimerManager() const override { return &m_Timers; }
    void ScheduleForDeletion(Object* object) override;
    void GetMousePosition(int& x, int& y) const override;
    bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;

private:
    // Events for the application itself: there is none, they are dropped.
    bool OnEvent(const Event&) override { return true; }
    // The left button as SDL delivers it, handed to the screen as the event phase does.
    void Button(bool down);

    std::string m_Level;
    mutable TimerManager m_Timers;
    LevelManager m_Levels; // the controller finds the levels through it
    std::unique_ptr<Screen> m_Screen;
    Actor* m_Layer = nullptr;           // owned by the screen
    ArcadeGameLogic* m_Logic = nullptr; // owned by the screen
    std::size_t m_Paddles = 0;          // the paddles the serve was made with
};

} // namespace benchgame
