// Dialogs on a screen: start and stop with their notices, dimming, pausing, input held
// by the top dialog, lower buttons and titles, clicks that close, and double stops.
#include "ScreenTestSupport.h"

#include "core/Config.h"
#include "lua/Variant.h"
#include "screens/Dialog.h"
#include "screens/ScreenManager.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <algorithm>

using namespace screentest;

namespace {

class DialogTest : public ScreenTest
{
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        if (IsSkipped())
            return;
        logic = new RecordingLogic(&log);
        screen = new RecordingScreen("Game", &log, logic);
        manager->AddScreen(screen);
        manager->SwitchToScreen("Game");
        DispatchPosted();
        TakePostedTypes();
    }

    static Dialog* NewDialog(const std::string& name, int width, int height,
                             std::uint32_t flags = 0)
    {
        Dialog* dialog = new Dialog(flags);
        dialog->ApplyStringProperty("name", name);
        dialog->SetSize(width, height);
        return dialog;
    }

    static Event Click(Object* button) { return MakeEvent(MAKO_BUTTONCLICK, 0, button); }

    std::vector<std::string> log;
    RecordingLogic* logic = nullptr;
    RecordingScreen* screen = nullptr;
};

bool Contains(const std::vector<int>& types, int type)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

} // namespace

TEST_F(DialogTest, LifeCycleCentresDimsPausesAndDeletesAfterTheStoppedNotice)
{
    Dialog* dialog = NewDialog("Ask", 300, 200);
    screen->StartDialog(dialog, true);
    EXPECT_EQ(170, dialog->GetX());
    EXPECT_EQ(140, dialog->GetY());
    EXPECT_EQ(1001, dialog->GetZOrder());
    EXPECT_EQ(dialog, screen->GetTopDialog(""));
    EXPECT_TRUE(screen->GetDialogOverlay()->IsVisible());
    EXPECT_TRUE(app->GamePauseAsked());
    EXPECT_TRUE(app->IsDialogVisible());

    screen->StopDialog("Ask");
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_TRUE(screen->IsChild(dialog)); // until the delete notice arrives
    EXPECT_FALSE(app->GamePauseAsked());
    DispatchPosted();
    const std::vector<int> types = TakePostedTypes();
    EXPECT_TRUE(Contains(types, MAKO_DIALOGSTARTED));
    EXPECT_TRUE(Contains(types, MAKO_DIALOGSTOPPED));
    EXPECT_TRUE(screen->GetDialogs().empty());
    EXPECT_FALSE(screen->GetDialogOverlay()->IsVisible());
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     screen->GetTopDialog("");
                                 }).find("Assertion failed: (m_Dialogs.empty() == false)"));
}

TEST_F(DialogTest, TopDialogTakesInputFirstAndTheGameStaysPausedWhileOneIsVisible)
{
    Dialog* first = NewDialog("First", 200, 100, DIALOGFLAG_NO_OVERLAY);
    screen->StartDialog(first, true);
    EXPECT_FALSE(screen->GetDialogOverlay()->IsVisible()); // bit 2: no dimming
    first->AddChild(new KeyActor("firstChild", &log, 0, false), "");
    Dialog* second = NewDialog("Second", 200, 100);
    screen->StartDialog(second, true);
    EXPECT_TRUE(screen->GetDialogOverlay()->IsVisible());
    second->AddChild(new KeyActor("secondChild", &log, 0, false), "");
    EXPECT_EQ(second, screen->GetTopDialog(""));
    EXPECT_EQ(first, screen->GetTopDialog("First"));
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     screen->GetTopDialog("Third");
                                 }).find("Cannot find dialog with name=Third\n"));

    // A key nobody consumes stops at the top dialog: neither the screen nor the logic
    // hears it. A timer event passes through to them.
    log.clear();
    EXPECT_TRUE(app->OfferToScreens(KeyDown(SDLK_a)));
    EXPECT_EQ(std::vector<std::string>{"secondChild:key"}, log);
    log.clear();
    Event timer = MakeEvent(MAKO_TIMER, 0, nullptr, nullptr);
    EXPECT_FALSE(app->OfferToScreens(timer));
    EXPECT_EQ((std::vector<std::string>{"Game:timer", "logic:timer"}), log);

    screen->StopDialog(second);
    EXPECT_TRUE(app->GamePauseAsked());
    DispatchPosted();
    EXPECT_EQ(first, screen->GetTopDialog(""));
    EXPECT_FALSE(screen->GetDialogOverlay()->IsVisible());
    screen->StopDialog(first);
    EXPECT_FALSE(app->GamePauseAsked());
}

