#pragma once
// The pack's fonts as the game's screens open them: every font file at every point size a
// font resource of the game's scripts gives (and the size the check always opens), each
// made to measure and draw a text with the letters and figures of the game's texts. What
// the game says of a font (refused out of proportion, a damaged glyph, a text it could not
// draw) it says here through its reporter, so the check names every font file the game
// would refuse or mend.
#include <set>
#include <string>

namespace levelcheck {

// The point sizes the font resources of the game's scripts (tables of the global Resources
// with a fontSize) give, and `always`.
std::set<int> UsedFontSizes(int always);

// Opens every font file of the pack at each size and draws the sample text; stops early
// when a stop of the program was asked for.
void OpenFontsAtUsedSizes();

} // namespace levelcheck
