#pragma once
// The screen's renderer as the game's canvases see it. It keeps each frame's drawing
// calls instead of drawing them; when the frame is finished it compares them with the
// calls of the frame before and draws, through the backend's screen renderer, only where
// the picture can have changed, then tells which rectangles to present.
//
// The promise: every frame shows exactly the pixels that drawing all of its calls
// straight onto the screen would show. A pixel is left alone only when the calls that
// reach it (by their bounding boxes) are, in order, the same as last frame's, which
// redraw last frame's pixel. Two calls are the same when everything they draw from is:
// for a picture, its surface record and that record's pixel version, its blending
// settings, the rectangles, the shader and the alpha. Inside the changed region every call
// that reaches it is drawn again, in order, clipped to the region.
//
// Full redraw (SetFullRedraw) draws every call at once and presents the whole screen,
// as the game did before; it is the fallback and the reference the tests compare with.
//
// The region is drawn only when it costs less than drawing everything. Before a frame is
// drawn, its work both ways (DrawWork) is weighed with the screen renderer's costs
// (ImageRenderer::GetDrawCosts): drawing everything is every call, unclipped, over its
// whole box, and the whole screen presented; drawing the region is every piece a call is
// clipped to, over the part of its box in the piece, and the region presented. When the
// region would cost more (many things moving, or one big thing), the frame is drawn and
// presented whole, with the same pixels; the comparison with the last frame stops early
// once the region holds most of the screen, planning the region's pieces stops once they
// cost more, and the next kWholeRun frames are drawn whole without being compared.
// SetRegionAlways turns the choice off (for measuring and tests).
//
// What it relies on: the screen renderer's target still holds the last finished frame when
// the next one is drawn. The SDL backend draws into SDL's video surface itself; the
// Direct3D backend draws into a back buffer that presenting copies to the display and
// leaves as it was (a window's present is a blit; the full-screen flip of the DirectDraw
// layer, platform/ddraw/Surface.cpp, copies the back buffer to the front instead of
// swapping the two). Whenever that cannot hold, the next frame is drawn and presented
// whole: a new display (the recorder is made anew), a display the backend reports lost,
// restored or rebuilt (DisplayBackend::GetDisplayLosses, also when that happens while a
// frame is drawn), and a window whose picture the window system lost (DrawWholeNext).
//
// A picture drawn is held (through its surface record) until the end of the next frame
// that does not draw it, so a frame is drawn correctly even when the image that drew a
// picture is deleted before the frame ends. Main thread only.
#include "display/DirtyRegion.h"
#include "display/ImageRenderer.h"
#include "geometry/Poly.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class DisplayBackend;
struct SurfaceNode;

// One drawing call as the recorder keeps it.
struct RecordedDraw
{
    enum Kind : std::uint8_t { IMAGE, CIRCLE, LINE, PIE, POLYGON, RECT };

    Kind kind = IMAGE;
    // Lines (and what is drawn of lines) come out of a clipped draw a pixel off, so they
    // are drawn whole or not at all: the region grows to hold them.
    bool wholeOnly = false;
    // A picture without a surface record (a surface held directly) has no pixel version:
    // it counts as changed, and is drawn through the caller's image, which must live
    // until the frame is finished.
    bool alwaysChanged = false;
    bool filled = false;
    ShaderType shader = SHADERTYPE_BLENDPIXELALPHA;
    int alpha = 0;
    std::uint32_t flags = 0;
    double angle = 0.0;
    SDL_Rect dst{};
    SDL_Rect src{};
    int geometry[5] = {}; // circle x, y, r; line x1, y1, x2, y2; pie x, y, r, start, end
    Color color;
    Image* image = nullptr; // the picture drawn through (a held one for surface records)
    SurfaceNode* node = nullptr;
    std::uint64_t pixelVersion = 0;
    std::uint32_t surfaceFlags = 0; // SDL_SRCALPHA | SDL_SRCCOLORKEY of the picture
    std::uint32_t surfaceAlpha = 0;
    std::uint32_t colorKey = 0;
    std::size_t polygon = 0; // index into the frame's polygons
    SDL_Rect clip{};         // the clip rectangle set when the call was made
    SDL_Rect bounds{};       // what the call can touch, cut to the clip
    std::uint64_t hash = 0;
};

// The work of drawing a frame one way, as the recorder estimates it before drawing.
struct DrawWork
{
    long long calls = 0;     // calls drawn (pieces, for the region)
    long long pixels = 0;    // pixels of their boxes (inside the pieces, for the region)
    long long presented = 0; // pixels presented
    // The work weighed with a renderer's costs; clipped: the calls are clipped ones.
    long long Cost(const ImageRenderer::DrawCosts& costs, bool clipped) const
    {
        return calls * (clipped ? costs.clippedCall : costs.call) +
               (pixels * costs.pixels16 + presented * costs.presented16) / 16;
    }
};

class FrameRecorder : public ImageRenderer
{
public:
    // Records for the screen renderer (kept by the caller) of a width x height screen;
    // display, when given, is the backend behind it, asked to ready each frame and watched
    // for lost pixels (it must outlive the recorder).
    FrameRecorder(ImageRenderer* screen, int width, int height, DisplayBackend* display = nullptr);
    ~FrameRecorder() override;

