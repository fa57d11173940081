#include "display/DisplayParams.h"

DisplayParams::DisplayParams(bool fullscreen_, bool accel3d_, int width_, int height_, bool vsync_)
    : fullscreen(fullscreen_), accel3d(accel3d_), width(width_), height(height_), vsync(vsync_)
{
}

DisplayParams::DisplayParams(const DisplayParams& other) : Object()
{
    *this = other;
}

DisplayParams& DisplayParams::operator=(const DisplayParams& other)
{
    if (this == &other)
        return *this;
    fullscreen = other.fullscreen;
    accel3d = other.accel3d;
    width = other.width;
    height = other.height;
    vsync = other.vsync;
    return *this;
}
