// The game's application: its start-up properties and switches, its script list, its
// window icon and the order of game scores.
#include "app/ArcadeApp.h"
#include "core/EventQueue.h"
#include "core/Log.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LogCaptureStart.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

class ArcadeAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bbtest::PrepareEngine();
        app.reset(new TestApp());
    }
    void TearDown() override { app.reset(); }

    struct TestApp : ArcadeApp
    {
        void Start(std::vector<std::string> args)
        {
            args.insert(args.begin(), "bumperlux");
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            ParseCmdLineArgs(static_cast<int>(argv.size()), argv.data());
            SetDefaultProperties();
            ConvertCmdLineArgsToProperties();
        }
        // Finds its resources in the tests' manager, which stays when the application goes,
        // or in another the caller keeps.
        void UseTestResources() { UseResources(&bbtest::TestResources()); }
        void UseResources(ResourceManager* resources)
        {
            m_ResourceManager.release();
            m_ResourceManager.reset(resources);
        }
        ~TestApp() override { m_ResourceManager.release(); }
    };

    static LuaPlus::LuaObject Record(int score)
    {
        LuaPlus::LuaObject record;
        record.AssignNewTable(GetGlobalLuaState());
        record.SetInteger("gameScore", score);
        return record;
    }

    bbtest::TempHome home;
    std::unique_ptr<TestApp> app;
};

} // namespace

TEST_F(ArcadeAppTest, GameSwitchesTurnOffTheirPropertiesAndOthersKeepTheDefaults)
{
    app->Start({});
    EXPECT_EQ("bumperlux", app->GetAppName());
    EXPECT_EQ("Bumperlux", app->GetWindowTitle());
    EXPECT_EQ(640, app->GetWidth());
    EXPECT_EQ(480, app->GetHeight());
    for (const char* name :
         {"enableBrickDropAnimation", "enableStartLevelDialog", "loadAllResources"})
        EXPECT_TRUE(app->RetrieveBoolProperty(name)) << name;

    const std::pair<const char*, const char*> switches[] = {
        {"--skipdrop", "enableBrickDropAnimation"},
        {"--skipletter", "enableStartLevelDialog"},
        {"--noprecache", "loadAllResources"},
    };
    for (const auto& [option, property] : switches) {
        app.reset(new TestApp());
        app->Start({option});
        EXPECT_FALSE(app->RetrieveBoolProperty(property)) << option;
        for (const auto& [otherOption, otherProperty] : switches) {
            if (otherProperty != property) {
                EXPECT_TRUE(app->RetrieveBoolProperty(otherProperty)) << option;
            }
        }
    }
}

TEST_F(ArcadeAppTest, TheGameScriptsRunInTheirOrderAndEachShipsWithTheProgram)
{
    const std::vector<std::string>& names = ArcadeApp::GetScriptNames();
    ASSERT_EQ(31u, names.size());
    EXPECT_EQ("ArcadeColors.lua", names.front());
    EXPECT_EQ("Wall.lua", names[1]);
    EXPECT_EQ("StartupHelperFunctions.lua", names[29]);
    EXPECT_EQ("TemporaryLevelResources.lua", names.back());
    EXPECT_EQ(names.size(), std::set<std::string>(names.begin(), names.end()).size());
    const std::filesystem::path folder =
        std::filesystem::path(BB_SOURCE_DIR) / "MakoArcadeLib/Source/scripts";
    for (const std::string& name : names)
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / name)) << name;
}

TEST_F(ArcadeAppTest, HigherScoresComeFirstAndEqualScoresAreNotOrdered)
{
    EXPECT_TRUE(CompareGameScores(Record(500), Record(20)));
    EXPECT_FALSE(CompareGameScores(Record(20), Record(500)));
    EXPECT_FALSE(CompareGameScores(Record(70), Record(70)));
    // A score kept as a function is read through its result.
    MakoLuaState::LoadString(GetGlobalLuaState(), "_arcadetest = {gameScore = function() "
                                                  "return 900 end}");
    EXPECT_TRUE(CompareGameScores(GetGlobalLuaState()->GetGlobal("_arcadetest"), Record(899)));
    // A record without a score (none, a text, a function that fails) counts as none: after
    // every scored record, and not before another without one.
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "_arcadenone = { {}, {gameScore = 'many'}, "
                             "{gameScore = function() error('no score') end} }");
    for (int i = 1; i <= 3; ++i) {
        const LuaPlus::LuaObject none = GetGlobalLuaState()->GetGlobal("_arcadenone")[i];
        EXPECT_TRUE(CompareGameScores(Record(0), none)) << i;
        EXPECT_FALSE(CompareGameScores(none, Record(0))) << i;
        EXPECT_FALSE(CompareGameScores(none, none)) << i;
    }
}

TEST_F(ArcadeAppTest, AWindowWithoutItsIconIsOnlyWarnedAbout)
{
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO));
    const std::string logPath = home.Path() + "/capture.log";
    const std::string previousLog = GetLogFilePath();
    bbtest::StartLogCapture(logPath);
    app->Start({});
    // A manager of its own, without the icon the tests' shared one holds once the pack is
    // scanned.
    ResourceManager withoutIcon(GetGlobalLuaState());
    app->UseResources(&withoutIcon);
    int window = 0;
    EXPECT_NO_THROW(app->SetWindowHandle(&window));
    app->UseTestResources();
    SetLogFilePath(previousLog);
    GetPostedEventQueue().Clear();
    EXPECT_NE(std::string::npos,
              bbtest::ReadFile(logPath).find(
                  "WARNING: Coult not load application's icon; iconResourceNumber = 101; "
                  "reason = the resource \"AppIcon.png\" is missing\n"));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
