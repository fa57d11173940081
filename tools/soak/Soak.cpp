// The autoplay soak: the game's application, headless, plays the adventure's levels in
// their order and then the lab's, level after level, with the shared autoplay player, for
// a given time. At random (seeded) moments it loses and regains the focus, visits the
// in-game menu, restarts the level, visits another screen and comes back into play, and
// switches between window and full screen through the application's own keys.
//
// Between two levels, with the game screen left, it counts what lives: actors, physics
// bodies, timers, images, and the live memory. It logs a line per level, a line a
// minute and a table of the curve at the end, and fails (exit status 1) when a count or the
// memory keeps growing (SoakCurve.h says when it does), or when a ball leaves the field or
// a level stops moving on (autoplay/FieldWatch.h); such a level is left at once.
//
//   soak [--minutes N] [--seed S]      (BB_TEST_ASSET_PACK names the asset pack)
#include "GameApp.h"
#include "LiveMemory.h"
#include "SoakCurve.h"

#include "autoplay/AutoPlayer.h"
#include "autoplay/FieldWatch.h"
#include "autoplay/GameOutcome.h"
#include "core/Random.h"
#include "core/TimerManager.h"
#include "display/Image.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "scene/Actor.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/GameStart.h"
#include "screens/ScreenManager.h"

#include <SDL.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Where the soak's lines go; the application's own log goes to stdout, which main sends
// to a file.
FILE* gReport = stderr;

// The most passes a level is played (about 11 minutes of game time) before the soak moves on.
const int kLevelPassLimit = 20000;

// The screens a player visits between games.
const char* const kScreens[] = {"MenuScreen", "MapScreen", "LabScreen", "ArtifactScreen"};

using soak::Sample;

long ResidentKb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The script state's memory, for the line of each level beside the live memory: a script
// leak climbs in both.
long ScriptKb()
{
    return lua_gc(GetGlobalLuaState()->GetCState(), LUA_GCCOUNT, 0);
}

void PrintSample(const char* what, const Sample& s)
{
    std::fprintf(gReport,
                 "%s %6.1f min  levels %4d won %4d  actors %6ld  bodies %5ld  timers %5ld  "
                 "images %5ld  resident %8ld kB  live %8ld kB\n",
                 what, s.minutes, s.levels, s.won, s.actors, s.bodies, s.timers, s.images,
                 s.residentKb, s.liveKb);
    std::fflush(gReport);
}

// The test application with the screens a player reaches from the game, and the display
// rebuild the main loop does at the start of a pass.
class SoakApp : public bbtest::GameApp
{
public:
    SoakApp()
    {
        for (Screen* screen :
             std::vector<Screen*>{new ArcadeMenuScreen(), new ArcadeMapScreen(),
                                  new ArcadeLabScreen(), new ArcadeArtifactScreen()})
            Screens()->AddScreen(screen);
    }
    void RebuildDisplay() { RebuildDisplayIfRequested(); }
};

class Soak
{
public:
    Soak(double minutes, unsigned seed) : m_Minutes(minutes), m_Seed(seed), m_Random(seed)
    {
        MakoSrand(seed);
        const LuaPlus::LuaObject order = GameProgress::ConfigTable("LevelOrder");
        // The ten episodes, then the lab.
        for (int episode = 1; episode <= 11; ++episode) {
            const LuaPlus::LuaObject names = order[episode];
            for (int i = 1; names.IsTable() && names[i].IsString(); ++i)
                if (std::strcmp(names[i].GetString(), "Blank") != 0)
                    m_Levels.push_back(names[i].GetString());
        }
    }

