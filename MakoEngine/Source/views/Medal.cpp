#include "views/Medal.h"

#include "core/Config.h"
#include "display/Font.h"
#include "geometry/Colors.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <cmath>

using LuaPlus::LuaObject;

namespace {

const char* const kHighlightImage = "medalHighlight.png";
const char* const kPictureHighlightImage = "medalMedalHighlight.png";
const char* const kPictureName = "MedalMedal";
const char* const kPictureHighlightName = "medalMedalHighlight";
const char* const kValueLabelName = "MedalValueLabel";
const char* const kRibbonLabelName = "MedalNameLabel";
const char* const kClickSound = "click2.ogg";
const int kHighlightZOrder = 10;
const int kPictureZOrder = 5;
const int kPictureY = 23;
// The ribbon's caption: its letters begin a clear band below the ribbon's top edge.
const int kRibbonY = 1;
const int kRibbonWidthLimit = 45;

const char* const kLevelNames[Medal::kLevelCount] = {"Bronze", "Silver", "Gold", "Platinum",
                                                     "No More Left!"};

LuaObject Constant(const std::string& key)
{
    Config* config = Config::GetCurrent();
    return config ? config->GetObject(key) : LuaObject();
}

std::string ConstantOr(const std::string& key, const std::string& fallback)
{
    const LuaObject value = Constant(key);
    return value.IsString() ? std::string(value.GetString()) : fallback;
}

int ConstantInteger(const std::string& key, int fallback)
{
    const LuaObject value = Constant(key);
    return value.IsNumber() ? value.GetInteger() : fallback;
}

// A label in the font role named by fontKey at the size named by sizeKey, black.
Label* NewLabel(const std::string& fontKey, const std::string& sizeKey, int fallbackSize)
{
    const std::string font = ConstantOr(fontKey, "mainfont");
    return new Label(" ", new Font(font, ConstantInteger(sizeKey, fallbackSize), 0),
                     Colors::ByName("Black"), HorizontalAlignment::Center);
}

} // namespace

// ---- Construction -------------------------------------------------------------------------

Medal::Medal(const std::string& category, const std::string& imageName, const std::string& gameType,
             EventReceiver* receiver)
    : Actor(imageName), m_GameType(gameType), m_Hover(*this)
{
    ApplyStringProperty("name", category);
    if (receiver)
        AddEventReceiver(receiver);

    m_RibbonLabel = NewLabel("MedalRibbonFont", "MedalRibbonFontSize", 14);
    m_RibbonLabel->ApplyStringProperty("name", kRibbonLabelName);
    m_RibbonLabel->SetWidthLimit(kRibbonWidthLimit);
    m_RibbonText = ConstantText(Key("Name"));
    m_RibbonLabel->SetText(m_RibbonText.empty() ? std::string(" ") : m_RibbonText, true);
    m_RibbonLabel->SetPosition(GetWidth() / 2 - m_RibbonLabel->GetWidth() / 2, kRibbonY);
    AddChild(m_RibbonLabel, kRibbonLabelName);

    m_Highlight = Actor::CreateFromResource(kHighlightImage);
    m_Highlight->ApplyStringProperty("name", "MedalHighlight");
    m_Highlight->SetVisible(false, false);
    m_Highlight->SetZOrder(kHighlightZOrder);
    AddChild(m_Highlight, "");

    AddPressStates(*this, *this, m_Hover);
    SetState("Active");
}

Medal::~Medal() = default;

// ---- Level --------------------------------------------------------------------------------

std::string Medal::Key(const std::string& tail) const
{
    return (boost::format("medal.%1%.%2%.%3%") % m_GameType % GetName() % tail).str();
}

std::string Medal::ConstantText(const std::string& key)
{
    const LuaObject value = Constant(key);
    if (value.IsNumber()) {
        // Whole numbers read as integers ("25", not "25.0").
        const double number = value.GetNumber();
        if (number == std::floor(number) && std::fabs(number) < 1e15)
            return (boost::format("%1%") % static_cast<long long>(number)).str();
        return (boost::format("%1%") % number).str();
    }
    return value.IsString() ? std::string(value.GetString()) : std::string();
}

void Medal::SetLevel(int level, const std::string& levelName)
{
    m_Level = level;
    m_LevelName = levelName;
    const std::string text = ConstantText(Key(levelName + ".Name"));

    if (Actor* old = GetChild(kPictureName, false))
        DestroyChild(old);
    Actor* picture = Actor::CreateFromResource("medal" + levelName + ".png");
    picture->ApplyStringProperty("name", kPictureName);
    picture->SetPosition(0, kPictureY);
    picture->SetZOrder(kPictureZOrder);
    AddChild(picture, kPictureName);

    Actor* glow = Actor::CreateFromResource(kPictureHighlightImage);
    glow->ApplyStringProperty("name", kPictureHighlightName);
    glow->SetPosition(0, 0);
    glow->SetZOrder(kHighlightZOrder);
    glow->SetVisible(false, false);
    picture->AddChild(glow, kPictureHighlightName);

    Label* value = NewLabel("MedalMedalFont", "MedalMedalFontSize", 16);
    value->ApplyStringProperty("name", kValueLabelName);
    picture->AddChild(value, kValueLabelName);
    // A long value is drawn smaller to stay on the medal, clear of its rim.
    value->SetWidthLimit(picture->GetWidth() - 6);
    value->SetText(text.empty() ? std::string(" ") : text, true);
    value->SetPosition(picture->GetWidth() / 2 - value->GetWidth() / 2,
                       picture->GetHeight() / 2 - value->GetHeight() / 2);
}

std::string Medal::LevelName(int level)
{
    return level >= 0 && level < kLevelCount ? kLevelNames[level] : "";
}

std::string Medal::GetLevelName() const
{
    return LevelName(m_Level);
}

int Medal::GetGoal() const
{
    return GetGoal(GetLevelName());
}

int Medal::GetGoal(const std::string& levelName) const
{
    return ConstantInteger(Key(levelName + ".Goal"), 0);
}

std::string Medal::GetUnits() const
{
    return ConstantText(Key("Units"));
}

// ---- Pointer ------------------------------------------------------------------------------

void Medal::ShowHighlight(bool show)
{
    if (m_Highlight)
        m_Highlight->SetVisible(show, false);
    if (Actor* glow = GetChild(kPictureHighlightName, true))
        glow->SetVisible(show, false);
}

bool Medal::OnMouseMotion(const Event& event)
{
    m_Hover.Update(*this, event.motion.x, event.motion.y);
    return false;
}

void Medal::EnterPressState(PressState state)
{
    ShowHighlight(state != PRESS_ACTIVE && m_Clickable);
    if (state != PRESS_PRESSED)
        return;
    Sound::PlaySound(kClickSound, false);
    SetPosition(GetX() + m_PressOffsetX, GetY() + m_PressOffsetY);
}

void Medal::LeavePressState(PressState state)
{
    if (state == PRESS_PRESSED)
        SetPosition(GetX() - m_PressOffsetX, GetY() - m_PressOffsetY);
}

void Medal::Click()
{
    PostEvent(MAKO_MEDALCLICK, static_cast<Object*>(this));
}
