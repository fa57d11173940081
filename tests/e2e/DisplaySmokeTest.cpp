// The real program on a real X server (Xvfb): its window appears, and a screenshot taken
// through the game's own shortcut (Ctrl+P) holds a picture, not a blank screen.
//
// The outer test starts an X server of its own and runs this test program again on it;
// the inner run (marked by BB_SMOKE_INNER) starts the game on that server, presses the keys
// through the X server and checks the screenshot.
#include "e2e/ProgramRun.h"
#include "e2e/XvfbServer.h"
#include "support/TempHome.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include <dlfcn.h>
#include <unistd.h>

// Last: the X headers define macros that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

std::string SelfPath()
{
    return fs::read_symlink("/proc/self/exe").string();
}

// The few X calls the test needs, looked up at run time so that the test programs need
// not link the X library.
struct X11
{
    void* library = nullptr;
    decltype(&XOpenDisplay) openDisplay = nullptr;
    decltype(&XCloseDisplay) closeDisplay = nullptr;
    decltype(&XQueryTree) queryTree = nullptr;
    decltype(&XFetchName) fetchName = nullptr;
    decltype(&XFree) free = nullptr;
    decltype(&XKeysymToKeycode) keysymToKeycode = nullptr;
    decltype(&XSendEvent) sendEvent = nullptr;
    decltype(&XFlush) flush = nullptr;

    bool Load()
    {
        library = dlopen("libX11.so.6", RTLD_NOW);
        if (!library)
            return false;
        openDisplay = reinterpret_cast<decltype(openDisplay)>(dlsym(library, "XOpenDisplay"));
        closeDisplay = reinterpret_cast<decltype(closeDisplay)>(dlsym(library, "XCloseDisplay"));
        queryTree = reinterpret_cast<decltype(queryTree)>(dlsym(library, "XQueryTree"));
        fetchName = reinterpret_cast<decltype(fetchName)>(dlsym(library, "XFetchName"));
        free = reinterpret_cast<decltype(free)>(dlsym(library, "XFree"));
        keysymToKeycode =
            reinterpret_cast<decltype(keysymToKeycode)>(dlsym(library, "XKeysymToKeycode"));
        sendEvent = reinterpret_cast<decltype(sendEvent)>(dlsym(library, "XSendEvent"));
        flush = reinterpret_cast<decltype(flush)>(dlsym(library, "XFlush"));
        return openDisplay && closeDisplay && queryTree && fetchName && free && keysymToKeycode &&
               sendEvent && flush;
    }
    ~X11()
    {
        if (library)
            dlclose(library);
    }
};

// A named top-level window: the game's.
Window FindNamedWindow(X11& x, Display* display)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!x.queryTree(display, root, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (x.fetchName(display, children[i], &name) && name) {
            found = children[i];
            x.free(name);
        }
    }
    if (children)
        x.free(children);
    return found;
}

void SendKey(X11& x, Display* display, Window window, KeySym key, int type, unsigned state)
{
    XEvent event{};
    event.xkey.type = type;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.same_screen = True;
    event.xkey.state = state;
    event.xkey.keycode = x.keysymToKeycode(display, key);
    event.xkey.time = CurrentTime;
    long mask = type == KeyPress ? KeyPressMask : KeyReleaseMask;
    x.sendEvent(display, window, True, mask, &event);
    x.flush(display);
}

std::set<std::string> FindScreenshots(const std::string& folder)
{
    std::set<std::string> found;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->path().filename().string().find("_Screenshot-") != std::string::npos)
            found.insert(it->path().string());
    return found;
}

} // namespace

TEST(DisplaySmoke, GameWindowShowsAndItsScreenshotIsNotBlank)
{
    if (getenv("BB_SMOKE_INNER"))
        GTEST_SKIP() << "the inner run";
    if (!XvfbServer::IsInstalled())
        GTEST_SKIP() << "Xvfb is not installed";
    TempHome home; // holds the inner run's report
    const std::string report = home.Path() + "/inner.txt";
    XvfbServer server("1024x768x24", home.Path() + "/xvfb.log");
    ASSERT_NE("", server.GetDisplay()) << ReadFile(home.Path() + "/xvfb.log");
    std::string command = "BB_SMOKE_INNER=1 DISPLAY=" + server.GetDisplay() + " '" + SelfPath() +
                          "' --gtest_filter=DisplaySmokeInner.* > '" + report + "' 2>&1";
    EXPECT_EQ(0, std::system(command.c_str())) << command << "\n" << ReadFile(report);
}

TEST(DisplaySmokeInner, ScreenshotThroughTheGame)
{
    if (!getenv("BB_SMOKE_INNER"))
        GTEST_SKIP() << "runs only under an X server started by the outer test";
    X11 x;
    ASSERT_TRUE(x.Load());
    Display* display = x.openDisplay(nullptr);
    ASSERT_NE(nullptr, display);

    TempHome home;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // The X library keeps a few strings until the process ends; that is not the game's.
    std::string suppressions = home.Path() + "/lsan.supp";
    WriteFile(suppressions, "leak:libX11.so\n");
    setenv("LSAN_OPTIONS", ("suppressions=" + suppressions).c_str(), 1);
    ProgramRun run({"--console", "--windowed", "--nosound", "--nohwaccel"});
    // The console is read once per main-loop pass, so each line answered is a pass gone by.
    run.Send("ShowFPS(true)\n");
    ASSERT_TRUE(run.WaitForLogLine("FPS counter enabled")) << run.Errors();
    // The frame-rate read-out gives the frame something to show; it draws from its second
    // frame on.
    for (int pass = 1; pass <= 3; ++pass) {
        const std::string mark = "pass " + std::to_string(pass) + " done";
        run.Send("io.stderr:write('" + mark + "\\n')\n");
        ASSERT_TRUE(run.WaitForErrorLine(mark)) << run.Errors();
    }
    // The window has been up since before the main loop began.
    const Window window = FindNamedWindow(x, display);
    ASSERT_NE(0u, window) << "the game's window never appeared";

    // A key sent before the window takes input may be lost: press again until the game
    // says it saves a screenshot.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool saving = false;
    while (!saving && run.IsRunning() && std::chrono::steady_clock::now() < deadline) {
        SendKey(x, display, window, XK_Control_L, KeyPress, 0);
        SendKey(x, display, window, XK_p, KeyPress, ControlMask);
        SendKey(x, display, window, XK_p, KeyRelease, ControlMask);
        SendKey(x, display, window, XK_Control_L, KeyRelease, ControlMask);
        saving = run.WaitForLogLine("Saving screenshot to \"", 2000);
    }
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
    x.closeDisplay(display);
    // Read once the game has ended, so the file is whole.
    const std::set<std::string> shots = FindScreenshots(home.Path());
    ASSERT_TRUE(saving && !shots.empty()) << "no screenshot was saved" << run.Errors();

    SDL_Surface* shot = SDL_LoadBMP(shots.begin()->c_str());
    ASSERT_NE(nullptr, shot);
    EXPECT_EQ(640, shot->w);
    EXPECT_EQ(480, shot->h);
    SDL_Surface* rgb =
        SDL_CreateRGBSurface(SDL_SWSURFACE, shot->w, shot->h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_BlitSurface(shot, nullptr, rgb, nullptr);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < rgb->h; ++y)
        for (int x0 = 0; x0 < rgb->w; ++x0)
            colours.insert(reinterpret_cast<std::uint32_t*>(
                static_cast<std::uint8_t*>(rgb->pixels) + y * rgb->pitch)[x0]);
    EXPECT_GT(colours.size(), 1u) << "the screenshot is blank";
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(shot);
}
