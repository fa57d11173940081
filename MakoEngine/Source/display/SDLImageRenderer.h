#pragma once
// The software image renderer: draws onto one SDL surface (of an image) through SDL
// blits, SDL_gfx primitives and the software blend loops. It is the renderer of every
// off-screen canvas and of every image-to-image draw, whichever backend shows the game,
// and of the screen in the software backend. Onto a target without alpha (the screen) it
// blits pictures through their run-length copies, which SDL draws fastest.
#include "display/ImageRenderer.h"

#include <SDL.h>

#include <memory>

class SDLImageRenderer : public ImageRenderer
{
public:
    // Draws into the image, which stays the caller's.
    explicit SDLImageRenderer(Image* target);
    // Draws into the surface, wrapped in an image of the renderer's own (deleted with the
    // renderer). With freeSurface the surface goes with that image; otherwise (a video
    // surface) it is only held.
    SDLImageRenderer(SDL_Surface* surface, bool freeSurface);
    ~SDLImageRenderer() override;

    // A renderer into a new transparent surface of that size in the reference format,
    // with per-pixel alpha on; the renderer owns the new image until ReleaseTarget.
    static SDLImageRenderer* MakeOffscreen(int width, int height);

    Image* GetTargetSurface() override { return m_Target; }
    SDL_Surface* GetSDLTarget() const { return m_TargetSurface; }
    void DrawCircle(int x, int y, int radius, const Color& color, bool filled) override;
    void DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst, const SDL_Rect* src,
                   int alpha, double angle, std::uint32_t flags) override;
    void DrawLine(int x1, int y1, int x2, int y2, const Color& color) override;
    void DrawPie(int x, int y, int radius, int start, int end, const Color& color) override;
    void DrawPolygon(const Poly& poly, const Color& color, bool filled) override;
    // Outline: four lines spanning w + 1 by h + 1 pixels. Filled: opaque colours are
    // written as they are, translucent ones blended (SoftwareBlend::BlendedFillRect),
    // fully transparent ones draw nothing.
    void DrawRect(const SDL_Rect* rect, const Color& color, bool filled) override;
    // The target surface's SDL clip rectangle, which blits, fills, primitives and the
    // software blend loops all keep to.
    void SetClipRect(const SDL_Rect* rect) override;
    void ReleaseTarget() override { m_OwnedTarget.release(); }

    // Blits the src part of the surface to dst with the shader. Copy and the two SDL
    // blends leave the source's alpha settings as they found them. Blit failures raise.
    // A source with a colour key never draws its keyed pixels, whatever the shader.
    void DrawSurface(SDL_Surface* source, ShaderType shader, const SDL_Rect& dst,
                     const SDL_Rect& src, int alpha);

private:
    // Onto a target without alpha (the display), pixel-alpha blends and copies of opaque
    // pictures go through the picture's run-length copy (SurfaceManager); false when the
    // draw is not one of those and is left to DrawSurface.
    bool DrawThroughDisplayCopy(Image* image, ShaderType shader, const SDL_Rect& dst,
                                const SDL_Rect& src);
    // Every drawing call changes the target's pixels: copies made from them go.
    void TargetChanged();

    SDL_Surface* m_TargetSurface = nullptr;
    Image* m_Target = nullptr;
    std::unique_ptr<Image> m_OwnedTarget; // m_Target, while the renderer owns it
};
