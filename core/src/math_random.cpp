#include "core/math_random.h"

#include <cmath>
#include <utility>

namespace brumil::core {
namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ull;
constexpr std::uint64_t kIncrement = 1442695040888963407ull;
}  // namespace

void MathRandom::Seed(std::uint64_t seed) {
    state_ = 0;
    Next();
    state_ += seed;
    Next();
}

std::uint32_t MathRandom::Next() {
    const std::uint64_t old = state_;
    state_ = old * kMultiplier + kIncrement;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<std::uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

Long MathRandom::Range(Long min, Long max) {
    if (min > max) std::swap(min, max);
    const std::int64_t span = std::int64_t{max} - min + 1;
    const auto offset = static_cast<std::int64_t>(std::floor(Next01() * static_cast<double>(span)));
    return static_cast<Long>(min + offset);
}

}  // namespace brumil::core
