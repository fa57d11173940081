#include "screens/GameOverDialog.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(GameOverDialog, "GameOverDialog", "LetterDialog", nullptr, nullptr);

GameOverDialog::GameOverDialog(const std::string& to, const std::string& note,
                               const std::string& from, const std::string& title)
    : LetterDialog("GameOverDialog", title)
{
    SetLines(to, note, from);
    SetSender(from);
}

GameOverDialog::~GameOverDialog() = default;
