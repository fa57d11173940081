#pragma once
// The Direct3D object of a DirectDraw object: the factory of devices.
#include "ddraw/ComObject.h"
#include "ddraw/d3d.h"

namespace ddrawx {

class DirectDraw;

class Direct3D : public ComObject<IDirect3D7>
{
public:
    // Holds a reference to the DirectDraw object for its life.
    explicit Direct3D(DirectDraw* directDraw);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT CreateDevice(REFCLSID deviceClass, LPDIRECTDRAWSURFACE7 target,
                         LPDIRECT3DDEVICE7* device) override;

    DirectDraw* Owner() const { return m_DirectDraw; }

private:
    ~Direct3D() override;

    DirectDraw* m_DirectDraw;
};

} // namespace ddrawx
