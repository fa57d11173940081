#include "kit/Rng.h"

namespace assetgen {

std::uint64_t Rng::HashName(const std::string& name)
{
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : name) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::uint64_t Rng::Next()
{
    // splitmix64: good spread from neighbouring seeds, one word of state.
    std::uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::Uniform()
{
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

int Rng::Int(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(Next() % span);
}

} // namespace assetgen
