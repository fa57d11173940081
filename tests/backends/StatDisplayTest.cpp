// The frame-rate and texture-memory read-outs: counting frames, the rate's text and the
// backdrop the glyphs are drawn on.
#include "backends/BackendFixture.h"
#include "display/Canvas.h"
#include "resources/ResourceMemory.h"
#include "screens/D3DAvailableVidMemCounter.h"
#include "screens/FPSCounter.h"

using namespace backendtest;

namespace {

// Transparent glyphs 10 pixels wide (the point too), so the white backdrop shows.
std::vector<Image*> Glyphs()
{
    std::vector<Image*> glyphs;
    for (int i = 0; i < NumericalStatDisplay::kGlyphCount; ++i)
        glyphs.push_back(new Image(10, 12, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0)));
    return glyphs;
}

Image* Caption(const std::string&)
{
    return new Image(40, 12, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
}

std::uint32_t CanvasPixel(Canvas& canvas, int x, int y)
{
    return PixelAt(canvas.GetTargetImage()->GetSDLSurface(), x, y);
}

class StatDisplayTest : public BackendTest
{
};

} // namespace

TEST_F(StatDisplayTest, FrameRateCountsFromStartToCountAndRefreshesAfter100ms)
{
    std::uint32_t now = 1000;
    FPSCounter counter(Glyphs(), &Caption, [&now] { return now; });
    Canvas canvas(120, 20, CANVAS_OWNS_TARGET);

    counter.CountFrame(); // not started: nothing counted, nothing drawn
    counter.Render(canvas);
    EXPECT_FLOAT_EQ(0.0f, counter.GetFramesPerSecond());
    EXPECT_EQ(0u, CanvasPixel(canvas, 0, 0));

    for (int frame = 1; frame <= 7; ++frame) {
        counter.Start();
        now += 16;
        counter.CountFrame();
        if (frame < 7) {
            EXPECT_FLOAT_EQ(0.0f, counter.GetFramesPerSecond()) << frame;
        }
        now += 5; // time between frames is not counted
    }
    EXPECT_FLOAT_EQ(62.5f, counter.GetFramesPerSecond());
    EXPECT_EQ("62.5", counter.FormatRate());

    counter.Render(canvas);
    EXPECT_EQ(0xFFFFFFFFu, CanvasPixel(canvas, 0, 0) | 0xFF000000u);
    EXPECT_EQ(0xFFFFFFu, CanvasPixel(canvas, 79, 11) & 0xFFFFFFu); // caption 40 + 4 glyphs
    EXPECT_EQ(0u, CanvasPixel(canvas, 80, 0));
    EXPECT_EQ(0u, CanvasPixel(canvas, 0, 12));
}

TEST_F(StatDisplayTest, RatesArePaddedToFourCharactersAndOthersAreIgnored)
{
    std::uint32_t now = 1;
    FPSCounter counter(Glyphs(), &Caption, [&now] { return now; });
    counter.Start();
    now += 400;
    counter.CountFrame();
    counter.Start();
    now += 400; // two frames in 800 ms
    counter.CountFrame();
    EXPECT_EQ("2.5", counter.FormatRate().substr(1));
    EXPECT_EQ("02.5", counter.FormatRate());
    EXPECT_EQ(40, counter.CalcTextSize("1-2.x3").x); // "-" and "x" take no room
    EXPECT_EQ(12, counter.CalcTextSize("1").y);
    EXPECT_EQ(0, counter.CalcTextSize("").x);

    const std::int32_t saved = VidmemImageBytes;
    VidmemImageBytes = -1048576; // the sign is not drawn
    D3DAvailableVidMemCounter memory(Glyphs());
    Canvas canvas(100, 20, CANVAS_OWNS_TARGET);
    memory.Render(canvas);
    EXPECT_EQ(0xFFFFFFu, CanvasPixel(canvas, 69, 0) & 0xFFFFFFu);
    EXPECT_EQ(0u, CanvasPixel(canvas, 70, 0));
    VidmemImageBytes = saved;
}
