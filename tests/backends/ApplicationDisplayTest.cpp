// The application's display side: the display made through the display manager in either
// backend, full-screen switches, screenshots of what was presented, the frame-rate
// read-out and the window messages made from SDL's focus events.
#include "app/ArcadeApp.h"
#include "backends/BackendFixture.h"
#include "display/Canvas.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayBackendSDL.h"
#include "display/DisplayManager.h"
#include "display/FrameRecorder.h"
#include "display/PointerGrab.h"
#include "screens/FPSCounter.h"

#include <dirent.h>

using namespace backendtest;

namespace {

class DisplayApp : public ArcadeApp
{
public:
    using Application::ApplyDisplayMode;
    using Application::InitDisplayManager;
    using Application::PresentFrame;
    using Application::RebuildDisplayIfRequested;
    void Prepare()
    {
        SetDefaultProperties();
        InitPaths();
        InitDisplayManager();
    }
    void RequestToggle() { m_DisplayToggleRequested = true; }
    bool IsFullScreen() const { return m_FullScreen; }
    bool IsMinimized() const { return m_Minimized; }
};

std::vector<std::string> Screenshots(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.find("_Screenshot-") != std::string::npos)
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

class ApplicationDisplayTest : public BackendTest
{
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        GetPostedEventQueue().Clear();
        m_App.reset(new DisplayApp());
        m_App->Prepare();
    }
    void TearDown() override
    {
        m_App.reset();
        GetPostedEventQueue().Clear();
        BackendTest::TearDown();
    }

    std::unique_ptr<DisplayApp> m_App;
};

} // namespace

TEST_F(ApplicationDisplayTest, ScreenshotsHoldWhatWasPresentedInEitherBackend)
{
    for (bool accel : {false, true}) {
        m_App->SetHWAccelEnabled(accel);
        m_App->UseWindowedScreen(640, 480, 32);
        ASSERT_EQ(accel, m_App->IsHWAccelEnabled());
        Canvas* canvas = m_App->GetMainCanvas();
        ASSERT_NE(nullptr, canvas);
        canvas->FillRect(MakeRect(0, 0, 640, 480), Color::FromRGBA(0, 0, 255, 255));
        canvas->FillRect(MakeRect(100, 50, 20, 10), Color::FromRGBA(255, 128, 0, 255));
        m_App->RequestScreenshot();
        m_App->Draw();
        m_App->PresentFrame();

        std::vector<std::string> names = Screenshots(m_App->GetDocumentsFolder());
        ASSERT_EQ(accel ? 2u : 1u, names.size());
        std::string path = m_App->GetDocumentsFolder() + m_App->GetAppName() + "_Screenshot-000" +
                           (accel ? "1" : "0") + ".bmp";
        SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
        ASSERT_NE(nullptr, loaded) << path;
        SDL_Surface* shot = SDL_ConvertSurface(loaded, SDL_GetVideoSurface()->format, 0);
        SDL_FreeSurface(loaded);
        ASSERT_NE(nullptr, shot);
        EXPECT_EQ(640, shot->w);
        EXPECT_EQ(480, shot->h);
        EXPECT_EQ(RgbPixels(SDL_GetVideoSurface()), RgbPixels(shot));
        EXPECT_EQ(0xFF8000u, PixelAt(shot, 100, 50) & 0xFFFFFFu);
        EXPECT_EQ(0x0000FFu, PixelAt(shot, 99, 50) & 0xFFFFFFu);
        SDL_FreeSurface(shot);
    }
}

TEST_F(ApplicationDisplayTest, AltReturnTwiceSwitchesToFullScreenAndBackOnOneBackend)
{
    m_App->UseWindowedScreen(640, 480, 32);
    DisplayManager* manager = m_App->GetDisplayManager();
    DisplayBackend* backend = manager->GetBackend();
    ASSERT_NE(nullptr, dynamic_cast<DisplayBackendSDL*>(backend));
    for (bool expected : {true, false}) {
        m_App->RequestToggle();
        m_App->RebuildDisplayIfRequested();
        EXPECT_EQ(expected, m_App->IsFullScreen());
        EXPECT_EQ(backend, manager->GetBackend());
        EXPECT_EQ(expected, (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) != 0);
        ASSERT_NE(nullptr, m_App->GetMainCanvas());
    }
    // A changed acceleration setting rebuilds the display with the other backend.
    m_App->SetHWAccelEnabled(true);
    m_App->RebuildDisplayIfRequested();
    EXPECT_NE(nullptr, dynamic_cast<DisplayBackendD3D*>(manager->GetBackend()));
    EXPECT_FALSE(m_App->IsFullScreen());
}

TEST_F(ApplicationDisplayTest, FocusEventsBecomeWindowMessages)
{
    m_App->UseFullScreen(640, 480, 32);
    Event event{};
    event.type = SDL_ACTIVEEVENT;
    event.active.gain = 0;
    event.active.state = SDL_APPACTIVE;
    m_App->OnEvent(event);
    EXPECT_TRUE(m_App->IsMinimized());
    event.active.gain = 1;
    m_App->OnEvent(event);
    EXPECT_FALSE(m_App->IsMinimized());
}