// The pause belongs to the shown screen's dialogs: leaving a screen whose pausing dialog is
// still open does not leave the next screen (a game started from it) paused for good; a
// screen shown again with its dialog still open does not resume by itself.
TEST_F(DialogTest, AScreenLeftWithAPausingDialogOpenTakesItsPauseWithIt)
{
    RecordingScreen* other = new RecordingScreen("Other", &log, nullptr);
    manager->AddScreen(other);
    screen->StartDialog(NewDialog("Ask", 300, 200), true);
    ASSERT_TRUE(app->GamePauseAsked());
    manager->SwitchToScreen("Other");
    DispatchPosted();
    EXPECT_FALSE(app->GamePauseAsked());

    other->StartDialog(NewDialog("Tip", 200, 100), true);
    manager->SwitchToScreen("Other"); // shown again: its own dialog still holds the pause
    EXPECT_TRUE(app->GamePauseAsked());
}

TEST_F(DialogTest, StopByNameAndClosingClickInOnePassDeleteTheDialogOnce)
{
    Dialog* dialog = NewDialog("Ask", 400, 400);
    dialog->CreateLowerButtons(DIALOGBUTTONS_OKAY);
    screen->StartDialog(dialog, false);
    Button* okay = dynamic_cast<Button*>(dialog->GetChild("OkayButton"));
    ASSERT_NE(nullptr, okay);

    screen->StopDialog("Ask");
    EXPECT_TRUE(dialog->OnEvent(Click(okay))); // a click arriving in the same pass
    EXPECT_EQ(okay, dialog->GetClickedButton());
    DispatchPosted();
    const std::vector<int> types = TakePostedTypes();
    EXPECT_EQ(1, std::count(types.begin(), types.end(), MAKO_DIALOGSTOPPED));
    EXPECT_TRUE(screen->GetDialogs().empty());
    EXPECT_EQ(nullptr, screen->GetChild("Ask", false));

    // A stale delete notice for a dialog no longer open is ignored without touching it.
    Event stale = MakeEvent(MAKO_DIALOGDELETE, 0, static_cast<Object*>(dialog));
    EXPECT_TRUE(screen->OnEvent(stale));
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     screen->StopDialog("Ask");
                                 }).find("Could not find dialog with name=\"Ask\""));
    screen->AddChild(new Actor(), "");
    Actor* plain = new Actor();
    plain->ApplyStringProperty("name", "Plain");
    screen->AddChild(plain, "");
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     screen->StopDialog("Plain");
                                 }).find("dynamic_cast<_leftT>(var) != 0"));
}

TEST_F(DialogTest, LowerButtonsAreLaidOutInACentredRowAndReplacedBySets)
{
    Dialog* dialog = NewDialog("Ask", 400, 400);
    dialog->CreateLowerButtons(DIALOGBUTTONS_OKAY_CANCEL);
    Actor* okay = dialog->GetChild("OkayButton");
    Actor* cancel = dialog->GetChild("CancelButton");
    ASSERT_NE(nullptr, okay);
    ASSERT_NE(nullptr, cancel);
    // The pack's push buttons are 128 x 44; the offset lifts the row by 20.
    ASSERT_EQ(128, okay->GetWidth());
    ASSERT_EQ(44, okay->GetHeight());
    EXPECT_EQ(56, okay->GetX());
    EXPECT_EQ(216, cancel->GetX());
    EXPECT_EQ(336, okay->GetY());
    EXPECT_EQ(336, cancel->GetY());

    dialog->CreateLowerButtons(DIALOGBUTTONS_YES_NO);
    ASSERT_EQ(2u, dialog->GetLowerButtons().size());
    EXPECT_EQ("yes", dialog->GetLowerButtons().front()->GetLabel()->GetText());
    EXPECT_EQ("no", dialog->GetLowerButtons().back()->GetLabel()->GetText());
    EXPECT_EQ(56, dialog->GetLowerButtons().front()->GetX());

    dialog->CreateLowerButtons(DIALOGBUTTONS_OKAY);
    ASSERT_EQ(1u, dialog->GetLowerButtons().size());
    EXPECT_EQ(136, dialog->GetLowerButtons().front()->GetX()); // alone, centred

    dialog->CreateLowerButtons(7);
    EXPECT_TRUE(dialog->GetLowerButtons().empty());
    EXPECT_EQ(nullptr, dialog->GetChild("OkayButton"));
    delete dialog;
}

