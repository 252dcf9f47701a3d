#include "platform/codec/helper_random.h"

namespace brumil::platform {
namespace {

std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t Rotl(std::uint32_t x, int k) {
    return (x << k) | (x >> (32 - k));
}

}  // namespace

void HelperRandom::Seed(std::uint64_t seed) {
    std::uint64_t state = seed;
    const std::uint64_t a = SplitMix64(state);
    const std::uint64_t b = SplitMix64(state);
    s_ = {static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(a >> 32),
          static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(b >> 32)};
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1;  // the all-zero state is a fixed point
}

std::uint32_t HelperRandom::Next() {
    const std::uint32_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint32_t t = s_[1] << 9;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 11);
    return result;
}

bool HelperRandom::Below(std::uint32_t n, std::uint32_t& out) {
    out = 0;
    if (n == 0) return false;
    // Rejection keeps every value equally likely.
    const std::uint32_t limit = static_cast<std::uint32_t>(-n) % n;
    for (;;) {
        const std::uint64_t m = std::uint64_t{Next()} * n;
        if (static_cast<std::uint32_t>(m) >= limit) {
            out = static_cast<std::uint32_t>(m >> 32);
            return true;
        }
    }
}

}  // namespace brumil::platform