    // Full redraw on or off; either way the next frame is drawn and presented whole.
    void SetFullRedraw(bool fullRedraw);
    // True: the changed region is drawn even when drawing everything would cost less.
    void SetRegionAlways(bool always) { m_RegionAlways = always; }
    // The comparison stops once the region holds this share of the screen, in 1/16ths.
    static constexpr long long kWholeSixteenths = 12;
    // After a frame the estimate drew whole, this many more are drawn whole without being
    // compared (much keeps moving for a while); then the next is weighed again.
    static constexpr int kWholeRun = 3;
    // The next frame is drawn and presented whole: the picture shown was damaged outside
    // the game's drawing (a window uncovered).
    void DrawWholeNext() { m_WholeNext = true; }

    // Draws what changed since the last frame onto the screen renderer and returns the
    // region to present (empty: nothing changed). Every later call starts the next frame.
    const DirtyRegion& FinishFrame() MAKO_LIFETIMEBOUND;
    // True when calls were made since the last FinishFrame.
    bool HasOpenFrame() const { return m_FrameOpen; }
    // The region of the last finished frame.
    const DirtyRegion& GetRegion() const MAKO_LIFETIMEBOUND { return m_Region; }
    // Calls drawn on the screen by the last finished frame (its own, not the recorded).
    int GetLastDrawCount() const { return m_LastDrawCount; }
    // True when the last finished frame was drawn whole because its region would have
    // cost more (not because of full redraw, a first frame or a display change).
    bool WasLastDrawnWholeByChoice() const { return m_ChoseWhole; }
    // The last finished frame's work drawn whole, and drawn as its region (as far as it
    // was planned: not at all when the comparison stopped early), for figures.
    const DrawWork& GetLastWholeWork() const { return m_LastWhole; }
    const DrawWork& GetLastRegionWork() const { return m_LastRegion; }

    Image* GetTargetSurface() override { return m_Screen->GetTargetSurface(); }
    void DrawCircle(int x, int y, int radius, const Color& color, bool filled) override;
    void DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst, const SDL_Rect* src,
                   int alpha, double angle, std::uint32_t flags) override;
    void DrawLine(int x1, int y1, int x2, int y2, const Color& color) override;
    void DrawPie(int x, int y, int radius, int start, int end, const Color& color) override;
    void DrawPolygon(const Poly& poly, const Color& color, bool filled) override;
    void DrawRect(const SDL_Rect* rect, const Color& color, bool filled) override;
    // Kept with every later call and kept to when the call is drawn; under full redraw it
    // goes straight to the screen renderer.
    void SetClipRect(const SDL_Rect* rect) override;

private:
    struct Frame
    {
        std::vector<RecordedDraw> draws;
        std::vector<Poly> polygons;
        void Clear();
    };
    struct HeldPicture
    {
        std::unique_ptr<Image> image;
        std::uint64_t lastFrame = 0;
    };

    // Adds the call, its clip and hash to the open frame (calls that touch no pixel of
    // the screen are left out); under full redraw draws it at once instead.
    void Record(RecordedDraw& draw, const Poly* poly);
    // Draws the call on the screen renderer; poly is the polygon of a polygon call.
    void Execute(const RecordedDraw& draw, const Poly* poly);
    // The image to draw a surface record's picture through: one held by the recorder.
    Image* HoldPicture(SurfaceNode* node);
    void ReleaseUnusedPictures();
    // Marks the calls that differ between the two frames in the region; false when it
    // stopped early because the region holds most of the screen (the choice is on).
    bool CompareFrames();
    void GrowForWholeOnlyDraws();
    // The pieces each call is drawn in (m_Plan), and whether drawing them and presenting
    // the region costs less than drawing and presenting everything (always true when the
    // choice is off). Stops planning once the region costs more.
    bool PlanRegion();
    void DrawPlan();
    // Every call drawn with its own clip only: the frame drawn whole.
    void DrawWhole();
    // True when the region is worth comparing further: not most of the screen.
    bool RegionIsSmall() const;
    // True when the display lost its pixels since the last look.
    bool DisplayWasLost();

    ImageRenderer* m_Screen;
    DisplayBackend* m_Display;
    std::uint64_t m_SeenLosses = 0;
    int m_Width;
    int m_Height;
    bool m_FullRedraw = false;
    bool m_WholeNext = true;
    bool m_FrameOpen = false;
    std::uint64_t m_FrameNumber = 1;
    Frame m_Current;
    Frame m_Previous;
    DirtyRegion m_Region;
    SDL_Rect m_Clip;
    int m_LastDrawCount = 0;
    bool m_RegionAlways = false;
    bool m_ChoseWhole = false;
    int m_WholeRunLeft = 0; // frames still to draw whole without comparing
    // The open frame's work drawn whole, and the last finished frame's both ways.
    DrawWork m_Whole;
    DrawWork m_LastWhole;
    DrawWork m_LastRegion;
    std::unordered_map<SurfaceNode*, HeldPicture> m_Held;
    // Scratch of CompareFrames, kept to avoid allocating every frame.
    std::vector<std::size_t> m_PreviousByHash;
    std::vector<char> m_PreviousMatched;
    std::vector<std::size_t> m_MatchedOrder;
    std::vector<std::size_t> m_MatchedNow;
    std::vector<SDL_Rect> m_Pieces; // scratch of PlanRegion
    // The region's drawing: call (its position in the frame) and the piece it is clipped to.
    struct PlannedDraw
    {
        std::size_t call;
        SDL_Rect clip;
    };
    std::vector<PlannedDraw> m_Plan;
};
