#include "screens/Dialog.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/PropertyAccessor.h"
#include "display/Font.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "luaplus/LuaTableIterator.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "resources/SDLImageLoader.h"
#include "screens/CheckedCast.h"
#include "screens/Screen.h"
#include "widgets/Button.h"
#include "widgets/ButtonTemplate.h"
#include "widgets/Label.h"

#include <SDL.h>

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Dialog, "Dialog", "Actor", &Dialog::RegisterProperties,
                     &InstantiateObjectOfClass<Dialog>);

namespace {

// Horizontal space between two lower buttons, and the title's distance from the top.
const int kLowerButtonGap = 32;
const int kTitleY = 32;

Button* MakeLowerButton(const ButtonTemplate& preset, bool enterKey, bool escapeKey)
{
    Button* button = MakeButtonFromTemplate(preset, nullptr);
    button->SetEnterKey(enterKey);
    button->SetEscapeKey(escapeKey);
    return button;
}

bool IsInputEvent(std::uint8_t type)
{
    return type >= SDL_KEYDOWN && type <= SDL_JOYBALLMOTION;
}

// The sheet that stands in for a dialog's picture the pack lacks: a letter's size, in the
// colour of paper.
const int kSheetWidth = 576;
const int kSheetHeight = 432;
const Color kSheetColour(236, 228, 206);

// The resource table of that name; nil when there is none (a picture's name).
LuaObject LayoutTable(const std::string& name)
{
    return GetGlobalLuaState()->GetGlobal("Resources")[name.c_str()];
}

// Why the picture a dialog's layout is drawn on (the layout itself when it names a picture,
// else its table's image) cannot be used; "" when it can, or when the layout names none.
std::string WhyNoLayoutPicture(const std::string& name, const LuaObject& table)
{
    ResourceManager* resources = GetResourceManager();
    if (!resources)
        return std::string();
    if (table.IsTable()) {
        const LuaObject image = table["image"];
        return image.IsString() ? resources->WhyNotOfKind(image.GetString(), RESOURCE_IMAGE)
                                : std::string();
    }
    return SDLImageLoader::IsPictureName(name) ? resources->WhyNotOfKind(name, RESOURCE_IMAGE)
                                               : std::string();
}

} // namespace

LuaObject Dialog::Layout(const std::string& name)
{
    LuaObject params;
    params.AssignNewTable(GetGlobalLuaState());
    const LuaObject table = LayoutTable(name);
    const std::string why = WhyNoLayoutPicture(name, table);
    if (why.empty()) {
        params.SetString("resource", name.c_str());
        return params;
    }
    // The picture is the dialog's decoration: without it the dialog's texts and buttons
    // still stand, on a plain sheet (the constructor puts it in).
    ObjectBoundary::ReportOnce("The dialog \"" + name + "\"",
                               why + "; a plain sheet stands in for its picture");
    if (table.IsTable())
        for (LuaPlus::LuaTableIterator it(table); it; it.Next())
            if (!(it.GetKey().IsString() && std::string(it.GetKey().GetString()) == "image"))
                params.SetObject(it.GetKey(), it.GetValue());
    return params;
}

// ---- Construction -------------------------------------------------------------------------

Dialog::Dialog(std::uint32_t flags)
{
    InitMembers(flags);
}

Dialog::Dialog(const std::string& resourceName, std::uint32_t flags) : Actor(Layout(resourceName))
{
    InitMembers(flags);
    if (!GetImage() && !WhyNoLayoutPicture(resourceName, LayoutTable(resourceName)).empty()) {
        SetImage(new Image(kSheetWidth, kSheetHeight, 1, IMAGE_SRCALPHA, kSheetColour), "");
        // The children were placed on a dialog of no size: placed again on the sheet.
        for (Actor* child : GetChildren())
            child->UpdateAlignment();
    }
    Actor* keyTipLayer = new Actor();
    keyTipLayer->SetZOrder(SCREEN_Z_KEYTIPS);
    AddChild(keyTipLayer, "");
    ApplyProperty("keyTipLayer", keyTipLayer->GetLuaObject());
}

Dialog::~Dialog() = default;

void Dialog::InitMembers(std::uint32_t flags)
{
    m_Title = nullptr;
    m_TitleOffsetX = 0;
    m_TitleOffsetY = 0;
    m_LowerButtons.clear();
    m_ClickedButton = nullptr;
    m_DialogFlags = flags;
    m_Flags |= ACTORFLAG_TICK_WHILE_PAUSED;
    m_ZOrder = 255;
}

// ---- Events -------------------------------------------------------------------------------

bool Dialog::OnEvent(const Event& event)
{
    const bool consumed = Actor::OnEvent(event);
    // Input stops here: nothing below an open dialog sees it.
    return consumed || IsInputEvent(event.type);
}

