#include "screens/OptionsDialog.h"

#include "app/Application.h"
#include "core/AppHost.h"
#include "core/Class.h"
#include "core/Config.h"
#include "core/ConfigDataBinder.h"
#include "display/Font.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/CreditsDialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/ButtonTemplate.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/Scrollbar.h"

#include <memory>
#include <utility>

MAKO_IMPLEMENT_CLASS(OptionsDialog, "OptionsDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<OptionsDialog>);

namespace {

const char* const kSkillNames[3] = {"kid", "casual", "gamer"};
const int kSkillKeys[3] = {'k', 'c', 'g'};
const char* const kOptionsFallbackSkill = "casual";
// The keys the dialog follows: the two the sliders show and the two its labels show.
const char* const kObservedKeys[4] = {"full_screen", "use_3d_acceleration", "music_volume",
                                      "sfx_volume"};

// Row lines below the configured top (DialogYAlign) and the value labels' right edge
// relative to the column line X.
const int kMusicRow = 115;
const int kEffectsRow = 160;
const int kScreenModeRow = 205;
const int kAccelerationRow = 250;
const int kValueRight = 140;
// Gap between a row label and the column line, and between a value and its button.
const int kOptionLabelGap = 10;
const int kButtonGap = 20;

std::string ConfigString(const char* key, const char* fallback)
{
    Config* config = Config::GetCurrent();
    const std::string value = config ? config->GetString(key) : std::string();
    return value.empty() ? std::string(fallback) : value;
}

int ConfiguredInt(const char* key, int fallback)
{
    Config* config = Config::GetCurrent();
    // GetInteger holds a huge number to an int, where a cast would be undefined.
    const int value = config ? config->GetInteger(key) : 0;
    return value > 0 ? value : fallback;
}

Label* MakeLabel(const std::string& text, const std::string& name)
{
    std::unique_ptr<Font> font(new Font(ConfigString("DialogFieldFont", "DejaVuSans-Bold.ttf"),
                                        ConfiguredInt("DialogFieldFontSize", 24), 0));
    Label* label = new Label(text, font.release(), Palette::Black, HorizontalAlignment::Right);
    label->ApplyStringProperty("name", name);
    return label;
}

} // namespace

OptionsDialog::OptionsDialog() : Dialog("OptionsDialog", 0)
{
    ApplyStringProperty("name", "OptionsDialog");
    SetTitle("Options", -1);
    CreateLowerButtons(DIALOGBUTTONS_OKAY);
    Config* config = Config::GetCurrent();
    m_ColumnX = GetWidth() / 2 - 40;
    m_Top = config ? config->GetInteger("DialogYAlign") : 0;

    AddVolumeRow("Music Volume:", "MusicVolume", "music_volume", kMusicRow);
    AddVolumeRow("Sound Effects:", "SoundEffects", "sfx_volume", kEffectsRow);
    AddSwitchRow("Screen Mode:", "ScreenMode", "DisplayLabel", "FullScreenButton", kScreenModeRow);
    AddSwitchRow("3D Acceleration:", "3DAcceleration", "3DAccelerationLabel",
                 "3DAccelerationButton", kAccelerationRow);
    AddCreditsButton();
    AddSkillGrid();
    ShareCaptionSize(*this);

    if (config)
        for (const char* key : kObservedKeys)
            config->AttachObserver(this, key);
    UpdateControls();
}

OptionsDialog::~OptionsDialog()
{
    if (Config* config = Config::GetCurrent())
        for (const char* key : kObservedKeys)
            config->DetachObserver(this, key);
}

// ---- Layout -------------------------------------------------------------------------------

void OptionsDialog::PlaceRowLabel(Label* label, int row)
{
    label->SetPosition(m_ColumnX - kOptionLabelGap - label->GetWidth(),
                       m_Top + row - label->GetHeight() / 2);
}

void OptionsDialog::AddVolumeRow(const char* text, const char* name, const char* key, int row)
{
    Label* label = MakeLabel(text, name);
    AddChild(label, "");
    PlaceRowLabel(label, row);

    auto* slider = new Scrollbar(0.0, 0.0, 100.0);
    slider->ApplyStringProperty("name", std::string(name) + "Scrollbar");
    if (Config::GetCurrent())
        slider->SetBinder(new ConfigDataBinder(key));
    AddChild(slider, "");
    slider->SetPosition(m_ColumnX + kOptionLabelGap, m_Top + row - slider->GetHeight() / 2);
}

void OptionsDialog::AddSwitchRow(const char* text, const char* name, const char* valueName,
                                 const char* buttonName, int row)
{
    Label* label = MakeLabel(text, name);
    AddChild(label, "");
    PlaceRowLabel(label, row);

    Label* value = MakeLabel(" ", valueName);
    AddChild(value, "");
    Button* button = Button::Make(
        "Button.small.png", "switch", ConfigString("ButtonFont", "DejaVuSans-Bold.ttf"),
        ConfiguredInt("ButtonFontSizeSmaller", 20), 0, 0, buttonName, nullptr);
    button->SetShortcutKey('s');
    AddChild(button, "");
    button->SetPosition(m_ColumnX + kValueRight + kButtonGap,
                        m_Top + row - button->GetHeight() / 2);
    PlaceValue(valueName, row);
}

void OptionsDialog::PlaceValue(const char* valueName, int row)
{
    if (Actor* value = GetChild(valueName))
        value->SetPosition(m_ColumnX + kValueRight - value->GetWidth(),
                           m_Top + row - value->GetHeight() / 2);
}

void OptionsDialog::AddCreditsButton()
{
    Button* credits = MakeButtonFromTemplate(ButtonTemplates::Okay, nullptr);
    credits->ApplyStringProperty("name", "CreditsButton");
    credits->SetText("credits");
    credits->SetShortcutKey('c');
    AddChild(credits, "");
    credits->SetPosition(GetWidth() - 32 - credits->GetWidth(),
                         GetHeight() - 35 - credits->GetHeight());
}

void OptionsDialog::AddSkillGrid()
{
    const int cellWidth = 100;
    const int cellHeight = 35;
    RadioButtonGrid* grid =
        RadioButtonGrid::Make("Grid", 0, 0, 0, 3, 1, cellWidth, cellHeight, 0, 0, 10, 10, this);
    const std::string buttonFont = ConfigString("ButtonFont", "DejaVuSans-Bold.ttf");
    grid->SetFont(buttonFont, EnterNameAndSkillDialog::kSkillCaptionSize, Palette::Black);
    grid->SetHeader("Set Skill", ConfigString("DialogFieldFont", "DejaVuSans-Bold.ttf"),
                    ConfiguredInt("DialogFieldFontSize", 24), Palette::Black);
    for (int i = 0; i < 3; ++i)
        grid->AddRadioButton(i + 1, 1, kSkillNames[i], kSkillNames[i], kSkillKeys[i], this,
                             "Button.small.png", "boxCheck.png", 1, 3);
    AddChild(grid, "");
    grid->SetPosition(GetWidth() / 2 - grid->GetWidth() / 2,
                      GetHeight() / 2 + 100 - grid->GetHeight() / 2);
}

// ---- Controls -----------------------------------------------------------------------------

void OptionsDialog::LockSkillChoice()
{
    for (const char* skill : kSkillNames)
        if (Button* button = dynamic_cast<Button*>(Actor::GetChild(skill, true)))
            button->Disable();
}

void OptionsDialog::UpdateControls()
{
    Config* config = Config::GetCurrent();
    if (auto* display = dynamic_cast<Label*>(GetChild("DisplayLabel"))) {
        const bool full = config && config->GetBoolean("full_screen");
        display->SetText(full ? "Full Screen" : "Window", true);
        PlaceValue("DisplayLabel", kScreenModeRow);
    }
    if (auto* acceleration = dynamic_cast<Label*>(GetChild("3DAccelerationLabel"))) {
        AppHost* host = GetAppHost();
        acceleration->SetText(host && host->IsHWAccelEnabled() ? "On" : "Off", true);
        PlaceValue("3DAccelerationLabel", kAccelerationRow);
    }
    // A volume changed elsewhere moves its slider (a slider's own change finds it equal).
    if (config) {
        const std::pair<const char*, const char*> sliders[2] = {
            {"MusicVolumeScrollbar", "music_volume"}, {"SoundEffectsScrollbar", "sfx_volume"}};
        for (const auto& [name, key] : sliders) {
            auto* slider = dynamic_cast<Scrollbar*>(GetChild(name));
            const Variant value = config->Retrieve(key);
            if (slider && value.GetType() == Variant::V_DOUBLE &&
                slider->GetValue().ToDouble() != value.ToDouble())
                slider->SetValue(value.ToDouble(), true);
        }
    }
    std::string skill;
    if (Player* player = PlayerManager::CurrentFirstPlayer())
        skill = player->GetSkill();
    if (skill.empty())
        skill = kOptionsFallbackSkill;
    if (auto* grid = dynamic_cast<RadioButtonGrid*>(GetChild("Grid")))
        grid->SelectButton(skill);
}

// ---- Events -------------------------------------------------------------------------------

Screen* OptionsDialog::HostScreen() const
{
    if (auto* screen = dynamic_cast<Screen*>(GetParent()))
        return screen;
    ScreenManager* screens = ScreenManager::GetInstance();
    return screens ? screens->GetCurrentScreen() : nullptr;
}

bool OptionsDialog::OnButtonClick(const Event& event)
{
    auto* button = dynamic_cast<Button*>(static_cast<Object*>(EventData1(event)));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "CreditsButton") {
        if (Screen* screen = HostScreen())
            screen->StartDialog(new CreditsDialog(), true);
        return true;
    }
    if (name == "FullScreenButton") {
        if (AppHost* host = GetAppHost()) {
            host->RequestDisplayToggle();
            host->PostEvent(nullptr, MAKO_VALUECHANGE);
        }
        return true;
    }
    if (name == "3DAccelerationButton") {
        if (Application* app = GetApp())
            app->SetHWAccelEnabled(!app->IsHWAccelEnabled());
        UpdateControls();
        return Dialog::OnButtonClick(event);
    }
    for (const char* skill : kSkillNames) {
        if (name != skill)
            continue;
        if (Player* player = PlayerManager::CurrentFirstPlayer())
            player->GetOptionsTable().SetString("player.skill", skill);
        UpdateControls();
        return true;
    }
    return Dialog::OnButtonClick(event);
}

bool OptionsDialog::OnConfigUpdate(const Event&)
{
    UpdateControls();
    return false;
}

bool OptionsDialog::OnValueChange(const Event&)
{
    UpdateControls();
    return false;
}

bool OptionsDialog::OnResetWindow(const Event&)
{
    UpdateControls();
    return false;
}
