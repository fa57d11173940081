#pragma once
// Starting and stopping SDL's video subsystem for the display backends.
//
// The backends ask for a driver by the names "directx" (the SDL backend) and "windib"
// (the Direct3D backend). On this platform both stand for the platform's one video
// driver: the one named by SDL_VIDEODRIVER as the program's caller set it (for instance
// "dummy" for headless runs), otherwise SDL's default (X11). The caller's choice is read
// once, before the engine sets SDL_VIDEODRIVER itself (RememberCallerVideoDriver).
// Main thread only.
#include "display/DisplayWindow.h"

#include <string>

// Reads SDL_VIDEODRIVER as the caller left it; only the first call reads it.
void RememberCallerVideoDriver();
// The SDL driver name the backends' driver names stand for ("" = SDL's default).
const std::string& CallerVideoDriver();

// Starts SDL video with the driver that `name` stands for. On success the window handle
// and SDL's window procedure go to the out arguments that are given, and true is
// returned; on failure GetSDLVideoError says why and false is returned. A name other
// than "windib" or "directx" raises an assertion failure.
bool InitSDLVideo(const std::string& name, HWND* window, WNDPROC* procedure);
// Stops SDL video when it runs.
void ShutdownSDLVideo();
// Whether SDL video runs, was started by InitSDLVideo under exactly this name ("directx"
// and "windib" differ even where they stand for the same driver) and still runs that
// driver.
bool IsCurrentSDLVideoDriver(const std::string& name);
// The reason of the last failed InitSDLVideo ("" before any failure).
const std::string& GetSDLVideoError();
// SDL_VideoDriverName, "" when video does not run.
std::string CurrentSDLVideoDriverName();
// Whether SDL draws into the terminal as coloured text: its choice when there is no graphical
// display. The player is then told that, in one sentence (Application), and nothing else of
// the display's start.
bool IsTextDisplay();
