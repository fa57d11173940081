#pragma once
// What a display backend is asked to show: full screen or a window, the Direct3D or the
// SDL backend, the size in pixels and whether presenting waits for the vertical blank.
// Both backends always use 32 bits per pixel. Copies carry all five fields (display
// parameters are never named).
#include "core/Object.h"

class DisplayParams : public Object
{
public:
    DisplayParams() = default;
    DisplayParams(bool fullscreen, bool accel3d, int width, int height, bool vsync);
    DisplayParams(const DisplayParams& other);
    DisplayParams& operator=(const DisplayParams& other);

    bool fullscreen = false;
    // true: the Direct3D backend; false: the SDL backend.
    bool accel3d = false;
    int width = 0;
    int height = 0;
    bool vsync = false;
};

// "ON" or "OFF", as the display log lines write flags.
inline const char* OnOff(bool value)
{
    return value ? "ON" : "OFF";
}
