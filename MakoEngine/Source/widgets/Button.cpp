#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"

#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/TimerManager.h"
#include "display/Font.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "scene/SceneHost.h"
#include "sound/Sound.h"
#include "widgets/Label.h"
#include "widgets/WidgetInput.h"

#include <boost/format.hpp>

#include <memory>
#include <vector>

MAKO_IMPLEMENT_CLASS(Button, "Button", "Actor", &Button::RegisterProperties, &Button::Instantiate);

// ---- Construction -------------------------------------------------------------------------

Button::Button(const std::string& imageName) : Actor(imageName), m_Hover(*this)
{
    LogAtLevel(3, "Button::Button %s\n", imageName.c_str());
    LogAtLevel(3, "Button::Add States\n");
    AddPressStates(*this, *this, m_Hover);
    LogAtLevel(3, "Button::Enable\n");
    Enable();
    LogAtLevel(3, "Button::SetState\n");
    SetState("Active");
}

Button::~Button()
{
    if (m_FlashTimer != 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_FlashTimer);
    m_FlashTimer = 0;
    // The tip goes with its button at once: it survives its layer's clean-up (see
    // CreateKeyTip), so nobody else would delete it. A tip already killed waits for the
    // dead-actor list.
    if (m_KeyTip && !m_KeyTip->IsDead()) {
        if (Actor* layer = m_KeyTip->GetParent())
            layer->RemoveChild(m_KeyTip);
        delete m_KeyTip;
    }
    m_KeyTip = nullptr;
}

Object* Button::Instantiate(const LuaPlus::LuaObject& params)
{
    std::unique_ptr<Button> button(new Button("Button.png"));
    button->ApplyProperties(params);
    button->Initialize();
    return button.release();
}

Button* Button::Make(const std::string& imageName, const std::string& text,
                     const std::string& fontFile, int fontSize, int x, int y,
                     const std::string& name, Actor* parent)
{
    LogAtLevel(3, "Button::Make %s %s %s %d %d %d %s\n", imageName.c_str(), text.c_str(),
               fontFile.c_str(), fontSize, x, y, name.c_str());
    std::unique_ptr<Button> button(new Button(imageName));
    LogAtLevel(3, "Button:: new Font\n");
    std::unique_ptr<Font> font(new Font(fontFile, fontSize, 0));
    LogAtLevel(3, "Button:: new Label\n");
    Label* label = new Label(text, font.release(), HorizontalAlignment::Center);
    LogAtLevel(3, "Button:: SetLabel Label\n");
    button->SetLabel(label);
    LogAtLevel(3, "Button:: MoveTo\n");
    button->SetPosition(x, y);
    LogAtLevel(3, "Button:: SetName\n");
    button->ApplyStringProperty("name", name);
    if (parent)
        button->AddEventReceiver(parent);
    return button.release();
}

// ---- Caption, frames, children ------------------------------------------------------------

void Button::SetLabel(Label* label)
{
    MAKO_ASSERT(label != 0);
    if (m_Label && m_Label != label) {
        RemoveChild(m_Label);
        delete m_Label;
    }
    m_Label = label;
    label->SetAlignment(m_TextAlignment);
    AddChild(label, "");
    FitCaptionToPlate(*this);
}

void Button::SetText(const std::string& text)
{
    if (!m_Label)
        return;
    FitCaptionToPlate(*this);
    m_Label->SetText(text, true);
    m_Label->SetPosition(GetWidth() / 2 - m_Label->GetWidth() / 2,
                         GetHeight() / 2 - m_Label->GetHeight() / 2);
}

void Button::ShiftChildren(bool down)
{
    const int dx = down ? m_PressOffsetX : -m_PressOffsetX;
    const int dy = down ? m_PressOffsetY : -m_PressOffsetY;
    const std::vector<Actor*> children(GetChildren().begin(), GetChildren().end());
    for (Actor* child : children)
        child->SetPosition(child->GetX() + dx, child->GetY() + dy);
}

void Button::SetPressOffset(int dx, int dy)
{
    m_PressOffsetX = dx;
    m_PressOffsetY = dy;
}

void Button::SetFrameForState(int frame)
{
    if (!m_UseFrames)
        return;
    m_StateFrame = frame;
    ShowFrame(m_Enabled ? frame : 1);
}

void Button::ShowFrame(int frame)
{
    // A sheet with fewer frames keeps showing what it shows.
    Image* image = GetImage();
    if (image && frame < image->GetNumFrames())
        SetFrame(frame);
}

void Button::SetVisible(bool visible, bool recursive)
{
    auto* notice = new LuaPlus::LuaObject;
    notice->AssignString(GetGlobalLuaState(), "visibility changed");
    GetPostedEventQueue().Post(this, MAKO_INTERNALEVENT, 0, IntToEventData(visible ? 1 : 0),
                               notice);
    Actor::SetVisible(visible, recursive);
}

// ---- Enable, flashing ---------------------------------------------------------------------

void Button::Enable()
{
    if (m_Enabled)
        return;
    m_Enabled = true;
    if (m_Label) {
        m_Label->SetDisabled(false);
        m_SavedLabelColor = m_Label->GetTextColor();
    }
    if (m_UseFrames)
        ShowFrame(m_StateFrame);
    m_Hover.RequestRecheck();
}

