// Drawing only what changed: a moving scene drawn frame by frame shows, in both backends,
// exactly the pixels full redraws show, on the screen and on SDL's display, while frames
// that change little redraw and present little.
#include "backends/BackendFixture.h"
#include "ddraw/ddraw.h"
#include "display/CDXScreen.h"
#include "display/CDXSurface.h"
#include "display/DirtyRegion.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayManager.h"
#include "display/FrameRecorder.h"
#include "geometry/Poly.h"
#include "geometry/Rect.h"

#include <algorithm>
#include <cmath>
#include <random>

using namespace backendtest;

namespace {

// Each frame changes one thing of the scene (kind f % kKinds), the last kind nothing.
const int kKinds = 13;
const int kFrames = 2 * kKinds;

struct MovingScene
{
    std::vector<std::unique_ptr<Image>> images = MakeSceneImages();
    std::unique_ptr<Image> sprite{MakePatternImage(40, 30, 1, 9)};
    std::unique_ptr<Image> repainted{new Image(50, 40, 1, IMAGE_SRCALPHA, Palette::Red)};
    int repaints = 0;

    // How often the change of that kind happened up to frame f.
    static int Count(int kind, int f) { return f < kind ? 0 : (f - kind) / kKinds + 1; }

    void Draw(ImageRenderer& renderer, int f)
    {
        DrawScene(renderer, images);
        // A sprite moving across static pictures and a static line, and one leaving the
        // screen at its right edge.
        const int moves = Count(0, f);
        SDL_Rect dst = MakeRect(100 + moves * 37, 150 + (moves % 3) * 5, 40, 30);
        renderer.DrawImage(sprite.get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0, 0);
        dst = MakeRect(560 + Count(1, f) * 9, 40, 40, 30);
        renderer.DrawImage(sprite.get(), SHADERTYPE_COPY, &dst, nullptr, 255, 0.0, 0);
        renderer.DrawLine(90, 140, 400, 205, Palette::White);
        // Two overlapping pictures that swap places in the drawing order.
        SDL_Rect places[2] = {MakeRect(420, 330, 64, 64), MakeRect(450, 350, 48, 40)};
        Image* pictures[2] = {images[3].get(), images[2].get()};
        for (int i = 0; i < 2; ++i) {
            const int which = Count(2, f) % 2 ? 1 - i : i;
            renderer.DrawImage(pictures[which], SHADERTYPE_BLENDPIXELALPHA, &places[which], nullptr,
                               255, 0.0, 0);
        }
        // Pixels changed in place, and a blending setting changed without a pixel change.
        if (Count(3, f) != repaints) {
            repaints = Count(3, f);
            repainted->Fill(Color::FromRGBA(0, 40 * repaints, 200, 255));
        }
        repainted->SetAlphaProperties(Count(4, f) % 2 ? SDL_SRCALPHA : 0, 255);
        dst = MakeRect(250, 380, 50, 40);
        renderer.DrawImage(repainted.get(), SHADERTYPE_BLENDCONSTANTALPHA, &dst, nullptr, 90, 0.0,
                           0);
        // A picture drawn in one frame only, and deleted before that frame is finished.
        if (f % kKinds == 5) {
            std::unique_ptr<Image> passing(MakePatternImage(30, 30, 2, 20 + f));
            dst = MakeRect(30 + f * 11, 60, 30, 30);
            renderer.DrawImage(passing.get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0,
                               0);
        }
        // A fill fading in and out, and primitives (the hardware backend draws none but
        // filled rectangles).
        SDL_Rect fade = MakeRect(520, 220, 90, 50);
        renderer.DrawRect(&fade, Color::FromRGBA(10, 250, 90, (Count(6, f) * 70) % 256), true);
        const int c = Count(7, f);
        renderer.DrawLine(100, 455 - c * 3, 300, 445 + c * 2, Palette::White);
        SDL_Rect outline = MakeRect(300 + Count(8, f) * 3, 250, 60, 40);
        renderer.DrawRect(&outline, Palette::Yellow, false);
        renderer.DrawCircle(80, 120 + Count(9, f) * 4, 15, Palette::Green, Count(9, f) % 2 == 0);
        renderer.DrawPie(600, 120, 25, 10 * Count(10, f), 10 * Count(10, f) + 120, Palette::Orange);
        const int p = Count(11, f);
        Poly poly;
        const std::vector<Point2f> corners = {Point2f(200.5f + p * 3, 420), Point2f(260, 430 - p),
                                              Point2f(230, 470)};
        poly.SetVertices(corners);
        renderer.DrawPolygon(poly, Palette::Blue, p % 2 == 1);
    }
};

class ChangedRegionTest : public BackendTest
{
protected:
    struct Run
    {
        std::vector<std::vector<std::uint32_t>> frames;
        std::vector<long long> regionAreas;
    };