    int Run()
    {
        if (m_Levels.empty()) {
            std::fprintf(gReport, "soak: no levels in the level order\n");
            return 1;
        }
        std::fprintf(gReport, "soak: %zu levels, %.1f minutes, live memory from the %s\n",
                     m_Levels.size(), m_Minutes, soak::LiveHeapSource());
        WarmUp();
        m_Start = Clock::now();
        for (std::size_t i = 0; Elapsed() < m_Minutes; i = (i + 1) % m_Levels.size()) {
            const std::string result = PlayLevel(m_Levels[i]);
            Leave();
            if (Chance(3))
                VisitScreen();
            Record();
            const Sample& s = m_Samples.back();
            std::fprintf(gReport,
                         "  %-16s %-30s actors %4ld bodies %3ld timers %3ld images %4ld "
                         "live %6ld kB script %5ld kB\n",
                         m_Levels[i].c_str(), result.c_str(), s.actors, s.bodies, s.timers,
                         s.images, s.liveKb, ScriptKb());
        }
        PrintSample("end ", Now());
        return Judge();
    }

private:
    double Elapsed() const
    {
        return std::chrono::duration<double, std::ratio<60>>(Clock::now() - m_Start).count();
    }
    bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(m_Random) == 1; }
    int Between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(m_Random);
    }
    std::string State() const { return gLogic ? gLogic->GetStateName() : ""; }

    // One pass of the main loop, with the autoplay's input before it.
    void Pass()
    {
        if (gLogic)
            m_Player.PlayOnePass(gLogic);
        m_App.RebuildDisplay();
        m_App.Pass();
        if (gLogic && m_Watch.Check(gLogic, m_LevelPass++) && !m_FaultNoted) {
            m_Faults.push_back(m_Watch.Describe());
            m_FaultNoted = true;
            std::fprintf(gReport, "soak: FAULT: %s\n", m_Watch.Describe().c_str());
        }
        if (Elapsed() >= m_NextLog) {
            m_Logged.push_back(Now());
            PrintSample("    ", m_Logged.back());
            ++m_NextLog;
        }
    }

    void StartLevel(const std::string& name)
    {
        CreateGameOptionsForCurrentPlayer();
        bbtest::RunLua("GameOptions.gameType = 'Levels' GameOptions.levelName = '" + name +
                       "' GameOptions.ballsLeft = 9");
        m_App.ApplyBoolProperty("enableBrickDropAnimation", false);
        m_App.ApplyBoolProperty("enableStartLevelDialog", false);
        m_App.SwitchTo("GameScreen");
        m_Player.Reset();
        m_Watch = autoplay::FieldWatch(name, m_Seed);
        m_LevelPass = 0;
        m_FaultNoted = false;
    }

    void Leave()
    {
        m_App.SwitchTo("Elsewhere");
        m_App.Pass(2);
    }

    // Opens every level and every screen once, so that the pictures, sounds and songs the
    // resources keep for the run are loaded before the first sample: what lives after the
    // first level is then what should live from there on.
    void WarmUp()
    {
        for (const std::string& name : m_Levels) {
            StartLevel(name);
            m_App.Pass(40);
            Leave();
        }
        for (const char* screen : kScreens) {
            bbtest::RunLua(std::string("SwitchToScreen('") + screen + "')");
            m_App.Pass(10);
            Leave();
        }
    }

    // Plays the level to its end (won, lost, or the pass limit), with the random visits.
    // Gives the state it ended in and the passes played. The limit counts every pass of
    // the game in play (those of pauses and menu visits too) since the level last started:
    // a restart, or a visit to another screen that starts the level anew, starts a new
    // game, and the count with it.
    std::string PlayLevel(const std::string& name)
    {
        ++m_Played;
        StartLevel(name);
        while (m_LevelPass < kLevelPassLimit && Elapsed() < m_Minutes) {
            const std::string state = State();
            if (const auto outcome = autoplay::OutcomeOfState(state);
                outcome != autoplay::GAME_IN_PLAY) {
                m_Won += outcome == autoplay::GAME_WON ? 1 : 0;
                return state + " after " + std::to_string(m_LevelPass);
            }
            if (m_FaultNoted)
                return "left after a fault at " + std::to_string(m_LevelPass);
            // About once in 2 minutes of play each for a pause and a menu visit, once in 3
            // for a display toggle, once in 10 for a restart and a screen visit.
            if (Chance(3750))
                LoseFocus();
            else if (Chance(3750))
                VisitMenu();
            else if (Chance(5600))
                ToggleDisplay();
            else if (Chance(18750)) {
                Leave();
                StartLevel(name); // a restart
                ++m_Restarts;
            } else if (Chance(18750)) {
                Leave();
                VisitScreen();
                StartLevel(name);
            }
            Pass();
        }
        if (m_LevelPass < kLevelPassLimit)
            return "stopped after " + std::to_string(m_LevelPass);
        ++m_Unfinished;
        const std::string line = name + " not ended after " + std::to_string(m_LevelPass) +
                                 " passes (state " + State() + ", " +
                                 std::to_string(gLogic ? gLogic->CountRequiredBricks() : 0) +
                                 " required bricks left)";
        std::fprintf(gReport, "soak: %s\n", line.c_str());
        return "not ended after " + std::to_string(m_LevelPass);
    }

    // Closes whatever dialog a pause left open, as a player resuming does; a game still
    // paused then is resumed as by a player coming back to the window.
    void Resume()
    {
        for (int i = 0; i < 3 && m_App.GameScreen()->IsDialogVisible(); ++i) {
            m_App.SendKey(SDLK_SPACE);
            Pass();
        }
        if (State() == "PausedPlaying" && !m_App.GameScreen()->IsDialogVisible()) {
            Event event{};
            event.active.type = SDL_ACTIVEEVENT;
            event.active.gain = 1;
            event.active.state = SDL_APPINPUTFOCUS;
            m_App.OnEvent(event);
            Pass();
        }
    }

    void LoseFocus()
    {
        for (const int gain : {0, 1}) {
            Event event{};
            event.active.type = SDL_ACTIVEEVENT;
            event.active.gain = static_cast<Uint8>(gain);
            event.active.state = SDL_APPINPUTFOCUS;
            m_App.OnEvent(event);
            for (int n = Between(5, 60); n > 0; --n)
                Pass();
        }
        Resume();
        ++m_Pauses;
    }

    void VisitMenu()
    {
        m_App.SendKey(SDLK_ESCAPE);
        for (int n = Between(5, 60); n > 0; --n)
            Pass();
        Resume();
        ++m_Menus;
    }

    // A switch of the display pauses the game behind a dialog; the player then resumes.
    void ToggleDisplay()
    {
        for (int i = 0; i < 2; ++i) {
            m_App.SendKey(SDLK_RETURN, KMOD_LALT);
            for (int n = Between(3, 30); n > 0; --n)
                Pass();
        }
        Resume();
        ++m_Toggles;
    }

    void VisitScreen()
    {
        bbtest::RunLua(std::string("SwitchToScreen('") + kScreens[Between(0, 3)] + "')");
        m_App.Pass(Between(3, 60));
        Leave();
        ++m_Visits;
    }

    Sample Now() const
    {
        Sample s;
        s.minutes = Elapsed();
        s.levels = m_Played;
        s.won = m_Won;
        s.actors = Actor::GetLiveCount();
        s.bodies = PhysicsBody::GetLiveCount();
        s.timers = m_App.Timers()->CountLiveTimers();
        s.images = Image::GetLiveCount();
        s.residentKb = ResidentKb();
        s.liveKb = soak::LiveHeapKb();
        return s;
    }

    // A sample at a level's end, with the game screen left. The script state's garbage is
    // collected first, so the live memory holds what the game keeps, not what the script
    // collector has yet to free.
    void Record()
    {
        lua_gc(GetGlobalLuaState()->GetCState(), LUA_GCCOLLECT, 0);
        m_Samples.push_back(Now());
    }

    int Judge() const
    {
        std::fprintf(gReport,
                     "\nsoak: %d levels played, %d won, %d not ended; %d pauses, %d menu visits, "
                     "%d restarts, "
                     "%d screen visits, %d display toggles\n",
                     m_Played, m_Won, m_Unfinished, m_Pauses, m_Menus, m_Restarts, m_Visits,
                     m_Toggles);
        std::fprintf(gReport, "the curve (one line a minute, live counts at that moment):\n");
        for (const Sample& s : m_Logged)
            PrintSample("    ", s);
        const soak::Verdict verdict = soak::JudgeCurve(m_Samples);
        if (!verdict.judged) {
            std::fprintf(gReport, "soak: too few levels played to judge\n");
            return 1;
        }
        std::fprintf(gReport,
                     "between levels, after the first level and the least of the last third:\n");
        PrintSample("first", verdict.first);
        PrintSample("least", verdict.least);
        for (const std::string& line : verdict.growing)
            std::fprintf(gReport, "soak: FAIL: %s\n", line.c_str());
        for (const std::string& line : m_Faults)
            std::fprintf(gReport, "soak: FAIL: %s\n", line.c_str());
        const bool failed = !verdict.growing.empty() || !m_Faults.empty();
        std::fprintf(gReport, "soak: %s\n", failed ? "FAILED" : "flat");
        return failed ? 1 : 0;
    }

    SoakApp m_App;
    autoplay::AutoPlayer m_Player;
    double m_Minutes;
    unsigned m_Seed;
    std::mt19937 m_Random;
    // The watch over the level being played, its passes, and the faults it found.
    autoplay::FieldWatch m_Watch{"", 0};
    int m_LevelPass = 0;
    bool m_FaultNoted = false;
    std::vector<std::string> m_Faults;
    std::vector<std::string> m_Levels;
    Clock::time_point m_Start;
    int m_NextLog = 1; // the minute of the next line
    std::vector<Sample> m_Samples, m_Logged;
    int m_Played = 0, m_Won = 0, m_Unfinished = 0, m_Pauses = 0, m_Menus = 0, m_Restarts = 0,
        m_Visits = 0, m_Toggles = 0;
};

} // namespace

int main(int argc, char** argv)
{
    double minutes = 60;
    unsigned seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--minutes") == 0)
            minutes = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: soak [--minutes N] [--seed S]\n");
            return 2;
        }
    }
    if (!std::getenv("BB_TEST_ASSET_PACK")) {
        std::fprintf(stderr, "soak: set BB_TEST_ASSET_PACK to an asset pack folder\n");
        return 2;
    }
    // The application's log (which it echoes to stdout) goes to soak-app.log in the
    // working folder; the soak's own lines to the original standard output.
    gReport = fdopen(dup(1), "w");
    if (!gReport || !std::freopen("soak-app.log", "w", stdout)) {
        std::fprintf(stderr, "soak: cannot write soak-app.log\n");
        return 2;
    }
    std::setvbuf(gReport, nullptr, _IOLBF, 0);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Soak soak(minutes, seed);
    return soak.Run();
}
