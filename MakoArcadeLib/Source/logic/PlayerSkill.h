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

// What the applied skill (or a script) set for the field, read in this one place: the
// factor brick strengths above 1 are scaled by (brickStrengthOverride; 1 when unset) and
// the size index a new paddle starts with (paddleInitialSizeOverride, held to 0..6;
// fallback when unset). A value of the wrong type is reported and counts as unset.
double GetBrickStrengthScale();
int GetPaddleInitialSizeIndex(int fallback);
