#pragma once
// The helper library's random generator: xoshiro128** seeded through
// SplitMix64, so that a seed gives the same sequence on every machine.

#include <array>
#include <cstdint>

namespace brumil::platform {

class HelperRandom {
public:
    explicit HelperRandom(std::uint64_t seed = 0x9E3779B97F4A7C15ull) { Seed(seed); }

    void Seed(std::uint64_t seed);
    std::uint32_t Next();
    // A whole number from 0 to n - 1 without modulo bias; false (and 0) when
    // n is 0.
    bool Below(std::uint32_t n, std::uint32_t& out);

private:
    std::array<std::uint32_t, 4> s_{};
};

}  // namespace brumil::platform
