#pragma once
// Shared set-up for the display layer's tests: a DirectDraw object on SDL's dummy driver,
// helpers to make screens and textures and to read pixels back, and a check that every
// object of the layer is gone when a test ends.
#include "ddraw/DDrawTestHooks.h"
#include "ddraw/d3dx.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ddrawtest {

inline DDSURFACEDESC2 EmptyDesc()
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    return desc;
}

inline DDSURFACEDESC2 CapsDesc(DWORD caps)
{
    DDSURFACEDESC2 desc = EmptyDesc();
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = caps;
    return desc;
}

class DDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ddrawx::ResetHooks();
        ASSERT_EQ(DD_OK, DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&m_DD),
                                            IID_IDirectDraw7, nullptr));
    }

    void TearDown() override
    {
        ReleaseAll();
        EXPECT_EQ(0, ddrawx::LiveObjectCount());
        ddrawx::ResetHooks();
        D3DXUninitialize();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // Releases what the fixture made, last made first.
    void ReleaseAll()
    {
        for (auto it = m_Owned.rbegin(); it != m_Owned.rend(); ++it)
            (*it)->Release();
        m_Owned.clear();
        if (m_DD)
            m_DD->Release();
        m_DD = nullptr;
        m_Front = m_Back = nullptr;
        m_Device = nullptr;
    }

    template <class T> T* Keep(T* object)
    {
        m_Owned.push_back(object);
        return object;
    }

    // Exclusive full screen at width × height × 32 with a flipping chain.
    void MakeFullScreen(int width = 640, int height = 480)
    {
        ASSERT_EQ(DD_OK, m_DD->SetCooperativeLevel(nullptr, 0x53));
        ASSERT_EQ(DD_OK, m_DD->SetDisplayMode(width, height, 32, 0, 0));
        DDSURFACEDESC2 desc = CapsDesc(0x6218);
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        ASSERT_EQ(DD_OK, m_DD->CreateSurface(&desc, &m_Front, nullptr));
        Keep(m_Front);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        ASSERT_EQ(DD_OK, m_Front->GetAttachedSurface(&caps, &m_Back));
        Keep(m_Back);
    }

    // A device drawing into the back buffer, with the states the game's renderer sets at
    // the start of a scene.
    void MakeDevice()
    {
        IDirect3D7* d3d = nullptr;
        ASSERT_EQ(DD_OK, m_DD->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)));
        Keep(d3d);
        ASSERT_EQ(DD_OK, d3d->CreateDevice(IID_IDirect3DHALDevice, m_Back, &m_Device));
        Keep(m_Device);
        ASSERT_EQ(DD_OK, D3DXInitialize());
        m_Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        m_Device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        m_Device->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
        m_Device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        m_Device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        m_Device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    }

    // A 32-bit ARGB texture of the device holding `pixels` (width × height, row by row).
    IDirectDrawSurface7* MakeTexture(int width, int height,
                                     const std::vector<std::uint32_t>& pixels)
    {
        DWORD w = DWORD(width), h = DWORD(height);
        D3DX_SURFACEFORMAT format = D3DX_SF_A8R8G8B8;
        IDirectDrawSurface7* texture = nullptr;
        EXPECT_EQ(DD_OK, D3DXCreateTexture(m_Device, nullptr, &w, &h, &format, nullptr, &texture,
                                           nullptr));
        if (!texture)
            return nullptr;
        Keep(texture);
        DDSURFACEDESC2 desc = EmptyDesc();
        EXPECT_EQ(DD_OK, texture->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 y * desc.lPitch)[x] = pixels[y * width + x];
        EXPECT_EQ(DD_OK, texture->Unlock(nullptr));
        return texture;
    }

    static std::uint32_t ReadPixel(IDirectDrawSurface7* surface, int x, int y)
    {
        DDSURFACEDESC2 desc = EmptyDesc();
        RECT r{x, y, x + 1, y + 1};
        EXPECT_EQ(DD_OK, surface->Lock(&r, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr));
        std::uint32_t value = *static_cast<std::uint32_t*>(desc.lpSurface);
        surface->Unlock(&r);
        return value;
    }

    static void Fill(IDirectDrawSurface7* surface, std::uint32_t value, RECT* rect = nullptr)
    {
        DDBLTFX fx{};
        fx.dwSize = sizeof(fx);
        fx.dwFillColor = value;
        EXPECT_EQ(DD_OK, surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
    }

    IDirectDraw7* m_DD = nullptr;
    IDirectDrawSurface7* m_Front = nullptr;
    IDirectDrawSurface7* m_Back = nullptr;
    IDirect3DDevice7* m_Device = nullptr;
    std::vector<IUnknown*> m_Owned;
};

} // namespace ddrawtest
