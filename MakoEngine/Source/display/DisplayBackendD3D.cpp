#include "display/DisplayBackendD3D.h"

#include "core/Log.h"
#include "ddraw/SDLVideoSizeHack.h"
#include "ddraw/d3dx.h"
#include "display/CDXScreen.h"
#include "display/CDXSurface.h"
#include "display/D3DCheck.h"
#include "display/D3DImageRenderer.h"
#include "display/DisplayUtils.h"
#include "display/DividedTexture.h"
#include "display/SurfaceManager.h"
#include "resources/ResourceMemory.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cstring>

MAKO_IMPLEMENT_CLASS(DisplayBackendD3D, "DisplayBackendD3D", "Object", nullptr, nullptr);

namespace {

void Step(const char* text)
{
    Log("DisplayBackendD3D::ApplyDisplayParams: %s\n", text);
}

} // namespace

DisplayBackendD3D::DisplayBackendD3D() = default;

DisplayBackendD3D::~DisplayBackendD3D()
{
    m_ImageRenderer.reset();
    try {
        ShutdownD3D();
    } catch (const std::exception& error) {
        Log("DisplayBackendD3D::~DisplayBackendD3D: %s\n", error.what());
    }
    m_ScreenshotSurface.reset();
    ShutdownSDLVideo();
}

void DisplayBackendD3D::SetExclusiveModeWait(int polls, int intervalMs)
{
    m_ExclusiveModePolls = std::max(1, polls);
    m_ExclusiveModeIntervalMs = std::max(0, intervalMs);
}

void DisplayBackendD3D::ShutdownD3D()
{
    if (m_ImageRenderer && m_ImageRenderer->IsInScene() && m_Device)
        m_ImageRenderer->EndScene();
    SurfaceManager& surfaces = SurfaceManager::GetInstance();
    surfaces.All_DeleteSurfacesOfType(SURFACETYPE_D3D);
    surfaces.SetTextureMaker(nullptr);
    if (m_Device) {
        ULONG count = m_Device->Release();
        m_Device = nullptr;
        MAKO_ASSERT(count == 0);
    }
    m_CDXScreen.reset();
    if (m_Direct3D) {
        ULONG count = m_Direct3D->Release();
        m_Direct3D = nullptr;
        MAKO_ASSERT(count == 0);
    }
    D3DXUninitialize();
}

void DisplayBackendD3D::StartWindow(const DisplayParams& params)
{
    if (!IsCurrentSDLVideoDriver("windib")) {
        Step("Shutting down SDL video subsystem.");
        ShutdownSDLVideo();
        m_Window = nullptr;
        m_SDLWindowProc = nullptr;
        Step("Trying to initialize SDL video.");
        bool result = InitSDLVideo("windib", &m_Window, &m_SDLWindowProc);
        MAKO_ASSERT_TYPED(DisplayBackendInitError, result == true, GetSDLVideoError());
        // The log names the driver SDL really runs, as the SDL backend's does.
        Log("DisplayBackendD3D::ApplyDisplayParams: SDL's %s driver was successfully loaded.\n",
            CurrentSDLVideoDriverName().c_str());
        SetNewWindow(m_Window);
    }
    // SDL decorates and places its own window: the style, size and position steps of a
    // window system that leaves this to the program have nothing to do here.
    Step("Setting window style + size.");
    Step("Displaying window.");
    (void)params;
}

