#pragma once
// NotepadScreen: what the map and the lab share. Each lists levels beside a notepad that
// shows the selected level's title, the player's best loot there ("$12,345"), its four
// bonus targets for the player's skill and the stars earned, each row on a rule of the
// notepad's paper (the layout "LevelNotepad", the same on both).
// Both keep the player's choices in the player's tables, and Update rebuilds the whole
// screen from them: when the screen becomes current (its tip letter follows, until the
// player has read it) and when the options dialog closes (the skill may have changed the
// targets).
//
// The buttons both carry act alike: "OptionsButton" opens the options over the paused
// screen, "MenuButton" and Escape go back to the menu, "HelpButton" forces the screen's
// help letter, "FindsButton" goes to the finds, "PlayButton" plays the selection when it
// may be played. A subclass names its texts once and adds its own buttons and keys.
// Main thread only.
#include "screens/Screen.h"

#include <string>

class Label;

class NotepadScreen : public Screen
{
public:
    // Rebuilds the whole screen from the player's tables.
    virtual void Update() = 0;

    // "CapeHorn" -> "Cape Horn": a space before each capital that follows a small letter.
    static std::string SpacedName(const std::string& name);
    // The level's "fullName" when its table has one, else its name spaced.
    static std::string LevelTitle(const std::string& name, const LuaPlus::LuaObject& level);

    // What tells the two screens apart besides their own lists.
    struct Texts
    {
        // How a missing layout part is reported: "The map needs the label ...".
        const char* owner;
        // How warnings and screen switches name the screen.
        const char* className;
        // The tip letter of each visit (shown until the player has read it), and its title.
        const char* tip;
        const char* tipTitle;
        // The letter the help button forces.
        const char* help;
    };

protected:
    NotepadScreen(const std::string& name, const std::string& resource, const Texts& texts);

    // Plays the selection when it may be played.
    virtual void PlayIfUnlocked() = 0;
    // The buttons the subclass adds; true when the click was its.
    virtual bool OnOwnButton(const std::string& name) = 0;

    // The notepad for the named level ("" for none), its table and the player's record
    // of it (nil: not played).
    void ShowNotepad(const std::string& levelName, const LuaPlus::LuaObject& level,
                     const LuaPlus::LuaObject& record);

    // The label or actor of that name below the screen; a missing one raises, naming it.
    Label* RequireLabel(const std::string& name);
    Actor* RequireActor(const std::string& name);
    // Centres the actor across its parent's width (it keeps its y).
    static void CenterInParent(Actor* actor);

    bool OnScreenChange(const Event& event) override;
    bool OnButtonClick(const Event& event) override;
    bool OnDialogStopped(const Event& event) override;
    // Escape goes back to the menu; the subclass's keys come first.
    bool OnKeyDown(const Event& event) override;

    // The help letter, forced.
    void ShowHelp();

    const Texts m_Texts;
};
