#pragma once
// The software Direct3D device (see d3d.h for what it promises).
#include "ddraw/ComObject.h"
#include "ddraw/RasterTypes.h"
#include "ddraw/d3d.h"

#include <vector>

namespace ddrawx {

class Direct3D;
class DirectDraw;
class Surface;

class Device : public ComObject<IDirect3DDevice7>
{
public:
    // Draws into target; holds references to the Direct3D object and the target.
    Device(Direct3D* direct3D, REFCLSID deviceClass, Surface* target);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT GetCaps(LPD3DDEVICEDESC7 desc) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                  DWORD stencil) override;
    HRESULT SetViewport(LPD3DVIEWPORT7 viewport) override;
    HRESULT GetViewport(LPD3DVIEWPORT7 viewport) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                 LPDWORD value) override;
    HRESULT SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                          DWORD vertexCount, DWORD flags) override;

    // The DirectDraw object the device's surfaces come from (for D3DX).
    DirectDraw* Owner() const;

private:
    ~Device() override;
    void SetDefaultStates();
    // The target's pixels for drawing, or why it cannot be drawn into.
    HRESULT TargetPixels(PixelBuffer& out) const;
    // Fills `state` from the render and stage states; DDERR_UNSUPPORTED when a state asks
    // for something this device cannot draw.
    HRESULT BuildState(RasterState& state) const;
    HRESULT BuildStage(DWORD stage, RasterStage& out, bool& ends) const;

    Direct3D* m_Direct3D;
    GUID m_Class;
    Surface* m_Target;
    D3DVIEWPORT7 m_Viewport{};
    bool m_InScene = false;
    DWORD m_RenderStates[D3DRENDERSTATE_STATECOUNT] = {};
    DWORD m_StageStates[D3DMAXTEXTURESTAGES][D3DTSS_STATECOUNT] = {};
    Surface* m_Textures[D3DMAXTEXTURESTAGES] = {};
    RasterScratch m_Scratch; // lent to the rasterisers of each draw
};

} // namespace ddrawx