void DisplayBackendD3D::CreateScreen(const DisplayParams& params)
{
    Step("Creating CDXScreen.");
    m_CDXScreen = std::make_unique<CDXScreen>();
    Step("Retrieving Direct3D object.");
    MAKO_ASSERT_TYPED(DisplayBackendInitError, m_CDXScreen->GetDD() != 0,
                      "IDirectDraw7::QueryInterface failed");
    D3D_INIT_CHECK(
        m_CDXScreen->GetDD()->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&m_Direct3D)),
        "IDirectDraw7::QueryInterface failed");
    m_CDXScreen->SetVideoMemory(1);
    if (params.fullscreen) {
        Step("Calling CDXScreen::CreateFullScreen.");
        HRESULT hr = m_CDXScreen->CreateFullScreen(m_Window, params.width, params.height, 32, 0);
        MAKO_ASSERT_TYPED(DisplayBackendInitError, SUCCEEDED(hr),
                          boost::str(boost::format("m_CDXScreen->CreateFullScreen(GetHWND(), "
                                                   "%1%, %2%, 32) failed: %3%") %
                                     params.width % params.height % DXErrorString(hr)));
        Step("Repositioning window.");
    } else {
        Step("Calling CDXScreen::CreateWindowed.");
        HRESULT hr = m_CDXScreen->CreateWindowed(m_Window, params.width, params.height);
        MAKO_ASSERT_TYPED(DisplayBackendInitError, SUCCEEDED(hr),
                          boost::str(boost::format("m_CDXScreen->CreateWindowed(GetHWND(), "
                                                   "%1%, %2%) failed: %3%") %
                                     params.width % params.height % DXErrorString(hr)));
    }
    Step("Applying SDL video size hack.");
    // In a window SDL's video surface is the front buffer: without it nothing shows.
    int sized = SDL_ChangeVideoSizeHACK(params.width, params.height);
    MAKO_ASSERT_TYPED(DisplayBackendInitError, sized == 0,
                      boost::str(boost::format("SDL_ChangeVideoSizeHACK(%1%, %2%) failed: %3%") %
                                 params.width % params.height % SDL_GetError()));
}

void DisplayBackendD3D::CreateDevice(const DisplayParams& params)
{
    const CLSID& deviceClass = params.accel3d ? IID_IDirect3DHALDevice : IID_IDirect3DMMXDevice;
    const char* className = params.accel3d ? "IID_IDirect3DHALDevice" : "IID_IDirect3DMMXDevice";
    Log("DisplayBackendD3D::ApplyDisplayParams: Creating a Direct3D device with clsid=\"%s\"\n",
        className);
    HRESULT hr = m_Direct3D->CreateDevice(deviceClass, m_CDXScreen->GetBack()->GetDDS(), &m_Device);
    if (FAILED(hr))
        m_Device = nullptr;
    else
        ++m_DevicesMade;
    MAKO_ASSERT_TYPED(DisplayBackendInitError, SUCCEEDED(hr),
                      boost::str(boost::format("Could not create Direct3D device with "
                                               "clsid=%1%: %2%") %
                                 className % DXErrorString(hr)));
    Step("Retrieving Direct3D device caps.");
    D3DDEVICEDESC7 caps;
    std::memset(&caps, 0, sizeof caps);
    D3D_INIT_CHECK(m_Device->GetCaps(&caps), "IDirect3DDevice7::GetCaps failed");
    Step("Initializing Direct3D viewport.");
    m_Viewport = D3DVIEWPORT7{0, 0, DWORD(params.width), DWORD(params.height), 0.0f, 1.0f};
    D3D_INIT_CHECK(m_Device->SetViewport(&m_Viewport), "IDirect3DDevice7::SetViewport");
    Step("Clearing the display.");
    D3D_INIT_CHECK(m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0),
                   "IDirect3DDevice7::Clear");
}

void DisplayBackendD3D::ApplyDisplayParams(const DisplayParams& params)
{
    if (m_CurrentDisplayParams) {
        Step("Deleting old display params.");
        m_CurrentDisplayParams.reset();
    }
    ShutdownD3D();
    Step("Initializing Direct3DX.");
    D3D_INIT_CHECK(D3DXInitialize(), "D3DXInitialize failed");
    StartWindow(params);
    CreateScreen(params);
    CreateDevice(params);
    if (!m_ImageRenderer) {
        Step("Creating an ImageRenderer.");
        m_ImageRenderer = std::make_unique<D3DImageRenderer>(this);
    } else {
        m_ImageRenderer->OnNewDevice();
    }
    CountDisplayLoss(); // a new back buffer, cleared to black
    if (m_SavedFullScreenDisplaySettings) {
        Step("Cleaning up old full-screen display settings.");
        m_SavedFullScreenDisplaySettings.reset();
    }
    m_CurrentDisplayParams.reset(new DisplayParams(params));
    SurfaceManager::GetInstance().SetTextureMaker(
        [this](SDL_Surface* source) -> SurfaceTexture* { return CreateDividedTexture(source); });
    Step("SUCCESS.");
}

