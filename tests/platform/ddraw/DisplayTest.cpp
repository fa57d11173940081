// DirectDraw on the dummy SDL display: modes, exclusive mode, flipping, windowed
// presentation, lost surfaces, fault injection and the error names.
#include "DDrawFixture.h"

#include "ddraw/SDLVideoSizeHack.h"
#include "ddraw/dxerr.h"

#include <algorithm>
#include <tuple>

using ddrawtest::CapsDesc;
using ddrawtest::DDrawTest;
using ddrawtest::EmptyDesc;

namespace {

using Mode = std::tuple<DWORD, DWORD, DWORD>; // width, height, bits per pixel

HRESULT CollectMode(LPDDSURFACEDESC2 mode, LPVOID context)
{
    static_cast<std::vector<Mode>*>(context)->emplace_back(mode->dwWidth, mode->dwHeight,
                                                           mode->ddpfPixelFormat.dwRGBBitCount);
    return DDENUMRET_OK;
}

IDirectDrawSurface7* MakeOffscreen(IDirectDraw7* dd, int w, int h, DWORD caps)
{
    DDSURFACEDESC2 desc = CapsDesc(caps);
    desc.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = DWORD(w);
    desc.dwHeight = DWORD(h);
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(DD_OK, dd->CreateSurface(&desc, &surface, nullptr));
    return surface;
}

} // namespace

TEST_F(DDrawTest, FullScreenModeFlipsBackBufferOntoSDLDisplay)
{
    std::vector<Mode> modes;
    ASSERT_EQ(DD_OK, m_DD->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, &modes, CollectMode));
    EXPECT_NE(modes.end(), std::find(modes.begin(), modes.end(), Mode(640, 480, 32)));

    MakeFullScreen(640, 480);
    SDL_Surface* video = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, video);
    EXPECT_EQ(640, video->w);
    EXPECT_EQ(480, video->h);
    EXPECT_TRUE(video->flags & SDL_FULLSCREEN);

    DDSURFACEDESC2 desc = EmptyDesc();
    ASSERT_EQ(DD_OK, m_Back->GetSurfaceDesc(&desc));
    EXPECT_EQ(640u, desc.dwWidth);
    EXPECT_EQ(32u, desc.ddpfPixelFormat.dwRGBBitCount);
    EXPECT_EQ(0x00FF0000u, desc.ddpfPixelFormat.dwRBitMask);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER);

    RECT box{10, 20, 30, 40};
    Fill(m_Back, 0x000000FF);
    Fill(m_Back, 0x00123456, &box);
    ASSERT_EQ(DD_OK, m_Front->Flip(nullptr, DDFLIP_WAIT));
    const auto* pixels = static_cast<const std::uint32_t*>(video->pixels);
    EXPECT_EQ(0x00123456u, pixels[25 * video->pitch / 4 + 15] & 0xFFFFFF);
    EXPECT_EQ(0x000000FFu, pixels[5 * video->pitch / 4 + 5] & 0xFFFFFF);
    // The back buffer keeps its picture after the flip.
    EXPECT_EQ(0x00123456u, ReadPixel(m_Back, 29, 39));

    // Only flipping primaries flip; a chain has exactly one primary.
    EXPECT_EQ(DDERR_NOTFLIPPABLE, m_Back->Flip(nullptr, 0));
    DDSURFACEDESC2 again = CapsDesc(DDSCAPS_PRIMARYSURFACE);
    IDirectDrawSurface7* second = nullptr;
    EXPECT_EQ(DDERR_PRIMARYSURFACEALREADYEXISTS, m_DD->CreateSurface(&again, &second, nullptr));
    EXPECT_EQ(nullptr, second);
}

