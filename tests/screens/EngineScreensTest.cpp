// The engine's menu, splash and game screens and the Logic base.
#include "ScreenTestSupport.h"

#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "display/Image.h"
#include "display/SurfaceManager.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceType.h"
#include "screens/Dialog.h"
#include "screens/GameScreen.h"
#include "screens/MenuScreen.h"
#include "screens/ScreenManager.h"
#include "screens/SplashScreen.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

using namespace screentest;

namespace {

class EngineScreensTest : public ScreenTest
{
protected:
    void TearDown() override
    {
        if (Config* config = Config::GetCurrent()) {
            LuaPlus::LuaObject nil;
            nil.AssignNil(GetGlobalLuaState());
            for (const char* key : {"SiteName", "SiteLogoXPos", "SiteLogoYPos"})
                config->Set(key, nil);
        }
        ScreenTest::TearDown();
    }
    static void SetConfig(const std::string& key, const Variant& value)
    {
        Config::GetCurrent()->Set(key, value);
    }
};

} // namespace

TEST_F(EngineScreensTest, MenuEscapeQuitsWithAnyModifiersButNotOnOtherScreens)
{
    auto* menu = new MenuScreen("Menu", "");
    auto* splash = new SplashScreen("Splash", "");
    manager->AddScreen(menu);
    manager->AddScreen(splash);
    app->StartRunning();

    manager->SwitchToScreen("Splash");
    EXPECT_FALSE(app->OfferToScreens(KeyDown(SDLK_ESCAPE)));
    EXPECT_TRUE(app->IsRunning());

    manager->SwitchToScreen("Menu");
    EXPECT_FALSE(app->OfferToScreens(KeyDown(SDLK_q)));
    EXPECT_TRUE(app->IsRunning());
    EXPECT_TRUE(app->OfferToScreens(KeyDown(SDLK_ESCAPE, KMOD_LSHIFT)));
    EXPECT_FALSE(app->IsRunning());
}

TEST_F(EngineScreensTest, MenuQuitsOnQuitButtonAndOnAQuitDialogClosedWithOkay)
{
    auto* menu = new MenuScreen("Menu", "");
    manager->AddScreen(menu);
    manager->SwitchToScreen("Menu");
    app->StartRunning();

    // Closed with cancel: the program goes on, and the notice is not consumed.
    Dialog* ask = new Dialog(0);
    ask->ApplyStringProperty("name", "QuitDialog");
    ask->SetSize(400, 300);
    ask->CreateLowerButtons(DIALOGBUTTONS_OKAY_CANCEL);
    menu->StartDialog(ask, true);
    EXPECT_TRUE(ask->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, ask->GetChild("CancelButton"))));
    Event stopped = MakeEvent(MAKO_DIALOGSTOPPED, 0, static_cast<Object*>(ask));
    EXPECT_FALSE(menu->OnEvent(stopped));
    EXPECT_TRUE(app->IsRunning());
    // Closed with okay: it ends.
    ask->SetStopping(false);
    EXPECT_TRUE(ask->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, ask->GetChild("OkayButton"))));
    EXPECT_FALSE(menu->OnEvent(stopped));
    EXPECT_FALSE(app->IsRunning());

    app->StartRunning();
    std::unique_ptr<Button> quit(
        Button::Make("Button.png", "quit", "DejaVuSans.ttf", 20, 0, 0, "QuitButton", nullptr));
    Event click = MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(quit.get()));
    EXPECT_TRUE(menu->OnEvent(click));
    EXPECT_FALSE(app->IsRunning());
}

