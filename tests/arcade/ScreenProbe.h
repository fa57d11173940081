#pragma once
// Reads and works a screen's widgets by name, as a player sees and uses them: a label's
// text, an actor's frame, a click on a button, a key pressed while the screen is shown.
// Each input's posted events are delivered before it returns. A fixture derives from it and
// names its application and screen once they exist.
#include "core/Event.h"

#include <SDL.h>

#include <string>

class Button;
class Screen;

namespace bbtest {

class GameApp;

class ScreenProbe
{
protected:
    void Probe(GameApp* app, Screen* screen)
    {
        m_App = app;
        m_Screen = screen;
    }

    // The button of that name (a failed expectation when there is none).
    Button* ButtonNamed(const std::string& name);
    // The label's text, or "<no label NAME>".
    std::string Text(const std::string& label);
    int Frame(const std::string& actor);
    // How many of the notepad's five stars are lit.
    int LitStars();
    void Click(const std::string& button);
    // Whether the screen consumed the key.
    bool Key(int sym, unsigned mod = KMOD_NONE);

private:
    GameApp* m_App = nullptr;
    Screen* m_Screen = nullptr;
};

} // namespace bbtest
