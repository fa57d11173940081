#pragma once
// Button: the push button of every screen and dialog. An actor whose image holds up to
// four frames (0 normal, 1 disabled, 2 highlighted, 3 pressed), with a caption label, two
// optional text-background images, keyboard shortcuts with an on-screen key tip, a
// flashing caption and the three states "Active", "Highlighted" and "Pressed" that turn
// mouse and keyboard input into the engine events MAKO_BUTTONPRESS (when it goes down)
// and MAKO_BUTTONCLICK (when it is released inside it).
//
// Reports: both events carry the button (as its Object) in data1 and go to the button's
// event receivers; a button without receivers of its own also reports to its parent. At
// most one MAKO_BUTTONCLICK is reported per main-loop pass, whichever buttons are released
// in it (ButtonClickLatch).
//
// Scripts create buttons as class "Button" (image "Button.png" unless the table names
// another). Main thread only.
#include "scene/Actor.h"
#include "widgets/HoverState.h"
#include "widgets/PressStates.h"

#include <string>

class Label;
class RadioButton;

// The per-pass click latch of the main loop: set once per pass before the event phase;
// a button reports a click only while it is set, and clears it when it does.
bool& ButtonClickLatch();

class Button : public Actor, public PressTarget
{
    MAKO_DECLARE_CLASS();

public:
    explicit Button(const std::string& imageName);
    ~Button() override;

    // A button of the image with a caption in the font at (x, y), named; the parent, when
    // given, hears the button's reports.
    static Button* Make(const std::string& imageName, const std::string& text,
                        const std::string& fontFile, int fontSize, int x, int y,
                        const std::string& name, Actor* parent);

    void Tick() override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    // Tells the button itself (through a posted MAKO_INTERNALEVENT) so that a button shown
    // under a resting pointer lights up.
    void SetVisible(bool visible, bool recursive) override;

    // Replaces the caption (the old one is deleted); label must not be null.
    virtual void SetLabel(Label* label);
    // Sets the caption's text and centres the caption on the button.
    virtual void SetText(const std::string& text);
    // Moves every child by the press offset (down) or back (up).
    virtual void ShiftChildren(bool down);
    // Shows the state's frame (frame 1 while disabled), when the button uses frames.
    virtual void SetFrameForState(int frame);

    void Enable();
    void Disable();
    bool IsEnabled() const { return m_Enabled; }
    // Alternates the caption's colour with `color` every 500 ms; off restores it.
    void SetFlashing(bool on, const Color& color = Color());
    bool IsFlashing() const { return m_Flashing; }
    // The key that presses the button; a letter or digit also gets a key tip.
    void SetShortcutKey(int key);
    void ShowTextBackground1(bool show);
    void ShowTextBackground2(bool show);
    void SetClickSound(const std::string& name) { m_ClickSound = name; }
    void SetEnterKey(bool on) { m_EnterKey = on; }
    void SetEscapeKey(bool on) { m_EscapeKey = on; }
    void SetFunctionKey(int key) { m_FunctionKey = key; }
    void SetAltFunctionKey(int key) { m_AltFunctionKey = key; }
    void SetUseAltShortcutKey(bool on) { m_UseAltShortcutKey = on; }
    void SetUseFrames(bool on) { m_UseFrames = on; }
    void SetPressOffset(int dx, int dy);

    // Reports a click when the pass still allows one.
    void ReportClick();
    // Tests the screen point for hover; posts MAKO_MOUSEENTER / MAKO_MOUSELEAVE on a change.
    void UpdateHover(int x, int y);
    // Shows or hides the key tip on the key-tip layer (only while the button is visible).
    void ShowKeyTip(bool show);
    void CreateKeyTip();

    Label* GetLabel() const { return m_Label; }
    bool IsPressed() const { return IsPressHeld(); }
    bool IsMouseOver() const { return m_Hover.IsMouseOver(); }
    int GetShortcutKey() const { return m_ShortcutKey; }
    char GetKeyTipChar() const { return m_KeyTipChar; }
    Actor* GetKeyTip() const { return m_KeyTip; }
    Actor* GetTextBackground1() const { return m_TextBackground1; }
    Actor* GetTextBackground2() const { return m_TextBackground2; }
    const std::string& GetClickSound() const MAKO_LIFETIMEBOUND { return m_ClickSound; }

    static void RegisterProperties(Class& buttonClass);
    static Object* Instantiate(const LuaPlus::LuaObject& params);

protected:
    bool OnKeyDown(const Event& event) override;
    bool OnKeyUp(const Event& event) override;
    bool OnMouseMotion(const Event& event) override;
    bool OnButtonPress(const Event& event) override;
    bool OnTimer(const Event& event) override;
    bool OnDialogStopped(const Event& event) override;
    bool OnScreenChange(const Event& event) override;

    // Posts the event type with this button in data1 to the receivers (and to the parent
    // when the button has no receivers of its own).
    void Report(std::uint8_t type);

private:
    // The press states: visible lights up, enabled and visible presses; Active shows frame
    // 0, Highlighted frame 2, Pressed frame 3 with the children shifted by the press
    // offset and MAKO_BUTTONPRESS reported; a click reports and stops the flashing.
    bool CanHighlight() const override { return IsVisible(); }
    bool CanPress() const override { return IsEnabled() && IsVisible(); }
    void EnterPressState(PressState state) override;
    void LeavePressState(PressState state) override;
    void Click() override;
    bool IsPointerOverWhenShown() const override { return m_Hover.IsMouseOver(); }

    void PressByKey();
    void ReleaseByKey();
    void ShowFrame(int frame);
    void DestroyKeyTip();
    Actor* MakeTextBackground(const LuaPlus::LuaObject& value, Actor* old, const char* name,
                              int zorder);
    // A caption without a font, made by the text properties when there is none yet.
    Label* EnsureLabel();

    Label* m_Label = nullptr;
    std::string m_ClickSound = "click.ogg";
    int m_PressOffsetX = 1;
    int m_PressOffsetY = 1;
    RectAlignment m_TextAlignment = Center;
    HoverState m_Hover;
    bool m_Enabled = true;
    int m_StateFrame = 0;
    std::uint32_t m_FlashTimer = 0;
    Color m_FlashColor;
    Color m_SavedLabelColor;
    bool m_Flashing = false;
    int m_ShortcutKey = 0;
    char m_KeyTipChar = 0;
    bool m_UseAltShortcutKey = false;
    Actor* m_KeyTip = nullptr;
    Actor* m_TextBackground1 = nullptr;
    Actor* m_TextBackground2 = nullptr;
    bool m_EnterKey = false;
    bool m_EscapeKey = false;
    int m_FunctionKey = 0;
    int m_AltFunctionKey = 0;
    bool m_UseFrames = true;
};
