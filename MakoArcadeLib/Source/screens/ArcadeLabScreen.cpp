#include "screens/ArcadeLabScreen.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "logic/PlayerSkill.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/GameStart.h"
#include "screens/MapProgress.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

using LuaPlus::LuaObject;

namespace {

// The room a level's plaque keeps free at each end of its name.
const int kPlaqueMargin = 6;

const NotepadScreen::Texts kLabTexts = {
    "The lab", "ArcadeLabScreen", "gametip.lab", "Tinkerwit's Lab", "help.lab",
};

} // namespace

ArcadeLabScreen::ArcadeLabScreen() : NotepadScreen("LabScreen", "ArcadeLabScreen", kLabTexts)
{
    ListenToButtons();
    // The buttons of the bottom row read alike.
    ShareCaptionSize(*this);
}

int ArcadeLabScreen::LevelsUnlocked(int secrets, int levels, bool unlockAll)
{
    levels = std::max(0, levels);
    if (unlockAll)
        return levels;
    return std::clamp(secrets / 5, 0, levels);
}

// ---- The player's tables -------------------------------------------------------------------

LuaObject ArcadeLabScreen::LabTable()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    if (!player)
        return LuaObject();
    player->ShowMode("Lab");
    return player->GetGameModeTable("Lab");
}

int ArcadeLabScreen::CountSecrets()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    return player ? player->CountSecretsFound() : 0;
}

void ArcadeLabScreen::Select(int level)
{
    LuaObject table = LabTable();
    if (!table.IsTable())
        return;
    table.SetInteger("LevelSelected", level);
    table.SetInteger("EpisodeSelected", kEpisode);
    Update();
}

int ArcadeLabScreen::Unlocked()
{
    return LevelsUnlocked(CountSecrets(), CountLevels(), m_UnlockAllLevels);
}

void ArcadeLabScreen::PlayIfUnlocked()
{
    LuaObject table = LabTable();
    if (!table.IsTable())
        return;
    const int unlocked = Unlocked();
    const int selected = HeldSelection(table, unlocked);
    if (selected < 1 || selected > unlocked)
        return;
    const std::string name = LevelManager::GetLevelNameAt(kEpisode, selected);
    LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    if (name.empty() || !levels.IsTable() || !levels[name.c_str()].IsTable()) {
        Log("WARNING: ArcadeLabScreen: the lab level %d (\"%s\") has no level table; "
            "nothing is started.\n",
            selected, name.c_str());
        return;
    }
    // The level shown is the one the player plays, in the lab's place of the level order.
    table.SetInteger("LevelSelected", selected);
    table.SetInteger("EpisodeSelected", kEpisode);
    table.SetInteger("LevelUnlocked", unlocked);
    table.SetInteger("EpisodeUnlocked", kEpisode);
    StartLabGame("GameScreen");
}

// ---- Update --------------------------------------------------------------------------------

int ArcadeLabScreen::CountLevels()
{
    int count = 0;
    while (count < kLevelCount && !LevelManager::GetLevelNameAt(kEpisode, count + 1).empty())
        ++count;
    return count;
}

int ArcadeLabScreen::HeldSelection(const LuaObject& table, int unlocked)
{
    const int selected = ReadWholeNumber(table["LevelSelected"], 1);
    return selected < 1 || selected > std::max(1, unlocked) ? 1 : selected;
}

void ArcadeLabScreen::Update()
{
    ApplyPlayerSkill();
    LuaObject table = LabTable();
    if (!table.IsTable()) {
        Log("WARNING: ArcadeLabScreen::Update: there is no current player.\n");
        return;
    }
    LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    MAKO_ASSERT(levels.IsTable());

    const int count = CountLevels();
    const int secrets = CountSecrets();
    const int unlocked = LevelsUnlocked(secrets, count, m_UnlockAllLevels);
    const int selected = HeldSelection(table, unlocked);
    UpdateLevelList(count, unlocked, selected, secrets, levels);

    if (auto* play = dynamic_cast<Button*>(GetChild("PlayButton", true))) {
        if (unlocked > 0)
            play->Enable();
        else
            play->Disable();
    }

    const std::string name = LevelManager::GetLevelNameAt(kEpisode, selected);
    const LuaObject level = name.empty() ? LuaObject() : levels[name.c_str()];
    if (!name.empty() && !level.IsTable())
        Log("WARNING: ArcadeLabScreen: the lab level \"%s\" has no table.\n", name.c_str());
    LuaObject records = table["LevelRecords"];
    ShowNotepad(name, level,
                records.IsTable() && !name.empty() ? records[name.c_str()] : LuaObject());
}

