#include "screens/GameTips.h"

#include "core/Config.h"
#include "core/Log.h"
#include "screens/Screen.h"
#include "screens/StartLevelDialog.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <memory>

namespace {

// The configuration's string at "<tip>.<field>", or the fallback when it has none.
std::string TipField(Config* config, const std::string& tip, const char* field,
                     const std::string& fallback)
{
    LuaPlus::LuaObject value =
        config->GetObject(boost::str(boost::format("%1%.%2%") % tip % field));
    return value.IsString() ? value.GetString() : fallback;
}

} // namespace

bool ShowGameTip(Screen* screen, const std::string& tip, const std::string& title, bool force)
{
    Config* config = Config::GetCurrent();
    if (!screen || !config || !config->GetObject(tip).IsString()) {
        Log("ShowGameTip: no letter for the tip \"%s\"\n", tip.c_str());
        return false;
    }
    const std::string from = TipField(config, tip, "Character", "Miriel");
    const std::string heading = TipField(config, tip, "Title", title);
    std::unique_ptr<StartLevelDialog> letter(new StartLevelDialog("", "", from, heading));
    if (!letter->SetupTip(tip, force))
        return false; // never shown: it goes unseen
    screen->StartDialog(letter.release(), true);
    Sound::PlaySound("Pickup_PaperNote4.ogg", false);
    return true;
}

bool ShowNoticeLetter(Screen* screen, const std::string& text)
{
    if (!screen || screen->IsDialogVisible())
        return false;
    std::unique_ptr<StartLevelDialog> letter(new StartLevelDialog("", "", "Miriel", "Not saved"));
    letter->SetupNotice(text);
    screen->StartDialog(letter.release(), true);
    Sound::PlaySound("Pickup_PaperNote4.ogg", false);
    Log("Told the player: %s\n", text.c_str());
    return true;
}