    // The moving scene's frames as one display of that kind shows them.
    Run Play(bool accel3d, bool fullRedraw)
    {
        Run run;
        DisplayManager manager;
        manager.SetFullRedraw(fullRedraw);
        DisplayParams params(false, accel3d, 640, 480, false);
        manager.ApplyDisplayParams(params);
        EXPECT_EQ(accel3d, params.accel3d);
        MovingScene scene;
        for (int f = 0; f < kFrames; ++f) {
            scene.Draw(*manager.GetImageRenderer(), f);
            manager.Flip();
            SDL_Surface* shot = manager.GetScreenshotSurface();
            SDL_Surface* video = SDL_GetVideoSurface();
            EXPECT_TRUE(shot && video);
            if (!shot || !video)
                return run;
            run.frames.push_back(RgbPixels(shot));
            // What was presented is what was drawn.
            EXPECT_EQ(run.frames.back(), RgbPixels(video)) << "frame " << f;
            run.regionAreas.push_back(manager.GetRecorder()->GetRegion().GetArea());
        }
        return run;
    }
};

// Where the two runs' frames differ: "frame f: n pixels, first at (x, y)".
std::string Differences(const std::vector<std::vector<std::uint32_t>>& a,
                        const std::vector<std::vector<std::uint32_t>>& b)
{
    std::string text;
    for (std::size_t f = 0; f < std::min(a.size(), b.size()); ++f) {
        int count = 0;
        std::size_t first = 0;
        for (std::size_t i = 0; i < a[f].size() && i < b[f].size(); ++i)
            if (a[f][i] != b[f][i] && count++ == 0)
                first = i;
        if (count)
            text += "frame " + std::to_string(f) + ": " + std::to_string(count) +
                    " pixels, first at (" + std::to_string(first % 640) + ", " +
                    std::to_string(first / 640) + ")\n";
    }
    return text;
}

// What happens to a display between two frames, as the window system or another program
// does it.
enum class DisplayChange { Lost, Rebuilt, FullScreen, Windowed, Exposed };

const char* NameOf(DisplayChange change)
{
    switch (change) {
    case DisplayChange::Lost:
        return "lost";
    case DisplayChange::Rebuilt:
        return "rebuilt";
    case DisplayChange::FullScreen:
        return "full screen";
    case DisplayChange::Windowed:
        return "windowed";
    case DisplayChange::Exposed:
        return "exposed";
    }
    return "";
}

// Fills every pixel of a DirectDraw surface: what a surface's contents are after a loss.
void Scribble(IDirectDrawSurface7* surface)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                     y * desc.lPitch);
        std::fill(row, row + desc.dwWidth, 0x00C0FFEEu);
    }
    surface->Unlock(nullptr);
}

void Apply(DisplayManager& manager, DisplayChange change, bool accel3d)
{
    auto* d3d = dynamic_cast<DisplayBackendD3D*>(manager.GetBackend());
    switch (change) {
    case DisplayChange::Lost: // the back buffer's pixels go with its surface
        Scribble(d3d->GetCDXScreen()->GetBack()->GetDDS());
        ddrawx::LoseSurfaces();
        break;
    case DisplayChange::Rebuilt: // the desktop's mode changed under the display
        ddrawx::LoseSurfaces();
        ddrawx::FailNext("TestCooperativeLevel", DDERR_WRONGMODE);
        break;
    case DisplayChange::FullScreen:
    case DisplayChange::Windowed: {
        DisplayParams params(change == DisplayChange::FullScreen, accel3d, 640, 480, false);
        manager.ApplyDisplayParams(params);
        break;
    }
    case DisplayChange::Exposed: // the window system lost what the window showed
        SDL_FillRect(SDL_GetVideoSurface(), nullptr, 0x00C0FFEEu);
        manager.DrawWholeNext();
        break;
    }
}

} // namespace

