#include "widgets/ButtonTemplate.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "widgets/Button.h"

#include <SDL.h>

#include <memory>

const std::vector<ButtonTemplate>& ButtonTemplate::GetPresets()
{
    static const std::vector<ButtonTemplate> presets = {
        {"btnBlankSmall.png", ">", "NextArrowButton", SDLK_RIGHT, "ButtonFont", 22},
        {"btnBlankSmall.png", "<", "PrevArrowButton", SDLK_LEFT, "ButtonFont", 22},
        {"Button.red.png", "cancel", "CancelButton", SDLK_c, "ButtonFont", 28},
        {"Button.red.png", "no", "CancelButton", SDLK_n, "ButtonFont", 28},
        {"Button.small.png", "rename", "ChangeNameButton", SDLK_r, "SmallButtonFont", 20},
        {"Button.small.png", "clear", "ClearPlayerButton", SDLK_c, "SmallButtonFont", 20},
        {"Button.green.png", "okay", "OkayButton", SDLK_o, "ButtonFont", 28},
        {"Button.green.png", "yes", "OkayButton", SDLK_y, "ButtonFont", 28},
        {"Button.png", "options", "OptionsButton", SDLK_o, "ButtonFont", 28},
        {"Button.red.png", "quit", "QuitButton", SDLK_q, "ButtonFont", 28},
        {"Button.small.png", "options", "OptionsButton", SDLK_o, "ButtonFont", 28},
        {"Button.small.red.png", "quit", "QuitButton", SDLK_q, "ButtonFont", 28},
    };
    return presets;
}

namespace ButtonTemplates {
const ButtonTemplate& NextArrow = ButtonTemplate::GetPresets()[0];
const ButtonTemplate& PrevArrow = ButtonTemplate::GetPresets()[1];
const ButtonTemplate& Cancel = ButtonTemplate::GetPresets()[2];
const ButtonTemplate& No = ButtonTemplate::GetPresets()[3];
const ButtonTemplate& ChangeName = ButtonTemplate::GetPresets()[4];
const ButtonTemplate& ClearPlayer = ButtonTemplate::GetPresets()[5];
const ButtonTemplate& Okay = ButtonTemplate::GetPresets()[6];
const ButtonTemplate& Yes = ButtonTemplate::GetPresets()[7];
const ButtonTemplate& Options = ButtonTemplate::GetPresets()[8];
const ButtonTemplate& Quit = ButtonTemplate::GetPresets()[9];
const ButtonTemplate& SmallOptions = ButtonTemplate::GetPresets()[10];
const ButtonTemplate& SmallQuit = ButtonTemplate::GetPresets()[11];
} // namespace ButtonTemplates

Button* ButtonTemplate::MakeButton() const
{
    Config* config = Config::GetCurrent();
    MAKO_ASSERT(config != 0);
    const std::string fontFile = config->Retrieve(fontKey).ToString();
    std::unique_ptr<Button> button(
        Button::Make(imageName, text, fontFile, fontSize, 0, 0, buttonName, nullptr));
    button->SetShortcutKey(shortcutKey);
    return button.release();
}

Button* MakeButtonFromTemplate(const ButtonTemplate& buttonTemplate, Actor* parent)
{
    Button* button = buttonTemplate.MakeButton();
    if (parent)
        button->AddEventReceiver(parent);
    return button;
}
