#pragma once
// Keeps SDL's video surface the size of the game's display when the display was set up
// through DirectDraw rather than SDL.

// Gives SDL's video surface the size width × height. Nothing changes when it already has
// that size; otherwise the video mode is set again with the present depth and flags (or
// 32 bits in a window when SDL has no video surface yet). DirectDraw surfaces stay valid:
// this is not a display-mode change. Returns 0 on success, -1 when SDL refuses (SDL_GetError
// says why).
int SDL_ChangeVideoSizeHACK(int width, int height);
