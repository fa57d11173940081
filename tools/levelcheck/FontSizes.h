#pragma once
// The pack's fonts as the game's screens open them: every font file at every point size the
// game's scripts and configuration give (and the size the check always opens), each
// made to measure and draw a text with the letters and figures of the game's texts. What
// the game says of a font (refused out of proportion, a damaged glyph, a text it could not
// draw) it says here through its reporter, so the check names every font file the game
// would refuse or mend.
#include <set>
#include <string>

namespace levelcheck {

// The point sizes the game's fonts are opened at, and `always`: every number under a key
// ending in "fontSize" in the global tables Resources (a font table's own, nested at any
// depth: a label's `font = { fontSize = 28 }`) and ConstConfig (the sizes the screens and
// dialogs ask for, such as ButtonFontSize).
std::set<int> UsedFontSizes(int always);

// Opens every font file of the pack at each size and draws the sample text; stops early
// when a stop of the program was asked for. When not one font of the pack can be used at
// a size, the game's own sentence of that (its start ends there), else "".
std::string OpenFontsAtUsedSizes();

} // namespace levelcheck
