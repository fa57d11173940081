#pragma once
// The game's settings page: music and sound-effect volume sliders bound to the
// configuration ("music_volume", "sfx_volume", 0 to 100), the screen mode (window or full
// screen), 3D acceleration on or off, the current player's skill ("kid", "casual",
// "gamer") and a button to the credits. It is named "OptionsDialog"; "OkayButton" closes
// it. Whoever opens it over a game in play disables the skill buttons with
// LockSkillChoice.
//
// It observes the configuration keys "full_screen" and "use_3d_acceleration" while it
// lives and refreshes its labels on every change.
//
// Registered as class "OptionsDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

class Label;
class Screen;

class OptionsDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    OptionsDialog();
    ~OptionsDialog() override;

    // Disables the three skill buttons (a game in play keeps its skill).
    void LockSkillChoice();
    // Refreshes the screen-mode and acceleration labels and marks the player's skill
    // ("casual" when the card has none; nothing is written).
    void UpdateControls();

protected:
    bool OnButtonClick(const Event& event) override;
    bool OnConfigUpdate(const Event& event) override;
    bool OnValueChange(const Event& event) override;
    bool OnResetWindow(const Event& event) override;

private:
    void PlaceRowLabel(Label* label, int row);
    // Places the value label of a switch row with its right edge on the value column.
    void PlaceValue(const char* valueName, int row);
    void AddVolumeRow(const char* text, const char* name, const char* key, int row);
    void AddSwitchRow(const char* text, const char* name, const char* valueName,
                      const char* buttonName, int row);
    void AddCreditsButton();
    void AddSkillGrid();
    // The screen the dialog is on, else the current one.
    Screen* HostScreen() const;

    // The column line between row labels and controls, and the top of the rows.
    int m_ColumnX = 0;
    int m_Top = 0;
};
