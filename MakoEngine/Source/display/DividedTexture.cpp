#include "display/DividedTexture.h"

#include "resources/ResourceMemory.h"

DividedTexture::~DividedTexture()
{
    for (DividedTextureTile& tile : m_Tiles) {
        if (tile.texture)
            tile.texture->Release();
        tile.texture = nullptr;
        VidmemImageBytes -= kTileSize * kTileSize * 4;
    }
}

void DividedTexture::SetColorKey(bool keyed, std::uint32_t key)
{
    if (keyed == m_Keyed && (!keyed || key == m_Key))
        return;
    DDCOLORKEY colorKey = {key, key};
    for (DividedTextureTile& tile : m_Tiles)
        if (tile.texture)
            tile.texture->SetColorKey(DDCKEY_SRCBLT, keyed ? &colorKey : nullptr);
    m_Keyed = keyed;
    m_Key = key;
}
