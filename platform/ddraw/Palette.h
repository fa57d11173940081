#pragma once
// A palette of 256 entries. The layer makes no 8-bit surfaces, so no surface takes one.
#include "ddraw/ComObject.h"
#include "ddraw/ddraw.h"

namespace ddrawx {

class Palette : public ComObject<IDirectDrawPalette>
{
public:
    explicit Palette(const PALETTEENTRY* entries);
    HRESULT QueryInterface(REFIID iid, void** object) override;

private:
    PALETTEENTRY m_Entries[256];
};

} // namespace ddrawx
