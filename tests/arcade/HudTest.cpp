// The heads-up display as the player sees it. A game is played through the level's letter
// and one without it, each drawn through each display path as the program draws, and the
// clock's pixels are compared at the same moments of play: before the serve, after a
// second of play, after the in-game menu and after a switch to full screen and back. The
// letter, a pause, a dialog and a change of screen mode leave the display as it was.
#include "GameApp.h"

#include "core/Event.h"
#include "logic/ArcadeGameLogic.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/StartLevelDialog.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;

namespace {

// The game application with a display of its own, drawn and presented as the main loop
// does at the end of a pass, and rebuilt at the start of one when asked (Alt+Return).
class DrawnGameApp : public GameApp
{
public:
    explicit DrawnGameApp(bool accel3d)
    {
        InitDisplayManager();
        SetHWAccelEnabled(accel3d);
        UseWindowedScreen(640, 480, 32);
        // The new window's notices are heard, and the display made again if they ask for it,
        // before any game starts, as the main loop's first pass does at a start.
        RebuildDisplayIfRequested();
        DispatchPosted();
    }
    void DrawnPass(int passes = 1)
    {
        for (int i = 0; i < passes; ++i) {
            RebuildDisplayIfRequested();
            Pass();
            Draw();
            PresentFrame();
        }
    }
    SDL_Surface* Shot() const { return GetScreenshotSurface(); }
};

// The clock as drawn: the pixels of its label's place (with a pixel around it for the
// text's layers), and how many of them are near white, the clock's text colour.
struct ClockPicture
{
    std::string text;
    std::vector<std::uint32_t> pixels;
    int white = 0;
};

ClockPicture ClockOf(DrawnGameApp& app)
{
    ClockPicture picture;
    ArcadeGameLogic* logic = app.GameScreen()->GetGameLogic();
    SDL_Surface* shot = app.Shot();
    if (!logic || !logic->m_TimeLabel || !shot)
        return picture;
    picture.text = logic->m_TimeLabel->GetText();
    const SDL_Rect place = logic->m_TimeLabel->GetScreenRect();
    SDL_LockSurface(shot);
    for (int y = place.y - 1; y <= place.y + place.h; ++y) {
        for (int x = place.x - 1; x <= place.x + place.w; ++x) {
            if (x < 0 || y < 0 || x >= shot->w || y >= shot->h)
                continue;
            std::uint32_t rgb = 0;
            Uint8 r = 0, g = 0, b = 0;
            const auto* row = static_cast<const std::uint8_t*>(shot->pixels) + y * shot->pitch;
            std::memcpy(&rgb, row + x * shot->format->BytesPerPixel, shot->format->BytesPerPixel);
            SDL_GetRGB(rgb, shot->format, &r, &g, &b);
            picture.pixels.push_back((std::uint32_t(r) << 16) | (g << 8) | b);
            picture.white += r > 200 && g > 200 && b > 200;
        }
    }
    SDL_UnlockSurface(shot);
    return picture;
}

// Closes the level's letter with its Start button once the button is offered.
bool CloseTheLetter(DrawnGameApp& app)
{
    for (int pass = 0; pass < 400; ++pass) {
        for (Dialog* dialog : app.GameScreen()->GetDialogs()) {
            auto* letter = dynamic_cast<StartLevelDialog*>(dialog);
            auto* start = letter && !letter->IsStopping()
                              ? dynamic_cast<Button*>(letter->Actor::GetChild("StartButton", true))
                              : nullptr;
            if (start && start->IsEnabled()) {
                ButtonClickLatch() = true;
                start->ReportClick();
                app.DispatchPosted();
                return true;
            }
        }
        app.DrawnPass();
    }
    return false;
}

// Closes what pauses the game over the play (the in-game menu), as the player does.
void CloseDialogs(DrawnGameApp& app)
{
    for (int n = 0; n < 3 && app.GameScreen()->IsDialogVisible(); ++n) {
        app.SendKey(SDLK_SPACE);
        app.DrawnPass();
    }
}

// Plays the current player's first level through to the moments compared, with or without
// the letter, and gives the clock as drawn at each.
std::map<std::string, ClockPicture> PlayAndLook(bool accel3d, bool letter)
{
    std::map<std::string, ClockPicture> seen;
    DrawnGameApp app(accel3d);
    if (letter) {
        app.OpenLetter();
        EXPECT_TRUE(CloseTheLetter(app));
        // The brick drop, then the serve is offered.
        for (int pass = 0; pass < 200 && app.GameScreen()->GetGameLogic() &&
                           !app.GameScreen()->GetGameLogic()->IsInState("WaitForSpawn");
             ++pass)
            app.DrawnPass();
    } else {
        app.StartGame();
    }
    ArcadeGameLogic* logic = app.GameScreen()->GetGameLogic();
    EXPECT_TRUE(logic && logic->IsInState("WaitForSpawn"));
    if (!logic)
        return seen;
    CloseDialogs(app);
    app.DrawnPass(5);
    seen["before the serve"] = ClockOf(app);

    // Served, and played until the clock has counted its first second.
    const std::string start = logic->m_TimeLabel->GetText();
    app.ClickLeft();
    for (int pass = 0; pass < 200 && logic->m_TimeLabel->GetText() == start; ++pass)
        app.DrawnPass();
    seen["after a second of play"] = ClockOf(app);

    // The in-game menu pauses the play behind it; Space closes it and play goes on.
    app.SendKey(SDLK_SPACE);
    app.DrawnPass(5);
    EXPECT_TRUE(app.GameScreen()->IsDialogVisible());
    CloseDialogs(app);
    EXPECT_FALSE(app.GameScreen()->IsDialogVisible());
    seen["after the in-game menu"] = ClockOf(app);

    // Full screen and back: each switch rebuilds the display and pauses the game behind a
    // dialog, which the player closes.
    for (int i = 0; i < 2; ++i) {
        app.SendKey(SDLK_RETURN, KMOD_LALT);
        app.DrawnPass(5);
        CloseDialogs(app);
    }
    seen["after full screen and back"] = ClockOf(app);
    return seen;
}

} // namespace

TEST(HudTest, TheClockIsDrawnAsWithoutTheLetterAfterTheLetterAPauseAndAModeChange)
{
    for (bool accel3d : {false, true}) {
        SCOPED_TRACE(accel3d ? "Direct3D path" : "SDL path");
        const auto plain = PlayAndLook(accel3d, false);
        const auto lettered = PlayAndLook(accel3d, true);
        ASSERT_EQ(4u, plain.size());
        ASSERT_EQ(plain.size(), lettered.size());
        for (const auto& [moment, expected] : plain) {
            const ClockPicture& drawn = lettered.at(moment);
            // The clock's text is white where it is drawn at all.
            EXPECT_GT(expected.white, 20) << moment << " without the letter";
            EXPECT_EQ(expected.text, drawn.text) << moment;
            EXPECT_EQ(expected.white, drawn.white) << moment;
            EXPECT_TRUE(expected.pixels == drawn.pixels) << moment;
        }
    }
}
