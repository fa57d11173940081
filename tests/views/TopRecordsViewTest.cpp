// The actors that show a top-record list: the view's title container and the rows.
#include "views/TopRecordsView.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "lua/MakoLuaState.h"
#include "players/GameRecord.h"
#include "players/GameRecordManager.h"
#include "players/PlayerManager.h"
#include "players/TopRecordsList.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"
#include "views/GameScoreRow.h"
#include "views/RecordContainer.h"
#include "widgets/Label.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

class TopRecordsViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        PassHarness::PrepareEngine();
        if (!TTF_WasInit())
            TTF_Init();
        ResourceManager& resources = TestResources();
        AddProgramScanner(new WindowsDirectoryResourceScanner("/usr/share/fonts/truetype/dejavu"));
        resources.ScanAll();
        static Config* config = new Config(GetGlobalLuaState());
        (void)config;
    }
    static void Run(const std::string& text)
    {
        MakoLuaState::LoadString(GetGlobalLuaState(), text);
    }
};

} // namespace

TEST_F(TopRecordsViewTest, ATitleContainerReplacesTheOldOneAndShowsRedOnlyWhenAsked)
{
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
        EvalLua("{class = 'TopRecordsView', titleContainer = {5, 6, 70, 20}}")));
    auto* view = dynamic_cast<TopRecordsView*>(object.get());
    ASSERT_NE(nullptr, view);
    ASSERT_NE(nullptr, view->GetTitleContainer());
    EXPECT_EQ(70, view->GetTitleContainer()->GetWidth());

    Run("Config.DebugRecordContainers = true");
    view->ApplyProperty("titleContainer", EvalLua("{1, 2, 30, 10}"));
    EXPECT_EQ(1u, view->GetChildren().size());
    EXPECT_EQ(30, view->GetTitleContainer()->GetWidth());
    EXPECT_EQ(Color(255, 0, 0), view->GetTitleContainer()->GetColor());
    Run("Config.DebugRecordContainers = nil");
}

TEST_F(TopRecordsViewTest, ARowShowsPlaceOwnerScoreAndType)
{
    // The game's own row templates, over the fonts its constant configuration names.
    Run("ConstConfig = ConstConfig or {} "
        "ConstConfig.CleanFont = ConstConfig.CleanFont or 'DejaVuSans.ttf' "
        "ConstConfig.MainFontLight = ConstConfig.MainFontLight or 'DejaVuSans.ttf'");
    Run(std::string("dofile('") + BB_SOURCE_DIR +
        "/MakoArcadeLib/Source/scripts/MiscTemplates.lua')");
    Run("Players = { { guid = 3, Name = 'ann' }, current = {} } DummyPlayers = {}");
    Run(std::string("dofile('") + BB_SOURCE_DIR + "/MakoEngine/Source/scripts/Player.lua')");
    GameRecordManager records(GetGlobalLuaState());
    TopGameRecordsList list("Top Ten Scores", &TopGameRecordsList::ByGameScore);
    for (int score : {40, 70}) {
        GameRecord record(EvalLua("{gameRecordGuid = " + std::to_string(score) +
                                  ", gameRecordType = 'g', playerGuid = 3, gameScore = " +
                                  std::to_string(score) + ", gameType = 'Adventure'}"));
        list.OnGameRecord(record);
    }
    ASSERT_EQ(nullptr, PlayerManager::GetInstance());
    std::unique_ptr<GameScoreRow> row(GameScoreRow::CreateRow(list, 0));
    auto text = [&](const char* name) {
        auto* label = dynamic_cast<Label*>(row->GetChild(name, false));
        return label ? label->GetText() : std::string("<missing>");
    };
    EXPECT_EQ("1.", text("IndexLabel"));
    EXPECT_EQ("70", text("GameScoreLabel"));
    EXPECT_EQ("Adventure", text("GameTypeLabel"));
    auto* score = dynamic_cast<Label*>(row->GetChild("GameScoreLabel", false));
    ASSERT_NE(nullptr, score);
    EXPECT_EQ(100, score->GetX());
    // Without a player manager no owner can be named.
    EXPECT_EQ("?", text("PlayerNameLabel"));
}