// Each change of the display, between frames of the moving scene, leaves the frames drawn
// where they changed exactly as full redraws show them: on the screen and on SDL's display.
TEST_F(ChangedRegionTest, EveryDisplayChangeIsFollowedByTheFrameFullRedrawsShow)
{
    using C = DisplayChange;
    for (bool accel3d : {false, true}) {
        std::vector<C> changes = {C::FullScreen, C::Windowed, C::Exposed};
        if (accel3d)
            changes.insert(changes.begin(), {C::Lost, C::Rebuilt});
        std::vector<std::vector<std::uint32_t>> shown[2], presented[2];
        for (bool fullRedraw : {true, false}) {
            DisplayManager manager;
            manager.SetFullRedraw(fullRedraw);
            DisplayParams params(false, accel3d, 640, 480, false);
            manager.ApplyDisplayParams(params);
            MovingScene scene;
            int f = 0;
            for (C change : changes) {
                // A frame before each change and two after it (frames 3k + 1 and 3k + 2):
                // the second is drawn where it changed again.
                for (int i = 0; i < 3; ++i, ++f) {
                    if (i == 1)
                        Apply(manager, change, accel3d);
                    scene.Draw(*manager.GetImageRenderer(), f);
                    manager.Flip();
                    shown[fullRedraw].push_back(RgbPixels(manager.GetScreenshotSurface()));
                    presented[fullRedraw].push_back(RgbPixels(SDL_GetVideoSurface()));
                    if (!fullRedraw && i == 2) {
                        EXPECT_LT(manager.GetRecorder()->GetRegion().GetArea(), 640 * 480 / 8)
                            << NameOf(change);
                    }
                }
            }
        }
        std::string backend = accel3d ? "hardware:" : "software:";
        for (C change : changes)
            backend += std::string(" ") + NameOf(change);
        EXPECT_EQ("", Differences(shown[1], shown[0])) << backend;
        EXPECT_EQ("", Differences(presented[1], presented[0])) << backend;
    }
}

TEST_F(ChangedRegionTest, DrawingWhatChangedShowsWhatFullRedrawsShow)
{
    for (bool accel3d : {false, true}) {
        const Run full = Play(accel3d, true);
        const Run changed = Play(accel3d, false);
        ASSERT_EQ(static_cast<std::size_t>(kFrames), full.frames.size());
        ASSERT_EQ(full.frames.size(), changed.frames.size());
        EXPECT_EQ("", Differences(full.frames, changed.frames))
            << (accel3d ? "hardware" : "software");

        // Full redraw presents the whole screen every frame; the first recorded frame is
        // whole too, a frame like the one before presents nothing, and the others
        // present a small part.
        const long long screen = 640 * 480;
        for (long long area : full.regionAreas)
            EXPECT_EQ(screen, area);
        EXPECT_EQ(screen, changed.regionAreas[0]);
        for (int f = 1; f < kFrames; ++f) {
            const long long area = changed.regionAreas[static_cast<std::size_t>(f)];
            if (f % kKinds == kKinds - 1)
                EXPECT_EQ(0, area) << "frame " << f;
            else
                EXPECT_LT(area, screen / 8) << "frame " << f;
        }
    }
}

TEST_F(ChangedRegionTest, APictureNotDrawnAgainIsLetGoAfterOneFrame)
{
    DisplayManager manager;
    DisplayParams params(false, false, 640, 480, false);
    manager.ApplyDisplayParams(params);
    ImageRenderer& renderer = *manager.GetImageRenderer();
    const int before = Image::GetLiveCount();
    {
        std::unique_ptr<Image> picture(MakePatternImage(20, 20, 0, 3));
        SDL_Rect dst = MakeRect(5, 5, 20, 20);
        renderer.DrawImage(picture.get(), SHADERTYPE_COPY, &dst, nullptr, 255, 0.0, 0);
    }
    manager.Flip();
    // The recorder holds the picture for the frame that drew it...
    EXPECT_EQ(before + 1, Image::GetLiveCount());
    SDL_Rect all = MakeRect(0, 0, 640, 480);
    renderer.DrawRect(&all, Palette::Black, true);
    manager.Flip();
    // ...and lets it go when the next frame does not draw it.
    EXPECT_EQ(before, Image::GetLiveCount());
}