TEST_F(DialogTest, ClicksAreRememberedAndCloseOnlyWhenTheButtonSaysSo)
{
    Dialog* dialog = NewDialog("Ask", 400, 300);
    dialog->CreateLowerButtons(DIALOGBUTTONS_OKAY_CANCEL);
    Button* extra =
        Button::Make("Button.png", "more", "DejaVuSans.ttf", 20, 10, 10, "More", nullptr);
    dialog->AddChild(extra, "");
    screen->StartDialog(dialog, true);

    EXPECT_TRUE(dialog->OnEvent(Click(extra)));
    EXPECT_EQ(extra, dialog->GetClickedButton());
    EXPECT_TRUE(dialog->IsVisible());

    // A button of another actor is none of the dialog's business.
    std::unique_ptr<Button> stranger(
        Button::Make("Button.png", "", "DejaVuSans.ttf", 20, 0, 0, "Stranger", nullptr));
    EXPECT_FALSE(dialog->OnEvent(Click(stranger.get())));

    Object* cancel = dialog->GetChild("CancelButton");
    EXPECT_TRUE(dialog->OnEvent(Click(cancel)));
    EXPECT_EQ(cancel, dialog->GetClickedButton());
    EXPECT_FALSE(dialog->IsVisible());
}

TEST_F(DialogTest, AClosingClickOnADialogOutsideAScreenRaisesInsteadOfCrashing)
{
    // On no parent at all.
    std::unique_ptr<Dialog> loose(NewDialog("Loose", 400, 300));
    loose->CreateLowerButtons(DIALOGBUTTONS_OKAY);
    Object* okay = loose->GetChild("OkayButton");
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     loose->OnEvent(Click(okay));
                                 }).find("dynamic_cast<_leftT>(var) != 0"));
    EXPECT_EQ(okay, loose->GetClickedButton());

    // Inside a plain actor of the screen.
    Dialog* nested = NewDialog("Nested", 400, 300);
    nested->CreateLowerButtons(DIALOGBUTTONS_OKAY);
    auto* panel = new Actor();
    panel->AddChild(nested, "");
    screen->AddChild(panel, "");
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     nested->OnEvent(Click(nested->GetChild("OkayButton")));
                                 }).find("dynamic_cast<_leftT>(var) != 0"));
    EXPECT_TRUE(nested->IsVisible());
}

TEST_F(DialogTest, ReturnAndEscapeClickTheSingleOkayButtonAndListenersHearWhichClosedIt)
{
    for (SDLKey key : {SDLK_RETURN, SDLK_ESCAPE}) {
        Dialog* dialog = NewDialog("Ask", 400, 300);
        dialog->CreateLowerButtons(DIALOGBUTTONS_OKAY);
        screen->StartDialog(dialog, false);
        ButtonClickLatch() = true;
        app->OfferToScreens(KeyDown(key));
        app->OfferToScreens(KeyUp(key));
        for (int i = 0; i < 5 && !screen->GetDialogs().empty(); ++i)
            DispatchPosted();
        EXPECT_TRUE(screen->GetDialogs().empty()) << key;
    }
    EXPECT_EQ((std::vector<std::string>{"Ask:OkayButton", "Ask:OkayButton"}), screen->stopped);
}

TEST_F(DialogTest, TitlesAreReplacedNotHiddenAndOffsetOnce)
{
    Dialog* dialog = NewDialog("Ask", 400, 300);
    screen->StartDialog(dialog, false);
    dialog->ApplyProperty("titleAlignmentOffset", Table("{5, 7}"));
    dialog->ApplyStringProperty("title", "First");
    Label* first = dialog->GetTitle();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("First", first->GetText());
    EXPECT_EQ((400 >> 1) - (first->GetWidth() >> 1) + 5, first->GetX());
    EXPECT_EQ(32 + 7, first->GetY());

    dialog->ApplyStringProperty("title", "Second");
    Label* second = dialog->GetTitle();
    EXPECT_NE(first, second);
    EXPECT_TRUE(first->IsDead());
    EXPECT_EQ(nullptr, first->GetParent());
    EXPECT_EQ(32 + 7, second->GetY());
    EXPECT_EQ("Second", dialog->RetrieveStringProperty("title"));

    // A second offset moves the existing title once more.
    dialog->ApplyProperty("titleAlignmentOffset", Table("{5, 7}"));
    EXPECT_EQ(32 + 14, second->GetY());
}
