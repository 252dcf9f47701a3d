#include "platform/collision/angle_math.h"

#include <array>
#include <cstdint>
#include <limits>

#include "library_state.h"

namespace brumil::platform::collision {
namespace {

constexpr std::int32_t kTurn = 4096;
constexpr std::int32_t kQuarter = 1024;
constexpr std::int32_t kEighth = 512;
constexpr double kPi = 3.14159265358979323846;

// Series on [0, pi/4]: the terms fall below 1e-20 long before the last one,
// and only exactly rounded double operations are used, so the table is the
// same wherever it is built.
constexpr double CosSeries(double x) {
    double term = 1.0, sum = 1.0;
    for (int k = 1; k <= 12; ++k) {
        term *= -x * x / ((2.0 * k - 1.0) * (2.0 * k));
        sum += term;
    }
    return sum;
}

constexpr double SinSeries(double x) {
    double term = x, sum = x;
    for (int k = 1; k <= 12; ++k) {
        term *= -x * x / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sum;
}

constexpr std::int32_t NearestHalfEven(double v) {
    const double floorV = static_cast<double>(static_cast<std::int64_t>(v)) > v
                              ? static_cast<double>(static_cast<std::int64_t>(v)) - 1.0
                              : static_cast<double>(static_cast<std::int64_t>(v));
    const double frac = v - floorV;
    auto n = static_cast<std::int32_t>(floorV);
    if (frac > 0.5 || (frac == 0.5 && (n % 2) != 0)) ++n;
    return n;
}

// nearest(256 cos) for a quarter turn, 0..1024 inclusive; the other three
// quarters are mirrored from it, so the symmetries hold exactly.
constexpr std::array<std::int16_t, kQuarter + 1> BuildQuarter() {
    std::array<std::int16_t, kQuarter + 1> q{};
    for (std::int32_t a = 0; a <= kQuarter; ++a) {
        const double c = a <= kEighth ? CosSeries(a * 2.0 * kPi / kTurn)
                                      : SinSeries((kQuarter - a) * 2.0 * kPi / kTurn);
        q[static_cast<std::size_t>(a)] = static_cast<std::int16_t>(NearestHalfEven(256.0 * c));
    }
    return q;
}

constexpr std::array<std::int16_t, kQuarter + 1> kQuarterCos = BuildQuarter();

constexpr std::array<std::int16_t, kTurn> BuildCos() {
    std::array<std::int16_t, kTurn> t{};
    for (std::int32_t a = 0; a < kTurn; ++a) {
        const std::int32_t q = a / kQuarter, r = a % kQuarter;
        const auto at = [](std::int32_t i) { return kQuarterCos[static_cast<std::size_t>(i)]; };
        std::int32_t v = 0;
        switch (q) {
            case 0:
                v = at(r);
                break;
            case 1:
                v = -at(kQuarter - r);
                break;
            case 2:
                v = -at(r);
                break;
            default:
                v = at(kQuarter - r);
                break;
        }
        t[static_cast<std::size_t>(a)] = static_cast<std::int16_t>(v);
    }
    return t;
}

constexpr std::array<std::int16_t, kTurn> kCos = BuildCos();

constexpr std::int32_t CosAt(std::int32_t a) {
    return kCos[static_cast<std::size_t>(a & (kTurn - 1))];
}
constexpr std::int32_t SinAt(std::int32_t a) {
    // sin a = cos(a - a quarter turn), taken modulo the turn without overflow.
    return kCos[(static_cast<std::uint32_t>(a) + 3u * kQuarter) & (kTurn - 1)];
}

static_assert(CosAt(0) == 256 && SinAt(kQuarter) == 256 && CosAt(2048) == -256);

// tan of the half-way angles (k + 0.5) x 2 pi / 4096, k = 0..511, times 2^32:
// the boundaries between the angles of the first eighth of a turn.
constexpr std::array<std::uint64_t, kEighth> BuildBoundaries() {
    std::array<std::uint64_t, kEighth> b{};
    for (std::int32_t k = 0; k < kEighth; ++k) {
        const double x = (k + 0.5) * 2.0 * kPi / kTurn;
        const double scaled = SinSeries(x) / CosSeries(x) * 4294967296.0;
        b[static_cast<std::size_t>(k)] = static_cast<std::uint64_t>(scaled + 0.5);
    }
    return b;
}

constexpr std::array<std::uint64_t, kEighth> kBoundaries = BuildBoundaries();

// The nearest angle 0..512 of (x, y) with 0 <= y <= x, x > 0: the number of
// boundaries the slope y / x reaches. Both products stay below 2^63.
std::int32_t MatchOctant(std::uint64_t x, std::uint64_t y) {
    const std::uint64_t slope = y << 32;
    std::int32_t lo = 0, hi = kEighth;  // answer in lo..hi
    while (lo < hi) {
        const std::int32_t mid = (lo + hi) / 2;
        if (kBoundaries[static_cast<std::size_t>(mid)] * x <= slope) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

std::uint64_t SquareRootFloor(std::uint64_t n) {
    std::uint64_t root = 0;
    std::uint64_t bit = std::uint64_t{1} << 62;
    while (bit > n) bit >>= 2;
    while (bit != 0) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
}

}  // namespace

std::int32_t ACT(std::int32_t angle) {
    return CosAt(angle);
}

std::int32_t AST(std::int32_t angle) {
    return SinAt(angle);
}

std::int32_t AHT(std::int32_t dx, std::int32_t dy) {
    if (dx == 0 && dy == 0) return 0;
    const std::uint64_t ax =
        dx < 0 ? 0 - static_cast<std::uint64_t>(dx) : static_cast<std::uint64_t>(dx);
    const std::uint64_t ay =
        dy < 0 ? 0 - static_cast<std::uint64_t>(dy) : static_cast<std::uint64_t>(dy);
    // The angle of (ax, ay) in the first quarter.
    const std::int32_t t = ay <= ax ? MatchOctant(ax, ay) : kQuarter - MatchOctant(ay, ax);
    std::int32_t angle = t;
    if (dx < 0 && dy >= 0) angle = 2048 - t;
    if (dx < 0 && dy < 0) angle = 2048 + t;
    if (dx >= 0 && dy < 0) angle = kTurn - t;
    return angle & (kTurn - 1);
}

std::int32_t ALT(std::int32_t dx, std::int32_t dy) {
    const std::int64_t x = dx, y = dy;
    const auto sum = static_cast<std::uint64_t>(x * x) + static_cast<std::uint64_t>(y * y);
    const std::uint64_t root = SquareRootFloor(sum);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(root > kMax ? kMax : root);
}

std::int32_t AFT(std::int32_t a, std::int32_t b) {
    const std::uint32_t turn =
        (static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a)) & (kTurn - 1);
    const auto signedTurn = static_cast<std::int32_t>(turn);
    return signedTurn >= 2048 ? signedTurn - kTurn : signedTurn;
}

std::int32_t ART(std::int32_t n) {
    if (n <= 0) return 0;
    std::uint32_t out = 0;
    detail::State().random.Below(static_cast<std::uint32_t>(n), out);
    return static_cast<std::int32_t>(out);
}

}  // namespace brumil::platform::collision
