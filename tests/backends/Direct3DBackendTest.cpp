// The hardware backend over the software display layer: textures cut into tiles and
// counted, drawing rules of its renderer, and recovery from lost surfaces and from another
// program holding the display.
#include "backends/BackendFixture.h"
#include "core/Exception.h"
#include "ddraw/ddraw.h"
#include "display/D3DImageRenderer.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayManager.h"
#include "display/DividedTexture.h"
#include "display/FrameRecorder.h"
#include "display/SurfaceManager.h"
#include "resources/ResourceMemory.h"

using namespace backendtest;

namespace {

class Direct3DBackendTest : public BackendTest
{
protected:
    void SetUp() override
    {
        BackendTest::SetUp();
        DisplayParams params(false, true, 640, 480, false);
        m_Manager.reset(new DisplayManager());
        m_Manager->ApplyDisplayParams(params);
        m_Backend = dynamic_cast<DisplayBackendD3D*>(m_Manager->GetBackend());
        ASSERT_NE(nullptr, m_Backend);
        m_Renderer = static_cast<D3DImageRenderer*>(m_Backend->GetImageRenderer());
    }
    void TearDown() override
    {
        m_Manager.reset();
        BackendTest::TearDown();
    }

    std::uint32_t ScreenPixel(int x, int y)
    {
        SDL_Surface* shot = m_Manager->GetScreenshotSurface();
        return PixelAt(shot, x, y) & 0xFFFFFFu;
    }

    std::unique_ptr<DisplayManager> m_Manager;
    DisplayBackendD3D* m_Backend = nullptr;
    D3DImageRenderer* m_Renderer = nullptr;
};

} // namespace

TEST_F(Direct3DBackendTest, ImagesAreCutIntoColumnMajorTilesThatCountTheirBytes)
{
    std::unique_ptr<Image> image(MakePatternImage(100, 70, 0, 9));
    const std::int32_t before = VidmemImageBytes;
    std::unique_ptr<DividedTexture> texture(
        m_Backend->CreateDividedTexture(image->GetSDLSurface()));
    EXPECT_EQ(before + 65536, VidmemImageBytes);
    const auto& tiles = texture->GetTiles();
    ASSERT_EQ(4u, tiles.size());
    const int expected[4][4] = {{0, 0, 64, 64}, {0, 64, 64, 6}, {64, 0, 36, 64}, {64, 64, 36, 6}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i][0], tiles[i].rect.x);
        EXPECT_EQ(expected[i][1], tiles[i].rect.y);
        EXPECT_EQ(expected[i][2], tiles[i].rect.w);
        EXPECT_EQ(expected[i][3], tiles[i].rect.h);
        EXPECT_EQ(64, tiles[i].textureWidth);
        EXPECT_EQ(64, tiles[i].textureHeight);
    }
    // The last tile holds the image's bottom-right corner in its top-left texels.
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(DD_OK, tiles[3].texture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
    std::uint32_t texel = static_cast<std::uint32_t*>(desc.lpSurface)[0];
    tiles[3].texture->Unlock(nullptr);
    SDL_Surface* source = image->GetSDLSurface();
    EXPECT_EQ(PixelAt(source, 64, 64), texel);
    texture.reset();
    EXPECT_EQ(before, VidmemImageBytes);

    SDL_Surface* empty =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 0, 5, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
    ASSERT_NE(nullptr, empty);
    std::unique_ptr<DividedTexture> none(m_Backend->CreateDividedTexture(empty));
    EXPECT_TRUE(none->GetTiles().empty());
    EXPECT_EQ(before, VidmemImageBytes);
    SDL_Rect dst = MakeRect(0, 0, 10, 10), src = MakeRect(0, 0, 0, 5);
    m_Renderer->BeginScene();
    m_Renderer->DrawDividedTexture(none.get(), SHADERTYPE_COPY, dst, src, 255); // nothing
    m_Renderer->EndScene();
    SDL_FreeSurface(empty);
}

TEST_F(Direct3DBackendTest, TexturesAreMadeOnFirstDrawAndDroppedWithDirect3D)
{
    std::unique_ptr<Image> image(MakePatternImage(70, 10, 0, 5));
    EXPECT_EQ(nullptr, image->GetSurfaceNode()->GetD3DSurface());
    SDL_Rect dst = MakeRect(5, 5, 70, 10);
    m_Renderer->DrawImage(image.get(), SHADERTYPE_COPY, &dst, nullptr, 255, 0.0, 0);
    ASSERT_NE(nullptr, image->GetSurfaceNode()->GetD3DSurface());
    m_Manager->Flip();
    EXPECT_EQ(PixelAt(image->GetSDLSurface(), 69, 9) & 0xFFFFFFu, ScreenPixel(74, 14));

    DisplayParams again(true, true, 640, 480, false); // a re-apply tears Direct3D down
    m_Manager->ApplyDisplayParams(again);
    EXPECT_EQ(nullptr, image->GetSurfaceNode()->GetD3DSurface());
}

