// The software backend's start-up and window handling as the log shows them: the lines of
// a first start, of a switch that keeps SDL video running, and of the full-screen window
// being minimised and restored; and which driver start counts as running.
#include "backends/BackendFixture.h"
#include "core/Exception.h"
#include "display/DisplayBackendSDL.h"
#include "display/DisplayManager.h"
#include "display/DisplayUtils.h"

using namespace backendtest;

namespace {

// The log from the first line that starts with `from` on.
std::string From(const std::string& text, const std::string& from)
{
    std::size_t at = text.find(from);
    return at == std::string::npos ? std::string() : text.substr(at);
}

class SDLBackendStartTest : public BackendTest
{
};

} // namespace

TEST_F(SDLBackendStartTest, StartAndSwitchLogTheirStepsInOrder)
{
    LogCapture log;
    DisplayManager manager;
    DisplayParams windowed(false, false, 640, 480, false);
    manager.ApplyDisplayParams(windowed);
    EXPECT_EQ("DisplayManager::ApplyDisplayParams: Called with 3daccel=OFF, fullscreen=OFF\n"
              "DisplayManager::CreateAndInitBackend: START\n"
              "DisplayManager::CreateAndInitBackend: Deleting m_DisplayBackend\n"
              "DisplayBackendSDL::ApplyDisplayParams: START.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Shutting down SDL video subsystem.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Trying to initialize SDL video.\n"
              "DisplayBackendSDL::ApplyDisplayParams: SDL's dummy driver was successfully "
              "loaded.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Calling SDL_SetVideoMode(640, 480, 32, "
              "0)\n"
              "DisplayBackendSDL::ApplyDisplayParams: Creating m_ImageRenderer.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Enabling maximize box.\n"
              "DisplayBackendSDL::ApplyDisplayParams: SUCCESS.\n"
              "DisplayManager::CreateAndInitBackend: END\n"
              "DisplayManager::ApplyDisplayParams: Success, backend=\"DisplayBackendSDL\", "
              "3daccel=OFF, fullscreen=OFF\n",
              From(log.Text(), "DisplayManager::ApplyDisplayParams: Called"));
    auto* backend = dynamic_cast<DisplayBackendSDL*>(manager.GetBackend());
    ASSERT_NE(nullptr, backend);
    HWND window = backend->GetWindowHandle();

    // While the backend's driver runs, a switch only sets the mode; the flags are written
    // as a signed number.
    LogCapture second;
    DisplayParams fullscreen(true, false, 640, 480, false);
    manager.ApplyDisplayParams(fullscreen);
    EXPECT_EQ("DisplayManager::ApplyDisplayParams: Called with 3daccel=OFF, fullscreen=ON\n"
              "DisplayManager::CreateAndInitBackend: START\n"
              "DisplayBackendSDL::ApplyDisplayParams: START.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Deleting old display params.\n"
              "DisplayBackendSDL::ApplyDisplayParams: Calling SDL_SetVideoMode(640, 480, 32, "
              "-2147483648)\n"
              "DisplayBackendSDL::ApplyDisplayParams: Creating m_ImageRenderer.\n"
              "DisplayBackendSDL::ApplyDisplayParams: SUCCESS.\n"
              "DisplayManager::CreateAndInitBackend: END\n"
              "DisplayManager::ApplyDisplayParams: Success, backend=\"DisplayBackendSDL\", "
              "3daccel=OFF, fullscreen=ON\n",
              From(second.Text(), "DisplayManager::ApplyDisplayParams: Called"));
    EXPECT_EQ(backend, manager.GetBackend());
    EXPECT_EQ(window, backend->GetWindowHandle());
}

// The hardware backend names the driver SDL really runs too, never the one it asked for.
TEST_F(SDLBackendStartTest, TheDirect3DStartNamesTheDriverSDLRuns)
{
    LogCapture log;
    DisplayManager manager;
    DisplayParams accelerated(false, true, 640, 480, false);
    manager.ApplyDisplayParams(accelerated);
    ASSERT_STREQ("DisplayBackendD3D", manager.GetBackend()->GetClass()->GetName().c_str());
    const std::string text = log.Text();
    EXPECT_NE(std::string::npos,
              text.find("DisplayBackendD3D::ApplyDisplayParams: Trying to initialize SDL video.\n"
                        "DisplayBackendD3D::ApplyDisplayParams: SDL's " +
                        CurrentSDLVideoDriverName() + " driver was successfully loaded.\n"))
        << text;
    EXPECT_EQ(std::string::npos, text.find("windib")) << text;
}

