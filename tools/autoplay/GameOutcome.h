#pragma once
// How a game of the controller has ended, read from its state: the states in which the
// level has been won and those in which the game has been lost. Every harness that plays a
// level to its end (the autoplay tests, the soak, the field sweep) stops on these.
#include <string>

class ArcadeGameLogic;

namespace autoplay {

enum GameOutcome { GAME_IN_PLAY, GAME_WON, GAME_LOST };

// The outcome a controller state's name stands for.
GameOutcome OutcomeOfState(const std::string& state);
// The outcome of the controller's current state (in play while it has none).
GameOutcome OutcomeOf(ArcadeGameLogic* logic);

} // namespace autoplay