TEST_F(DDrawTest, WindowedPrimaryShowsStretchedAndKeyedBlits)
{
    ASSERT_NE(nullptr, SDL_SetVideoMode(1024, 768, 32, SDL_SWSURFACE));
    ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    DDSURFACEDESC2 desc = CapsDesc(DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE);
    IDirectDrawSurface7* front = nullptr;
    ASSERT_EQ(DD_OK, m_DD->CreateSurface(&desc, &front, nullptr));
    Keep(front);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(DD_OK, m_DD->CreateClipper(0, &clipper, nullptr));
    Keep(clipper);
    EXPECT_EQ(DD_OK, clipper->SetHWnd(0, nullptr));
    EXPECT_EQ(DD_OK, front->SetClipper(clipper));
    IDirectDrawSurface7* back = Keep(MakeOffscreen(m_DD, 800, 600, 0x6040));

    // Left half red, right half blue: a stretch to 1024 × 768 keeps the split at 512.
    RECT left{0, 0, 400, 600};
    Fill(back, 0x00FF0000);
    Fill(back, 0x000000FF, &left);
    ASSERT_EQ(DD_OK, front->Blt(nullptr, back, nullptr, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0x000000FFu, ReadPixel(front, 511, 300) & 0xFFFFFF);
    EXPECT_EQ(0x00FF0000u, ReadPixel(front, 512, 300) & 0xFFFFFF);
    EXPECT_EQ(0x00FF0000u, ReadPixel(front, 1023, 767) & 0xFFFFFF);

    // Unscaled part of the back buffer, clipped by the window; then a colour-keyed copy.
    RECT part{900, 700, 1200, 900};
    RECT src{0, 0, 300, 200};
    ASSERT_EQ(DD_OK, front->Blt(&part, back, &src, DDBLT_WAIT, nullptr));
    EXPECT_EQ(0x000000FFu, ReadPixel(front, 1000, 750) & 0xFFFFFF);
    DDCOLORKEY key{0x000000FF, 0x000000FF};
    ASSERT_EQ(DD_OK, back->SetColorKey(DDCKEY_SRCBLT, &key));
    Fill(front, 0x0000FF00);
    EXPECT_EQ(DDERR_BLTFASTCANTCLIP, front->BltFast(0, 0, back, nullptr, DDBLTFAST_SRCCOLORKEY));
    ASSERT_EQ(DD_OK, front->Blt(nullptr, back, nullptr, DDBLT_KEYSRC, nullptr));
    EXPECT_EQ(0x0000FF00u, ReadPixel(front, 100, 100) & 0xFFFFFF); // keyed out
    EXPECT_EQ(0x00FF0000u, ReadPixel(front, 900, 100) & 0xFFFFFF);

    // Without a clipper a rectangle outside the surface is refused.
    RECT outside{700, 500, 900, 700};
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    EXPECT_EQ(DDERR_INVALIDRECT, back->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx));
    HDC dc = nullptr;
    EXPECT_EQ(DDERR_CANTCREATEDC, back->GetDC(&dc));
}

TEST_F(DDrawTest, ExclusiveModeBelongsToOneObjectAtATime)
{
    IDirectDraw7* other = nullptr;
    ASSERT_EQ(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&other), IID_IDirectDraw7,
                                        nullptr));
    Keep(other);
    EXPECT_EQ(DDERR_INVALIDPARAMS, m_DD->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN));
    EXPECT_EQ(DDERR_NOEXCLUSIVEMODE, m_DD->SetDisplayMode(640, 480, 32, 0, 0));
    ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, 0x53));
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, other->SetCooperativeLevel(nullptr, 0x53));
    ASSERT_EQ(DD_OK, other->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, other->TestCooperativeLevel());
    EXPECT_EQ(DD_OK, m_DD->TestCooperativeLevel());
    ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    EXPECT_EQ(DD_OK, other->TestCooperativeLevel());

    // Releasing the owner gives exclusive mode back too.
    ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, 0x53));
    m_DD->Release();
    m_DD = nullptr;
    EXPECT_EQ(DD_OK, other->SetCooperativeLevel(nullptr, 0x53));
}

