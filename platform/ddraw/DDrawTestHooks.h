#pragma once
// Hooks that let tests make the display layer fail on demand and play the parts of other
// programs. Not for the game's own code.
#include "ddraw/WinTypes.h"

namespace ddrawx {

// Makes the next `times` calls of the named operation fail with `result` before they do
// anything. Names are the operations' own: "DirectDrawCreateEx", "DirectDrawCreate",
// "SetCooperativeLevel", "SetDisplayMode", "CreateSurface", "CreateClipper", "Lock",
// "Blt", "Flip", "Restore", "TestCooperativeLevel", "QueryInterface" (of IID_IDirect3D7
// on a DirectDraw object), "CreateDevice", "GetCaps" (of the device), "SetViewport",
// "Clear", "BeginScene", "EndScene", "SetTexture", "DrawPrimitive", "D3DXInitialize",
// "D3DXCreateTexture". A later FailNext of the same name replaces the earlier one.
void FailNext(const char* operation, HRESULT result, int times = 1);

// Another program takes the display for a moment: every surface that is not in system
// memory is lost (as after a switch away from a full-screen program and back).
void LoseSurfaces();

// Another program takes exclusive mode: surfaces are lost, and the next `polls` calls of
// TestCooperativeLevel answer DDERR_EXCLUSIVEMODEALREADYSET (so does any request for
// exclusive mode and any Restore meanwhile); then it lets go.
void HoldExclusiveMode(int polls);

// Forgets every pending failure, releases exclusive mode held by another program and
// turns reference drawing off.
void ResetHooks();

// Reference drawing (off by default): devices draw every triangle pixel by pixel by the
// rules of d3d.h alone, without the quad fast path or the row loops, so that tests can
// compare those with the rules.
void UseReferenceDrawing(bool on);
// Strips the quad fast path has taken since the program started.
long QuadFastPathDraws();
// Updates of SDL's display (each a round trip to the window system) the layer has asked
// for since the program started.
long DisplayUpdateCount();

// Objects of the layer alive now (DirectDraw objects, surfaces, clippers, palettes,
// Direct3D objects, devices), for tests that check nothing is left behind.
int LiveObjectCount();

} // namespace ddrawx
