#pragma once
// StartLevelDialog: the letter before a level, and the tip letters of the screens.
//
// As the start letter, its "StartButton" reads "loading..." and cannot be pressed until
// the level is ready: RevealFinalText then enables it, gives it its final caption (the
// button's property finalText, "start") and rings a bell. Pressing 's' reveals it at once
// and lets the same key press the button, so the letter closes in that key press. Its
// "QuitButton" ("back") leaves. The owner reads the clicked button from the stopped
// letter: "StartButton" or "QuitButton".
//
// As a tip letter (SetupTip), it greets the current player, shows the tip's text and has
// only an "OkayButton", which Escape presses too; the letter is named after the tip, so its
// owner knows which tip was closed.
//
// Registered as class "StartLevelDialog" (parent "LetterDialog"). Main thread only.
#include "screens/LetterDialog.h"

#include <string>

class StartLevelDialog : public LetterDialog
{
    MAKO_DECLARE_CLASS();

public:
    // The letter to `to` with the note, signed "- from" (its picture is the sender's;
    // none for an empty sender), under the title.
    StartLevelDialog(const std::string& to, const std::string& note, const std::string& from,
                     const std::string& title);
    ~StartLevelDialog() override;

    // Makes the start button usable under its final caption, with "Pickup_GemBells06.ogg".
    // Nothing the second time.
    void RevealFinalText();
    bool IsFinalTextRevealed() const { return m_Revealed; }

    // Turns this fresh letter into the letter of the tip of that name (its text is the
    // constant configuration's entry of that name). Returns false, leaving the letter
    // untouched, when the current player has seen the tip, unless forced or the
    // configuration's alwaysShowTips is set. Unless alwaysShowTips is set, the player is
    // marked as having seen it: for the rest of the run at once, and on the card ("<tip>.shown"
    // in the player's options) once the player closes the letter with its okay button, so a
    // letter merely shown changes nothing on the card. A tip with no
    // text (or a text that is not a string) raises Exception naming it.
    bool SetupTip(const std::string& tip, bool force);
    // Turns this fresh letter into a notice to the current player: the text, and only the
    // okay button. Nothing is marked on the card.
    void SetupNotice(const std::string& text);

protected:
    // 's' reveals the final text and is left for the start button; nothing is consumed.
    bool OnKeyDown(const Event& event) override;
    // The okay button of a tip marks the tip seen, then closes the letter as any button.
    bool OnButtonClick(const Event& event) override;

private:
    // Leaves only the okay button, which Escape presses too.
    void ShowOnlyOkay();

    bool m_Revealed = false;
    // The options key that marks the tip of this letter seen; "" when none is to be marked.
    std::string m_ShownKey;
};
