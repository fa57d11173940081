#pragma once
// Dialog: a modal panel that a screen shows above its content (Screen::StartDialog /
// StopDialog). It has a centred title label, a row of lower buttons (okay / cancel /
// yes / no) that it lays out itself, and a flag word (bit DIALOGFLAG_NO_OVERLAY: no
// dimming behind it). While it is in a screen's tree it swallows every keyboard, mouse
// and joystick event its children leave unconsumed, so nothing below it sees input. It
// remembers which of its buttons was clicked (readable until its screen deletes it) and
// asks its screen to close it when that button is marked to close the dialog.
//
// A dialog never deletes itself: its screen does, when the delete event arrives.
// Registered as class "Dialog" (parent "Actor"). Main thread only.
#include "scene/Actor.h"

#include <cstdint>
#include <list>
#include <string>

class Button;
class Label;

// The sets of lower buttons CreateLowerButtons makes.
enum DialogButtonSet : int {
    DIALOGBUTTONS_NONE = 0,
    DIALOGBUTTONS_OKAY = 1,        // "okay": Return and Escape
    DIALOGBUTTONS_OKAY_CANCEL = 2, // "okay" (Return), "cancel" (Escape)
    DIALOGBUTTONS_YES = 3,         // "yes": Return and Escape
    DIALOGBUTTONS_YES_NO = 4,      // "yes" (Return), "no" (Escape)
};

class Dialog : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    // A dialog built in code: no key-tip layer, z-order 255, keeps ticking while paused.
    explicit Dialog(std::uint32_t flags = 0);
    // A dialog built from a resource (applied while the object is still a plain actor,
    // so a "title" of the resource does not become a title label here), with a key-tip
    // layer stored as its property keyTipLayer. The picture it is drawn on (the resource
    // itself, or its table's image) is a decoration: one the pack lacks is named once and a
    // plain sheet of a letter's size stands in, under the dialog's texts and buttons.
    Dialog(const std::string& resourceName, std::uint32_t flags);
    ~Dialog() override;

    // Swallows input events (key, mouse and joystick axis/ball) that no child consumed.
    bool OnEvent(const Event& event) override;
    // "lowerbutton": the child closes the dialog and joins the lower-button row, which is
    // laid out again. "title": replaces (and destroys) the old title and centres the new
    // one 32 pixels below the top.
    void AddChild(Actor* child, const std::string& name) override;
    // "title" (text) and "titleAlignmentOffset" (point); others go to the actor.
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    std::uint32_t GetDialogFlags() const { return m_DialogFlags; }
    // A new title label in the configured title font; fontSize -1 takes the configured
    // size.
    void SetTitle(const std::string& text, int fontSize);
    // Removes the okay / cancel buttons and builds the set asked for (DialogButtonSet);
    // any other value builds none.
    void CreateLowerButtons(int set);
    // Relabel, resize the label font of, or set the shortcut key of the direct child
    // button of that name; nothing when there is none.
    void SetButtonText(const std::string& name, const std::string& text);
    void SetButtonFontSize(const std::string& name, int size);
    void SetButtonKeyTip(const std::string& name, int key);
    // The direct child of that name, or null.
    Actor* GetChild(const std::string& name) const { return Actor::GetChild(name, false); }

    Label* GetTitle() const { return m_Title; }
    Button* GetClickedButton() const { return m_ClickedButton; }
    const std::list<Button*>& GetLowerButtons() const MAKO_LIFETIMEBOUND { return m_LowerButtons; }
    Point<int> GetTitleAlignmentOffset() const
    {
        return Point<int>(m_TitleOffsetX, m_TitleOffsetY);
    }

    // Set by the screen between StopDialog and the deletion of the dialog.
    bool IsStopping() const { return m_Stopping; }
    void SetStopping(bool stopping) { m_Stopping = stopping; }

    static void RegisterProperties(Class& dialogClass);

protected:
    // A click on one of the dialog's own buttons: remembered, and closes the dialog when
    // the button says so. Always consumed for its own buttons.
    bool OnButtonClick(const Event& event) override;

    // Places the lower buttons in one centred row along the bottom edge.
    void LayoutLowerButtons();
    void RemoveLowerButton(const std::string& name);
    void ApplyTitleOffset();

    Label* m_Title = nullptr;
    std::int32_t m_TitleOffsetX = 0;
    std::int32_t m_TitleOffsetY = 0;
    std::list<Button*> m_LowerButtons;
    Button* m_ClickedButton = nullptr;
    std::uint32_t m_DialogFlags = 0;

private:
    // What the constructor applies: the resource, or, when its picture is missing, its table
    // without the picture (named once here).
    static LuaPlus::LuaObject Layout(const std::string& name);
    void InitMembers(std::uint32_t flags);

    bool m_Stopping = false;
};