void ArcadeLabScreen::UpdateLevelList(int count, int unlocked, int selected, int secrets,
                                      const LuaObject& levels)
{
    Label* episodeName = RequireLabel("labelEpisodeName");
    episodeName->SetText("The Lab", true);
    CenterInParent(episodeName);
    Actor* list = RequireActor("LevelListView10");
    list->SetVisible(true, false);

    Label* found = RequireLabel("labelSecretsFound");
    if (secrets <= 0)
        found->SetText("No Secrets Found Yet", true);
    else
        found->SetText(boost::str(boost::format("%1% %2% Found!") % secrets %
                                  (secrets == 1 ? "Secret" : "Secrets")),
                       true);

    for (int i = 1; i <= kLevelCount; ++i) {
        const std::string buttonName = "buttonLevel" + std::to_string(i);
        auto* button = dynamic_cast<Button*>(list->GetChild(buttonName, true));
        MAKO_ASSERT_MSG(button != 0, "The lab's list needs the button " + buttonName + ".");
        auto* needed = dynamic_cast<Label*>(button->GetChild("labelSecretsNeeded", true));
        MAKO_ASSERT_MSG(needed != 0, "The lab's " + buttonName + " needs labelSecretsNeeded.");
        needed->SetText(std::to_string(SecretsNeeded(i)), true);
        if (i > count) {
            button->SetText("");
            button->SetVisible(false, false);
            continue;
        }
        const std::string name = LevelManager::GetLevelNameAt(kEpisode, i);
        button->SetVisible(true, false);
        // A long name is drawn smaller to stay on its plaque.
        if (Label* caption = button->GetLabel())
            caption->SetWidthLimit(button->GetWidth() - 2 * kPlaqueMargin);
        button->SetText(LevelTitle(name, levels[name.c_str()]));
        button->SetFlashing(false);
        button->ShowTextBackground1(i == selected);
        const bool open = i <= unlocked;
        if (open)
            button->Enable();
        else
            button->Disable();
        needed->SetDisabled(!open);
    }
    // The plaques read alike: the longest title sets the size of all.
    ShareCaptionSize(*list);
}

// ---- Events --------------------------------------------------------------------------------

bool ArcadeLabScreen::OnOwnButton(const std::string& name)
{
    if (name == "MapButton") {
        ScreenManager::SwitchToScreenIfPresent("MapScreen", "ArcadeLabScreen");
        return true;
    }
    if (name == "LevelLeftButton" || name == "LevelRightButton") {
        LuaObject table = LabTable();
        if (!table.IsTable())
            return true;
        const int unlocked = Unlocked();
        if (unlocked <= 0)
            return true;
        const int selected = HeldSelection(table, unlocked);
        if (name == "LevelLeftButton")
            Select(selected <= 1 || selected > unlocked ? unlocked : selected - 1);
        else
            Select(selected >= 1 && selected < unlocked ? selected + 1 : 1);
        return true;
    }
    const std::string levelPrefix = "buttonLevel";
    if (name.compare(0, levelPrefix.size(), levelPrefix) == 0) {
        const int level = std::atoi(name.c_str() + levelPrefix.size());
        LuaObject table = LabTable();
        // Locked buttons are disabled; a click that arrives anyway changes nothing.
        if (table.IsTable() && level >= 1 && level <= Unlocked())
            Select(level);
        return true;
    }
    return false;
}

bool ArcadeLabScreen::OnKeyDown(const Event& event)
{
    const int key = event.key.keysym.sym;
    if (key == '\\' && IsOnlyCtrlAltDown(event.key.keysym.mod)) {
        m_UnlockAllLevels = true;
        Update();
        Sound::PlaySound("attention5.ogg", false);
        return true;
    }
    // F1 asks for help, like the "?" button.
    if (key == SDLK_F1) {
        ShowHelp();
        return true;
    }
    return NotepadScreen::OnKeyDown(event);
}