TEST(DirtyRegion, RectanglesStayDisjointCoverWhatWasAddedAndKeepToTheLimit)
{
    std::mt19937 random(5);
    for (int round = 0; round < 50; ++round) {
        DirtyRegion region(640, 480, 8);
        std::vector<SDL_Rect> added;
        for (int i = 0; i < 40; ++i) {
            const SDL_Rect r = MakeRect(
                static_cast<int>(random() % 700) - 30, static_cast<int>(random() % 520) - 20,
                static_cast<int>(random() % 90), static_cast<int>(random() % 60));
            region.Add(r);
            added.push_back(r);
        }
        const auto& rects = region.GetRects();
        ASSERT_LE(rects.size(), 8u);
        for (std::size_t a = 0; a < rects.size(); ++a) {
            EXPECT_GE(rects[a].x, 0);
            EXPECT_GE(rects[a].y, 0);
            EXPECT_LE(rects[a].x + rects[a].w, 640);
            EXPECT_LE(rects[a].y + rects[a].h, 480);
            for (std::size_t b = a + 1; b < rects.size(); ++b)
                EXPECT_FALSE(RectsOverlap(rects[a], rects[b])) << "round " << round;
        }
        // Every on-screen pixel added is inside the region (checked at the corners).
        for (const SDL_Rect& r : added) {
            const int left = std::max<int>(r.x, 0), right = std::min<int>(r.x + r.w, 640);
            const int top = std::max<int>(r.y, 0), bottom = std::min<int>(r.y + r.h, 480);
            if (left >= right || top >= bottom)
                continue;
            for (int x : {left, right - 1})
                for (int y : {top, bottom - 1})
                    EXPECT_TRUE(region.Touches(MakeRect(x, y, 1, 1)))
                        << "round " << round << " pixel " << x << ", " << y;
        }
    }
    DirtyRegion region(640, 480, 4);
    region.Add(MakeRect(-10, -10, 5, 5));
    EXPECT_TRUE(region.IsEmpty());
    region.Add(MakeRect(0, 0, 640, 480));
    EXPECT_TRUE(region.CoversWholeScreen());
}

TEST_F(ChangedRegionTest, PrimitivesReachingFarOffTheScreenAreRedrawnWhereTheyShow)
{
    // Frame by frame, a long line, a huge circle and a polygon with a vertex that is not a
    // number come and go over a plain background.
    auto draw = [](ImageRenderer& renderer, int f) {
        SDL_Rect all = MakeRect(0, 0, 640, 480);
        renderer.DrawRect(&all, Color::FromRGBA(20, 40, 60, 255), true);
        if (f == 1)
            renderer.DrawLine(-29680, -29760, 30320, 30240, Palette::White);
        if (f == 2)
            renderer.DrawCircle(320, 16240, 16000, Palette::Yellow, false);
        if (f == 3) {
            Poly poly;
            poly.SetVertices({Point2f(10, 10), Point2f(std::nanf(""), 50), Point2f(90, 400)});
            renderer.DrawPolygon(poly, Palette::Green, false);
        }
    };
    std::vector<std::vector<std::uint32_t>> runs[2];
    for (bool fullRedraw : {true, false}) {
        DisplayManager manager;
        manager.SetFullRedraw(fullRedraw);
        DisplayParams params(false, false, 640, 480, false);
        manager.ApplyDisplayParams(params);
        for (int f = 0; f < 5; ++f) {
            draw(*manager.GetImageRenderer(), f);
            manager.Flip();
            runs[fullRedraw].push_back(RgbPixels(manager.GetScreenshotSurface()));
        }
    }
    EXPECT_EQ("", Differences(runs[1], runs[0]));
    EXPECT_NE(runs[1][0], runs[1][1]); // the line shows
    EXPECT_NE(runs[1][0], runs[1][2]); // and the circle's top
}

