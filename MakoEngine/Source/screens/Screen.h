#pragma once
// Screen: the root of one full-window scene. A screen is an actor tree that owns a
// flattened background layer (holding the actor "Background"), a key-tip layer, a dimming
// overlay for dialogs, the list of its open dialogs (newest first) and optionally one
// Logic, the game controller that it ticks after its actors and offers what nobody else
// consumed. Screens are registered with the ScreenManager, which owns them.
//
// Layers by z-order: background layer (default z-order), key-tip layer 998, dialog
// overlay 1000, open dialogs 1001.
//
// Dialog life on a screen: StartDialog (a child, front of the list) -> StopDialog (hidden,
// MAKO_DIALOGSTOPPED for the application and MAKO_DIALOGDELETE for this screen queued) ->
// the delete event arrives (removed and deleted). Stopping a dialog that is already
// stopping does nothing, so a stop by name and a closing click in the same pass delete it
// once.
//
// Main thread only.
#include "scene/Actor.h"

#include <list>
#include <memory>
#include <string>

class Dialog;
class Logic;

// Z-order bands of a screen's own layers.
enum ScreenZOrders : int {
    SCREEN_Z_KEYTIPS = 998,
    SCREEN_Z_DIALOG_OVERLAY = 1000,
    SCREEN_Z_DIALOG = 1001,
};

// The dialog flag that asks for no dimming overlay behind the dialog.
const std::uint32_t DIALOGFLAG_NO_OVERLAY = 2;

class Screen : public Actor
{
public:
    // A screen of the window's size named `name`. backgroundResourceName names the
    // resource of the background actor (an image or an actor table); empty gives a plain
    // actor. The logic (may be null) is owned by the screen from now on.
    Screen(const std::string& name, const std::string& backgroundResourceName, Logic* logic);
    // Deletes the logic, then the children (open dialogs included).
    ~Screen() override;

    // Children from the topmost down (open dialogs first), then the screen's own state
    // and handlers, then its logic; the first consumer ends the walk.
    bool OnEvent(const Event& event) override;
    // The actor tick (state, children, slides, fades), then the logic's tick.
    void Tick() override;

    // Adds to / removes from the background layer and redraws its cache.
    virtual void AddToBackgroundLayer(Actor* actor, const std::string& name);
    virtual void RemoveFromBackgroundLayer(Actor* actor);
    // Centres the dialog, puts it on top (z-order 1001) and at the front of the open
    // dialogs, posts MAKO_DIALOGSTARTED, pauses the game when asked and updates the
    // overlay. The screen owns the dialog from now on.
    virtual void StartDialog(Dialog* dialog, bool pauseGame);
    // Hides the dialog and queues MAKO_DIALOGSTOPPED (for the application) and
    // MAKO_DIALOGDELETE (for this screen); resumes the game once no open dialog is
    // visible. The dialog must be a direct child. A dialog already stopping is left alone.
    virtual void StopDialog(Dialog* dialog);
    // The direct child of that name, which must exist and be a dialog.
    virtual void StopDialog(const std::string& name);
    // True while at least one open dialog is visible.
    virtual bool IsDialogVisible() const;
    // True when the screen itself answers Alt+Return (switching between window and full
    // screen); the application then leaves that key to it. Screens do not by default.
    virtual bool HandlesDisplayToggle() const { return false; }
    // The newest open dialog (empty name) or the newest of that name; raises when none.
    virtual Dialog* GetTopDialog(const std::string& name);
    // A new black, screen-sized actor "DialogOverlay" at alpha 80; the caller adds it.
    virtual Actor* CreateDialogOverlay();

    // Takes the logic (may be null); a previous one is deleted.
    void SetLogic(Logic* logic);
    Logic* GetLogic() const MAKO_LIFETIMEBOUND { return m_Logic.get(); }
    // The background layer's direct child "Background", or null.
    Actor* GetBackground() const;
    Actor* GetBackgroundLayer() const { return m_BackgroundLayer; }
    Actor* GetKeyTipLayer() const { return m_KeyTipLayer; }
    Actor* GetDialogOverlay() const { return m_DialogOverlay; }
    const std::list<Dialog*>& GetDialogs() const MAKO_LIFETIMEBOUND { return m_Dialogs; }
    void ReFlattenBackgroundLayer();
    // Registers this screen as event receiver of every button below root (this screen
    // when null), depth first.
    void ListenToButtons(Actor* root = nullptr);
    // Whether the actor is a direct child of this screen (compares pointers only, so a
    // stale pointer may be asked about safely).
    bool IsChild(const Actor* actor) const;

protected:
    // MAKO_DIALOGDELETE: removes and deletes the dialog it names, when it is still open
    // on this screen; always consumed.
    bool OnDialogDelete(const Event& event) override;
    // Shows the dialog overlay when some open dialog wants dimming, hides it otherwise.
    void UpdateDialogOverlay();

    Actor* m_BackgroundLayer = nullptr;
    std::unique_ptr<Logic> m_Logic;
    std::list<Dialog*> m_Dialogs;
    Actor* m_DialogOverlay = nullptr;

private:
    Actor* m_KeyTipLayer = nullptr;
};

// The size of the application's window (640 x 480 while no application runs).
int GetScreenWidth();
int GetScreenHeight();
