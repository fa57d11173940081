#include "logic/ArcadeKeyboardTranslator.h"

#include "core/Object.h"
#include "core/Utility.h"

#include <SDL.h>

#include <initializer_list>
#include <utility>

namespace {

// Steps of the motion keys, in the order a release looks for a key still held.
const std::pair<int, double> kHorizontalKeys[] = {
    {SDLK_KP4, -15.0},  {SDLK_LEFT, -15.0}, {SDLK_h, -15.0}, {SDLK_KP6, 15.0},
    {SDLK_RIGHT, 15.0}, {SDLK_l, 15.0},     {SDLK_g, -45.0}, {SDLK_SEMICOLON, 45.0},
    {SDLK_j, -3.0},     {SDLK_k, 3.0},
};
const std::pair<int, double> kVerticalKeys[] = {{SDLK_KP8, -15.0}, {SDLK_KP2, 15.0}};

bool IsFireKeyOnPress(int key)
{
    return key == SDLK_KP5 || key == SDLK_RETURN || key == SDLK_a || key == SDLK_UP ||
           key == SDLK_DOWN;
}

bool IsFireKeyOnRelease(int key)
{
    return IsFireKeyOnPress(key) || key == SDLK_KP_ENTER;
}

bool IsKeyHeld(int key)
{
    const Uint8* keys = SDL_GetKeyState(nullptr);
    return keys && keys[key] != 0;
}

// The step of the key in the table; false when the key is not in it.
template <std::size_t N>
bool StepOf(const std::pair<int, double> (&table)[N], int key, double& step)
{
    for (const auto& entry : table)
        if (entry.first == key) {
            step = entry.second;
            return true;
        }
    return false;
}

// The step of the first key in the table still held; 0 when none is.
template <std::size_t N> double HeldStep(const std::pair<int, double> (&table)[N])
{
    for (const auto& entry : table)
        if (IsKeyHeld(entry.first))
            return entry.second;
    return 0.0;
}

} // namespace

bool ArcadeKeyboardTranslator::IsActiveFor(Object* target)
{
    if (!target || !target->GetCurrentState())
        return false;
    const std::string state = target->GetStateName();
    return state == "Playing" || state == "WaitForSpawn" || state == "AllBallsLost" ||
           state == "LevelCompleted";
}

bool ArcadeKeyboardTranslator::Accepts(const Event& event, Object* target)
{
    return IsActiveFor(target) && !IsOnlyAltDown(event.key.keysym.mod);
}

bool ArcadeKeyboardTranslator::OnKeyDown(const Event& event, Object* target)
{
    if (!Accepts(event, target))
        return false;
    const int key = event.key.keysym.sym;
    double step = 0.0;
    if (IsFireKeyOnPress(key)) {
        if (!m_ButtonDown)
            SendButton(target, true);
        m_ButtonDown = true;
        return true;
    }
    if (StepOf(kHorizontalKeys, key, step)) {
        m_MoveX = step;
        return true;
    }
    if (StepOf(kVerticalKeys, key, step)) {
        m_MoveY = step;
        return true;
    }
    return false;
}

bool ArcadeKeyboardTranslator::OnKeyUp(const Event& event, Object* target)
{
    if (!Accepts(event, target))
        return false;
    const int key = event.key.keysym.sym;
    double step = 0.0;
    if (IsFireKeyOnRelease(key)) {
        m_ButtonDown = false;
        for (int held : {SDLK_a, SDLK_RETURN, SDLK_KP_ENTER, SDLK_UP, SDLK_DOWN, SDLK_KP5})
            m_ButtonDown = m_ButtonDown || IsKeyHeld(held);
        if (!m_ButtonDown)
            SendButton(target, false);
        return true;
    }
    if (StepOf(kHorizontalKeys, key, step)) {
        m_MoveX = HeldStep(kHorizontalKeys);
        return true;
    }
    if (StepOf(kVerticalKeys, key, step)) {
        m_MoveY = HeldStep(kVerticalKeys);
        return true;
    }
    return false;
}

void ArcadeKeyboardTranslator::Update(Object* target)
{
    if (!IsActiveFor(target) || (m_MoveX == 0.0 && m_MoveY == 0.0))
        return;
    int x = static_cast<int>(m_MoveX);
    int y = static_cast<int>(m_MoveY);
    const SDLMod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT) {
        x *= 2;
        y *= 2;
    }
    if (mods & KMOD_CTRL) {
        x /= 2;
        y /= 2;
    }
    Event event{};
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.state = m_ButtonDown ? 1 : 0;
    event.motion.xrel = static_cast<Sint16>(x);
    event.motion.yrel = static_cast<Sint16>(y);
    target->OnEvent(event);
}

void ArcadeKeyboardTranslator::SendButton(Object* target, bool pressed) const
{
    Event event{};
    event.button.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    target->OnEvent(event);
}
