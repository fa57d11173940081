// The start-up steps one at a time: the start-up script between defaults and options,
// where the files go and what the log says about them, the working directory, the
// configuration's say on acceleration and the log level, and the shut-down order.
#include "app/AppTestSupport.h"
#include "core/Utility.h"
#include "display/CDXLog.h"

#include <unistd.h>

#include <climits>

using namespace apptest;

namespace {

class StartupStepsTest : public AppTest
{
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        RunLua("GlobalApp = nil");
        SetLogFilePath(""); // the log file was in the temporary home
    }

    // Defaults file and user file in place, then the configuration read as start-up does.
    void ReadConfigWith(TestApp& a, const std::string& defaults, const std::string& user)
    {
        ScriptResources scripts;
        scripts.Add("bumperlux_Defaults.cfg", defaults);
        a.InitPaths();
        if (!user.empty())
            bbtest::WriteFile(a.GetConfigFile(), user);
        a.MakeConfig();
        a.ReadConfig();
    }

    std::string ConfigValue(const char* key)
    {
        LuaPlus::LuaObject value = app->GetConfig()->GetObject(key);
        if (value.IsBoolean())
            return value.GetBoolean() ? "true" : "false";
        return value.IsNil() ? "nil" : value.ToString();
    }
};

std::string CurrentDirectory()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? buffer : "";
}

} // namespace

TEST_F(StartupStepsTest, StartupScriptOverridesDefaultsAndOptionsOverrideBoth)
{
    bbtest::WriteFile(home.Path() + "/MakoStartup.lua", "GlobalApp.enableVSync = false\n"
                                                        "GlobalApp.usePackageFiles = true\n"
                                                        "GlobalApp.logLevel = 1\n");
    app->SetExePath(home.Path());
    app->PublishToScripts();
    app->Parse({"p", "--nopkg", "--log3"});
    app->SetDefaultProperties();
    app->RunStartupScript();
    EXPECT_FALSE(app->RetrieveBoolProperty("enableVSync"));
    EXPECT_EQ(1, app->RetrieveIntProperty("logLevel"));
    app->ConvertCmdLineArgsToProperties();
    EXPECT_FALSE(app->RetrieveBoolProperty("enableVSync"));
    EXPECT_FALSE(app->RetrieveBoolProperty("usePackageFiles"));
    EXPECT_EQ(3, app->RetrieveIntProperty("logLevel"));

    // No script is no error; a broken one names its file.
    bbtest::WriteFile(home.Path() + "/MakoStartup.lua", "GlobalApp.enableVSync = = 1\n");
    try {
        app->RunStartupScript();
        FAIL();
    } catch (const ScriptError& e) {
        EXPECT_NE(std::string::npos, e.GetMessage().find(home.Path() + "/MakoStartup.lua"));
    }
    app->SetExePath(home.Path() + "/elsewhere");
    EXPECT_NO_THROW(app->RunStartupScript());
}

TEST_F(StartupStepsTest, FoldersLogFileAndTheirLogLines)
{
    app->InitPaths();
    const std::string documents = home.DataHome() + "/bumperlux Documents/";
    EXPECT_EQ(documents, app->GetDocumentsFolder());
    EXPECT_TRUE(FileExists(documents + "Player Cards", EXISTS_DIRECTORY));
    EXPECT_EQ(home.ConfigHome() + "/tessarine/bumperlux/bumperlux.cfg", app->GetConfigFile());
    EXPECT_TRUE(FileExists(home.ConfigHome() + "/tessarine/bumperlux", EXISTS_DIRECTORY));

    // The log file takes what was logged before it existed, and the display layer's
    // trace from then on.
    app->InitLog();
    CDXLog::Get().Write("CDX: probe line\n");
    const std::string logPath = documents + "Technical Support Files/MakoEngine.log";
    // (The folder helper's own lines are left out here.)
    std::string log;
    for (const std::string& line : SplitLines(bbtest::ReadFile(logPath)))
        if (line.compare(0, 7, "Created") != 0 || line.compare(0, 12, "Created log ") == 0)
            if (line.compare(0, 17, "CreateDirectories") != 0)
                log += line;
    const std::string expected =
        std::string("Initializing Paths...\n") +
        "\tm_DocumentsFolderName = \"bumperlux Documents\\\"\n" + "\tCSIDL_PERSONAL = \"" +
        home.DataHome() + "\"\n" + "\tCSIDL_APPDATA = \"" + home.ConfigHome() + "\"\n" +
        "\tm_AppDataFolderName = \"tessarine\\bumperlux\\\"\n" + "\tm_ConfigFile = \"" +
        app->GetConfigFile() + "\"\n" + "Created log file at \"" + logPath + "\"\n" +
        "Writing previous log entries to disk.\n" + "CDX: probe line\n";
    ASSERT_NE(std::string::npos, log.rfind("Initializing Paths..."));
    EXPECT_EQ(expected, log.substr(log.rfind("Initializing Paths...")));
}

TEST_F(StartupStepsTest, WorkingDirectoryFollowsTheProgramFolderOnlyWhenItIsOne)
{
    const std::string before = CurrentDirectory();
    app->SetExePath(home.Path() + "/missing");
    try {
        app->ChdirToExePath();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(0u, e.GetMessage().find("Assertion failed: (dirAttribs != ((DWORD)-1))\n"
                                          "Message: GetFileAttributes failed.\nfile = " +
                                          home.Path() + "/missing\nerror = "))
            << e.GetMessage();
        EXPECT_EQ("Application::ChdirToExePath", e.GetFunction());
    }
    bbtest::WriteFile(home.Path() + "/plain", "");
    app->SetExePath(home.Path() + "/plain");
    app->ChdirToExePath();
    EXPECT_EQ(before, CurrentDirectory());

    app->SetExePath(home.Path());
    app->ChdirToExePath();
    EXPECT_EQ(home.Path(), CurrentDirectory());
    ASSERT_EQ(0, chdir(before.c_str()));
}

