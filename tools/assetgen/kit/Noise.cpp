#include "kit/Noise.h"

#include <algorithm>
#include <stdexcept>

namespace assetgen {

namespace {

// One octave of value noise whose lattice wraps after cellsX × cellsY cells.
class Lattice
{
public:
    Lattice(Rng& rng, int cellsX, int cellsY)
        : m_CellsX(std::max(1, cellsX)), m_CellsY(std::max(1, cellsY)),
          m_Values(static_cast<std::size_t>(m_CellsX) * m_CellsY)
    {
        for (float& v : m_Values)
            v = static_cast<float>(rng.Uniform());
    }

    // u, v in cells; returns the smoothly interpolated lattice value.
    float Sample(float u, float v) const
    {
        const int x0 = static_cast<int>(u), y0 = static_cast<int>(v);
        const float fx = Smooth(u - x0), fy = Smooth(v - y0);
        const float a = Node(x0, y0), b = Node(x0 + 1, y0);
        const float c = Node(x0, y0 + 1), d = Node(x0 + 1, y0 + 1);
        return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
    }

private:
    static float Smooth(float t) { return t * t * (3 - 2 * t); }
    float Node(int x, int y) const
    {
        x %= m_CellsX;
        y %= m_CellsY;
        return m_Values[static_cast<std::size_t>(y) * m_CellsX + x];
    }

    int m_CellsX, m_CellsY;
    std::vector<float> m_Values;
};

} // namespace

NoiseField::NoiseField(int width, int height) : m_Width(width), m_Height(height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("noise field size must be positive");
    m_Values.assign(static_cast<std::size_t>(width) * height, 0.0f);
}

float NoiseField::At(int x, int y) const
{
    x %= m_Width;
    y %= m_Height;
    if (x < 0)
        x += m_Width;
    if (y < 0)
        y += m_Height;
    return m_Values[static_cast<std::size_t>(y) * m_Width + x];
}

void NoiseField::Normalise()
{
    const auto [lo, hi] = std::minmax_element(m_Values.begin(), m_Values.end());
    const float min = *lo, span = *hi - *lo;
    for (float& v : m_Values)
        v = span > 0 ? (v - min) / span : 0.5f;
}

NoiseField NoiseField::Value(Rng& rng, int width, int height, int cellsX, int cellsY, int octaves,
                             float persistence)
{
    NoiseField field(width, height);
    float amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        const int cx = cellsX << o, cy = cellsY << o;
        const Lattice lattice(rng, cx, cy);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                field.Ref(x, y) +=
                    amplitude * lattice.Sample((x + 0.5f) * cx / width, (y + 0.5f) * cy / height);
        amplitude *= persistence;
    }
    field.Normalise();
    return field;
}

NoiseField NoiseField::Grain(Rng& rng, int width, int height)
{
    NoiseField field(width, height);
    for (float& v : field.m_Values)
        v = static_cast<float>(rng.Uniform());
    return field;
}

NoiseField NoiseField::Streaks(Rng& rng, int width, int height, int cellsAcross, bool horizontal)
{
    // Few cells along the streaks, many across them.
    const int along = 2;
    NoiseField field = horizontal ? Value(rng, width, height, along, cellsAcross, 3, 0.5f)
                                  : Value(rng, width, height, cellsAcross, along, 3, 0.5f);
    return field;
}

} // namespace assetgen
