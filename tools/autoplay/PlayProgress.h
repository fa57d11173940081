#pragma once
// The harnesses judge how far a level is from its end by the game's own measure.
#include "logic/PlayProgress.h"

namespace autoplay {
using ::PlayProgress;
} // namespace autoplay
