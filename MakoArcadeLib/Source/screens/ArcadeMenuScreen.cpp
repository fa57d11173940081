#include "screens/ArcadeMenuScreen.h"

#include "core/AppHost.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "logic/PlayerSkill.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/HighScoreManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/Artefact.h"
#include "screens/ArtifactDialog.h"
#include "screens/ChooseActivePlayerDialog.h"
#include "screens/Dialog.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/GameStart.h"
#include "screens/GameTips.h"
#include "screens/MedalDialog.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "views/CardView.h"
#include "views/Medal.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <SDL.h>

namespace {

const int kCardX = 20;
const int kCardY = 150;

Player* FirstCurrentPlayer()
{
    PlayerManager* players = PlayerManager::GetInstance();
    return players ? players->GetCurrentPlayer(1) : nullptr;
}

std::string PlayerName(const Player* player)
{
    if (!player)
        return std::string();
    LuaPlus::LuaObject name = player->GetTable()["Name"];
    return name.IsString() ? name.GetString() : std::string();
}

void PostToApplication(std::uint8_t type)
{
    if (AppHost* host = GetAppHost())
        host->PostEvent(nullptr, type);
}

std::string ClickedButtonName(const Dialog* dialog)
{
    const Button* button = dialog ? dialog->GetClickedButton() : nullptr;
    return button ? button->GetName() : std::string();
}

} // namespace

ArcadeMenuScreen::ArcadeMenuScreen() : ArcadeMenu("MenuScreen", "bkgMenu.jpg")
{
    AcquireAndApplyResource("ArcadeMenuScreen");
    ListenToButtons();
    ShareCaptionSize(*this);

    m_Card = new CardView(FirstCurrentPlayer());
    m_Card->AddEventReceiver(this);
    if (Actor* overlay = m_Card->GetDisabledOverlay())
        overlay->SetVisible(false, false);
    m_Card->SetPosition(kCardX, kCardY);
    m_Card->Refresh();
    AddChild(m_Card, "");

    Actor* caption = GetChild("CurrentPlayer", false);
    MAKO_ASSERT(caption != 0);
    caption->SetPosition(m_Card->GetX() + m_Card->GetWidth() / 2 - caption->GetWidth() / 2,
                         m_Card->GetY() - caption->GetHeight());

    Artefact* artefact = dynamic_cast<Artefact*>(GetChild("artifact", false));
    MAKO_ASSERT(artefact != 0);
    artefact->MakeButton(this);
    artefact->Deactivate();
    Update();
}

void ArcadeMenuScreen::Update()
{
    Player* player = FirstCurrentPlayer();
    LuaPlus::LuaObject adventure;
    if (player) {
        player->ShowMode("Adventure");
        adventure = player->GetGameModeTable("Adventure");
    }
    Artefact* artefact = dynamic_cast<Artefact*>(GetChild("artifact", false));
    MAKO_ASSERT(artefact != 0);
    Label* label = dynamic_cast<Label*>(GetChild("artifactName", false));
    MAKO_ASSERT(label != 0);

    LuaPlus::LuaObject latest;
    if (adventure.IsTable())
        latest = adventure["latestArtifact"];
    if (latest.IsString() && *latest.GetString() && std::string(latest.GetString()) != "EMPTY") {
        artefact->SetName(latest.GetString());
        label->SetText(artefact->GetTitle(), true);
        label->SetVisible(true, false);
        artefact->Activate();
    } else {
        artefact->SetName("artifactScream.jpg");
        artefact->SetMissing(true);
        artefact->Deactivate();
        label->SetText("Still Missing!!!", true);
    }
}

bool ArcadeMenuScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) != static_cast<void*>(static_cast<Screen*>(this)))
        return false;
    if (AppHost* host = GetAppHost()) {
        host->PostEvent(this, MAKO_HIGHSCORESUPDATED);
        host->PostEvent(this, MAKO_PLAYERCHANGE);
    }
    if (HighScoreManager* scores = HighScoreManager::GetInstance())
        scores->ClearRatingsList();

    const Player* player = m_Card->GetPlayer();
    const Screen* previous = static_cast<Screen*>(EventData2(event));
    if (!player || player->IsEmpty()) {
        Log("ArcadeMenuScreen: player %d has no name and signs in.\n",
            player ? player->GetIndex() : 0);
        Sound::PlaySound("attention4.ogg");
        StartDialog(new EnterNameAndSkillDialog(""), true);
    } else if (previous && previous->GetName() == "SplashScreen") {
        Sound::PlaySound("Pickup_GemBells06.ogg");
    }
    Update();
    return false;
}

bool ArcadeMenuScreen::OnPlayerChange(const Event& event)
{
    (void)event;
    m_Card->SetPlayer(FirstCurrentPlayer());
    ApplyPlayerSkill();
    Update();
    return false;
}

bool ArcadeMenuScreen::OnCardClick(const Event& event)
{
    if (EventData1(event) != static_cast<void*>(static_cast<Actor*>(m_Card)))
        return false;
    ChoosePlayer();
    return true;
}

