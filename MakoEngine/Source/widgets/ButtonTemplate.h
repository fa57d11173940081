#pragma once
// ButtonTemplate: a preset from which the standard dialogs make their buttons: image,
// caption, button name, shortcut key and the configuration key naming the caption's font
// file, with the font size. The presets exist from program start.
#include <string>
#include <vector>

class Actor;
class Button;

struct ButtonTemplate
{
    std::string imageName;
    std::string text;
    std::string buttonName;
    int shortcutKey;
    std::string fontKey; // configuration key of the font file
    int fontSize;

    // A new button (the caller owns it) at (0, 0) with the font the configuration names
    // under fontKey and the shortcut key.
    Button* MakeButton() const;

    // The presets, in this order: next and previous arrows, cancel, no, rename, clear,
    // okay, yes, options, quit, and the small options and quit buttons.
    static const std::vector<ButtonTemplate>& GetPresets();
};

// Named presets (entries of ButtonTemplate::GetPresets).
namespace ButtonTemplates {
extern const ButtonTemplate& NextArrow;
extern const ButtonTemplate& PrevArrow;
extern const ButtonTemplate& Cancel;
extern const ButtonTemplate& No;
extern const ButtonTemplate& ChangeName;
extern const ButtonTemplate& ClearPlayer;
extern const ButtonTemplate& Okay;
extern const ButtonTemplate& Yes;
extern const ButtonTemplate& Options;
extern const ButtonTemplate& Quit;
extern const ButtonTemplate& SmallOptions;
extern const ButtonTemplate& SmallQuit;
} // namespace ButtonTemplates

// MakeButton, and the parent (when given) hears the button's reports.
Button* MakeButtonFromTemplate(const ButtonTemplate& buttonTemplate, Actor* parent);
