// Every file of the user's that the game reads (a player card, the configuration, the
// debugger's connection list, the start-up script), there but unreadable in each way the
// machine allows (no permission and an I/O error through the reader's fault hook, a folder,
// a link loop, a FIFO): the game starts, a level is played and tallied, the game quits, and
// the file is exactly what it was. The log names the file and the reason, and a card's
// screen says the card is not saved.
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
#include "support/UnreadableFile.h"
#include "support/engine/LogCapture.h"
#include "views/CardView.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

enum UserFile { CARD, CONFIGURATION, CONNECTION_LIST, STARTUP_SCRIPT };
constexpr UserFile kUserFiles[] = {CARD, CONFIGURATION, CONNECTION_LIST, STARTUP_SCRIPT};

// The game's application with the program folder a test names.
class SweepApp : public GameApp
{
public:
    SweepApp() { m_LuaState = GetGlobalLuaState(); }
    void SetExePath(const std::string& path) { m_ExePath = path; }
};

class UnreadableFileSweepTest : public ::testing::Test
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
            return "GlobalApp.enableVSync = false\n";
        }
        return "";
    }
    // What the log says of the file, up to the reason.
    std::string SaidOf(UserFile file, UnreadableKind kind) const
    {
        const std::string path = PathOf(file);
        const std::string reason = ReasonOf(kind);
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
        fs::create_directories(home.Path() + "/program");
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

    TempHome home;
    std::unique_ptr<SweepApp> app;
    std::unique_ptr<GameDataIO> cards;
    std::unique_ptr<LuaNetworkServerImpl> debugger;
};

} // namespace

TEST_F(UnreadableFileSweepTest, EveryUserFileThatCannotBeReadIsKeptThroughAGameAndItsSaves)
{
    int runs = 0, kept = 0;
    for (const UserFile file : kUserFiles) {
        for (const UnreadableKind kind : kUnreadableKinds) {
            SCOPED_TRACE(PathOf(file) + " as " + NameOf(kind));
            fs::remove_all(home.Path() + "/cards");
            for (const UserFile other : kUserFiles)
                fs::remove_all(PathOf(other));
            UnreadableFile unreadable(PathOf(file), kind, ContentOf(file));
            LogCapture log;
            ++runs;
            ASSERT_NO_FATAL_FAILURE(Start());
            EXPECT_EQ(file == CARD ? GameDataIO::kUnsavedNotice : "", CardNotice());
            ASSERT_NO_FATAL_FAILURE(PlayALevel());
            Quit();
            const std::string changed = unreadable.Changed();
            EXPECT_EQ("", changed);
            const std::string said = SaidOf(file, kind);
            const std::size_t at = log.Text().find(said);
            EXPECT_NE(std::string::npos, at) << said << "\n" << log.Text().substr(0, 3000);
            EXPECT_EQ(std::string::npos, log.Text().find(said, at + 1)) << "said once";
            // The files that could be read were saved as ever.
            if (file != CARD)
                EXPECT_TRUE(fs::is_regular_file(PathOf(CARD)));
            if (file != CONFIGURATION)
                EXPECT_TRUE(fs::is_regular_file(PathOf(CONFIGURATION)));
            kept += changed.empty() && at != std::string::npos;
        }
    }
    std::printf("unreadable-file sweep: %d runs (4 files x 5 ways to fail), %d kept and named\n",
                runs, kept);
}
