#include "ddraw/Palette.h"

#include <cstring>

namespace ddrawx {

Palette::Palette(const PALETTEENTRY* entries)
{
    std::memcpy(m_Entries, entries, sizeof(m_Entries));
}

HRESULT Palette::QueryInterface(REFIID iid, void** object)
{
    return QueryOwn(iid, object, {&IID_IDirectDrawPalette});
}

} // namespace ddrawx
