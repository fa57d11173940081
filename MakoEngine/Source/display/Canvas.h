#pragma once
// A drawing context over an image renderer with a stack of drawing states. The top state's
// origin is added to the coordinates of most primitives, so actors push a state,
// translate by their position, draw themselves and their children, and pop.
//
// A canvas draws either over an existing renderer (the display's) or into a new
// off-screen image. Main thread only.
#include "display/ShaderType.h"
#include "geometry/Color.h"
#include "geometry/Rect.h"

#include <cstdint>
#include <memory>
#include <vector>

class Image;
class ImageRenderer;
class Poly;

// One drawing state: the current origin and the canvas's flags.
struct CanvasState
{
    int x = 0;
    int y = 0;
    std::uint32_t flags = 0;
};

enum CanvasFlags : std::uint32_t {
    CANVAS_OWNS_TARGET = 2, // an off-screen canvas deletes its image with itself
};

class Canvas
{
public:
    // Off-screen: draws into a new transparent width x height image. With
    // CANVAS_OWNS_TARGET the image goes with the canvas; otherwise the caller takes it
    // (GetTargetImage) and must delete it.
    Canvas(int width, int height, std::uint32_t flags);
    // Over an existing renderer; its target is never deleted by the canvas, the renderer
    // itself only when ownsRenderer.
    Canvas(ImageRenderer* renderer, bool ownsRenderer);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    ImageRenderer* GetRenderer() const { return m_Renderer; }
    Image* GetTargetImage() const;

    // A new top state copying the one below; records are reused after PopState.
    void PushState();
    // Back to the state below. Every PopState matches a PushState; the base state stays.
    void PopState();
    // Moves the current origin and returns the current state.
    CanvasState& Translate(int dx, int dy) MAKO_LIFETIMEBOUND;
    const CanvasState& GetState() const MAKO_LIFETIMEBOUND { return *m_StateStack[m_Top]; }
    int GetDepth() const { return m_Top; }

    // Primitives; all but DrawRect and FillPolygon are offset by the origin.
    // The frame of the image with its top-left at the origin, blended by pixel alpha
    // unless another shader is given.
    void DrawImage(Image* image, int frame, ShaderType shader = SHADERTYPE_BLENDPIXELALPHA);
    void DrawLine(int x1, int y1, int x2, int y2, const Color& color);
    void DrawCircle(int x, int y, int radius, const Color& color);
    void FillCircle(int x, int y, int radius, const Color& color);
    // A pie slice centred at (x1, y1) starting at the rim point (x2, y2) (0 degrees to
    // the right, 90 below) and spanning span degrees.
    void DrawPie(int x1, int y1, int x2, int y2, const Color& color, int span);
    void FillRect(SDL_Rect rect, const Color& color);
    void Fill(int width, int height, const Color& color);
    // Outline of the rectangle as given, without the origin.
    void DrawRect(SDL_Rect rect, const Color& color);
    // The polygon as given, without the origin.
    void FillPolygon(const Poly& poly, const Color& color);

private:
    void InitStack(std::uint32_t flags);

    ImageRenderer* m_Renderer = nullptr;
    // The off-screen image when the canvas keeps it; declared first so that it outlives
    // the renderer drawing into it.
    std::unique_ptr<Image> m_OwnedTarget;
    std::unique_ptr<ImageRenderer> m_OwnedRenderer; // m_Renderer, when the canvas owns it
    // States live apart from the vector so that references to them survive its growth.
    std::vector<std::unique_ptr<CanvasState>> m_StateStack;
    int m_Top = 0;
};
