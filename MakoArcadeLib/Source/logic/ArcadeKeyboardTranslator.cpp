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

// The keys whose release lets go of the button, in the order a release looks for one held.
const int kFireKeys[] = {SDLK_a, SDLK_RETURN, SDLK_KP_ENTER, SDLK_UP, SDLK_DOWN, SDLK_KP5};

bool IsFireKeyOnPress(int key)
{
    return key == SDLK_KP5 || key == SDLK_RETURN || key == SDLK_a || key == SDLK_UP ||
           key == SDLK_DOWN;
}

bool IsFireKeyOnRelease(int key)
{
    return IsFireKeyOnPress(key) || key == SDLK_KP_ENTER;
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

// Whether the translator has a use for the key at all (fire, motion, keypad Enter).
bool IsTranslatorKey(int key)
{
    double step = 0.0;
    return IsFireKeyOnRelease(key) || StepOf(kHorizontalKeys, key, step) ||
           StepOf(kVerticalKeys, key, step);
}

bool InRange(int key)
{
    return key > 0 && key < SDLK_LAST;
}

// Whether SDL still has the key down (a key let go while the window had no focus is up
// again here once the focus is back, though its release never came as an event).
bool SdlHasDown(int key)
{
    const Uint8* keys = SDL_GetKeyState(nullptr);
    return keys && keys[key] != 0;
}

} // namespace

bool ArcadeKeyboardTranslator::IsActiveFor(Object* target)
{
    if (!target || !target->GetCurrentState())
        return false;
    const std::string state = target->GetStateName();
    return state == "Playing" || state == "BrickDrop" || state == "WaitForSpawn" ||
           state == "AllBallsLost" || state == "LevelCompleted";
}

bool ArcadeKeyboardTranslator::IsHeld(int key) const
{
    return m_Held.test(static_cast<std::size_t>(key)) && SdlHasDown(key);
}

template <std::size_t N> bool ArcadeKeyboardTranslator::AnyHeld(const int (&keys)[N]) const
{
    for (int key : keys)
        if (IsHeld(key))
            return true;
    return false;
}

// The step of the first key in the table still held; 0 when none is.
template <std::size_t N>
double ArcadeKeyboardTranslator::HeldStep(const std::pair<int, double> (&table)[N]) const
{
    for (const auto& entry : table)
        if (IsHeld(entry.first))
            return entry.second;
    return 0.0;
}

bool ArcadeKeyboardTranslator::OnKeyDown(const Event& event, Object* target)
{
    const int key = event.key.keysym.sym;
    // A press the translator does not act on leaves the key another's until its release (a
    // key already held from play stays held: this is its repeat).
    if (!InRange(key) || !IsActiveFor(target) || IsOnlyAltDown(event.key.keysym.mod))
        return false;
    if (IsTranslatorKey(key))
        m_Held.set(static_cast<std::size_t>(key));
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
    const int key = event.key.keysym.sym;
    if (!InRange(key) || !IsTranslatorKey(key))
        return false;
    if (!IsActiveFor(target)) {
        // Let go outside play (behind the menu, say): nothing is sent, but the key no longer
        // counts as held when play comes back.
        if (m_Held.test(static_cast<std::size_t>(key))) {
            m_Held.reset(static_cast<std::size_t>(key));
            m_ButtonDown = m_ButtonDown && AnyHeld(kFireKeys);
            m_MoveX = HeldStep(kHorizontalKeys);
            m_MoveY = HeldStep(kVerticalKeys);
        }
        return false;
    }
    // The release of a press that was not play's (a shortcut's key, a key pressed before
    // play) is swallowed: it is no release of the button and no change of step.
    if (!m_Held.test(static_cast<std::size_t>(key)))
        return true;
    m_Held.reset(static_cast<std::size_t>(key));
    double step = 0.0;
    if (IsFireKeyOnRelease(key)) {
        m_ButtonDown = AnyHeld(kFireKeys);
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
