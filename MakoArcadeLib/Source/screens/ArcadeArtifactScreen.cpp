#include "screens/ArcadeArtifactScreen.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "logic/GameProgress.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/Artefact.h"
#include "screens/ArtifactDialog.h"
#include "screens/GameStart.h"
#include "screens/GameTips.h"
#include "screens/OptionsDialog.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <SDL.h>

#include <algorithm>

using LuaPlus::LuaObject;

namespace {

// Space between a slot's picture and its name label, in pixels.
const int kLabelGap = 8;

std::string SlotName(int slot)
{
    return boost::str(boost::format("artifact%1%") % (slot + 1));
}

bool Holds(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// The episodes a game plays: the configuration's count, never more than there are.
int EpisodesPerGame()
{
    const int episodes = GameProgress::EpisodeCount();
    if (Config* config = Config::GetCurrent()) {
        LuaObject value = config->GetObject("EpisodesPerGame");
        if (value.IsNumber())
            return std::clamp(value.GetInteger(), 0, episodes);
    }
    return episodes;
}

// The level names of the adventure's episodes, in play order.
std::vector<std::string> AdventureLevels()
{
    std::vector<std::string> names;
    LuaObject order = GameProgress::ConfigTable("LevelOrder");
    if (!order.IsTable())
        return names;
    const int episodes = EpisodesPerGame();
    for (int e = 1; e <= episodes; ++e) {
        LuaObject episode = order[e];
        if (!episode.IsTable())
            continue;
        for (int l = 1; !episode[l].IsNil(); ++l)
            if (episode[l].IsString())
                names.push_back(episode[l].GetString());
    }
    return names;
}

} // namespace

ArcadeArtifactScreen::ArcadeArtifactScreen() : Screen("ArtifactScreen", "bkgLeather.jpg", nullptr)
{
    AcquireAndApplyResource("ArcadeArtifactScreen");
    for (int slot = 0; slot < ArtifactCarousel::kSlots; ++slot) {
        Artefact* artefact = dynamic_cast<Artefact*>(GetChild(SlotName(slot), true));
        MAKO_ASSERT(artefact != 0);
        artefact->MakeButton(this);
        m_SlotCenterX[slot] = artefact->GetX();
        m_SlotCenterY[slot] = artefact->GetY();
    }
    ListenToButtons();
    if (auto* finds = dynamic_cast<Button*>(GetChild("FindsButton", true)))
        finds->Disable();
}

Artefact* ArcadeArtifactScreen::SlotArtefact(int slot)
{
    Artefact* artefact = dynamic_cast<Artefact*>(GetChild(SlotName(slot), true));
    MAKO_ASSERT(artefact != 0);
    return artefact;
}

Label* ArcadeArtifactScreen::SlotLabel(int slot)
{
    Label* label = dynamic_cast<Label*>(GetChild(SlotName(slot) + "Name", true));
    MAKO_ASSERT(label != 0);
    return label;
}

void ArcadeArtifactScreen::ReadLists()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    LuaObject records;
    if (player) {
        player->ShowMode("Adventure");
        LuaObject mode = player->GetGameModeTable("Adventure");
        if (mode.IsTable())
            records = mode["LevelRecords"];
    }
    const std::vector<std::string> levelNames = AdventureLevels();

    m_ArtifactFoundList.clear();
    for (const std::string& level : levelNames) {
        LuaObject record = records.IsTable() ? records[level.c_str()] : LuaObject();
        if (!record.IsTable() || !record["artifact"].IsString())
            continue;
        const std::string found = record["artifact"].GetString();
        if (!found.empty() && found != "EMPTY")
            m_ArtifactFoundList.push_back(found);
    }

    m_ArtifactMissingList.clear();
    LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    MAKO_ASSERT(levels.IsTable());
    for (const std::string& level : levelNames) {
        LuaObject table = levels[level.c_str()];
        LuaObject artefact = table.IsTable() ? table["artefact"] : LuaObject();
        if (!artefact.IsTable() || !artefact["name"].IsString())
            continue;
        const std::string name = artefact["name"].GetString();
        if (Holds(m_ArtifactFoundList, name))
            continue;
        if (m_ShowAllArtifacts)
            m_ArtifactFoundList.push_back(name);
        else
            m_ArtifactMissingList.push_back(name);
    }
    m_TotalArtifacts = static_cast<int>(m_ArtifactFoundList.size() + m_ArtifactMissingList.size());
}

void ArcadeArtifactScreen::Update()
{
    ReadLists();
    m_CurrentPosition = ArtifactCarousel::Normalize(m_CurrentPosition, m_TotalArtifacts);
    LogAtLevel(4, "m_TotalArtifacts %d\n", m_TotalArtifacts);
    LogAtLevel(4, "m_ArtifactFoundList\n");
    LogAtLevel(4, "artifactFoundAmount %d\n", static_cast<int>(m_ArtifactFoundList.size()) - 1);
    for (std::size_t i = 0; i < m_ArtifactFoundList.size(); ++i)
        LogAtLevel(4, "%d %s\n", static_cast<int>(i), m_ArtifactFoundList[i].c_str());
    LogAtLevel(4, "m_ArtifactMissingList\n");
    LogAtLevel(4, "artifactMissingAmount %d\n", static_cast<int>(m_ArtifactMissingList.size()) - 1);
    for (std::size_t i = 0; i < m_ArtifactMissingList.size(); ++i)
        LogAtLevel(4, "%d %s\n", static_cast<int>(i), m_ArtifactMissingList[i].c_str());

    for (int slot = 0; slot < ArtifactCarousel::kSlots; ++slot)
        FillSlot(slot);
}

