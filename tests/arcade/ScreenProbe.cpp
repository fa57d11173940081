#include "ScreenProbe.h"

#include "GameApp.h"

#include "screens/Screen.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

namespace bbtest {

Button* ScreenProbe::ButtonNamed(const std::string& name)
{
    auto* button = dynamic_cast<Button*>(m_Screen->GetChild(name, true));
    EXPECT_NE(nullptr, button) << name;
    return button;
}

std::string ScreenProbe::Text(const std::string& label)
{
    auto* found = dynamic_cast<Label*>(m_Screen->GetChild(label, true));
    return found ? found->GetText() : "<no label " + label + ">";
}

int ScreenProbe::Frame(const std::string& actor)
{
    return m_Screen->GetChild(actor, true)->GetFrame();
}

int ScreenProbe::LitStars()
{
    int lit = 0;
    for (int i = 1; i <= 5; ++i)
        lit += Frame("actorStar" + std::to_string(i)) == 0 ? 1 : 0;
    return lit;
}

void ScreenProbe::Click(const std::string& button)
{
    m_Screen->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(ButtonNamed(button))));
    m_App->DispatchPosted();
}

bool ScreenProbe::Key(int sym, unsigned mod)
{
    Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = static_cast<SDLKey>(sym);
    event.key.keysym.mod = static_cast<SDLMod>(mod);
    const bool consumed = m_Screen->OnEvent(event);
    m_App->DispatchPosted();
    return consumed;
}

} // namespace bbtest