void Button::Disable()
{
    if (!m_Enabled)
        return;
    m_Enabled = false;
    if (m_Label) {
        m_Label->SetDisabled(true);
        m_SavedLabelColor = m_Label->GetTextColor();
    }
    if (m_UseFrames)
        ShowFrame(1);
}

void Button::SetFlashing(bool on, const Color& color)
{
    TimerManager* timers = SceneHost::GetTimerManager();
    if (on) {
        // Flashing again keeps the colour the caption had when flashing began.
        const bool alreadyFlashing = m_Flashing && m_FlashTimer != 0;
        m_Flashing = true;
        m_FlashColor = color;
        if (!alreadyFlashing && m_Label)
            m_SavedLabelColor = m_Label->GetTextColor();
        if (m_FlashTimer != 0 && timers)
            timers->KillTimer(m_FlashTimer);
        m_FlashTimer = timers ? timers->CreateTimer(this, 500, -1, TIMER_LIMITED_TO_FRAMERATE) : 0;
        return;
    }
    m_Flashing = false;
    if (m_FlashTimer == 0)
        return;
    if (m_Label)
        m_Label->SetColor(m_SavedLabelColor, true);
    if (timers)
        timers->KillTimer(m_FlashTimer);
    m_FlashTimer = 0;
}

bool Button::OnTimer(const Event& event)
{
    if (m_FlashTimer == 0 || EventData1Int(event) != static_cast<std::intptr_t>(m_FlashTimer))
        return Actor::OnTimer(event);
    if (m_Label)
        m_Label->SetColor(
            m_Label->GetTextColor() == m_FlashColor ? m_SavedLabelColor : m_FlashColor, true);
    return true;
}

// ---- Reports, hover -----------------------------------------------------------------------

void Button::Report(std::uint8_t type)
{
    void* self = static_cast<Object*>(this);
    if (!HasEventReceivers() && GetParent())
        GetPostedEventQueue().Post(GetParent(), type, 0, self);
    PostEvent(type, self);
}

void Button::ReportClick()
{
    if (!ButtonClickLatch())
        return;
    Report(MAKO_BUTTONCLICK);
    ButtonClickLatch() = false;
}

void Button::UpdateHover(int x, int y)
{
    m_Hover.Update(*this, x, y);
}

void Button::Tick()
{
    m_Hover.CheckOnTick(*this);
    if (m_KeyTip && m_KeyTipChar != 0)
        ShowKeyTip(WidgetInput::AreKeyTipsArmed());
    Actor::Tick();
}

bool Button::OnMouseMotion(const Event& event)
{
    UpdateHover(event.motion.x, event.motion.y);
    return false;
}

bool Button::OnButtonPress(const Event& event)
{
    if (EventData1(event) != static_cast<Object*>(this) || !IsVisible() || !m_Enabled)
        return false;
    Sound::PlaySound(m_ClickSound, false);
    return true;
}

bool Button::OnDialogStopped(const Event&)
{
    m_Hover.RequestRecheck();
    return false;
}

bool Button::OnScreenChange(const Event&)
{
    m_Hover.RequestRecheck();
    return false;
}

// ---- Keyboard -----------------------------------------------------------------------------

bool Button::OnKeyDown(const Event& event)
{
    if (!IsVisible() || !m_Enabled)
        return false;
    const int key = event.key.keysym.sym;
    const bool alt = WidgetInput::IsAltOnly(event.key.keysym.mod);
    const bool press =
        (m_ShortcutKey != 0 && key == m_ShortcutKey && (!m_UseAltShortcutKey || alt)) ||
        (m_EnterKey && (key == SDLK_RETURN || key == SDLK_KP_ENTER) && !alt) ||
        (m_EscapeKey && key == SDLK_ESCAPE && !alt) ||
        (m_FunctionKey != 0 && key == m_FunctionKey && !alt) ||
        (m_AltFunctionKey != 0 && key == m_AltFunctionKey && alt);
    if (!press)
        return false;
    PressByKey();
    return true;
}

bool Button::OnKeyUp(const Event& event)
{
    if (!IsVisible() || !m_Enabled || !IsPressHeld())
        return false;
    const int key = event.key.keysym.sym;
    if (m_ShortcutKey != 0 && key == m_ShortcutKey) {
        ReleaseByKey();
        return false; // later handlers still hear the shortcut's release
    }
    const bool release = (m_EnterKey && (key == SDLK_RETURN || key == SDLK_KP_ENTER)) ||
                         (m_EscapeKey && key == SDLK_ESCAPE) ||
                         (m_FunctionKey != 0 && key == m_FunctionKey) ||
                         (m_AltFunctionKey != 0 && key == m_AltFunctionKey);
    if (!release)
        return false;
    ReleaseByKey();
    return true;
}

void Button::PressByKey()
{
    SetState("Highlighted");
    SetState("Pressed");
}

void Button::ReleaseByKey()
{
    Click();
    SetPressHeld(false);
    SetState("Active");
}

void Button::EnterPressState(PressState state)
{
    if (state == PRESS_ACTIVE) {
        SetFrameForState(0);
    } else if (state == PRESS_HIGHLIGHTED) {
        SetFrameForState(2);
    } else {
        SetFrameForState(3);
        ShiftChildren(true);
        Report(MAKO_BUTTONPRESS);
    }
}

void Button::LeavePressState(PressState state)
{
    if (state == PRESS_PRESSED)
        ShiftChildren(false);
}

void Button::Click()
{
    ReportClick();
    SetFlashing(false);
}