TEST_F(Direct3DBackendTest, RectanglesFollowTheirAlphaAndCopyIgnoresTheDrawAlpha)
{
    SDL_Rect rect = MakeRect(10, 10, 20, 20);
    m_Renderer->DrawRect(&rect, Color::FromRGBA(255, 0, 0, 0), true);
    EXPECT_FALSE(m_Renderer->IsInScene()); // alpha 0: nothing at all
    m_Renderer->DrawRect(&rect, Color::FromRGBA(255, 0, 0, 255), false);
    EXPECT_TRUE(m_Renderer->IsInScene()); // an outline opens the scene ...
    m_Manager->Flip();
    EXPECT_EQ(0u, ScreenPixel(10, 10)); // ... and draws nothing

    m_Renderer->DrawRect(&rect, Color::FromRGBA(255, 0, 0, 255), true);
    std::unique_ptr<Image> image(MakePatternImage(8, 8, 1, 2));
    SDL_Rect dst = MakeRect(12, 12, 8, 8);
    m_Renderer->DrawImage(image.get(), SHADERTYPE_COPY, &dst, nullptr, 10, 0.0, 0);
    m_Manager->Flip();
    EXPECT_EQ(0xFF0000u, ScreenPixel(10, 10));
    EXPECT_EQ(0xFF0000u, ScreenPixel(29, 29));
    EXPECT_EQ(0u, ScreenPixel(30, 30));
    // Copied as they are: the texels' own colour even where their alpha is 0.
    EXPECT_EQ(PixelAt(image->GetSDLSurface(), 0, 0) & 0xFFFFFFu, ScreenPixel(12, 12));
}

TEST_F(Direct3DBackendTest, LostSurfacesAreRestoredWhenTheNextSceneBegins)
{
    ddrawx::LoseSurfaces();
    SDL_Rect rect = MakeRect(0, 0, 4, 4);
    m_Renderer->DrawRect(&rect, Palette::White, true);
    m_Manager->Flip();
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(1, 1));

    ddrawx::FailNext("BeginScene", DDERR_SURFACELOST, 2);
    try {
        m_Renderer->DrawRect(&rect, Palette::White, true);
        FAIL() << "a scene that stays lost was begun";
    } catch (const Exception& error) {
        EXPECT_NE(std::string::npos,
                  error.GetMessage().find("Post surface-lost call to IDirect3DDevice::BeginScene "
                                          "failed: 2289435074, DDERR_SURFACELOST"))
            << error.GetMessage();
    }
}

TEST_F(Direct3DBackendTest, WaitingForAnotherProgramsExclusiveModeIsBounded)
{
    m_Backend->SetExclusiveModeWait(4, 0);
    ddrawx::HoldExclusiveMode(2); // lets go in time: the display comes back
    m_Backend->HandleDisplayModeChange();
    SDL_Rect rect = MakeRect(0, 0, 4, 4);
    m_Renderer->DrawRect(&rect, Palette::White, true);
    m_Manager->Flip();
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(2, 2));

    ddrawx::HoldExclusiveMode(1000); // never lets go in time
    try {
        m_Backend->HandleDisplayModeChange();
        FAIL() << "waited for ever";
    } catch (const Exception& error) {
        EXPECT_NE(std::string::npos,
                  error.GetMessage().find("Post DDERR_EXCLUSIVEMODEALREADYSET call to "
                                          "IDirectDraw7::TestCooperativeLevel failed"));
    }
    ddrawx::ResetHooks();
}

// A display rebuilt while a clip is set (the desktop's mode changed): the new device keeps
// to the clip, so a frame drawn only where it changed paints nothing outside it.
TEST_F(Direct3DBackendTest, AClipSetBeforeTheDisplayIsRebuiltHoldsOnTheNewDevice)
{
    SDL_Rect clip = MakeRect(100, 100, 40, 60);
    m_Renderer->SetClipRect(&clip);
    ddrawx::LoseSurfaces();
    ddrawx::FailNext("TestCooperativeLevel", DDERR_WRONGMODE);
    const std::uint64_t losses = m_Backend->GetDisplayLosses();
    const std::uint64_t devices = m_Backend->GetDevicesMade();
    SDL_Rect all = MakeRect(0, 0, 640, 480);
    m_Renderer->DrawRect(&all, Palette::White, true); // begins the scene: rebuilds
    EXPECT_EQ(devices + 1, m_Backend->GetDevicesMade());
    EXPECT_LT(losses, m_Backend->GetDisplayLosses());
    m_Renderer->SetClipRect(nullptr);
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(100, 100));
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(139, 159));
    EXPECT_EQ(0u, ScreenPixel(140, 100));
    EXPECT_EQ(0u, ScreenPixel(99, 159));
    EXPECT_EQ(0u, ScreenPixel(320, 300));
}

// The rectangles of a frame that changed in several places reach the window in one update.
TEST_F(Direct3DBackendTest, AFramesRectanglesArePresentedInOneUpdate)
{
    ImageRenderer* screen = m_Manager->GetImageRenderer();
    auto frame = [&](int shift) {
        SDL_Rect all = MakeRect(0, 0, 640, 480);
        screen->DrawRect(&all, Palette::Black, true);
        for (int i = 0; i < 4; ++i) {
            SDL_Rect spot = MakeRect(20 + 150 * i, 30 + 100 * i + shift, 30, 20);
            screen->DrawRect(&spot, Palette::White, true);
        }
        m_Manager->Flip();
    };
    frame(0);
    frame(5);
    const long before = ddrawx::DisplayUpdateCount();
    frame(10);
    EXPECT_GE(m_Manager->GetRecorder()->GetRegion().GetRects().size(), 4u);
    EXPECT_EQ(before + 1, ddrawx::DisplayUpdateCount());
    EXPECT_EQ(0xFFFFFFu, PixelAt(SDL_GetVideoSurface(), 470, 340 + 5) & 0xFFFFFFu);
}