TEST_F(DDrawTest, LostSurfacesFailUntilRestored)
{
    MakeFullScreen();
    IDirectDrawSurface7* system = Keep(MakeOffscreen(m_DD, 16, 16, 0x840));
    IDirectDrawSurface7* video = Keep(MakeOffscreen(m_DD, 16, 16, 0x6040));
    Fill(video, 0x00ABCDEF);

    ddrawx::LoseSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, m_Front->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, m_Back->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, video->IsLost());
    EXPECT_EQ(DD_OK, system->IsLost());
    EXPECT_EQ(DDERR_SURFACELOST, m_Front->Flip(nullptr, DDFLIP_WAIT));
    DDSURFACEDESC2 desc = EmptyDesc();
    EXPECT_EQ(DDERR_SURFACELOST, video->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    EXPECT_EQ(DD_OK, m_DD->TestCooperativeLevel());

    // Restoring the front buffer brings the whole chain back; pixels are kept.
    EXPECT_EQ(DD_OK, m_Front->Restore());
    EXPECT_EQ(DD_OK, m_Back->IsLost());
    EXPECT_EQ(DD_OK, m_Front->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(DD_OK, video->Restore());
    EXPECT_EQ(0x00ABCDEFu, ReadPixel(video, 3, 3) & 0xFFFFFF);
    EXPECT_EQ(DD_OK, system->Restore());
}

TEST_F(DDrawTest, AnotherProgramHoldingTheDisplayIsReportedUntilItLetsGo)
{
    MakeFullScreen();
    ddrawx::HoldExclusiveMode(2);
    EXPECT_EQ(DDERR_SURFACELOST, m_Back->IsLost());
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, m_Front->Restore());
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, m_DD->TestCooperativeLevel());
    EXPECT_EQ(DDERR_EXCLUSIVEMODEALREADYSET, m_DD->TestCooperativeLevel());
    EXPECT_EQ(DD_OK, m_DD->TestCooperativeLevel());
    EXPECT_EQ(DD_OK, m_Front->Restore());

    // A mode changed under the program: the chain is lost and cannot be restored.
    ASSERT_NE(nullptr, SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE | SDL_FULLSCREEN));
    EXPECT_EQ(DDERR_WRONGMODE, m_DD->TestCooperativeLevel());
    EXPECT_EQ(DDERR_SURFACELOST, m_Front->IsLost());
    EXPECT_EQ(DDERR_WRONGMODE, m_Front->Restore());
}

TEST_F(DDrawTest, FlipChainBackBufferHeldByCallerOutlivesChainSafely)
{
    MakeFullScreen();
    // Drop the fixture's hold of the front buffer only: the chain dies while the caller
    // still holds the back buffer, which then reports itself lost and can be released.
    m_Owned.erase(std::find(m_Owned.begin(), m_Owned.end(), static_cast<IUnknown*>(m_Front)));
    EXPECT_EQ(0u, m_Front->Release());
    EXPECT_EQ(DDERR_SURFACELOST, m_Back->IsLost());
    DDSURFACEDESC2 desc = EmptyDesc();
    EXPECT_EQ(DDERR_SURFACELOST, m_Back->Lock(nullptr, &desc, 0, nullptr));
    EXPECT_EQ(DDERR_INVALIDOBJECT, m_Back->Restore());
}

TEST_F(DDrawTest, RestoringTheDisplayModeReturnsToTheWindow)
{
    ASSERT_NE(nullptr, SDL_SetVideoMode(320, 240, 32, SDL_SWSURFACE));
    MakeFullScreen(640, 480);
    ASSERT_EQ(DD_OK, m_DD->RestoreDisplayMode());
    SDL_Surface* video = SDL_GetVideoSurface();
    EXPECT_EQ(320, video->w);
    EXPECT_FALSE(video->flags & SDL_FULLSCREEN);
    EXPECT_EQ(DDERR_SURFACELOST, m_Back->IsLost());

    // Resizing SDL's window to the game's size is not a mode change.
    ASSERT_EQ(0, SDL_ChangeVideoSizeHACK(800, 600));
    EXPECT_EQ(800, SDL_GetVideoSurface()->w);
}