// A window exposed after being covered has its next frame drawn and presented whole, though
// nothing of the game's drawing changed.
TEST_F(ApplicationDisplayTest, AnExposedWindowGetsItsNextFrameWhole)
{
    m_App->UseWindowedScreen(640, 480, 32);
    DisplayManager* manager = m_App->GetDisplayManager();
    SDL_Rect spot = MakeRect(10, 10, 20, 20);
    auto frame = [&] {
        manager->GetImageRenderer()->DrawRect(&spot, Palette::White, true);
        manager->Flip();
        return manager->GetRecorder()->GetRegion().GetArea();
    };
    frame();
    EXPECT_EQ(0, frame()); // unchanged
    Event expose{};
    expose.type = SDL_VIDEOEXPOSE;
    m_App->OnEvent(expose);
    EXPECT_EQ(640 * 480, frame());
    EXPECT_EQ(0, frame());
}

TEST_F(ApplicationDisplayTest, FrameRateCaptionFollowsTheBackendInUse)
{
    std::vector<Image*> glyphs;
    for (int i = 0; i < NumericalStatDisplay::kGlyphCount; ++i)
        glyphs.push_back(new Image(10, 12, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0)));
    auto caption = [](const std::string&) {
        return new Image(40, 12, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
    };
    m_App->SetHWAccelEnabled(true);
    m_App->UseWindowedScreen(640, 480, 32);
    FPSCounter counter(glyphs, caption, [] { return 1u; });
    EXPECT_EQ("HW: ", counter.GetCaptionText());
    m_App->SetHWAccelEnabled(false);
    m_App->UseWindowedScreen(640, 480, 32);
    Event change{};
    change.type = MAKO_DISPLAYCHANGE;
    EXPECT_FALSE(counter.OnEvent(change));
    EXPECT_EQ("SW: ", counter.GetCaptionText());
}

// The application takes each window the display makes, once: the window is its own and
// the screens hear of it once; a mode switch that keeps the window says nothing.
TEST_F(ApplicationDisplayTest, EachNewWindowIsTakenOnceWithOneResetNotice)
{
    auto resets = [] {
        int count = 0;
        Event event;
        while (GetPostedEventQueue().Take(event)) {
            count += event.type == MAKO_RESETWINDOW;
            EventQueue::ReleaseEventData(event);
        }
        return count;
    };
    m_App->UseWindowedScreen(640, 480, 32);
    auto* sdl = dynamic_cast<DisplayBackendSDL*>(m_App->GetDisplayManager()->GetBackend());
    ASSERT_NE(nullptr, sdl);
    EXPECT_EQ(static_cast<void*>(sdl->GetWindowHandle()), m_App->GetWindowHandle());
    EXPECT_EQ(1, resets());

    m_App->UseFullScreen(640, 480, 32);
    EXPECT_EQ(0, resets());

    // The other backend starts video afresh: a new window.
    m_App->SetHWAccelEnabled(true);
    m_App->UseWindowedScreen(640, 480, 32);
    ASSERT_NE(nullptr, dynamic_cast<DisplayBackendD3D*>(m_App->GetDisplayManager()->GetBackend()));
    EXPECT_NE(nullptr, m_App->GetWindowHandle());
    EXPECT_EQ(1, resets());
}

TEST_F(ApplicationDisplayTest, AGrabTheWindowSystemRefusesIsAskedForAgainLaterWithoutWaiting)
{
    m_App->UseWindowedScreen(640, 480, 32);
    PointerGrab::RefuseForTests(true);
    EXPECT_FALSE(m_App->GrabInput(true));
    // Asked once: a retry in place (with sleeps between) would ask again before returning.
    EXPECT_EQ(1, PointerGrab::RefusalsForTests());
    // Refused: it waits, and counts as grabbed for whoever saves the input state.
    EXPECT_TRUE(m_App->IsGrabPending());
    EXPECT_TRUE(m_App->IsInputGrabbed());
    for (unsigned pass = 0; pass < 2 * DisplayApp::kGrabRetryPasses; ++pass)
        m_App->RetryPendingGrab();
    EXPECT_TRUE(m_App->IsGrabPending());
    EXPECT_EQ(3, PointerGrab::RefusalsForTests()); // once more every kGrabRetryPasses passes

    // Granted again: a later pass grabs and the wait ends.
    PointerGrab::RefuseForTests(false);
    for (unsigned pass = 0; pass < DisplayApp::kGrabRetryPasses; ++pass)
        m_App->RetryPendingGrab();
    EXPECT_FALSE(m_App->IsGrabPending());

    // A release while a grab waits ends the wait too.
    PointerGrab::RefuseForTests(true);
    m_App->GrabInput(true);
    EXPECT_TRUE(m_App->GrabInput(false));
    EXPECT_FALSE(m_App->IsGrabPending());
    PointerGrab::RefuseForTests(false);
}