void ArcadeMenuScreen::ChoosePlayer()
{
    if (Actor* highlight = m_Card->GetHighlight())
        highlight->SetVisible(false, false);
    StartDialog(new ChooseActivePlayerDialog("CardView"), true);
}

bool ArcadeMenuScreen::OnKeyDown(const Event& event)
{
    if (event.key.keysym.sym == 't' && IsOnlyCtrlAltDown(event.key.keysym.mod)) {
        SwitchIfPresent("TestScreen");
        return true;
    }
    return ArcadeMenu::OnKeyDown(event);
}

bool ArcadeMenuScreen::OnMedalClick(const Event& event)
{
    auto* clicked = dynamic_cast<Medal*>(static_cast<Object*>(EventData1(event)));
    if (!clicked)
        return false;
    auto* medal = new Medal(clicked->GetName(), "medal" + clicked->GetName() + ".png",
                            clicked->GetGameType(), nullptr);
    medal->SetLevel(clicked->GetLevel(), clicked->GetStoredLevelName());
    StartDialog(new MedalDialog(PlayerName(FirstCurrentPlayer()), medal, " "), true);
    return true;
}

void ArcadeMenuScreen::SwitchIfPresent(const std::string& screen)
{
    ScreenManager* screens = ScreenManager::GetInstance();
    if (!screens || !screens->GetScreen(screen)) {
        Log("ArcadeMenuScreen: the screen \"%s\" is not available.\n", screen.c_str());
        return;
    }
    screens->SwitchToScreen(screen);
}

bool ArcadeMenuScreen::OnButtonClick(const Event& event)
{
    Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "PlayButton") {
        StartAdventureFromMenu("GameScreen");
    } else if (name == "HelpButton") {
        ShowGameTip(this, "help.menu", "About The Menu", true);
    } else if (name == "MapButton") {
        SwitchIfPresent("MapScreen");
    } else if (name == "LabButton") {
        SwitchIfPresent("LabScreen");
    } else if (name == "FindsButton") {
        SwitchIfPresent("ArtifactScreen");
    } else if (name == "ChangePlayerButton") {
        ChoosePlayer();
    } else if (Artefact* artefact = dynamic_cast<Artefact*>(button)) {
        StartDialog(new ArtifactDialog(*artefact), true);
    } else {
        return ArcadeMenu::OnButtonClick(event);
    }
    return true;
}

bool ArcadeMenuScreen::OnDialogStopped(const Event& event)
{
    const Dialog* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (!dialog || dialog->GetParent() != this)
        return false;
    const std::string& name = dialog->GetName();
    if (name == "EnterNameAndSkillDialog") {
        if (!FinishSignIn(dialog))
            return false;
    } else if (name == "SelectLevelDialog") {
        if (ClickedButtonName(dialog) == "OkayButton")
            StartAdventureFromMenu("GameScreen");
    } else if (name == "OptionsDialog") {
        ApplyPlayerSkill();
    }
    return ArcadeMenu::OnDialogStopped(event);
}

// Okay takes the typed name (with the welcome chime); cancel keeps the player's own name.
// A cancelled sign-in of an empty player in slot 2 or later changes nothing (the player
// choice puts the earlier player back); otherwise an empty name becomes "Player <slot>".
// The player gets the skill's balls back when it has none left, the players are told,
// every card is saved and the welcome tip is shown once.
bool ArcadeMenuScreen::FinishSignIn(const Dialog* dialog)
{
    Player* player = FirstCurrentPlayer();
    if (!player)
        return true;
    const std::string button = ClickedButtonName(dialog);
    std::string name;
    if (button == "OkayButton") {
        Sound::PlaySound("Pickup_GemBells06.ogg");
        if (const auto* signIn = dynamic_cast<const EnterNameAndSkillDialog*>(dialog))
            name = signIn->GetName();
    } else if (button == "CancelButton") {
        if (player->GetIndex() > 1 && player->IsEmpty())
            return false;
        name = PlayerName(player);
    } else {
        return true;
    }
    if (name.empty())
        name = boost::str(boost::format("Player %1%") % player->GetIndex());
    player->GetTable().SetString("Name", name.c_str());
    // Whoever signs in is shown the tips the card has not seen, whatever this run showed.
    player->ForgetShown();

    LuaPlus::LuaObject skills = GetGlobalLuaState()->GetGlobal("Skills");
    LuaPlus::LuaObject row = skills.IsTable() ? skills[player->GetSkill().c_str()] : skills;
    // Signing in starts the player's Adventure: its table is the card's from now on.
    LuaPlus::LuaObject adventure = player->MakeGameModeTable("Adventure");
    if (row.IsTable() && adventure.IsTable() && adventure["ballsLeft"].IsNumber() &&
        adventure["ballsLeft"].GetNumber() == 0)
        adventure.SetObject("ballsLeft", row["ballsLeft"]);

    PostToApplication(MAKO_PLAYERCHANGE);
    PostToApplication(MAKO_HIGHSCORESUPDATED);
    if (GameDataIO* io = GameDataIO::GetInstance())
        io->SaveAllPlayerData();
    ShowGameTip(this, "gametip.welcome", "Welcome Aboard!", false);
    return true;
}
