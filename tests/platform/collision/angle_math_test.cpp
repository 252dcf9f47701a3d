#include "platform/collision/angle_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/collision/collision.h"

namespace brumil::platform::collision {
namespace {

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Angle distance on the circle.
std::int32_t CircleDistance(std::int32_t a, std::int32_t b) {
    const std::int32_t d = AFT(a, b);
    return d < 0 ? -d : d;
}

TEST(AngleMath, KnownValues) {
    struct Case {
        const char* what;
        std::int32_t got;
        std::int32_t want;
    };
    const Case cases[] = {
        {"ACT(0)", ACT(0), 256},
        {"AST(0)", AST(0), 0},
        {"AST(1024)", AST(1024), 256},
        {"ACT(1024)", ACT(1024), 0},
        {"ACT(2048)", ACT(2048), -256},
        {"AST(3072)", AST(3072), -256},
        {"ACT(512)", ACT(512), 181},  // 256 / sqrt 2 = 181.02
        {"AFT(4000, 100)", AFT(4000, 100), 196},
        {"AFT(100, 4000)", AFT(100, 4000), -196},
        {"AFT(0, 2048)", AFT(0, 2048), -2048},
        {"AFT(0, 2047)", AFT(0, 2047), 2047},
        {"AFT(-5, 5)", AFT(-5, 5), 10},
        {"AFT(kIntMin, kIntMax)", AFT(kIntMin, kIntMax), -1},
        {"AHT(0, 0)", AHT(0, 0), 0},
        {"AHT(1, 0)", AHT(1, 0), 0},
        {"AHT(0, 1) is down", AHT(0, 1), 1024},
        {"AHT(-1, 0)", AHT(-1, 0), 2048},
        {"AHT(0, -1) is up", AHT(0, -1), 3072},
        {"AHT(5, 5)", AHT(5, 5), 512},
        {"AHT(-7, 7)", AHT(-7, 7), 1536},
        {"AHT(kIntMin, kIntMin)", AHT(kIntMin, kIntMin), 2560},
        {"AHT(kIntMax, kIntMin)", AHT(kIntMax, kIntMin), 3584},
        {"ALT(3, 4)", ALT(3, 4), 5},
        {"ALT(-3, -4)", ALT(-3, -4), 5},
        {"ALT(1, 1)", ALT(1, 1), 1},
        {"ALT(0, 0)", ALT(0, 0), 0},
        {"ALT(kIntMin, kIntMin) clamps", ALT(kIntMin, kIntMin), kIntMax},
        {"ALT(kIntMin, 0)", ALT(kIntMin, 0), kIntMax},  // 2^31 does not fit
        {"ALT(kIntMax, 0)", ALT(kIntMax, 0), kIntMax},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(AngleMath, LengthComputesInSixtyFourBits) {
    // The squares overflow 32 bits: 0x36000^2 alone is 4.9e10.
    const std::int64_t n = std::int64_t{0x36000} * 0x36000 + std::int64_t{0x26000} * 0x26000;
    const std::int64_t r = ALT(0x36000, 0x26000);
    EXPECT_LE(r * r, n);
    EXPECT_GT((r + 1) * (r + 1), n);
    EXPECT_EQ(ALT(0x26000, -0x36000), r);
}

TEST(AngleMath, TableSymmetriesHoldForEveryAngle) {
    for (std::int32_t a = 0; a < 4096; ++a) {
        ASSERT_EQ(ACT(a), ACT(4096 - a)) << a;
        ASSERT_EQ(AST(a), -AST(4096 - a)) << a;
        ASSERT_EQ(ACT(a + 2048), -ACT(a)) << a;
        ASSERT_EQ(AST(a), ACT(a - 1024)) << a;
        const std::int32_t r2 = ACT(a) * ACT(a) + AST(a) * AST(a);
        ASSERT_NEAR(r2, 65536, 400) << a;  // length 256 within rounding
    }
}

TEST(AngleMath, AnyAngleReadsItsResidue) {
    const std::int32_t angles[] = {-1, -4096, -4097, 4096, 8191, 123456789, kIntMin, kIntMax};
    for (std::int32_t a : angles) {
        EXPECT_EQ(ACT(a), ACT(a & 4095)) << a;
        EXPECT_EQ(AST(a), AST(a & 4095)) << a;
    }
}

TEST(AngleMath, TableChecksumIsLocked) {
    // Sum of (i + 1)(ACT + 512) 3 + (i + 7)(AST + 512) over the table, as
    // nearest(256 cos) and nearest(256 sin) give it.
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < 4096; ++i) {
        sum += (i + 1) * (ACT(static_cast<std::int32_t>(i)) + 512) * 3 +
               (i + 7) * (AST(static_cast<std::int32_t>(i)) + 512);
    }
    EXPECT_EQ(sum, 16511455232);
}

// The nearest whole angle of (dx, dy) by floating point, or -1 when the
// true angle is too close to a half-way point to say.
std::int32_t ReferenceAngle(std::int64_t dx, std::int64_t dy) {
    const long double turns =
        std::atan2(static_cast<long double>(dy), static_cast<long double>(dx)) * 4096.0L /
        (2.0L * 3.14159265358979323846264338327950288L);
    const long double frac = turns - std::floor(turns);
    if (std::fabs(frac - 0.5L) < 1e-9L) return -1;
    return static_cast<std::int32_t>(std::llround(turns)) & 4095;
}

TEST(AngleMath, AngleOfTableVectorGivesTheAngleBack) {
    for (std::int32_t a = 0; a < 4096; ++a) {
        for (std::int32_t scale : {1, 3, 1000}) {
            const std::int32_t back = AHT(ACT(a) * scale, AST(a) * scale);
            ASSERT_GE(back, 0);
            ASSERT_LT(back, 4096);
            // The table's vectors are off their angle by up to 1.8 units.
            ASSERT_LE(CircleDistance(back, a), 2) << a << " x" << scale;
            const std::int32_t want = ReferenceAngle(ACT(a), AST(a));
            if (want >= 0) {
                ASSERT_EQ(back, want) << a;
            }
        }
    }
}

TEST(AngleMath, AngleIsTheNearestWholeAngle) {
    // Vectors from short to the full 32-bit range, in every quarter.
    const std::int32_t lengths[] = {1, 2, 7, 100, 0x28000, 0x1234567, kIntMax};
    std::uint32_t mix = 12345;
    int checked = 0;
    for (std::int32_t lx : lengths) {
        for (std::int32_t ly : lengths) {
            for (int k = 0; k < 40; ++k) {
                mix = mix * 1103515245u + 12345u;
                const std::int64_t dx =
                    (k & 1 ? -1 : 1) *
                    static_cast<std::int64_t>(mix % static_cast<std::uint32_t>(lx));
                mix = mix * 1103515245u + 12345u;
                const std::int64_t dy =
                    (k & 2 ? -1 : 1) *
                    static_cast<std::int64_t>(mix % static_cast<std::uint32_t>(ly));
                if (dx == 0 && dy == 0) continue;
                const std::int32_t want = ReferenceAngle(dx, dy);
                if (want < 0) continue;
                ++checked;
                ASSERT_EQ(AHT(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)), want)
                    << dx << "," << dy;
            }
        }
    }
    EXPECT_GT(checked, 1500);
}

TEST(AngleMath, RandomRangeAndSeeding) {
    LoadDLL();
    struct Case {
        std::int32_t n;
        std::int32_t limit;  // every answer below it (1: always 0)
    };
    const Case cases[] = {{0, 1}, {-5, 1},      {kIntMin, 1},      {1, 1},
                          {2, 2}, {4096, 4096}, {kIntMax, kIntMax}};
    Reset(1234);
    for (const Case& c : cases) {
        for (int k = 0; k < 200; ++k) {
            const std::int32_t v = ART(c.n);
            ASSERT_GE(v, 0) << c.n;
            ASSERT_LT(v, c.limit) << c.n;
        }
    }
    // The same time gives the same sequence; ART(0) draws nothing from it.
    Reset(77);
    std::int32_t first[8];
    for (std::int32_t& v : first) v = ART(1000);
    Reset(77);
    for (std::int32_t v : first) {
        EXPECT_EQ(ART(0), 0);
        EXPECT_EQ(ART(1000), v);
    }
    // A different time gives a different sequence.
    Reset(78);
    int same = 0;
    for (std::int32_t v : first) same += ART(1000) == v ? 1 : 0;
    EXPECT_LT(same, 8);
    UnloadDLL();
}

}  // namespace
}  // namespace brumil::platform::collision
