#include "screens/EnterNameAndSkillDialog.h"

#include "core/Class.h"
#include "core/Config.h"
#include "display/Font.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/TextBox.h"

#include <boost/format.hpp>

#include <algorithm>

#include <SDL.h>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(EnterNameAndSkillDialog, "EnterNameAndSkillDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<EnterNameAndSkillDialog>);

namespace {

const char* const kSkillOption = "player.skill";
const char* const kDefaultSkill = "casual";

struct SkillChoice
{
    const char* name;
    int shortcut;
    int column;
};
const SkillChoice kSkills[] = {{"kid", SDLK_k, 1}, {"casual", SDLK_c, 2}, {"gamer", SDLK_g, 3}};

// The lower buttons stand 70 px either side of the centre line, 35 px above the bottom.
const int kLowerButtonSpread = 70;
const int kLowerButtonLift = 35;

std::string ConfigText(const std::string& key, const std::string& fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    LuaObject value = config->GetObject(key);
    return value.IsString() ? std::string(value.GetString()) : fallback;
}

// The name box's width: it holds exactly the longest name of the widest letter a player
// can type at the box's one size, with the caret after it. A shorter name shows room; a
// tenth letter of any kind has none.
int NameBoxWidth()
{
    Config* config = Config::GetCurrent();
    if (!config)
        return TextBox::WidthFor(0);
    Font font(config->GetString("TextBoxFont"),
              static_cast<int>(config->GetNumber("TextBoxFontSize")), 0);
    int widest = 0;
    for (unsigned letter = 32; letter < 127; ++letter)
        if (TextBox::IsAcceptedCharacter(letter))
            widest = std::max(widest,
                              font.GetTextSize(std::string(EnterNameAndSkillDialog::kMaxNameLength,
                                                           static_cast<char>(letter)))
                                  .x);
    return TextBox::WidthFor(widest);
}

} // namespace

EnterNameAndSkillDialog::EnterNameAndSkillDialog() : EnterNameAndSkillDialog("") {}

EnterNameAndSkillDialog::EnterNameAndSkillDialog(const std::string& initialName)
    : Dialog("dlgSquare.png", 0)
{
    ApplyStringProperty("name", "EnterNameAndSkillDialog");
    Build(initialName);
    UpdateSkill();
}

void EnterNameAndSkillDialog::Build(const std::string& initialName)
{
    const int w = GetWidth();
    const int h = GetHeight();

    Label* title = Label::CreateFromResource("EnterNameTitleLabel", "Please Sign In");
    AddChild(title, "title");
    title->UpdateAlignment();
    AddChild(Label::CreateFromResource("EnterNameLabel"), "");

    m_TextBox = new TextBox(NameBoxWidth(), kNameBoxHeight, initialName);
    m_TextBox->SetMaxLength(kMaxNameLength);
    m_TextBox->SetPosition(w / 2 - m_TextBox->GetWidth() / 2,
                           h / 2 - 40 - m_TextBox->GetHeight() / 2);
    AddChild(m_TextBox, "");

    const std::string buttonFont = ConfigText("ButtonFont", "mainfont");
    m_SkillGrid = RadioButtonGrid::Make("Grid", 0, 0, 0, 3, 1, 100, 35, 0, 0, 10, 10, this);
    m_SkillGrid->SetFont(buttonFont, kSkillCaptionSize, Palette::Black);
    m_SkillGrid->SetPosition(w / 2 - m_SkillGrid->GetWidth() / 2,
                             h / 2 + 50 - m_SkillGrid->GetHeight() / 2);
    // The name box takes every letter, so the buttons' shortcut letters act only with Alt
    // (Return and Escape still stand for okay and cancel).
    for (const SkillChoice& skill : kSkills)
        if (RadioButton* button =
                m_SkillGrid->AddRadioButton(skill.column, 1, skill.name, skill.name, skill.shortcut,
                                            this, "Button.small.png", "boxCheck.png", 1, 3))
            button->SetUseAltShortcutKey(true);
    m_SkillGrid->SetHeader("Set Profile:", buttonFont, 28, Palette::Black);
    AddChild(m_SkillGrid, "");

    m_Description = Label::CreateFromResource("ProfileLabel", " ");
    AddChild(m_Description, "");

    CreateLowerButtons(DIALOGBUTTONS_OKAY_CANCEL);
    for (Button* button : m_LowerButtons) {
        button->SetUseAltShortcutKey(true);
        const int centre =
            w / 2 + (button->GetName() == "OkayButton" ? -kLowerButtonSpread : kLowerButtonSpread);
        button->SetPosition(centre - button->GetWidth() / 2,
                            h - kLowerButtonLift - button->GetHeight());
    }
    ShareCaptionSize(*this);
}

std::string EnterNameAndSkillDialog::GetName() const
{
    return m_TextBox ? m_TextBox->GetText() : std::string();
}

void EnterNameAndSkillDialog::UpdateSkill()
{
    Player* player = PlayerManager::CurrentFirstPlayer();
    std::string skill = kDefaultSkill;
    if (player) {
        LuaObject options = player->GetOptionsTable();
        LuaObject value = options[kSkillOption];
        if (value.IsNil())
            options.SetString(kSkillOption, kDefaultSkill);
        else if (value.IsString())
            skill = value.GetString();
    }
    m_SkillGrid->SelectButton(skill);
    m_Description->SetText(ConfigText((boost::format("profileDescription.%1%") % skill).str(), ""),
                           true);
}

bool EnterNameAndSkillDialog::OnButtonClick(const Event& event)
{
    auto* button = dynamic_cast<Button*>(static_cast<Object*>(EventData1(event)));
    if (button) {
        for (const SkillChoice& skill : kSkills) {
            if (button->GetName() != skill.name)
                continue;
            if (Player* player = PlayerManager::CurrentFirstPlayer())
                player->GetOptionsTable().SetString(kSkillOption, skill.name);
            UpdateSkill();
            return true;
        }
    }
    return Dialog::OnButtonClick(event);
}
