// The engine's entry point, called by the program's main: installs the crash reporter,
// makes the game's application, runs it and reports any failure. Returns 0 after a
// normal run, a run a stop signal ended, or the option list shown; 2 after a mistake on
// the command line (told in one line, no report); 1 after a failure (an option list that
// could not be written included, and a pack the game cannot start with, told in one line
// without a report).
#include "app/Application.h"
#include "app/CommandLineOptions.h"
#include "core/CrashReporting.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PackUnusable.h"
#include "core/StopSignal.h"
#include "core/Utility.h"
#include "lua/MakoLuaState.h"
#include "luaplus/LuaException.h"
#include "win32/Folders.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Makes the application and runs it from start-up to shut-down. A failure of the script
// wrapper, in construction or later, becomes an Exception of the program entry.
void RunApplication(std::unique_ptr<Application>& app, int argc, char** argv)
{
    try {
        app = CreateGameApplication();
        app->InitEngine(argc, argv);
        app->CreateWindow();
        app->InitGame();
        app->Run();
    } catch (const LuaPlus::LuaException& e) {
        throw Exception("main", 61, "SDL_main", MakoBuildDate(), MakoBuildTime(), e.what());
    }
}

// Where crash reports go before the application has settled its folders: the game's
// support folder under the user's documents folder.
std::string CrashReportFolder()
{
    try {
        return GetWindowsFolderPath(CSIDL_PERSONAL) + "/" + kProductName +
               " Documents/Technical Support Files/";
    } catch (const Exception&) {
        return std::string();
    }
}

// The option list on standard output when it was asked for; else the mistake in one line,
// then the list, on standard error. Returns the exit status: the stop's own, or 1 when the
// list could not be written whole (a full disk, a closed output), which standard error
// then tells.
int ShowCommandLineStop(const CommandLineStop& stop)
{
    if (stop.GetStatus() != 0) {
        std::fprintf(stderr, "%s: %s\n%s", kProductName, stop.GetMessage().c_str(),
                     stop.GetUsage().c_str());
        return stop.GetStatus();
    }
    errno = 0;
    const bool written = std::fputs(stop.GetUsage().c_str(), stdout) >= 0 &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (written)
        return 0;
    const int error = errno;
    std::fprintf(stderr, "%s: The option list could not be written to standard output (%s).\n",
                 kProductName, error != 0 ? std::strerror(error) : "a write error");
    return 1;
}

} // namespace

int SDL_main(int argc, char** argv)
{
    // A reader of our output that goes away must not end the game.
    std::signal(SIGPIPE, SIG_IGN);
    // SIGTERM and SIGINT end the main loop at its next pass, so the game shuts down as
    // when the player quits.
    StopSignal::Install();
    InstallCrashReporter(argc, argv, kProductName, CrashReportFolder());
    int status = 0;
    {
        std::unique_ptr<Application> app;
        try {
            RunApplication(app, argc, argv);
            app.reset();
        } catch (const CommandLineStop& stop) {
            // What the user asked for, or a mistake to mend: no crash, nothing to report.
            app.reset();
            status = ShowCommandLineStop(stop);
        } catch (const PackUnusable& e) {
            // The pack's fault, told in its one sentence: no crash, nothing to report.
            Log("%s\n", e.GetMessage().c_str());
            app.reset();
            std::fprintf(stderr, "%s: %s\n", kProductName, e.GetMessage().c_str());
            status = 1;
        } catch (const Exception& e) {
            if (StopSignal::IsRequested()) {
                // A stop signal cut the start short (a data file it ran was stopped): the
                // program ends as asked, which is no failure to report.
                Log("%s received during the start: the game ends (%s); the configuration and "
                    "the player cards are left as they were.\n",
                    StopSignal::GetName(), e.GetMessage().c_str());
                app.reset();
            } else {
                app.reset(); // the destructor logs its steps before the report
                e.Report();
                status = 1;
            }
        } catch (const std::exception& e) {
            app.reset();
            Exception wrapped("main", 0, "SDL_main", MakoBuildDate(), MakoBuildTime(), e.what());
            wrapped.Report();
            status = 1;
        }
    }
    DestroyGlobalLuaState();
    UninstallCrashReporter();
    return status;
}