TEST_F(DDrawTest, InjectedFailuresHitTheNamedCallsOnly)
{
    ddrawx::FailNext("SetDisplayMode", DDERR_INVALIDMODE);
    ddrawx::FailNext("CreateSurface", DDERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, 0x53));
    EXPECT_EQ(DDERR_INVALIDMODE, m_DD->SetDisplayMode(640, 480, 32, 0, 0));
    EXPECT_EQ(DD_OK, m_DD->SetDisplayMode(640, 480, 32, 0, 0));
    IDirectDrawSurface7* surface = nullptr;
    DDSURFACEDESC2 video = CapsDesc(0x6040);
    video.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT;
    video.dwWidth = video.dwHeight = 8;
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY, m_DD->CreateSurface(&video, &surface, nullptr));
    EXPECT_EQ(nullptr, surface);
    ASSERT_EQ(DD_OK, m_DD->CreateSurface(&video, &surface, nullptr));
    Keep(surface);

    ddrawx::FailNext("DirectDrawCreateEx", DDERR_GENERIC);
    IDirectDraw7* none = nullptr;
    EXPECT_EQ(DDERR_GENERIC, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&none),
                                                IID_IDirectDraw7, nullptr));
    EXPECT_EQ(nullptr, none);

    ddrawx::FailNext("TestCooperativeLevel", DDERR_WRONGMODE, 2);
    ddrawx::ResetHooks();
    EXPECT_EQ(DD_OK, m_DD->TestCooperativeLevel());
}

TEST_F(DDrawTest, CapsAndDriversAreDescribedForCallersThatSizeByDwSize)
{
    DDCAPS hal{}, hel{};
    hal.dwSize = hel.dwSize = 380;
    ASSERT_EQ(DD_OK, m_DD->GetCaps(&hal, &hel));
    EXPECT_TRUE(hal.dwCaps & DDCAPS_BLTSTRETCH);
    hal.dwSize = 124;
    EXPECT_EQ(DDERR_INVALIDPARAMS, m_DD->GetCaps(&hal, nullptr));

    int drivers = 0;
    auto count = [](GUID* guid, LPSTR, LPSTR, LPVOID context, HMONITOR) -> BOOL {
        IDirectDraw* dd = nullptr;
        EXPECT_EQ(DD_OK, DirectDrawCreate(guid, &dd, nullptr));
        dd->Release();
        ++*static_cast<int*>(context);
        return DDENUMRET_OK;
    };
    ASSERT_EQ(DD_OK,
              DirectDrawEnumerateExA(count, &drivers,
                                     DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES));
    EXPECT_EQ(1, drivers);
    GUID unknown{1, 2, 3, {4}};
    IDirectDraw* dd = nullptr;
    EXPECT_EQ(DDERR_INVALIDDIRECTDRAWGUID, DirectDrawCreate(&unknown, &dd, nullptr));
}

TEST(DXErrorStringTest, NamesTheLayersCodes)
{
    EXPECT_STREQ("DDERR_SURFACELOST", DXErrorString(DDERR_SURFACELOST));
    EXPECT_EQ(2289435074u, std::uint32_t(DDERR_SURFACELOST));
    EXPECT_STREQ("DDERR_WRONGMODE", DXErrorString(HRESULT(0x8876024Bu)));
    EXPECT_STREQ("DDERR_EXCLUSIVEMODEALREADYSET", DXErrorString(HRESULT(0x88760245u)));
    EXPECT_STREQ("DDERR_INVALIDPARAMS", DXErrorString(E_INVALIDARG));
    EXPECT_STREQ("D3DERR_SCENE_IN_SCENE", DXErrorString(D3DERR_SCENE_IN_SCENE));
    EXPECT_STREQ("DD_OK", DXErrorString(0));
    EXPECT_STREQ("Unknown", DXErrorString(HRESULT(0x88761234u)));
}
