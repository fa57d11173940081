#pragma once
// The sweeps over every file of the user's that the game reads (a player card, the
// configuration, the debugger's connection list, the start-up script): a start as the program
// makes it, a level played, won and tallied, and a quit that saves, in a temporary home whose
// files a sweep has prepared.
#include "GameApp.h"
#include "core/Config.h"
#include "core/Event.h"
#include "debugger/LuaNetworkServerImpl.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/PlayerManager.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/ScreenManager.h"
#include "support/TempHome.h"
#include "support/engine/LogCapture.h"
#include "views/CardView.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace bbtest {

enum UserFile { CARD, CONFIGURATION, CONNECTION_LIST, STARTUP_SCRIPT };
inline constexpr UserFile kUserFiles[] = {CARD, CONFIGURATION, CONNECTION_LIST, STARTUP_SCRIPT};

// The game's application with the program folder a test names.
class SweepApp : public GameApp
{
public:
    SweepApp() { m_LuaState = GetGlobalLuaState(); }
    void SetExePath(const std::string& path) { m_ExePath = path; }
};

class UserFileSweep : public ::testing::Test
{
protected:
    std::string CardsFolder() const { return home.Path() + "/cards/"; }
    std::string PathOf(UserFile file) const
    {
        switch (file) {
        case CARD:
            return CardsFolder() + "Player1.card";
        case CONFIGURATION:
            return home.Path() + "/bumperlux.cfg";
        case CONNECTION_LIST:
            return home.Path() + "/RemoteLuaDebuggingServerNetworkConnection.txt";
        case STARTUP_SCRIPT:
            return home.Path() + "/program/MakoStartup.lua";
        }
        return "";
    }
    static std::string ContentOf(UserFile file)
    {
        switch (file) {
        case CARD:
            return "Player { guid = 7, Name = \"Precious\" }\n";
        case CONFIGURATION:
            return "LoadConfig { music_volume = 17 }\n";
        case CONNECTION_LIST:
            return "Client\n127.0.0.1:1\n";
        case STARTUP_SCRIPT:
            return "StartupScriptRan = true\n";
        }
        return "";
    }
    // What the log says of a file it could not read, up to the reason.
    std::string SaidOf(UserFile file, const std::string& reason) const
    {
        const std::string path = PathOf(file);
        switch (file) {
        case CARD:
            return "the card \"" + path + "\" stays where it is (it could not be read: " + reason;
        case CONFIGURATION:
            return "the configuration file \"" + path +
                   "\" stays where it is (it could not be read: " + reason;
        case CONNECTION_LIST:
            return "the debugger's connection list \"" + path +
                   "\" stays where it is (it could not be read: " + reason;
        case STARTUP_SCRIPT:
            return "the startup script \"" + path + "\" could not be read (" + reason;
        }
        return "";
    }

    // Starts as the program does: the start-up script, the configuration, the cards and the
    // debugger, which reattaches the clients its list names and writes the list back.
    void Start()
    {
        app = std::make_unique<SweepApp>();
        std::filesystem::create_directories(home.Path() + "/program");
        app->SetExePath(home.Path() + "/program");
        app->RunStartupScript();
        Config::GetCurrent()->ReadFile(PathOf(CONFIGURATION));
        cards = std::make_unique<GameDataIO>(CardsFolder());
        RunLua("Paths = Paths or {} Paths.PlayerData = '" + CardsFolder() + "'");
        cards->LoadAllPlayerData(true);
        app->DispatchPosted();
        debugger = std::make_unique<LuaNetworkServerImpl>();
        debugger->Start(PathOf(CONNECTION_LIST), 0, "127.0.0.1");
    }

    // What the card view of slot 1 says of saving it.
    std::string CardNotice()
    {
        app->SwitchTo("Elsewhere");
        auto* card = new CardView(PlayerManager::GetInstance()->GetPlayer(1));
        app->Screens()->GetScreen("Elsewhere")->AddChild(card, "");
        app->Pass();
        auto* label = dynamic_cast<Label*>(card->GetLabel(5));
        const std::string notice = label ? label->GetText() : "<no label>";
        card->Kill();
        app->Pass();
        return notice;
    }

    // Plays the current player's first level a while, wins it and lets its letter tally
    // (which saves the cards), then changes a setting as a player would.
    void PlayALevel()
    {
        RunLua("Players[1].Name = 'sweeper'");
        app->StartGame();
        ArcadeGameLogic* logic = app->GameScreen()->GetGameLogic();
        ASSERT_NE(nullptr, logic);
        app->ClickLeft();
        app->Pass(120);
        ASSERT_TRUE(app->WinToTally(500));
        app->Pass(100);
        RunLua("Config.music_volume = 50");
    }

    // Quits as the program does: the cards and the configuration are saved.
    void Quit()
    {
        cards->SaveAllPlayerData();
        Config::GetCurrent()->Write(PathOf(CONFIGURATION));
        debugger.reset();
        app.reset();
        cards.reset();
    }

    void TearDown() override
    {
        debugger.reset();
        app.reset();
        cards.reset();
    }

    bbtest::TempHome home;
    std::unique_ptr<SweepApp> app;
    std::unique_ptr<GameDataIO> cards;
    std::unique_ptr<LuaNetworkServerImpl> debugger;
};

} // namespace bbtest
