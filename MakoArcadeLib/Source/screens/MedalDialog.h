#pragma once
// The medal card: one medal shown on a square card with a title naming whose it is, a
// line naming the medal ("A Gold Score Medal!"), what the next medal of its kind needs,
// and a fanfare that grows with the medal's level when the card opens. The menu opens it
// when one of the player's medals is clicked. Closed by "OkayButton".
//
// Named "MedalDialog". Main thread only.
#include "screens/Dialog.h"

#include <string>
#include <vector>

class Label;
class Medal;

class MedalDialog : public Dialog
{
public:
    // name: whose medal the title names. medal: taken over as a child (no longer
    // clickable). recipient: the "For <recipient>," line above the medal line; a single
    // space " " leaves that line out.
    MedalDialog(const std::string& name, Medal* medal, const std::string& recipient);

    Medal* GetMedal() const { return m_Medal; }
    Label* GetMedalLabel() const { return m_MedalLabel; }
    Label* GetNextLabel() const { return m_NextLabel; }
    // Null when the recipient line is left out.
    Label* GetRecipientLabel() const { return m_RecipientLabel; }

    // The fanfare of a level name, in the order played (empty for unknown names).
    static std::vector<std::string> FanfareFor(const std::string& levelName);

protected:
    // Its own start plays the fanfare; not consumed.
    bool OnDialogStarted(const Event& event) override;

private:
    Label* AddLine(const std::string& text, int size);

    Medal* m_Medal = nullptr; // a child
    Label* m_MedalLabel = nullptr;
    Label* m_NextLabel = nullptr;
    Label* m_RecipientLabel = nullptr;
};
