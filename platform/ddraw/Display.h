#pragma once
// The one display all DirectDraw objects share: SDL's video surface and its mode, who holds
// exclusive mode, and the registry of surfaces that a change of the display loses.
#include "ddraw/WinTypes.h"

#include <vector>

struct SDL_Surface;

namespace ddrawx {

class DirectDraw;
class Surface;

// A display mode as SDL reports it; valid is false while SDL has no video surface.
struct DisplayMode
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool valid = false;
};

class Display
{
public:
    static Display& Get();

    // Starts SDL's video subsystem unless it runs; false when SDL refuses.
    static bool StartVideo();
    // SDL's video surface now, or null.
    static SDL_Surface* VideoSurface();
    static DisplayMode CurrentMode();
    static bool SameMode(const DisplayMode& a, const DisplayMode& b);

    void AddSurface(Surface* surface);
    void RemoveSurface(Surface* surface);
    // Every registered surface that is not in system memory becomes lost.
    void LoseSurfaces();

    DirectDraw* ExclusiveOwner() const { return m_ExclusiveOwner; }
    void SetExclusiveOwner(DirectDraw* owner) { m_ExclusiveOwner = owner; }

    // Exclusive mode held by another program (a test hook): answered for `polls` more
    // TestCooperativeLevel calls.
    void HoldByOtherProgram(int polls);
    bool HeldByOtherProgram() const { return m_OtherProgramPolls > 0; }
    // One TestCooperativeLevel poll: true while the other program still holds the display.
    bool PollOtherProgram();

    // Surfaces whose flipping chain died while callers still held them: kept here, with no
    // pixels, until their last reference goes.
    void AddOrphan(Surface* surface);
    void RemoveOrphan(Surface* surface);

    int& LiveObjects() { return m_LiveObjects; }

private:
    std::vector<Surface*> m_Surfaces;
    DirectDraw* m_ExclusiveOwner = nullptr;
    int m_OtherProgramPolls = 0;
    Surface* m_Orphans = nullptr;
    int m_LiveObjects = 0;
};

} // namespace ddrawx
