// The DirectDraw wrapper: its trace targets and file name, surface formats and pixel
// routines, and presenting a window's back buffer.
#include "backends/BackendFixture.h"
#include "core/Utility.h"
#include "ddraw/SDLVideoSizeHack.h"
#include "display/CDXLog.h"
#include "display/CDXScreen.h"
#include "display/CDXSurface.h"
#include "display/CDXUtils.h"
#include "support/FileSizeLimit.h"

#include <unistd.h>

using namespace backendtest;

namespace {

std::vector<std::string> gLines;

void KeepLine(const char* line)
{
    gLines.push_back(line);
}

class CDXWrapperTest : public BackendTest
{
};

IDirectDrawSurface7* Make16BitSurface(IDirectDraw7* dd, DWORD r, DWORD g, DWORD b)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 8;
    desc.dwHeight = 8;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = r;
    desc.ddpfPixelFormat.dwGBitMask = g;
    desc.ddpfPixelFormat.dwBBitMask = b;
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(DD_OK, dd->CreateSurface(&desc, &surface, nullptr));
    return surface;
}

} // namespace

TEST_F(CDXWrapperTest, TraceGoesOnlyToTheTargetsSetAndTheFileIsNamedByTime)
{
    std::tm when{};
    when.tm_year = 2006 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_min = 7;
    when.tm_sec = 9;
    EXPECT_EQ("cdx20060305140709.log", CDXLog::MakeFileName(when));

    gLines.clear();
    CDXLog& log = CDXLog::Get();
    log.SetCallback(&KeepLine);
    log.SetTargets(CDXLOG_CALLBACK);
    log.Log("w:%i, h:%i", 640, 480);
    log.LogVerbose("not at level 1");
    log.SetLevel(2);
    log.LogVerbose("verbose %s", "line");
    log.SetLevel(1);
    log.Log("%s", std::string(400, 'x').c_str()); // cut to one line of 256 characters
    ASSERT_EQ(3u, gLines.size());
    EXPECT_EQ(0u, gLines[0].find("CDX: "));
    EXPECT_NE(std::string::npos, gLines[0].find(": w:640, h:480\n"));
    EXPECT_NE(std::string::npos, gLines[1].find(": verbose line\n"));
    EXPECT_EQ(255u, gLines[2].size());
    EXPECT_EQ('\n', gLines[2].back());
    EXPECT_NE(0, access(GetDocumentsFilePath(log.GetFileName()).c_str(), F_OK)); // no file
}

TEST_F(CDXWrapperTest, ATraceFileThatCannotGrowIsGivenUpOnceAndTheOtherTargetsGoOn)
{
    const std::string path = GetDocumentsFilePath(CDXLog::Get().GetFileName());
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(120, [] {
        dup2(STDOUT_FILENO, STDERR_FILENO); // the warning comes back with the output
        gLines.clear();
        CDXLog& log = CDXLog::Get();
        log.SetCallback(&KeepLine);
        log.SetTargets(CDXLOG_FILE | CDXLOG_CALLBACK);
        log.Log("first");
        for (int i = 0; i < 5; ++i)
            log.Log("%s", std::string(200, 'x').c_str());
        return static_cast<int>(gLines.size());
    });
    EXPECT_EQ(6, run.status);
    const std::string warning = "Warning: could not write the display trace \"" + path +
                                "\": File too large. The trace is no longer written to a file.\n";
    EXPECT_EQ(warning, run.output);
    // What reached the file is the first line and no more than the limit.
    const std::string text = bbtest::ReadFile(path);
    EXPECT_EQ(0u, text.find("CDX: ")) << text;
    EXPECT_LE(text.size(), 120u);
    unlink(path.c_str());
}

TEST_F(CDXWrapperTest, FormatsAndPixelRoutinesFollowTheSurfaceDepth)
{
    CDXScreen screen;
    ASSERT_NE(nullptr, screen.GetDD());
    RGBFORMAT format;
    IDirectDrawSurface7* s555 = Make16BitSurface(screen.GetDD(), 0x7C00, 0x03E0, 0x001F);
    ASSERT_TRUE(GetRGBFormat(s555, format));
    EXPECT_EQ(15, format.depth);
    EXPECT_EQ(10, format.redShift);
    IDirectDrawSurface7* s565 = Make16BitSurface(screen.GetDD(), 0xF800, 0x07E0, 0x001F);
    ASSERT_TRUE(GetRGBFormat(s565, format));
    EXPECT_EQ(16, format.depth);
    EXPECT_EQ(63, format.green);

    CDXSurface surface;
    surface.Attach(s565, 8, 8, nullptr);
    surface.UpdateRGBFormat();
    surface.SetClipRect(RECT{1, 1, 6, 100}); // clamped to the surface
    EXPECT_EQ(8, surface.GetClipRect().bottom);
    ASSERT_EQ(DD_OK, surface.Lock());
    const CDXPixelRoutines& px = surface.Pixels();
    px.putPixel(surface, 0, 0, 0xFFFF); // outside the clip rectangle
    px.putPixel(surface, 2, 2, 0xF800);
    px.putAAPixel(surface, 2, 2, 0x001F, 128); // half way from red to blue
    px.hLine(surface, 9, -3, 4, 0x07E0);       // clipped to columns 1-5
    EXPECT_EQ(0u, px.getPixel(surface, 0, 0));
    EXPECT_EQ((15u << 11) | 15u, px.getPixel(surface, 2, 2));
    EXPECT_EQ(0u, px.getPixel(surface, 0, 4));
    EXPECT_EQ(0x07E0u, px.getPixel(surface, 1, 4));
    EXPECT_EQ(0x07E0u, px.getPixel(surface, 5, 4));
    EXPECT_EQ(0u, px.getPixel(surface, 6, 4));
    surface.Unlock();
    s555->Release();

    RECT outside{20, 20, 30, 30};
    EXPECT_FALSE(surface.ClipRect(outside));
    EXPECT_EQ(E_INVALIDARG, LoadPalette(screen.GetDD(), nullptr, nullptr));
}

TEST_F(CDXWrapperTest, WindowedFlipScalesTheBackBufferToTheClientArea)
{
    ASSERT_EQ(0, SDL_ChangeVideoSizeHACK(1024, 768));
    CDXScreen screen;
    ASSERT_EQ(0, screen.CreateWindowed(nullptr, 800, 600));
    EXPECT_EQ(-1, screen.CreateWindowed(nullptr, 800, 600)); // never twice
    CDXSurface* back = screen.GetBack();
    ASSERT_EQ(DD_OK, back->FillRect(0, 0, 400, 300, 0x00FF0000));
    ASSERT_EQ(DD_OK, back->FillRect(400, 300, 800, 600, 0x000000FF));
    EXPECT_EQ(DD_OK, screen.Restore()); // nothing lost, nothing restored
    ASSERT_EQ(DD_OK, screen.Flip(0, 1, 0));
    SDL_Surface* video = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, video);
    EXPECT_EQ(0xFF0000u, PixelAt(video, 500, 370) & 0xFFFFFFu);
    EXPECT_EQ(0x0000FFu, PixelAt(video, 530, 400) & 0xFFFFFFu);
    EXPECT_EQ(0x0000FFu, PixelAt(video, 1023, 767) & 0xFFFFFFu);
}