namespace {

// A frame of many small translucent sprites spread over the screen, under full-screen
// translucent layers over an opaque background: while `busy`, every sprite moves a little
// each frame (much moves, but far apart: the region stays a small share of the screen
// and is cut into hundreds of pieces, each of which every layer is drawn into); otherwise
// only the first one moves.
struct ScatteredScene
{
    static constexpr int kColumns = 16, kRows = 12, kLayers = 6;
    std::unique_ptr<Image> background{MakePatternImage(640, 480, 0, 4)};
    std::unique_ptr<Image> sprite{MakePatternImage(12, 12, 1, 17)};

    void Draw(ImageRenderer& renderer, int frame, bool busy)
    {
        SDL_Rect all = MakeRect(0, 0, 640, 480);
        renderer.DrawImage(background.get(), SHADERTYPE_COPY, &all, nullptr, 255, 0.0, 0);
        for (int i = 0; i < kColumns * kRows; ++i) {
            const int step = busy || i == 0 ? frame : 0;
            SDL_Rect dst = MakeRect(8 + (i % kColumns) * 40 + step * 5,
                                    6 + (i / kColumns) * 40 + step * 3, 12, 12);
            renderer.DrawImage(sprite.get(), SHADERTYPE_BLENDPIXELALPHA, &dst, nullptr, 255, 0.0,
                               0);
        }
        for (int layer = 0; layer < kLayers; ++layer)
            renderer.DrawRect(&all, Color::FromRGBA(40 * layer, 90, 200 - 30 * layer, 24), true);
    }
};

} // namespace

// The choice between the changed region and everything, frame by frame, in both backends:
// what it shows and presents equals full redraws and the region always drawn, while much
// and little moves. When much moves apart the region would redraw far more calls than the
// frame makes (the region always drawn shows it), and the choice draws everything; when
// little moves it draws the region, a small one.
TEST_F(ChangedRegionTest, TheChoiceShowsWhatFullRedrawsShowAndDrawsEverythingWhenMuchMoves)
{
    const int kBusy = 6, kCalm = 6, kFrames = 1 + kBusy + kCalm;
    for (bool accel3d : {false, true}) {
        SCOPED_TRACE(accel3d ? "hardware" : "software");
        enum Way { FULL, CHOSEN, REGION };
        std::vector<std::vector<std::uint32_t>> shown[3], presented[3];
        for (Way way : {FULL, CHOSEN, REGION}) {
            DisplayManager manager;
            manager.SetFullRedraw(way == FULL);
            manager.SetRegionAlways(way == REGION);
            DisplayParams params(false, accel3d, 640, 480, false);
            manager.ApplyDisplayParams(params);
            ScatteredScene scene;
            for (int f = 0; f < kFrames; ++f) {
                const bool busy = f <= kBusy;
                scene.Draw(*manager.GetImageRenderer(), f, busy);
                manager.Flip();
                shown[way].push_back(RgbPixels(manager.GetScreenshotSurface()));
                presented[way].push_back(RgbPixels(SDL_GetVideoSurface()));
                const FrameRecorder& recorder = *manager.GetRecorder();
                const long long area = recorder.GetRegion().GetArea();
                if (way == REGION && f > 0 && busy) {
                    // Much moved, yet the region is no large share of the screen: it is
                    // the number of calls drawn into its pieces that makes it dear.
                    EXPECT_LT(area, 640 * 480 / 2) << "frame " << f;
                    EXPECT_GT(recorder.GetLastDrawCount(), 5 * recorder.GetLastWholeWork().calls)
                        << "frame " << f;
                }
                if (way == CHOSEN && f > 0 && busy) {
                    EXPECT_TRUE(recorder.WasLastDrawnWholeByChoice()) << "frame " << f;
                    EXPECT_EQ(640 * 480, area) << "frame " << f;
                }
                if (way == CHOSEN && f > kBusy + FrameRecorder::kWholeRun) {
                    EXPECT_FALSE(recorder.WasLastDrawnWholeByChoice()) << "frame " << f;
                    EXPECT_LT(area, 640 * 480 / 40) << "frame " << f;
                }
            }
        }
        EXPECT_EQ("", Differences(shown[FULL], shown[CHOSEN]));
        EXPECT_EQ("", Differences(presented[FULL], presented[CHOSEN]));
        EXPECT_EQ("", Differences(shown[FULL], shown[REGION]));
        EXPECT_EQ("", Differences(presented[FULL], presented[REGION]));
    }
}