// One slot: a found artefact (picture, title, clickable), a missing one ("gone" picture,
// "#n Stolen!!!", not clickable) or, past the end of a short ring, nothing.
void ArcadeArtifactScreen::FillSlot(int slot)
{
    Artefact* artefact = SlotArtefact(slot);
    Label* label = SlotLabel(slot);
    const int index = ArtifactCarousel::EntryAt(m_CurrentPosition, slot, m_TotalArtifacts);
    LogAtLevel(4, "currentIndex %d\n", index);
    LogAtLevel(4, "m_CurrentPosition %d\n", m_CurrentPosition);
    if (index < 0) {
        artefact->Deactivate();
        artefact->SetVisible(false, true);
        label->SetVisible(false, false);
        return;
    }
    const int found = static_cast<int>(m_ArtifactFoundList.size());
    if (index < found) {
        artefact->SetName(m_ArtifactFoundList[index]);
        artefact->Activate();
        label->SetText(artefact->GetTitle(), true);
    } else {
        artefact->SetName(m_ArtifactMissingList[index - found]);
        artefact->SetMissing(true);
        artefact->Deactivate();
        label->SetText(boost::str(boost::format("#%1% Stolen!!!") % (index + 1)), true);
    }
    artefact->SetVisible(true, false);
    if (Actor* highlight = artefact->GetHighlight())
        highlight->SetVisible(false, false);
    artefact->SetPosition(m_SlotCenterX[slot] - artefact->GetWidth() / 2,
                          m_SlotCenterY[slot] - artefact->GetHeight() / 2);
    label->SetPosition(m_SlotCenterX[slot] - label->GetWidth() / 2,
                       artefact->GetY() + artefact->GetHeight() + kLabelGap);
    label->SetVisible(true, false);
}

void ArcadeArtifactScreen::OpenCard(const Artefact& artefact)
{
    auto* dialog = new ArtifactDialog(artefact);
    Sound::PlaySound("Pickup_PaperNote4.ogg");
    StartDialog(dialog, true);
}

void ArcadeArtifactScreen::StartGameFromArtifactScreen(const std::string& screenName)
{
    // Update has made "Adventure" the current mode: this is the menu's way into a game.
    StartAdventureFromMenu(screenName);
}

bool ArcadeArtifactScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) == static_cast<void*>(static_cast<Screen*>(this))) {
        m_CurrentPosition = 0;
        Update();
        ShowGameTip(this, "gametip.finds", "Your Finds", false);
    }
    return false;
}

bool ArcadeArtifactScreen::OnKeyDown(const Event& event)
{
    const int key = event.key.keysym.sym;
    if (key == SDLK_ESCAPE)
        return true;
    if (key == '\\' && IsOnlyCtrlAltDown(event.key.keysym.mod)) {
        m_ShowAllArtifacts = !m_ShowAllArtifacts;
        Update();
        return false;
    }
    const unsigned modifiers = event.key.keysym.mod & ~(KMOD_NUM | KMOD_CAPS);
    if (key >= '1' && key < '1' + ArtifactCarousel::kSlots && modifiers == 0) {
        Artefact* artefact = SlotArtefact(key - '1');
        if (artefact->IsActive() && artefact->IsVisible()) {
            OpenCard(*artefact);
            return true;
        }
    }
    return false;
}

bool ArcadeArtifactScreen::OnButtonClick(const Event& event)
{
    Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "OptionsButton") {
        StartDialog(new OptionsDialog(), true);
    } else if (name == "MenuButton") {
        ScreenManager::SwitchToScreenIfPresent("MenuScreen", "ArcadeArtifactScreen");
    } else if (name == "PlayButton") {
        StartGameFromArtifactScreen("GameScreen");
    } else if (name == "HelpButton") {
        ShowGameTip(this, "help.finds", "About The Menu", true);
    } else if (name == "MapButton") {
        ScreenManager::SwitchToScreenIfPresent("MapScreen", "ArcadeArtifactScreen");
    } else if (name == "RightButton") {
        m_CurrentPosition = ArtifactCarousel::TurnRight(m_CurrentPosition, m_TotalArtifacts);
        Update();
    } else if (name == "LeftButton") {
        m_CurrentPosition = ArtifactCarousel::TurnLeft(m_CurrentPosition, m_TotalArtifacts);
        Update();
    } else if (name == "artifact1" || name == "artifact2" || name == "artifact3") {
        Artefact* artefact = dynamic_cast<Artefact*>(button);
        if (!artefact)
            return false;
        OpenCard(*artefact);
    } else {
        return false;
    }
    return true;
}
