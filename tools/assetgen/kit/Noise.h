#pragma once
// Texture fields for materials: each is a width × height grid of values in 0..1 that
// tiles without seams (the field at x = width continues the field at x = 0), so a
// texture made from it can repeat across a surface.
#include "kit/Rng.h"

#include <vector>

namespace assetgen {

class NoiseField
{
public:
    NoiseField(int width, int height);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // The value at a pixel; coordinates wrap around the field.
    float At(int x, int y) const;
    float& Ref(int x, int y) { return m_Values[static_cast<std::size_t>(y) * m_Width + x]; }

    // Smooth value noise: octaves of a lattice of cellsX × cellsY cells (doubling per
    // octave, amplitude times persistence), interpolated with a smooth step.
    static NoiseField Value(Rng& rng, int width, int height, int cellsX, int cellsY, int octaves,
                            float persistence);
    // Fine per-pixel grain (white noise).
    static NoiseField Grain(Rng& rng, int width, int height);
    // Streaks along x (horizontal) or y: value noise stretched along one axis, used for
    // wood grain and ice.
    static NoiseField Streaks(Rng& rng, int width, int height, int cellsAcross, bool horizontal);

private:
    void Normalise();

    int m_Width;
    int m_Height;
    std::vector<float> m_Values;
};

} // namespace assetgen
