// Button: script properties, shortcut keys with their key tips, text backgrounds.
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"

#include "core/Class.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "display/Font.h"
#include "lua/ScriptValueReaders.h"
#include "widgets/Label.h"
#include "widgets/WidgetProperties.h"

#include <boost/format.hpp>

#include <memory>

using LuaPlus::LuaObject;

namespace {

const char* const kButtonProperties[] = {
    "textColor",   "text",           "useFrames",         "textBackground1", "textBackground2",
    "font",        "textAlignment",  "shortcutKey",       "enterKey",        "escapeKey",
    "functionKey", "altFunctionKey", "useAltShortcutKey", "active"};

// The character a key tip shows for a key: letters upper-cased, digits as they are; 0
// for every other key (arrows, function and modifier keys show no tip).
char KeyTipCharFor(int key)
{
    if (key >= 'a' && key <= 'z')
        return static_cast<char>(key - 32);
    if (key >= '0' && key <= '9')
        return static_cast<char>(key);
    return 0;
}

} // namespace

void Button::RegisterProperties(Class& c)
{
    for (const char* name : kButtonProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    c.RegisterPropertySetter(MakeFunctionAccessor(
        [](Object& object, const LuaObject& value) {
            CastPropertyObject<Button>(object).SetClickSound(ReadStringFromObject(value));
        },
        "clickSound"));
    RankWidgetProperties();
}

Label* Button::EnsureLabel()
{
    if (!m_Label)
        SetLabel(new Label("", nullptr, Palette::Black, HorizontalAlignment::Center));
    return m_Label;
}

void Button::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "textColor") {
        const Color color(value);
        if (m_Label)
            m_Label->SetColor(color, true);
        else
            SetLabel(new Label("", nullptr, color, HorizontalAlignment::Center));
    } else if (name == "text") {
        const std::string text = ReadStringFromObject(value);
        if (m_Label) {
            m_Label->SetText(text, true);
        } else {
            std::unique_ptr<Label> label(
                new Label(text, nullptr, Palette::Black, HorizontalAlignment::Center));
            label->SetZOrder(10);
            SetLabel(label.release());
        }
        FitCaptionToPlate(*this);
    } else if (name == "useFrames") {
        m_UseFrames = ReadBooleanFromObject(value);
    } else if (name == "textBackground1") {
        m_TextBackground1 = MakeTextBackground(value, m_TextBackground1, "TextBackground1", 5);
    } else if (name == "textBackground2") {
        m_TextBackground2 = MakeTextBackground(value, m_TextBackground2, "TextBackground2", 6);
    } else if (name == "font") {
        std::unique_ptr<Font> font(new Font(value));
        if (m_Label) {
            m_Label->SetFont(font.release(), true);
            m_Label->SetAlignment(m_TextAlignment);
        } else {
            SetLabel(new Label("", font.release(), Palette::Black, HorizontalAlignment::Center));
        }
        FitCaptionToPlate(*this);
    } else if (name == "textAlignment") {
        const std::string alignment = value.IsString() ? value.GetString() : "";
        if (alignment == "Center")
            m_TextAlignment = Center;
        else if (alignment == "Left")
            m_TextAlignment = MidLeft;
        else if (alignment == "Right")
            m_TextAlignment = MidRight;
        else
            return;
        if (m_Label)
            m_Label->SetAlignment(m_TextAlignment);
    } else if (name == "shortcutKey") {
        SetShortcutKey(ReadIntegerFromObject(value));
    } else if (name == "enterKey") {
        m_EnterKey = ReadBooleanFromObject(value);
    } else if (name == "escapeKey") {
        m_EscapeKey = ReadBooleanFromObject(value);
    } else if (name == "functionKey") {
        m_FunctionKey = ReadIntegerFromObject(value);
    } else if (name == "altFunctionKey") {
        m_AltFunctionKey = ReadIntegerFromObject(value);
    } else if (name == "useAltShortcutKey") {
        m_UseAltShortcutKey = ReadBooleanFromObject(value);
    } else if (name == "active") {
        if (ReadBooleanFromObject(value))
            Enable();
        else
            Disable();
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
}