ImageRenderer* DisplayBackendD3D::GetImageRenderer()
{
    return m_ImageRenderer.get();
}

void DisplayBackendD3D::Present()
{
    if (!m_CDXScreen || !m_ImageRenderer)
        return;
    m_ImageRenderer->EndScene();
    m_CDXScreen->Flip(VSyncFlag(), 1, 0);
    if (m_CDXScreen->TakeRestored())
        CountDisplayLoss();
}

void DisplayBackendD3D::PrepareFrame()
{
    if (m_CDXScreen && m_ImageRenderer && m_Device)
        m_ImageRenderer->PrepareScene();
}

int DisplayBackendD3D::VSyncFlag() const
{
    return m_CurrentDisplayParams && m_CurrentDisplayParams->vsync ? 1 : 0;
}

void DisplayBackendD3D::PresentRects(const std::vector<SDL_Rect>& rects)
{
    if (!m_CDXScreen || !m_ImageRenderer)
        return;
    m_ImageRenderer->EndScene();
    m_CDXScreen->PresentRects(rects, VSyncFlag());
    if (m_CDXScreen->TakeRestored())
        CountDisplayLoss();
}

IDirectDrawSurface7* DisplayBackendD3D::MakeTextureSurface(int width, int height)
{
    DWORD w = DWORD(width), h = DWORD(height);
    D3DX_SURFACEFORMAT format = D3DX_SF_A8R8G8B8;
    IDirectDrawSurface7* texture = nullptr;
    D3D_CHECK(D3DXCreateTexture(m_Device, nullptr, &w, &h, &format, nullptr, &texture, nullptr),
              "D3DXCreateTexture failed");
    VidmemImageBytes += static_cast<std::int32_t>(w * h * 4);
    return texture;
}

void CopySurfaceDataIntoTexture(SDL_Surface* surface, IDirectDrawSurface7* texture, int x, int y,
                                int width, int height)
{
    DDSURFACEDESC2 desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    D3D_CHECK(texture->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr),
              "IDirectDrawSurface7::Lock failed");
    const bool mustLock = SDL_MUSTLOCK(surface);
    if (mustLock)
        SDL_LockSurface(surface);
    for (int row = 0; row < height; ++row) {
        const auto* from =
            static_cast<const std::uint8_t*>(surface->pixels) + (y + row) * surface->pitch + x * 4;
        auto* to = static_cast<std::uint8_t*>(desc.lpSurface) + row * desc.lPitch;
        std::memcpy(to, from, static_cast<std::size_t>(width) * 4);
    }
    if (mustLock)
        SDL_UnlockSurface(surface);
    D3D_CHECK(texture->Unlock(nullptr), "IDirectDrawSurface7::Unlock failed");
}

DividedTexture* DisplayBackendD3D::CreateDividedTexture(SDL_Surface* surface)
{
    const int size = DividedTexture::kTileSize;
    std::unique_ptr<DividedTexture> divided(new DividedTexture(surface->w, surface->h));
    if (surface->w == 0 || surface->h == 0)
        return divided.release();
    const int columns = (surface->w + size - 1) / size;
    const int rows = (surface->h + size - 1) / size;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const int x = c * size, y = r * size;
            const int w = std::min(size, surface->w - x), h = std::min(size, surface->h - y);
            DividedTextureTile tile;
            tile.texture = MakeTextureSurface(size, size);
            tile.rect = MakeRect(x, y, w, h);
            divided->AddTile(tile); // owned from here, also when the copy fails
            CopySurfaceDataIntoTexture(surface, tile.texture, x, y, w, h);
        }
    }
    return divided.release();
}