// Both backends treat their full-screen window alike; the lines and reports name the
// backend.
TEST_F(SDLBackendStartTest, FullScreenWindowGivesTheDesktopBackItsModeWhileMinimised)
{
    for (bool accel3d : {false, true}) {
        SCOPED_TRACE(accel3d ? "Direct3D" : "SDL");
        const std::string name = std::string(accel3d ? "DisplayBackendD3D" : "DisplayBackendSDL") +
                                 "::HandleWindowsMessage";
        DisplayManager manager;
        DisplayParams windowed(false, accel3d, 320, 240, false);
        manager.ApplyDisplayParams(windowed);
        ASSERT_EQ(accel3d, windowed.accel3d);
        {
            // A window on the desktop is left to SDL's procedure alone.
            LogCapture log;
            manager.HandleWindowsMessage(nullptr, WM_ACTIVATE, WA_INACTIVE, 0);
            manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
            manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
            EXPECT_EQ(std::string::npos, log.Text().find(name));
        }

        DisplayParams fullscreen(true, accel3d, 320, 240, false);
        manager.ApplyDisplayParams(fullscreen);
        LogCapture log;
        manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_RESTORED, 0); // nothing kept yet
        manager.HandleWindowsMessage(nullptr, WM_ACTIVATE, WA_INACTIVE, 0);
        manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
        try {
            manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
            ADD_FAILURE() << "a second minimise while a mode is kept was accepted";
        } catch (const Exception& error) {
            EXPECT_EQ(name, error.GetFunction());
            EXPECT_EQ("Assertion failed: (m_SavedFullScreenDisplaySettings == 0)",
                      error.GetMessage());
        }
        manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_RESTORED, 0);
        manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_RESTORED, 0); // mode already back
        EXPECT_EQ(name + ": Attempting to minimize fullscreen window.\n" + name +
                      ": Attempting to restore desktop's resolution.\n" + name +
                      ": Attempting to restore desktop's resolution.\n" + name +
                      ": Attempting to switch back to fullscreen app (from desktop.)\n",
                  From(log.Text(), name));
        // The mode was given back, so minimising keeps it again; the display still draws.
        EXPECT_NO_THROW(manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_MINIMIZED, 0));
        manager.HandleWindowsMessage(nullptr, WM_SIZE, SIZE_RESTORED, 0);
        ASSERT_NE(nullptr, manager.GetImageRenderer());
        SDL_Rect all = MakeRect(0, 0, 320, 240);
        manager.GetImageRenderer()->DrawRect(&all, Palette::White, true);
        EXPECT_NO_THROW(manager.Flip());
    }
}

TEST_F(SDLBackendStartTest, ADriverRunsOnlyUnderTheNameItWasStartedWith)
{
    ShutdownSDLVideo();
    EXPECT_FALSE(IsCurrentSDLVideoDriver("directx"));
    // A name no backend uses is refused before SDL video is touched.
    EXPECT_THROW(InitSDLVideo("x11", nullptr, nullptr), Exception);
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_VIDEO));

    HWND window = nullptr;
    WNDPROC procedure = nullptr;
    ASSERT_TRUE(InitSDLVideo("windib", &window, &procedure)) << GetSDLVideoError();
    EXPECT_NE(nullptr, window);
    EXPECT_NE(nullptr, procedure);
    EXPECT_TRUE(IsCurrentSDLVideoDriver("windib"));
    EXPECT_FALSE(IsCurrentSDLVideoDriver("directx"));

    // So the software backend restarts video that was started for the other backend.
    {
        LogCapture log;
        DisplayBackendSDL backend;
        backend.ApplyDisplayParams(DisplayParams(false, false, 160, 120, false));
        EXPECT_NE(std::string::npos,
                  log.Text().find("DisplayBackendSDL::ApplyDisplayParams: Shutting down SDL "
                                  "video subsystem.\n"));
        EXPECT_TRUE(IsCurrentSDLVideoDriver("directx"));
        EXPECT_FALSE(IsCurrentSDLVideoDriver("windib"));
    }
    // The backend stopped the video it started.
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_VIDEO));
    EXPECT_FALSE(IsCurrentSDLVideoDriver("directx"));
}
