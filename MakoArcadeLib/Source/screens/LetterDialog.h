#pragma once
// LetterDialog: what every letter of the game shares. A letter is a sheet of writing paper
// with a title, a greeting line ("toLabel"), the note ("noteLabel"), a signature line
// ("fromLabel") and the small picture of the character who wrote it ("characterPicture").
// Its layout is a resource table (the letter's class name); its title takes the label
// template "LetterTitleLabel". The greeting always sits right above the note and the
// signature right below it, however long the note is.
//
// A letter's named children are required: one missing fails an assertion when the letter
// is built. Registered as class "LetterDialog" (parent "Dialog"). Main thread only.
#include "screens/Dialog.h"

#include <string>

class Label;
class Player;

class LetterDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    // The greeting of a recipient: the name with its first letter upper-cased and a comma
    // behind it. A player without a name (nothing but blanks) is not greeted: "".
    static std::string Greeting(const std::string& to);
    // The note as the letter shows it: each tab (the indent of a paragraph) becomes four
    // spaces, which the fonts draw.
    static std::string Indented(const std::string& note);
    // The name on the player's card; empty for no player or a card without a name.
    static std::string NameOf(const Player* player);

    // The greeting line, the note and the signature line set anew, the greeting and the
    // signature placed against the note.
    void SetLines(const std::string& to, const std::string& note, const std::string& signature);
    // The sender's picture "Character.<from>.Frame.png"; an empty sender, or one the game
    // has no picture of, hides it.
    void SetSender(const std::string& from);

    Label* GetToLabel() const { return m_To; }
    Label* GetNoteLabel() const { return m_Note; }
    Label* GetFromLabel() const { return m_From; }
    Actor* GetCharacterPicture() const { return m_Picture; }

protected:
    // Applies the layout resource of that name and finds the required children (the three
    // labels); a sender's picture the layout left out gets an empty, hidden holder. The
    // title (its label made from "LetterTitleLabel") is set to title.
    LetterDialog(const std::string& resourceName, const std::string& title);

    // The direct child of that name; a missing one fails an assertion that names it.
    Actor* RequireChild(const std::string& name) const;

private:
    // The greeting's bottom edge touches the note's top; the signature's top its bottom.
    void PlaceAroundNote();
    // Moves the label by less than half a rule so that its first line stands on a rule of
    // the paper (screens/PaperRules); lines as far apart as the rules then all stand on
    // them. Paper without rules leaves it.
    void SitOnRules(Label& label) const;

    std::string m_Layout; // the name of the layout resource
    Label* m_To = nullptr;
    Label* m_Note = nullptr;
    Label* m_From = nullptr;
    Actor* m_Picture = nullptr;
};