TEST_F(EngineScreensTest, SplashShowsTheVersionBottomLeftAndALogoOnlyForAKnownSite)
{
    {
        SplashScreen splash("Splash", "");
        EXPECT_EQ(nullptr, splash.GetChild("SiteLogo", false));
        Label* version = nullptr;
        for (Actor* child : splash.GetChildren())
            if (auto* label = dynamic_cast<Label*>(child))
                version = label;
        ASSERT_NE(nullptr, version);
        EXPECT_EQ(GetAppVersion(), version->GetText());
        EXPECT_EQ(7, version->GetX());
        EXPECT_EQ(480 - 3 - version->GetHeight(), version->GetY());
    }

    // A site whose logo picture exists: placed at the truncated position.
    auto* info = new ResourceInfo("lgositeabc.png", nullptr);
    info->SetResource(new Image(SurfaceManager::CreateSurface(8, 8, true), 0, nullptr));
    info->SetType(RESOURCE_IMAGE);
    GetResourceManager()->AddInfo("lgositeabc.png", info);
    SetConfig("SiteName", Variant(std::string("abc")));
    SetConfig("SiteLogoXPos", Variant(12.9));
    {
        SplashScreen splash("Splash", "");
        Actor* logo = splash.GetChild("SiteLogo", false);
        ASSERT_NE(nullptr, logo);
        EXPECT_EQ(12, logo->GetX());
        EXPECT_EQ(0, logo->GetY());
        EXPECT_EQ(8, logo->GetWidth());
    }

    // A site named without its picture starts anyway, without a logo, and says so.
    SetConfig("SiteName", Variant(std::string("nowhere")));
    std::string output;
    {
        bbtest::OutputCapture capture(1);
        SplashScreen splash("Splash", "");
        EXPECT_EQ(nullptr, splash.GetChild("SiteLogo", false));
        output = capture.Text();
    }
    EXPECT_NE(std::string::npos, output.find("lgositenowhere.png")) << output;

    // A site name that is not a text is refused.
    SetConfig("SiteName", Variant(3.0));
    EXPECT_NE(std::string::npos,
              MessageOf([] { SplashScreen splash("Splash", ""); }).find("v.IsString()"));
}

TEST_F(EngineScreensTest, StartButtonReportsToTheSplashAndAnswersSAndReturn)
{
    SplashScreen splash("Splash", "bkgSplash.jpg");
    splash.CreateStartButton("DejaVuSans-Bold.ttf", 28, 250, 395);
    auto* start = dynamic_cast<Button*>(splash.GetChild("StartButton", false));
    ASSERT_NE(nullptr, start);
    EXPECT_EQ(250, start->GetX());
    EXPECT_EQ(395, start->GetY());
    EXPECT_EQ('s', start->GetShortcutKey());
    EXPECT_EQ("start", start->GetLabel()->GetText());
    ASSERT_NE(nullptr, splash.GetBackground());
    EXPECT_NE(nullptr, splash.GetBackground()->GetImage());
}

TEST_F(EngineScreensTest, LogicBelongsToItsScreenAndCannotBeMadeByName)
{
    std::vector<std::string> log;
    auto* logic = new RecordingLogic(&log);
    GameScreen game("Game", "", logic);
    EXPECT_EQ(&game, logic->GetScreen());
    EXPECT_EQ(logic, game.GetLogic());
    EXPECT_FALSE(Logic::GetStaticClass()->CanInstantiate());
    EXPECT_THROW(Logic::GetStaticClass()->InstantiateDefault(), Exception);
}

TEST_F(EngineScreensTest, ButtonsAtAnyDepthReportToTheScreenOnceItListens)
{
    auto* menu = new MenuScreen("Menu", "");
    manager->AddScreen(menu);
    manager->SwitchToScreen("Menu");
    // A quit button inside a panel inside a panel: its click goes to the inner panel,
    // which does nothing with it, until the screen listens to the buttons.
    auto* outer = new Actor();
    auto* inner = new Actor();
    outer->AddChild(inner, "");
    Button* quit =
        Button::Make("Button.png", "quit", "DejaVuSans.ttf", 20, 0, 0, "QuitButton", nullptr);
    inner->AddChild(quit, "");
    menu->AddChild(outer, "");
    // Another panel that is not walked when the screen listens below `outer` only.
    auto* aside = new Actor();
    Button* other =
        Button::Make("Button.png", "x", "DejaVuSans.ttf", 20, 0, 0, "QuitButton", nullptr);
    aside->AddChild(other, "");
    menu->AddChild(aside, "");
    DispatchPosted();
    app->StartRunning();

    auto click = [this](Button* button) {
        ButtonClickLatch() = true;
        button->ReportClick();
        DispatchPosted();
    };
    click(quit);
    EXPECT_TRUE(app->IsRunning());

    menu->ListenToButtons(outer);
    click(other);
    EXPECT_TRUE(app->IsRunning());
    click(quit);
    EXPECT_FALSE(app->IsRunning());

    // With no root the whole screen is walked; listening twice reports once.
    app->StartRunning();
    menu->ListenToButtons();
    menu->ListenToButtons();
    click(other);
    EXPECT_FALSE(app->IsRunning());
}
