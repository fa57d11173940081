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
