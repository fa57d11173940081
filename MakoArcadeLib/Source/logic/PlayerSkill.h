#pragma once
// The player's skill turned into play parameters. The script table Skills (defined by
// ArcadeGameLogic.lua) holds one row per skill name ("kid", "casual", "gamer"); applying a
// row writes the globals that the level, paddle, ball and brick read when they are built,
// and GameOptions.ballsLeft when GameOptions exists.
//
// Main thread only.
#include <string>

// Applies the Skills row of the first current player's skill. A player whose skill has no
// row (or no current player at all) gets the "casual" row; the fallback is logged. Numbers
// read as integers are truncated toward zero; the speed, strength and time values are
// narrowed to single precision before they are written back. Creates no GameOptions.
// Scripts (and the game's level loading) call it as the global function ApplyPlayerSkill().
void ApplyPlayerSkill();

// Applies the Skills row of that name, with the same fallback to "casual".
void ApplySkill(const std::string& skill);
