#pragma once
// The generator behind every random choice of a recipe. Seeded from the asset's name,
// so an asset comes out the same on every build and does not shift when another
// recipe is added or changed.
#include <cstdint>
#include <string>

namespace assetgen {

class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_State(seed) {}
    // Seeds from a name (FNV-1a of its bytes): the usual way a recipe makes one.
    explicit Rng(const std::string& name) : m_State(HashName(name)) {}

    static std::uint64_t HashName(const std::string& name);

    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    // Uniform integer in [lo, hi] (both included).
    int Int(int lo, int hi);

private:
    std::uint64_t m_State;
};

} // namespace assetgen