SDL_Surface* DisplayBackendD3D::GetScreenshotSurface()
{
    if (!m_CDXScreen || !m_CDXScreen->GetBack() || !m_CurrentDisplayParams)
        return nullptr;
    if (m_ImageRenderer)
        m_ImageRenderer->EndScene(); // the next drawing opens a new one
    const int width = m_CurrentDisplayParams->width, height = m_CurrentDisplayParams->height;
    if (m_ScreenshotSurface &&
        (m_ScreenshotSurface->w != width || m_ScreenshotSurface->h != height)) {
        m_ScreenshotSurface.reset();
    }
    if (!m_ScreenshotSurface)
        m_ScreenshotSurface.reset(SurfaceManager::CreateSurface(width, height, false));
    if (!m_ScreenshotSurface)
        return nullptr;
    IDirectDrawSurface7* back = m_CDXScreen->GetBack()->GetDDS();
    DDSURFACEDESC2 desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    if (FAILED(back->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr)))
        return nullptr;
    SDL_LockSurface(m_ScreenshotSurface.get());
    const int rows = std::min<int>(height, int(desc.dwHeight));
    const int columns = std::min<int>(width, int(desc.dwWidth));
    for (int row = 0; row < rows; ++row) {
        const auto* from =
            static_cast<const std::uint32_t*>(desc.lpSurface) + row * (desc.lPitch / 4);
        auto* to = reinterpret_cast<std::uint32_t*>(
            static_cast<std::uint8_t*>(m_ScreenshotSurface->pixels) +
            row * m_ScreenshotSurface->pitch);
        for (int x = 0; x < columns; ++x)
            to[x] = from[x] | 0xFF000000u; // the back buffer keeps no alpha
    }
    SDL_UnlockSurface(m_ScreenshotSurface.get());
    back->Unlock(nullptr);
    return m_ScreenshotSurface.get();
}

void DisplayBackendD3D::RestoreAfterLoss()
{
    SurfaceManager::GetInstance().All_DeleteSurfacesOfType(SURFACETYPE_D3D);
    CountDisplayLoss();
    D3D_CHECK(m_CDXScreen->Restore(), "CDXScreen::Restore failed");
    m_CDXScreen->TakeRestored(); // counted once, above
}

void DisplayBackendD3D::Rebuild()
{
    MAKO_ASSERT(m_CurrentDisplayParams != 0);
    DisplayParams params(*m_CurrentDisplayParams);
    ApplyDisplayParams(params);
}

void DisplayBackendD3D::HandleDisplayModeChange()
{
    HRESULT hr = m_CDXScreen->GetDD()->TestCooperativeLevel();
    if (hr == S_OK) {
        RestoreAfterLoss();
        return;
    }
    if (hr == DDERR_WRONGMODE) {
        Rebuild();
        return;
    }
    if (hr != DDERR_EXCLUSIVEMODEALREADYSET)
        D3D_CHECK(hr, "IDirectDraw7::TestCooperativeLevel failed");
    // Another program holds the display: wait for it, but not for ever.
    for (int poll = 0; poll < m_ExclusiveModePolls && hr == DDERR_EXCLUSIVEMODEALREADYSET; ++poll) {
        SDL_Delay(static_cast<Uint32>(m_ExclusiveModeIntervalMs));
        hr = m_CDXScreen->GetDD()->TestCooperativeLevel();
    }
    if (hr == S_OK)
        RestoreAfterLoss();
    else if (hr == DDERR_WRONGMODE)
        Rebuild();
    else
        D3D_CHECK(hr, "Post DDERR_EXCLUSIVEMODEALREADYSET call to "
                      "IDirectDraw7::TestCooperativeLevel failed");
}

LRESULT DisplayBackendD3D::HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (!m_SDLWindowProc)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_GETMINMAXINFO)
        return DefWindowProcA(window, message, wParam, lParam);
    const bool fullscreen = m_CurrentDisplayParams && m_CurrentDisplayParams->fullscreen;
    if (HandleFullScreenWindowMessage("DisplayBackendD3D", window, message, wParam, fullscreen,
                                      m_SavedFullScreenDisplaySettings))
        HandleDisplayModeChange();
    return CallWindowProcA(m_SDLWindowProc, window, message, wParam, lParam);
}
