#pragma once
// EnterNameAndSkillDialog: "Please Sign In". A text box for the player's name (at most
// nine characters) and three radio buttons for the skill profile ("kid", "casual",
// "gamer") with a line describing the chosen one. Choosing a skill writes it at once to
// the current player's option "player.skill" and keeps the dialog open; a player without
// a skill gets "casual" when the dialog opens. The name is not stored here: whoever
// started the sign-in reads it with GetName when the dialog stops with "OkayButton"
// (the other lower button is "CancelButton").
//
// Named "EnterNameAndSkillDialog". Registered as class "EnterNameAndSkillDialog"
// (parent "Dialog"). Main thread only.
#include "players/CardCheck.h"
#include "screens/Dialog.h"

#include <string>

class Label;
class RadioButtonGrid;
class TextBox;

class EnterNameAndSkillDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    // The cards hold names to the same length when they are read.
    static constexpr int kMaxNameLength = static_cast<int>(CardCheck::kMaxNameLength);
    // The name box's height: a line of its font with two pixels clear above and below.
    static constexpr int kNameBoxHeight = 28;
    // The skill buttons' captions, here and in the options: small enough to keep clear of
    // the tick box and the plate's right end.
    static constexpr int kSkillCaptionSize = 16;

    EnterNameAndSkillDialog();
    explicit EnterNameAndSkillDialog(const std::string& initialName);

    // The text typed into the name box.
    std::string GetName() const;
    // Marks the current player's skill (set to "casual" when it has none) and shows its
    // description.
    void UpdateSkill();

    TextBox* GetTextBox() const { return m_TextBox; }
    RadioButtonGrid* GetSkillGrid() const { return m_SkillGrid; }
    Label* GetDescription() const { return m_Description; }

protected:
    bool OnButtonClick(const Event& event) override;

private:
    void Build(const std::string& initialName);

    TextBox* m_TextBox = nullptr;
    RadioButtonGrid* m_SkillGrid = nullptr;
    Label* m_Description = nullptr;
};
