#include "screens/StartLevelDialog.h"

#include "core/Class.h"
#include "core/Config.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/CheckedCast.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <SDL.h>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(StartLevelDialog, "StartLevelDialog", "LetterDialog", nullptr, nullptr);

namespace {

bool AlwaysShowTips()
{
    Config* config = Config::GetCurrent();
    if (!config)
        return false;
    LuaObject value = config->GetObject("alwaysShowTips");
    return value.IsBoolean() && value.GetBoolean();
}

// The tip's text: the constant configuration's string of that name.
std::string TipText(const std::string& tip)
{
    Config* config = Config::GetCurrent();
    MAKO_ASSERT_MSG(config != 0, "Tips need the configuration.");
    LuaObject text = config->GetObject(tip);
    MAKO_ASSERT_MSG(text.IsString(),
                    boost::str(boost::format("The tip \"%1%\" has no text.") % tip));
    return text.GetString();
}

} // namespace

StartLevelDialog::StartLevelDialog(const std::string& to, const std::string& note,
                                   const std::string& from, const std::string& title)
    : LetterDialog("StartLevelDialog", title)
{
    SetLines(to, note, boost::str(boost::format("- %1%") % from));
    SetSender(from);
}

StartLevelDialog::~StartLevelDialog() = default;

void StartLevelDialog::RevealFinalText()
{
    if (m_Revealed)
        return;
    m_Revealed = true;
    Button* start = CheckedDownCast<Button*>(RequireChild("StartButton"));
    start->Enable();
    start->SetText(start->RetrieveStringProperty("finalText"));
    Sound::PlaySound("Pickup_GemBells06.ogg", false);
}

bool StartLevelDialog::OnKeyDown(const Event& event)
{
    if (event.key.keysym.sym == SDLK_s)
        RevealFinalText();
    return false;
}

bool StartLevelDialog::SetupTip(const std::string& tip, bool force)
{
    const std::string shownKey = boost::str(boost::format("%1%.shown") % tip);
    Player* player = PlayerManager::CurrentFirstPlayer();
    LuaObject options = player ? player->GetOptionsTable() : LuaObject();
    const bool seen = (options.IsTable() && options[shownKey.c_str()].IsBoolean() &&
                       options[shownKey.c_str()].GetBoolean()) ||
                      (player && player->WasShown(shownKey));
    const bool always = AlwaysShowTips();
    if (seen && !always && !force)
        return false;
    const std::string text = TipText(tip);

    ApplyStringProperty("name", tip);
    const std::string signature = GetFromLabel()->GetText();
    SetLines(NameOf(player), text, signature);
    ShowOnlyOkay();
    if (!always) {
        m_ShownKey = shownKey;
        if (player)
            player->NoteShown(shownKey);
    }
    return true;
}

void StartLevelDialog::SetupNotice(const std::string& text)
{
    ApplyStringProperty("name", "SaveNotice");
    const std::string signature = GetFromLabel()->GetText();
    SetLines(NameOf(PlayerManager::CurrentFirstPlayer()), text, signature);
    ShowOnlyOkay();
}

void StartLevelDialog::ShowOnlyOkay()
{
    RequireChild("QuitButton")->SetVisible(false, true);
    RequireChild("StartButton")->SetVisible(false, true);
    Button* okay = CheckedDownCast<Button*>(RequireChild("OkayButton"));
    okay->SetVisible(true, true);
    okay->SetEscapeKey(true);
}

bool StartLevelDialog::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (button && button->GetName() == "OkayButton" && !m_ShownKey.empty()) {
        Player* player = PlayerManager::CurrentFirstPlayer();
        if (player)
            player->GetOptionsTable().SetBoolean(m_ShownKey.c_str(), true);
        m_ShownKey.clear();
    }
    return LetterDialog::OnButtonClick(event);
}