bool Dialog::OnButtonClick(const Event& event)
{
    Button* button = dynamic_cast<Button*>(static_cast<Object*>(EventData1(event)));
    if (!button || button->GetParent() != this)
        return false;
    m_ClickedButton = button;
    LuaObject closes;
    button->RetrieveProperty(closes, "buttonClosesDialog");
    // Only a screen can close a dialog: a dialog on no parent at all raises like one on
    // a parent of another type (the cast refuses null too).
    if (closes.IsBoolean() && closes.GetBoolean())
        CheckedDownCast<Screen*>(GetParent())->StopDialog(this);
    return true;
}

// ---- Children, title and lower buttons ----------------------------------------------------

void Dialog::AddChild(Actor* child, const std::string& name)
{
    Actor::AddChild(child, name);
    if (name == "lowerbutton") {
        child->ApplyBoolProperty("buttonClosesDialog", true);
        if (Button* button = dynamic_cast<Button*>(child)) {
            m_LowerButtons.remove(button);
            m_LowerButtons.push_back(button);
        }
        LayoutLowerButtons();
    } else if (name == "title") {
        if (m_Title && m_Title != child && m_Title->GetParent() == this)
            DestroyChild(m_Title);
        m_Title = dynamic_cast<Label*>(child);
        child->SetPosition((m_Width >> 1) - (child->GetWidth() >> 1), kTitleY);
    }
}

void Dialog::LayoutLowerButtons()
{
    if (m_LowerButtons.empty())
        return;
    const int n = static_cast<int>(m_LowerButtons.size());
    const Button* first = m_LowerButtons.front();
    const int w = first->GetWidth();
    const int h = first->GetHeight();
    const std::uint16_t total = static_cast<std::uint16_t>(n * w + (n - 1) * kLowerButtonGap);
    const int half = total >> 1;
    const int startX = static_cast<std::int16_t>((m_Width >> 1) - half);
    Config* config = Config::GetCurrent(); // null in tools and tests that have none
    const double offset = config ? config->GetNumber("DialogButtonOffset") : 0.0;
    const int y = m_Height - h + static_cast<int>(offset);
    int x = startX;
    for (Button* button : m_LowerButtons) {
        button->SetPosition(x, y);
        x += w + kLowerButtonGap;
    }
}

void Dialog::RemoveLowerButton(const std::string& name)
{
    Actor* child = GetChild(name);
    if (!child)
        return;
    RemoveChild(child);
    m_LowerButtons.remove(static_cast<Button*>(dynamic_cast<Button*>(child)));
    if (m_ClickedButton == child)
        m_ClickedButton = nullptr;
    delete child;
}

void Dialog::CreateLowerButtons(int set)
{
    RemoveLowerButton("CancelButton");
    RemoveLowerButton("OkayButton");
    switch (set) {
    case DIALOGBUTTONS_OKAY:
        AddChild(MakeLowerButton(ButtonTemplates::Okay, true, true), "lowerbutton");
        break;
    case DIALOGBUTTONS_OKAY_CANCEL:
        AddChild(MakeLowerButton(ButtonTemplates::Okay, true, false), "lowerbutton");
        AddChild(MakeLowerButton(ButtonTemplates::Cancel, false, true), "lowerbutton");
        break;
    case DIALOGBUTTONS_YES:
        AddChild(MakeLowerButton(ButtonTemplates::Yes, true, true), "lowerbutton");
        break;
    case DIALOGBUTTONS_YES_NO:
        AddChild(MakeLowerButton(ButtonTemplates::Yes, true, false), "lowerbutton");
        AddChild(MakeLowerButton(ButtonTemplates::No, false, true), "lowerbutton");
        break;
    default:
        break;
    }
}

void Dialog::SetTitle(const std::string& text, int fontSize)
{
    Config* config = Config::GetCurrent(); // null in tools and tests that have none
    if (fontSize == -1)
        fontSize = config ? static_cast<int>(config->GetNumber("DialogTitleFontSize")) : 0;
    const std::string fontName = config ? config->GetString("DialogTitleFont") : std::string();
    std::unique_ptr<Font> font(new Font(fontName, fontSize, 0));
    std::unique_ptr<Label> label(
        new Label(text, font.release(), Palette::Black, HorizontalAlignment::Center));
    label->ApplyStringProperty("name", "title");
    Label* title = label.release();
    AddChild(title, "title");
    ResourceManager* resources = GetResourceManager();
    if (resources && resources->FindInfo("OptionsTitleLabel", true))
        title->AcquireAndApplyResource("OptionsTitleLabel");
}

void Dialog::SetButtonText(const std::string& name, const std::string& text)
{
    if (Button* button = dynamic_cast<Button*>(GetChild(name)))
        button->SetText(text);
}

void Dialog::SetButtonFontSize(const std::string& name, int size)
{
    Button* button = dynamic_cast<Button*>(GetChild(name));
    if (button && button->GetLabel() && button->GetLabel()->GetFont())
        button->GetLabel()->GetFont()->SetPointSize(size);
}

void Dialog::SetButtonKeyTip(const std::string& name, int key)
{
    if (Button* button = dynamic_cast<Button*>(GetChild(name)))
        button->SetShortcutKey(key);
}
