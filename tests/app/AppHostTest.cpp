// The host the engine's lower layers reach the application through: who is installed
// when, and what the lower layers read and ask of it; and the one pass order the main
// loop and the test harness share.
#include "core/AppHost.h"
#include "app/AppTestSupport.h"
#include "app/MainLoopPass.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"
#include "screens/Screen.h"
#include "support/engine/PassHarness.h"
#include "widgets/WidgetInput.h"

#include <string>
#include <vector>

using namespace apptest;

namespace {

using AppHostTest = AppTest;

// Records the phases of each pass; the pause and the minimised window are the test's.
class PhaseRecorder : public MainLoopPass
{
public:
    std::vector<std::string> phases;
    bool paused = false;
    bool minimised = false;

protected:
    bool BeginPass() override
    {
        Add("begin");
        return false;
    }
    void PrepareEvents() override { Add("prepare"); }
    void DispatchPassEvents() override { Add("events"); }
    bool IsPausedPass() const override { return paused; }
    void WaitWhilePaused() override { Add("wait"); }
    void UpdatePassTimers() override { Add("timers"); }
    void TickPass() override { Add("tick"); }
    void PrepareDisplay() override { Add("display"); }
    bool IsFrameShown() const override { return !minimised; }
    void DrawPass() override { Add("draw"); }
    void PresentPass() override { Add("present"); }
    void HoldPass() override { Add("hold"); }
    void EndPassFrame() override { Add("end"); }
    void DeletePassObjects() override { Add("delete"); }
    void PacePass() override { Add("pace"); }
    void FinishPass(bool pausedPass) override { Add(pausedPass ? "finish paused" : "finish"); }

private:
    void Add(const char* phase) { phases.push_back(phase); }
};

} // namespace

TEST_F(AppHostTest, TheApplicationIsTheHostWhileItLivesAndAHarnessStandsInForItsTime)
{
    AppHost* appHost = app.get();
    EXPECT_EQ(appHost, GetAppHost());
    {
        bbtest::PassHarness passes;
        EXPECT_EQ(static_cast<AppHost*>(&passes), GetAppHost());
        // Lower layers now see the harness: no key tips, its own timers for the scene.
        EXPECT_EQ(&passes.Timers(), SceneHost::GetTimerManager());
        EXPECT_FALSE(WidgetInput::AreKeyTipsArmed());
    }
    EXPECT_EQ(appHost, GetAppHost());

    // What the screens and widgets read comes from the application.
    app->SetFlags(APPFLAG_SHORTCUTS_ARMED | APPFLAG_GAME_PAUSED);
    EXPECT_TRUE(WidgetInput::AreKeyTipsArmed());
    EXPECT_TRUE(SceneHost::IsGamePaused());
    EXPECT_EQ(app->GetWidth(), GetScreenWidth());
    EXPECT_EQ(app->GetHeight(), GetScreenHeight());
    app->SetFlags(0);
    EXPECT_FALSE(SceneHost::IsGamePaused());

    // A killed actor waits in the application's list until its frame is over.
    Actor* doomed = new Actor();
    doomed->Kill();
    EXPECT_EQ(0, SceneHost::GetScheduledActorCount());
    app->DeleteDeadActors();

    app.reset();
    EXPECT_EQ(nullptr, GetAppHost());
}

TEST_F(AppHostTest, TimersWithoutATargetSignalTheHostThatMadeThem)
{
    app->MakeTimers();
    TimerManager& timers = *app->GetTimerManager();
    timers.CreateTimer(nullptr, 32, 1, TIMER_LIMITED_TO_FRAMERATE);
    timers.Update();
    EXPECT_EQ(1, app->Count(MAKO_TIMER));

    // Under the harness they are application events the test can count.
    bbtest::PassHarness passes;
    passes.Timers().CreateTimer(nullptr, 64, 2, TIMER_LIMITED_TO_FRAMERATE);
    passes.Step(4);
    EXPECT_EQ(2, passes.CountApplicationEvents(MAKO_TIMER));
    EXPECT_EQ(1, app->Count(MAKO_TIMER));
}

TEST(MainLoopPassOrder, PausedAndMinimisedPassesSkipTheirPhasesInTheSharedOrder)
{
    PhaseRecorder pass;
    pass.RunPass();
    EXPECT_EQ(
        (std::vector<std::string>{"begin", "prepare", "events", "timers", "tick", "display", "draw",
                                  "present", "hold", "end", "delete", "pace", "finish"}),
        pass.phases);

    // A minimised window draws nothing but the game goes on (and frame stepping holds).
    pass.phases.clear();
    pass.minimised = true;
    pass.RunPass();
    EXPECT_EQ((std::vector<std::string>{"begin", "prepare", "events", "timers", "tick", "display",
                                        "hold", "end", "delete", "pace", "finish"}),
              pass.phases);

    // A paused pass only takes events, waits, ends and deletes; it is not paced.
    pass.phases.clear();
    pass.paused = true;
    pass.RunPass();
    EXPECT_EQ((std::vector<std::string>{"begin", "prepare", "events", "wait", "end", "delete",
                                        "finish paused"}),
              pass.phases);
}
