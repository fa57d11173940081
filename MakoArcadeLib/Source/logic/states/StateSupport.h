#pragma once
// What several game states share: the true state of the fire (left mouse) button, the
// synthetic button events that tell the controller about it, the relay of pointer motion
// to the paddles, and moving the level's content for the brick drop.
//
// Main thread only.
#include "core/Event.h"

#include <string>

class ArcadeGameLogic;
class EndOfPlayAnimation;

namespace ArcadeGameStates {

// How far the level's content drops in at the start of a level (pixels).
constexpr int kDropDistance = 420;

// Whether the left mouse button is held now (SDL's button state, or the probe a test set).
bool IsLeftButtonHeld();
// Replaces the reading of the button (null restores SDL's); for tests.
void SetLeftButtonProbe(bool (*probe)());
// Sends the controller a left-button press or release at (0, 0), at once.
void SendLeftButton(ArcadeGameLogic* logic, bool pressed);
// A mouse motion with a relative move other than (0, 0) goes to each paddle as
// ARCADE_POINTERMOVE; other events do nothing.
void RelayPointerMotion(ArcadeGameLogic* logic, const Event& event);
// The level's content that drops in: the artefact, bricks, goobers, extra actors and balls,
// in that order, moved by dy, their physics with them (field objects follow their
// geometry, so the geometry moves).
void MoveDropContent(ArcadeGameLogic* logic, int dy);
// After play has ended (level won, game over): the paddles, flying texts, extra actors,
// explosions and sparks go.
void ClearFieldAfterPlay(ArcadeGameLogic* logic);
// Puts an end-of-play caption on the play layer (the field's size, at that z order) and
// starts it; the controller hears its end. Returns it.
EndOfPlayAnimation* ShowCaption(ArcadeGameLogic* logic, EndOfPlayAnimation* animation, int zorder);
// The name of the button that closed the dialog of a MAKO_DIALOGSTOPPED; "" for none.
std::string ClickedButtonName(const Event& event);
// The music's master tempo (1.0 normal); nothing without music.
void SetMusicTempo(float tempo);
// Runs the script function ApplyPlayerSkill when the scripts define it.
void ApplyPlayerSkill();

} // namespace ArcadeGameStates
