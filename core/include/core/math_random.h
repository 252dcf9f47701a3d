#pragma once
// The program's general pseudo-random generator (PCG32, XSH RR output). One
// instance per purpose; a seed gives the same sequence on every machine.

#include <cstdint>

#include "core/vb_types.h"

namespace brumil::core {

class MathRandom {
public:
    explicit MathRandom(std::uint64_t seed = 0x853C49E6748FEA9Bull) { Seed(seed); }

    void Seed(std::uint64_t seed);
    std::uint32_t Next();
    // A number in 0 <= r < 1 with 32 random bits.
    double Next01() { return Next() * (1.0 / 4294967296.0); }
    // A whole number from min to max inclusive (the two are put in order).
    Long Range(Long min, Long max);

private:
    std::uint64_t state_ = 0;
};

}  // namespace brumil::core
