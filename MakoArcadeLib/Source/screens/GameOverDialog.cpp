#include "screens/GameOverDialog.h"

#include "core/Class.h"
#include "widgets/ButtonCaption.h"

MAKO_IMPLEMENT_CLASS(GameOverDialog, "GameOverDialog", "LetterDialog", nullptr, nullptr);

GameOverDialog::GameOverDialog(const std::string& to, const std::string& note,
                               const std::string& from, const std::string& title)
    : LetterDialog("GameOverDialog", title)
{
    SetLines(to, note, from);
    SetSender(from);
    // "try again" needs a smaller size to fit its plate; "map" beside it takes the same.
    ShareCaptionSize(*this);
}

GameOverDialog::~GameOverDialog() = default;
