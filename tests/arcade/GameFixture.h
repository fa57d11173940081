#pragma once
// A game as the game screen runs it, for the controller's tests: a screen with a play
// layer, the game's resources, a controller made from a GameOptions table and installed
// as the screen's logic, and passes that tick the screen (and so the controller) one
// 32 ms frame at a time. A trace records every state the controller was in after a pass.
#include "core/Event.h"
#include "core/EventQueue.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "scene/Actor.h"
#include "screens/Dialog.h"
#include "screens/Screen.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

namespace gametest {

// The field's root on the game screen: it holds the play-field actors, which the
// controller ticks itself, so the layer does not tick them a second time.
class FieldLayer : public Actor
{
public:
    void Tick() override {}
};

class GameFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    GameFixture()
    {
        screen = new Screen("ControllerTestScreen", "", nullptr);
        layer = new FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        passes.SetRoot(screen);
        bbtest::EvalLua("1");
        GameOptions("{}");
        // Events an earlier test left name objects that are gone.
        GetPostedEventQueue().Clear();
    }
    ~GameFixture() override
    {
        EndGame();
        passes.SetRoot(nullptr);
        // Events still posted name the screen's dialogs and actors, deleted here.
        GetPostedEventQueue().Clear();
        delete screen;
        ArcadeGameStates::SetLeftButtonProbe(nullptr);
    }

    // Replaces the global GameOptions by the table the expression gives.
    static LuaPlus::LuaObject GameOptions(const std::string& table)
    {
        LuaPlus::LuaObject options = bbtest::EvalLua(table);
        bbtest::EvalLua("_G").SetObject("GameOptions", options);
        return options;
    }

    // A controller of the options table, installed on the screen (which owns it).
    ArcadeGameLogic* NewGame(const std::string& options = "{gameType = 'Adventure', ballsLeft = 3}")
    {
        EndGame();
        logic = new ArcadeGameLogic(screen, layer, GameOptions(options));
        screen->SetLogic(logic);
        return logic;
    }
    // Deletes the controller, as the game screen does when it is left.
    void EndGame()
    {
        if (logic)
            screen->SetLogic(nullptr);
        logic = nullptr;
    }

    std::string State() const { return logic->GetCurrentState() ? logic->GetStateName() : ""; }

    // Runs n passes and gives the states the controller was in, each change once.
    std::vector<std::string> StatesOver(int n)
    {
        std::vector<std::string> states;
        for (int i = 0; i < n; ++i) {
            passes.Step();
            if (!logic)
                break;
            if (states.empty() || states.back() != State())
                states.push_back(State());
        }
        return states;
    }
    // Passes until the controller is in the named state (at most limit); the number run.
    int StepUntilState(const std::string& name, int limit = 400)
    {
        return passes.StepUntil([&] { return State() == name; }, limit);
    }

    // Input as SDL delivers it, handed to the controller (as the screen does with what
    // its actors left).
    void Click(bool down)
    {
        Event event{};
        event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        logic->OnEvent(event);
    }
    void Send(std::uint8_t type, int code = 0) { logic->OnEvent(MakeEvent(type, code)); }
    void Focus(bool gained)
    {
        Event event{};
        event.active.type = SDL_ACTIVEEVENT;
        event.active.gain = gained ? 1 : 0;
        event.active.state = SDL_APPINPUTFOCUS;
        logic->OnEvent(event);
    }

    // Clicks the button of the dialog of that name on the screen, then hands the controller
    // the dialog's end, as the game screen does with the events of its dialogs. False when
    // there is no such dialog.
    bool ClickDialogButton(const std::string& dialogName, const std::string& button)
    {
        Dialog* dialog = dynamic_cast<Dialog*>(screen->Actor::GetChild(dialogName, false));
        if (!dialog || !dialog->GetChild(button))
            return false;
        dialog->OnEvent(
            MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(dialog->GetChild(button))));
        logic->OnEvent(MakeEvent(MAKO_DIALOGSTOPPED, 0, static_cast<Object*>(dialog)));
        return true;
    }

    bbtest::PassHarness passes{nullptr, 640, 480};
    Screen* screen = nullptr;
    FieldLayer* layer = nullptr;
    ArcadeGameLogic* logic = nullptr;
    bbtest::SoundLog sounds;
};

} // namespace gametest