Actor* Button::MakeTextBackground(const LuaObject& value, Actor* old, const char* name, int zorder)
{
    if (old)
        DestroyChild(old);
    std::unique_ptr<Actor> background(new Actor(ReadStringFromObject(value)));
    background->SetVisible(false, false);
    background->ApplyStringProperty("name", name);
    background->SetZOrder(zorder);
    AddChild(background.get(), "");
    return background.release();
}

void Button::ShowTextBackground1(bool show)
{
    if (m_TextBackground1)
        m_TextBackground1->SetVisible(show, false);
}

void Button::ShowTextBackground2(bool show)
{
    if (m_TextBackground2)
        m_TextBackground2->SetVisible(show, false);
}

// ---- Shortcut keys and key tips -----------------------------------------------------------

void Button::SetShortcutKey(int key)
{
    m_ShortcutKey = key;
    const char tip = KeyTipCharFor(key);
    m_KeyTipChar = tip;
    if (tip == 0) {
        DestroyKeyTip();
        return;
    }
    CreateKeyTip();
    auto* label = dynamic_cast<Label*>(m_KeyTip->GetChild("KeyTipLabel", false));
    MAKO_ASSERT(label != 0);
    label->SetText(boost::str(boost::format("%1%") % tip), true);
    label->SetPosition(m_KeyTip->GetWidth() / 2 - label->GetWidth() / 2,
                       m_KeyTip->GetHeight() / 2 - label->GetHeight() / 2);
}

void Button::DestroyKeyTip()
{
    Actor* tip = m_KeyTip;
    m_KeyTip = nullptr;
    if (!tip || tip->IsDead())
        return;
    if (Actor* layer = tip->GetParent())
        layer->DestroyChild(tip);
    else
        tip->Kill();
}

void Button::CreateKeyTip()
{
    DestroyKeyTip();
    Config* config = Config::GetCurrent();
    MAKO_ASSERT_MSG(config != 0, "Key tips need the configuration value \"ButtonFont\".");
    std::unique_ptr<Actor> tip(new Actor("objKeyTip.png"));
    tip->SetVisible(false, false);
    tip->ApplyStringProperty("name", "KeyTip");
    // The button owns its tip even while the tip sits on a layer: the layer neither
    // destroys it with its children nor deletes it.
    tip->SetSurvive(true);
    std::unique_ptr<Font> font(new Font(config->GetString("ButtonFont"), 18, 0));
    std::unique_ptr<Label> label(new Label(" ", font.release(), HorizontalAlignment::Center));
    label->ApplyStringProperty("name", "KeyTipLabel");
    tip->AddChild(label.release(), "");
    m_KeyTip = tip.release();
}

void Button::ShowKeyTip(bool show)
{
    if (!IsVisible() || !m_KeyTip)
        return;
    if (show && !m_KeyTip->GetParent()) {
        LuaObject keyTipLayerObject = RetrieveInheritedProperty("keyTipLayer");
        MAKO_ASSERT(keyTipLayerObject.IsUserData());
        Actor* layer = dynamic_cast<Actor*>(Object::GetObjectFromLua(keyTipLayerObject));
        if (!layer && keyTipLayerObject.IsLightUserData())
            layer = static_cast<Actor*>(keyTipLayerObject.GetLightUserData());
        MAKO_ASSERT(layer != 0);
        layer->AddChild(m_KeyTip, "");
    }
    Point<int> centre = LocalToGlobal(GetWidth() - 3, 3);
    if (Actor* layer = m_KeyTip->GetParent())
        centre = layer->GlobalToLocal(centre.x, centre.y);
    m_KeyTip->SetPosition(centre.x - m_KeyTip->GetWidth() / 2,
                          centre.y - m_KeyTip->GetHeight() / 2);
    m_KeyTip->SetVisible(show, false);
}
