// Choosing, starting, keeping and replacing display backends, the fall-back from the
// Direct3D backend to SDL, and keeping the shown display when a new one is refused.
#include "display/DisplayManager.h"
#include "backends/BackendFixture.h"
#include "core/Exception.h"
#include "ddraw/ddraw.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayBackendSDL.h"

using namespace backendtest;

namespace {

// An SDL backend whose full-screen mode the display refuses.
class NoFullScreenBackend : public DisplayBackendSDL
{
public:
    void ApplyDisplayParams(const DisplayParams& params) override
    {
        if (params.fullscreen)
            MAKO_THROW(DisplayBackendInitError, "SDL_SetVideoMode refused full screen");
        DisplayBackendSDL::ApplyDisplayParams(params);
    }
};

// A Direct3D backend whose start finds no display to open, as on a machine without one.
class NoDisplayD3DBackend : public DisplayBackendD3D
{
public:
    void ApplyDisplayParams(const DisplayParams&) override
    {
        const bool result = false;
        MAKO_ASSERT_TYPED(DisplayBackendInitError, result == true,
                          "SDL_InitSubSystem(SDL_INIT_VIDEO) failed: Couldn't open X11 display");
    }
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool AllBlack(SDL_Surface* surface)
{
    for (std::uint32_t pixel : RgbPixels(surface))
        if (pixel != 0)
            return false;
    return true;
}

class DisplayManagerTest : public BackendTest
{
};

} // namespace

TEST_F(DisplayManagerTest, FailedDirect3DStartFallsBackToSDLOnceAndSaysSo)
{
    LogCapture log;
    DisplayManager manager;
    ddrawx::FailNext("CreateDevice", DDERR_GENERIC);
    DisplayParams params(false, true, 640, 480, true);
    ::testing::internal::CaptureStderr();
    manager.ApplyDisplayParams(params);
    // Whoever started the game reads one plain line: no check, no source place.
    EXPECT_EQ("The Direct3D display could not be started (Could not create Direct3D device "
              "with clsid=IID_IDirect3DHALDevice: DDERR_GENERIC); the game uses "
              "the SDL display.\n",
              ::testing::internal::GetCapturedStderr());

    EXPECT_FALSE(params.accel3d);
    ASSERT_NE(nullptr, dynamic_cast<DisplayBackendSDL*>(manager.GetBackend()));
    std::string text = log.Text();
    EXPECT_TRUE(Contains(text, "DisplayManager::ApplyDisplayParams: Called with 3daccel=ON, "
                               "fullscreen=OFF\n"));
    EXPECT_TRUE(Contains(text, "-------------------------------------------------------------"
                               "------------\nDisplayManager::ApplyDisplayParams: Error "
                               "initializing display:\nPARAMS: 3daccel=ON, fullscreen=OFF\n"
                               "EXCEPTION INFO:\n"));
    EXPECT_TRUE(Contains(text, "Could not create Direct3D device with "
                               "clsid=IID_IDirect3DHALDevice: "));
    EXPECT_TRUE(Contains(text, "DisplayManager::ApplyDisplayParams: Deleting uninitialized "
                               "backend.\n"));
    EXPECT_TRUE(Contains(text, "DisplayManager::ApplyDisplayParams: Trying to reinitialize "
                               "display without 3D acceleration.\n"));
    EXPECT_TRUE(Contains(text, "DisplayManager::ApplyDisplayParams: Success, "
                               "backend=\"DisplayBackendSDL\", 3daccel=OFF, fullscreen=OFF\n"));
    // Nothing of the failed Direct3D start is left behind.
    EXPECT_EQ(0, ddrawx::LiveObjectCount());

    // A failed check of the start: the log keeps it whole, the line gives only its message.
    DisplayManager noDisplay;
    noDisplay.SetBackendFactory([](const DisplayParams& asked) -> DisplayBackend* {
        if (asked.accel3d)
            return new NoDisplayD3DBackend();
        return new DisplayBackendSDL();
    });
    DisplayParams again(false, true, 640, 480, false);
    ::testing::internal::CaptureStderr();
    noDisplay.ApplyDisplayParams(again);
    EXPECT_EQ("The Direct3D display could not be started (SDL_InitSubSystem(SDL_INIT_VIDEO) "
              "failed: Couldn't open X11 display); the game uses the SDL display.\n",
              ::testing::internal::GetCapturedStderr());
    EXPECT_TRUE(Contains(log.Text(), "Assertion failed: (result == true)\nMessage: "
                                     "SDL_InitSubSystem(SDL_INIT_VIDEO) failed"));
}

TEST_F(DisplayManagerTest, SwitchesKeepTheBackendOfTheSameKindAndClearToBlack)
{
    LogCapture log;
    DisplayManager manager;
    DisplayParams params(false, true, 640, 480, false);
    manager.ApplyDisplayParams(params);
    DisplayBackend* d3d = manager.GetBackend();
    ASSERT_NE(nullptr, dynamic_cast<DisplayBackendD3D*>(d3d));
    EXPECT_TRUE(Contains(log.Text(), "DisplayManager::CreateAndInitBackend: Deleting "
                                     "m_DisplayBackend\n"));
    EXPECT_TRUE(Contains(log.Text(), "DisplayBackendD3D::ApplyDisplayParams: Creating a "
                                     "Direct3D device with clsid=\"IID_IDirect3DHALDevice\"\n"));

    for (bool fullscreen : {true, false}) {
        // Something drawn before the switch must not survive it.
        SDL_Rect rect = MakeRect(10, 10, 100, 100);
        manager.GetImageRenderer()->DrawRect(&rect, Palette::White, true);
        manager.Flip();
        DisplayParams next(fullscreen, true, 640, 480, false);
        manager.ApplyDisplayParams(next);
        EXPECT_EQ(d3d, manager.GetBackend());
        EXPECT_EQ(fullscreen, next.fullscreen);
        SDL_Surface* shot = manager.GetScreenshotSurface();
        ASSERT_NE(nullptr, shot);
        EXPECT_EQ(640, shot->w);
        EXPECT_TRUE(AllBlack(shot));
    }

    // Changing the kind replaces the backend, the old one going first.
    DisplayParams software(false, false, 640, 480, false);
    manager.ApplyDisplayParams(software);
    auto* sdl = dynamic_cast<DisplayBackendSDL*>(manager.GetBackend());
    ASSERT_NE(nullptr, sdl);
    EXPECT_TRUE(AllBlack(sdl->GetDisplaySurface()));
    EXPECT_EQ(0, ddrawx::LiveObjectCount());
    DisplayParams fullscreen(true, false, 640, 480, false);
    manager.ApplyDisplayParams(fullscreen);
    EXPECT_EQ(sdl, manager.GetBackend());
    EXPECT_TRUE(manager.IsCurrentDisplayValid());
}

TEST_F(DisplayManagerTest, RefusedModeKeepsThePreviousDisplayAndFirstFailureReports)
{
    DisplayManager manager;
    manager.SetBackendFactory(
        [](const DisplayParams&) -> DisplayBackend* { return new NoFullScreenBackend(); });
    DisplayParams windowed(false, false, 640, 480, false);
    manager.ApplyDisplayParams(windowed);

    LogCapture log;
    DisplayParams fullscreen(true, false, 640, 480, false);
    manager.ApplyDisplayParams(fullscreen); // no exception: the window comes back
    EXPECT_FALSE(fullscreen.fullscreen);
    ASSERT_NE(nullptr, manager.GetImageRenderer());
    auto* backend = dynamic_cast<DisplayBackendSDL*>(manager.GetBackend());
    ASSERT_NE(nullptr, backend);
    ASSERT_NE(nullptr, backend->GetDisplaySurface());
    EXPECT_EQ(0u, backend->GetDisplaySurface()->flags & SDL_FULLSCREEN);
    EXPECT_TRUE(Contains(log.Text(), "SDL_SetVideoMode refused full screen"));

    // Without a display shown before, a refused start is final.
    DisplayManager fresh;
    fresh.SetBackendFactory(
        [](const DisplayParams&) -> DisplayBackend* { return new NoFullScreenBackend(); });
    DisplayParams first(true, false, 640, 480, false);
    try {
        fresh.ApplyDisplayParams(first);
        FAIL() << "a display nobody can show was reported as shown";
    } catch (const Exception& error) {
        EXPECT_TRUE(Contains(error.GetMessage(),
                             "Could not initialize display. It could not be started in any of "
                             "the modes tried."));
    }
    EXPECT_EQ(nullptr, fresh.GetBackend());
}

// The application takes the window from the manager after each apply: only a window that
// survived the apply, once, and none when the running window was kept.
TEST_F(DisplayManagerTest, OnlyALiveNewWindowIsHandedOverAndOnlyOnce)
{
    {
        DisplayManager manager;
        ddrawx::FailNext("CreateDevice", DDERR_GENERIC);
        DisplayParams params(false, true, 640, 480, false);
        manager.ApplyDisplayParams(params); // Direct3D makes a window, fails, SDL makes another
        auto* sdl = dynamic_cast<DisplayBackendSDL*>(manager.GetBackend());
        ASSERT_NE(nullptr, sdl);
        HWND window = manager.TakeNewWindow();
        EXPECT_NE(nullptr, window);
        EXPECT_EQ(sdl->GetWindowHandle(), window);
        EXPECT_EQ(nullptr, manager.TakeNewWindow());

        DisplayParams fullscreen(true, false, 640, 480, false);
        manager.ApplyDisplayParams(fullscreen); // same driver: the window stays
        EXPECT_EQ(nullptr, manager.TakeNewWindow());
    } // its window goes with it

    // A refused mode whose backend goes: the previous display comes back in a new window.
    DisplayManager refusing;
    refusing.SetBackendFactory(
        [](const DisplayParams&) -> DisplayBackend* { return new NoFullScreenBackend(); });
    DisplayParams windowed(false, false, 640, 480, false);
    refusing.ApplyDisplayParams(windowed);
    EXPECT_NE(nullptr, refusing.TakeNewWindow());
    DisplayParams refused(true, false, 640, 480, false);
    refusing.ApplyDisplayParams(refused);
    auto* restored = dynamic_cast<DisplayBackendSDL*>(refusing.GetBackend());
    ASSERT_NE(nullptr, restored);
    EXPECT_EQ(restored->GetWindowHandle(), refusing.TakeNewWindow());
}

TEST_F(DisplayManagerTest, WithoutABackendMessagesGoToTheDefaultAndValidityFails)
{
    DisplayManager manager;
    EXPECT_EQ(0, manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0));
    EXPECT_EQ(nullptr, manager.GetImageRenderer());
    EXPECT_EQ(nullptr, manager.GetScreenshotSurface());
    EXPECT_THROW(manager.IsCurrentDisplayValid(), Exception);
}

TEST_F(DisplayManagerTest, MinimisingFromFullScreenSavesTheModeOnceAndRestoresIt)
{
    LogCapture log;
    DisplayManager manager;
    DisplayParams params(true, false, 640, 480, false);
    manager.ApplyDisplayParams(params);
    manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(Contains(log.Text(), "DisplayBackendSDL::HandleWindowsMessage: Attempting to "
                                     "restore desktop's resolution.\n"));
    // A second minimise while the mode is saved is a fault of the caller.
    EXPECT_THROW(manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0), Exception);
    const std::uint64_t losses = manager.GetBackend()->GetDisplayLosses();
    manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_TRUE(Contains(log.Text(), "Attempting to switch back to fullscreen app (from "
                                     "desktop.)\n"));
    // The mode put back counts as a lost display: the next frame is drawn whole.
    EXPECT_EQ(losses + 1, manager.GetBackend()->GetDisplayLosses());
    manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0); // saved again
}
