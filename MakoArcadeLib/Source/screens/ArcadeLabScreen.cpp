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
#include "screens/ArcadeMapScreen.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/GameTips.h"
#include "screens/LevelNotepad.h"
#include "screens/MapProgress.h"
#include "screens/OptionsDialog.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
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

void CenterInParent(Actor* actor)
{
    if (Actor* parent = actor->GetParent())
        actor->SetPosition(parent->GetWidth() / 2 - actor->GetWidth() / 2, actor->GetY());
}

// The level's full name, else its name with spaces.
std::string Title(const std::string& name, const LuaObject& level)
{
    if (level.IsTable() && level["fullName"].IsString())
        return level["fullName"].GetString();
    return ArcadeMapScreen::SpacedName(name);
}

} // namespace

ArcadeLabScreen::ArcadeLabScreen() : Screen("LabScreen", "bkgLeather.jpg", nullptr)
{
    AcquireAndApplyResource("ArcadeLabScreen");
    ListenToButtons();
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
    player->GetOptionsTable().SetString("game.mode", "Lab");
    return player->GetGameModeTable("Lab");
}

int ArcadeLabScreen::CountSecrets()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    if (!player)
        return 0;
    // A mode without records (a new card) has found nothing there.
    int secrets = 0;
    for (const char* mode : {"Adventure", "Lab"})
        if (player->GetGameModeTable(mode)["LevelRecords"].IsTable())
            secrets += player->GetSumOfScores(mode, "LevelRecords", "secret");
    return secrets;
}

void ArcadeLabScreen::Select(int level)
{
    LuaObject table = LabTable();
    if (!table.IsTable())
        return;
    table.SetInteger("LevelSelected", level);
    Update();
}

void ArcadeLabScreen::PlayIfUnlocked()
{
    LuaObject table = LabTable();
    if (!table.IsTable())
        return;
    const int selected = ReadWholeNumber(table["LevelSelected"], 1);
    const int unlocked = ReadWholeNumber(table["LevelUnlocked"], 0);
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
    StartLabGame("GameScreen");
}

// ---- Update --------------------------------------------------------------------------------

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

    // The lab's levels: the entries of its list up to the first gap.
    int count = 0;
    while (count < kLevelCount && !LevelManager::GetLevelNameAt(kEpisode, count + 1).empty())
        ++count;

    const int secrets = CountSecrets();
    const int unlocked = LevelsUnlocked(secrets, count, m_UnlockAllLevels);
    // The selection stays on an open level (level 1 while none is open).
    int selected = ReadWholeNumber(table["LevelSelected"], 1);
    if (selected < 1 || selected > std::max(1, unlocked))
        selected = 1;
    table.SetInteger("LevelSelected", selected);
    table.SetInteger("EpisodeSelected", kEpisode);
    table.SetInteger("LevelUnlocked", unlocked);
    table.SetInteger("EpisodeUnlocked", kEpisode);

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
        button->SetText(Title(name, levels[name.c_str()]));
        button->SetFlashing(false);
        button->ShowTextBackground1(i == selected);
        if (i <= unlocked) {
            button->Enable();
            needed->SetDisabled(false);
        } else {
            button->Disable();
            needed->SetDisabled(true);
        }
    }

    if (auto* play = dynamic_cast<Button*>(GetChild("PlayButton", true))) {
        if (unlocked > 0)
            play->Enable();
        else
            play->Disable();
    }

    const std::string name = LevelManager::GetLevelNameAt(kEpisode, selected);
    LuaObject records = table["LevelRecords"];
    LuaObject record = records.IsTable() && !name.empty() ? records[name.c_str()] : LuaObject();
    UpdateNotepad(name, name.empty() ? LuaObject() : levels[name.c_str()], record);
}

void ArcadeLabScreen::UpdateNotepad(const std::string& levelName, const LuaObject& level,
                                    const LuaObject& record)
{
    Label* title = RequireLabel("labelLevelName");
    title->SetText(levelName.empty() ? std::string(" ") : Title(levelName, level), true);
    CenterInParent(title);
    if (!levelName.empty() && !level.IsTable())
        Log("WARNING: ArcadeLabScreen: the lab level \"%s\" has no table.\n", levelName.c_str());

    const int best = record.IsTable() ? ReadWholeNumber(record["score"], 0) : 0;
    RequireLabel("labelScoreValue")->SetText(GroupThousands(best), true);
    RequireLabel("labelScoreText");

    LevelNotepad::ShowTargets(this, levelName, level.IsTable());
    LevelNotepad::ShowStars(this, record);
}

Label* ArcadeLabScreen::RequireLabel(const std::string& name)
{
    auto* label = dynamic_cast<Label*>(GetChild(name, true));
    MAKO_ASSERT_MSG(label != 0, "The lab needs the label " + name + ".");
    return label;
}

Actor* ArcadeLabScreen::RequireActor(const std::string& name)
{
    Actor* actor = GetChild(name, true);
    MAKO_ASSERT_MSG(actor != 0, "The lab needs the actor " + name + ".");
    return actor;
}

// ---- Events --------------------------------------------------------------------------------

bool ArcadeLabScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) == static_cast<void*>(this)) {
        Update();
        ShowGameTip(this, "gametip.lab", "Tinkerwit's Lab", false);
    }
    return false;
}

bool ArcadeLabScreen::OnDialogStopped(const Event& event)
{
    const auto* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (dialog && dialog->GetName() == "OptionsDialog" && IsChild(dialog))
        Update();
    return false;
}

bool ArcadeLabScreen::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "OptionsButton") {
        StartDialog(new OptionsDialog(), true);
        return true;
    }
    if (name == "MenuButton") {
        ScreenManager::SwitchToScreenIfPresent("MenuScreen", "ArcadeLabScreen");
        return true;
    }
    if (name == "HelpButton") {
        ShowGameTip(this, "help.lab", "About The Menu", true);
        return true;
    }
    if (name == "PlayButton") {
        PlayIfUnlocked();
        return true;
    }
    if (name == "FindsButton") {
        ScreenManager::SwitchToScreenIfPresent("ArtifactScreen", "ArcadeLabScreen");
        return true;
    }
    if (name == "MapButton") {
        ScreenManager::SwitchToScreenIfPresent("MapScreen", "ArcadeLabScreen");
        return true;
    }
    if (name == "LevelLeftButton" || name == "LevelRightButton") {
        LuaObject table = LabTable();
        if (!table.IsTable())
            return true;
        const int unlocked = ReadWholeNumber(table["LevelUnlocked"], 0);
        if (unlocked <= 0)
            return true;
        const int selected = ReadWholeNumber(table["LevelSelected"], 1);
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
        if (table.IsTable() && level >= 1 && level <= ReadWholeNumber(table["LevelUnlocked"], 0))
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
    if (key == SDLK_ESCAPE) {
        ScreenManager::SwitchToScreenIfPresent("MenuScreen", "ArcadeLabScreen");
        return true;
    }
    // F1 asks for help, like the "?" button.
    if (key == SDLK_F1) {
        ShowGameTip(this, "help.lab", "About The Menu", true);
        return true;
    }
    return false;
}
