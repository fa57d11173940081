#pragma once
// The drawing target that canvases draw through: each display backend implements it for
// the screen, and SDLImageRenderer implements it for any image. Coordinates are target
// pixels; rectangles have the 16-bit fields of SDL_Rect.
#include "display/ShaderType.h"
#include "geometry/Color.h"
#include "geometry/Rect.h"

#include <cstdint>

class Image;
class Poly;

class ImageRenderer
{
public:
    // Deletes the target image when the renderer owns it (see ReleaseTarget).
    virtual ~ImageRenderer() = default;

    // The image drawn into.
    virtual Image* GetTargetSurface() = 0;
    // Circle centred at (x, y); filled or as an outline.
    virtual void DrawCircle(int x, int y, int radius, const Color& color, bool filled) = 0;
    // Copies the src part of image (null: all of it) to dst (null: at 0, 0 in the source
    // size) with the shader and a draw alpha of 0-255. angle and flags are reserved for
    // backends that rotate; the canvas passes 0.
    virtual void DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst,
                           const SDL_Rect* src, int alpha, double angle, std::uint32_t flags) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2, const Color& color) = 0;
    // Pie slice outline from start to end degrees.
    virtual void DrawPie(int x, int y, int radius, int start, int end, const Color& color) = 0;
    // Polygon through the vertices, filled or as the outline of its edges.
    virtual void DrawPolygon(const Poly& poly, const Color& color, bool filled) = 0;
    virtual void DrawRect(const SDL_Rect* rect, const Color& color, bool filled) = 0;

    // Limits all later drawing to the rectangle (null: the whole target) until the next
    // call. What is drawn inside it is exactly what drawing without it draws there.
    virtual void SetClipRect(const SDL_Rect* rect) = 0;

    // What drawing costs on this target, in the units of one pixel of a call's box: a call,
    // a call of the changed region (clipped to one of its pieces, its planning shared out
    // among them), and 16 pixels of a box drawn and of the screen presented. The frame
    // recorder weighs a frame's changed region against drawing everything with them. The
    // figures are the SDL renderer's, fitted to the instructions the play benchmark's passes
    // take drawn each way (a pixel of a box costs about 1.8 instructions there; presenting
    // under X11 is a copy).
    struct DrawCosts
    {
        int call = 1000;
        int clippedCall = 1465;
        int pixels16 = 16;
        int presented16 = 4;
    };
    virtual DrawCosts GetDrawCosts() const { return DrawCosts{}; }

    // After this call the renderer's destruction leaves its target alone; whoever called
    // it keeps the target (GetTargetSurface) alive or deletes it.
    virtual void ReleaseTarget() {}
};