TEST_F(StartupStepsTest, ConfigurationDecidesAccelerationUnlessTheCommandLineDid)
{
    const std::string defaults = "LoadConfig { log_level = 2 }";
    // The user's choice is taken; the window made for it is not made twice.
    app->Parse({"p"});
    app->Settle();
    ReadConfigWith(*app, defaults, "LoadConfig { use_3d_acceleration = true }");
    EXPECT_TRUE(app->IsHWAccelEnabled());
    EXPECT_EQ("true", ConfigValue("use_3d_acceleration"));

    // An option wins and is written back.
    TestApp& option = Fresh();
    option.Parse({"p", "--nohwaccel"});
    option.Settle();
    ReadConfigWith(option, defaults, "LoadConfig { use_3d_acceleration = true }");
    EXPECT_FALSE(option.IsHWAccelEnabled());
    EXPECT_EQ("false", ConfigValue("use_3d_acceleration"));

    // A value that is not a boolean is replaced by the current choice.
    TestApp& odd = Fresh();
    odd.Parse({"p"});
    odd.Settle();
    ReadConfigWith(odd, defaults, "LoadConfig { use_3d_acceleration = 'yes' }");
    EXPECT_FALSE(odd.IsHWAccelEnabled());
    EXPECT_EQ("false", ConfigValue("use_3d_acceleration"));
}

TEST_F(StartupStepsTest, TheLogOptionsTakePrecedenceOverTheConfiguredLevel)
{
    LogCapture capture(home.Path() + "/capture.log");
    app->Parse({"p", "--log3"});
    app->Settle();
    ReadConfigWith(*app, "LoadConfig { log_level = 1 }", "");
    app->InitLogLevel();
    EXPECT_EQ(3, GetLogLevel());
    EXPECT_NE(std::string::npos, capture.Text().find("Application::Setting Log Level to 3\n"));
    // The option's level is the run's: the configuration keeps its own.
    EXPECT_EQ("1", ConfigValue("log_level"));

    // Without an option the configuration's level holds.
    TestApp& plain = Fresh();
    plain.Parse({"p"});
    plain.Settle();
    ReadConfigWith(plain, "LoadConfig { log_level = 1 }", "");
    plain.InitLogLevel();
    EXPECT_EQ(1, GetLogLevel());
}

// A configured level the log does not know, however large or however little a number, is
// held to the levels it knows and named with its key; one that is no finite number is refused
// with its key by the configuration, and the default's level holds.
TEST_F(StartupStepsTest, AConfiguredLogLevelOutOfRangeIsHeldAndNamed)
{
    const struct
    {
        const char* written;
        int level;
    } rows[] = {{"1e308", 4}, {"-1e308", 0}, {"7", 4}, {"0/0", 1}, {"1/0", 1}, {"-1/0", 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.written);
        LogCapture capture(home.Path() + "/capture.log");
        SetLogLevel(1); // the level a start logs the configuration's reading at
        TestApp& a = Fresh();
        a.Parse({"p"});
        a.Settle();
        ReadConfigWith(a, "LoadConfig { log_level = 1 }",
                       std::string("LoadConfig { log_level = ") + row.written + " }");
        a.InitLogLevel();
        EXPECT_EQ(row.level, GetLogLevel());
        EXPECT_NE(std::string::npos, capture.Text().find("\"log_level\"")) << capture.Text();
    }
}

TEST_F(StartupStepsTest, ShutdownDeletesInItsFixedOrderLoggingEachStep)
{
    LogCapture capture(home.Path() + "/capture.log");
    SetLogLevel(3);
    app->MakeConfig();
    app->MakeTimers();
    app.reset();
    const std::vector<std::string> expected = {
        "~Application - SAFE_DELETE(m_GameDataIO)\n",
        "~Application - SAFE_DELETE(m_VideoMemoryCounter)\n",
        "~Application - SAFE_DELETE(m_FPSCounter)\n",
        "~Application - SAFE_DELETE(m_ScreenManager)\n",
        "~Application - SAFE_DELETE(m_MainCanvas)\n",
        "~Application - SAFE_DELETE(m_ResourceManager)\n",
        "~Application - SAFE_DELETE(m_DisplayOld)\n",
        "~Application - SAFE_DELETE(m_DisplayManager)\n",
        "~Application - TTF_Quit\n",
        "~Application - SDL_Quit\n",
        "~Application - SAFE_DELETE(m_TimerManager)\n",
        "~Application - Sound::Quit()\n",
        "~Application - SAFE_DELETE(m_Config)\n",
        "~Application - SAFE_DELETE(m_Shell)\n",
        "~Application - SAFE_DELETE(m_HighScoreManager)\n",
        "~Application - SAFE_DELETE(m_GameRecordManager)\n",
        "~Application - SAFE_DELETE(m_PlayerManager)\n",
        "~Application - SAFE_DELETE(m_TopRecordsManager)\n",
        "~Application - LuaRemoteDebuggingServer\n",
        "~Application - SAFE_DELETE(m_BlitPerformanceManager)\n",
        "~Application - SAFE_DELETE(m_TickPerformanceManager)\n",
        "~Application - SAFE_DELETE(m_PerformanceCounterManager)\n",
        "~Application - FINISHED\n",
    };
    EXPECT_EQ(expected, capture.LinesStartingWith("~Application - "));
    EXPECT_EQ(nullptr, GetApp());
}
