#pragma once
// The screen renderer of the hardware backend: images as textured quads (one per 64 x 64
// tile) and filled rectangles as flat quads, drawn by the backend's Direct3D device into
// its back buffer. Circles, lines, pies, polygons and rectangle outlines draw nothing in
// this backend. The scene opens at the first drawing of a frame and closes at Present.
// Main thread only.
#include "ddraw/d3d.h"
#include "display/ImageRenderer.h"

class DisplayBackendD3D;
class DividedTexture;

class D3DImageRenderer : public ImageRenderer
{
public:
    explicit D3DImageRenderer(DisplayBackendD3D* backend) : m_Backend(backend) {}
    // Ends an open scene.
    ~D3DImageRenderer() override;

    // The screen is not an image here: null.
    Image* GetTargetSurface() override { return nullptr; }
    void DrawCircle(int, int, int, const Color&, bool) override {}
    // The image's texture (made first when missing) with the shader, from src (null: all
    // of it) to dst (required); angle and flags are not used.
    void DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst, const SDL_Rect* src,
                   int alpha, double angle, std::uint32_t flags) override;
    void DrawLine(int, int, int, int, const Color&) override {}
    void DrawPie(int, int, int, int, int, const Color&) override {}
    void DrawPolygon(const Poly&, const Color&, bool) override {}
    // Filled: a flat quad blended by the colour's alpha (alpha 0 draws nothing and opens
    // no scene). Outline: nothing is drawn.
    void DrawRect(const SDL_Rect* rect, const Color& color, bool filled) override;
    // The device's viewport, which its rasteriser keeps to pixel by pixel. The clip holds
    // until the next call, also across a new device (OnNewDevice).
    void SetClipRect(const SDL_Rect* rect) override;
    // Fitted like the SDL renderer's (a pixel of a box costs about 6 instructions here):
    // each quad sets up its texture lookup, clipped or not, and presenting copies the back
    // buffer to the window.
    DrawCosts GetDrawCosts() const override { return DrawCosts{1430, 1400, 16, 11}; }

    // Opens the scene and sets the render states; a lost display is recovered once.
    void BeginScene();
    // Opens the scene unless it is open, so that a lost display is recovered before a
    // frame draws anything.
    void PrepareScene()
    {
        if (!m_InScene)
            BeginScene();
    }
    // The backend made a new device (the old one and its scene are gone): the clip set
    // last is applied to it.
    void OnNewDevice();
    void EndScene();
    bool IsInScene() const { return m_InScene; }
    void DrawDividedTexture(DividedTexture* texture, ShaderType shader, const SDL_Rect& dst,
                            const SDL_Rect& src, int alpha);
    void SetShaderState(ShaderType shader);
    void SetColorState(int alpha);

private:
    IDirect3DDevice7* Device() const;
    // Sets the device's viewport to the clip asked for (m_Asked, when m_Clipped).
    void ApplyClip();

    DisplayBackendD3D* m_Backend;
    bool m_InScene = false;
    // The whole target's viewport while a clip is set (restored when it is lifted).
    D3DVIEWPORT7 m_FullViewport{};
    bool m_Clipped = false;
    SDL_Rect m_Asked{};       // the clip asked for, while m_Clipped
    SDL_Rect m_ClipRect{};    // the viewport while m_Clipped: m_Asked within the target
    bool m_ClipEmpty = false; // the clip holds no pixel: nothing is drawn
};
