#pragma once
// An image cut into 64 x 64 textures of the hardware backend, so that images of any size
// draw without power-of-two textures. Tiles lie in column-major order; edge textures are
// only partly filled (the tile rectangle says how much). Every texture counts
// 64 x 64 x 4 bytes in VidmemImageBytes while it lives.
#include "ddraw/ddraw.h"
#include "display/SurfaceManager.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

struct DividedTextureTile
{
    IDirectDrawSurface7* texture = nullptr; // owned
    SDL_Rect rect = {0, 0, 0, 0};           // the part of the image it holds
    std::int32_t textureWidth = 64;
    std::int32_t textureHeight = 64;
};

class DividedTexture : public SurfaceTexture
{
public:
    static const int kTileSize = 64;

    DividedTexture(int width, int height) : m_Width(width), m_Height(height) {}
    // Releases every texture and takes its bytes off VidmemImageBytes.
    ~DividedTexture() override;
    DividedTexture(const DividedTexture&) = delete;
    DividedTexture& operator=(const DividedTexture&) = delete;

    // Takes over the texture.
    void AddTile(const DividedTextureTile& tile) { m_Tiles.push_back(tile); }
    const std::vector<DividedTextureTile>& GetTiles() const MAKO_LIFETIMEBOUND { return m_Tiles; }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }

    // Gives every tile the image's colour key (a pixel value of the image; its red, green
    // and blue count), or none when keyed is false, so that a device with colour keying on
    // leaves the keyed pixels out. Tiles added later do not get it.
    void SetColorKey(bool keyed, std::uint32_t key);
    bool IsKeyed() const { return m_Keyed; }

private:
    std::vector<DividedTextureTile> m_Tiles;
    std::int32_t m_Width;
    std::int32_t m_Height;
    bool m_Keyed = false;
    std::uint32_t m_Key = 0;
};
