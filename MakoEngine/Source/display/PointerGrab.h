#pragma once
// Grabbing the pointer for the game's window without stalling the main loop. SDL's own
// grab under X11 retries a refused grab ten times with 100 ms sleeps in between, so a
// grab asked for while another program holds the pointer, or while the window cannot be
// seen, would freeze the game for up to a second. TryGrab asks the X server once; only
// when it grants the grab does SDL's grab follow, and that then succeeds at once.
// Main thread only.
namespace PointerGrab {

// True when the pointer is now grabbed for the game's window, or when the video driver
// is not X11 (SDL's grab is then left to itself). False when X refused the grab.
bool TryGrab();

// Tests: refuse every grab (true) or ask X again (false). Either way the count of
// refusals starts again at 0.
void RefuseForTests(bool refuse);
// Tests: the grabs refused since the last RefuseForTests, each one ask of TryGrab.
int RefusalsForTests();

} // namespace PointerGrab
