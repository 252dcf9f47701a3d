#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/math_helpers.h"
#include "core/math_random.h"

namespace brumil::core {
namespace {

TEST(Math, RemainderTakesTheSignOfTheDivisor) {
    struct Case {
        Single number, div, expected;
    };
    const Case cases[] = {
        {7, 3, 1},  {-7, 3, 2},      {7, -3, -2},      {-7, -3, -1}, {6, 3, 0},
        {-6, 3, 0}, {5.5f, 2, 1.5f}, {-0.5f, 2, 1.5f}, {7, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(Math_Remainder(c.number, c.div), c.expected) << c.number << " " << c.div;
    }
}

TEST(Math, ColorBlendsNeighbouringEntries) {
    const std::array<Long, 3> colors = {static_cast<Long>(0xFF000000u),
                                        static_cast<Long>(0x80FF8000u), 0x00000000};
    struct Case {
        Single t;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0.0f, 0xFF000000u},
        {1.0f, 0x00000000u},
        {0.5f, 0x80FF8000u},
        {-3.0f, 0xFF000000u},
        {7.0f, 0x00000000u},
        // quarter way: halfway between entries 0 and 1; 0x80 + (0xFF-0x80)/2 = 191.5 -> 192
        {0.25f, 0xC0804000u},
        {0.75f, 0x40804000u},
    };
    for (const auto& c : cases) {
        Long out = 12345;
        Math_Color(c.t, colors, out);
        EXPECT_EQ(static_cast<std::uint32_t>(out), c.expected) << c.t;
    }
    Long out = 99;
    Math_Color(0.5f, std::span<const Long>(), out);
    EXPECT_EQ(out, 0);
    const std::array<Long, 1> one = {0x123456};
    Math_Color(0.7f, one, out);
    EXPECT_EQ(out, 0x123456);
}

TEST(Math, HomingRadianQuadrants) {
    const double pi = std::numbers::pi;
    struct Case {
        Single x2, y2;
        double expected;
    };
    const Case cases[] = {
        {10, 0, 0},   {10, -10, pi / 4},     {0, -10, pi / 2},    {-10, -10, 3 * pi / 4},
        {-10, 0, pi}, {-10, 10, 5 * pi / 4}, {0, 10, 3 * pi / 2}, {10, 10, 7 * pi / 4},
        {0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Math_HomingRadian(0, 0, c.x2, c.y2), c.expected, 1e-6) << c.x2 << "," << c.y2;
    }
    EXPECT_NEAR(Math_HomingRadian(5, 5, 15, 5), 0, 1e-6);
    EXPECT_LT(Math_HomingRadian(0, 0, 10, 1e-7f), 2 * pi);
    EXPECT_FLOAT_EQ(Math_Length(1, 2, 4, 6), 5.0f);
}

TEST(Math, Shifts) {
    struct Case {
        Long (*fn)(Long, Long);
        Long value, bits, expected;
    };
    const Case cases[] = {
        {SHL, 0x12, 24, 0x12000000},
        {SHL, 0xFF, 24, static_cast<Long>(0xFF000000u)},
        {SHL, 1, 32, 0},
        {SHL, 5, -1, 5},
        {SHR, static_cast<Long>(0xFF000000u), 24, 0xFF},
        {SHR, -1, 31, 1},
        {SHR, -1, 32, 0},
        {SAR, -256, 4, -16},
        {SAR, -1, 40, -1},
        {SAR, 1024, 40, 0},
        {SAR, static_cast<Long>(0x80000000u), 24, -128},
    };
    for (const auto& c : cases) EXPECT_EQ(c.fn(c.value, c.bits), c.expected) << c.value;
}

TEST(Math, BoundMaxMinCompareEach) {
    int v = 15;
    Math_Bound(v, 0, 10);
    EXPECT_EQ(v, 10);
    Single s = -2.5f;
    Math_Bound(s, -1.0, 1.0);
    EXPECT_EQ(s, -1.0f);
    const std::array<Long, 5> list = {3, 9, -2, 9, 0};
    EXPECT_EQ(Math_Max<Long>(list), 9);
    EXPECT_EQ(Math_Min<Long>(list), -2);
    EXPECT_EQ(Math_Max<Long>({}), 0);
    const std::array<Long, 3> bits = {8, 16, 24};
    EXPECT_TRUE((CompareEach<Long, Long>(16, bits)));
    EXPECT_FALSE((CompareEach<Long, Long>(12, bits)));
}

TEST(Math, SortIndexOrdersTheIndexNotTheData) {
    const std::vector<Long> data = {50, 10, 40, 10, 30, 20, 60, 0, 70, 5, 45, 15, 25, 35};
    std::vector<Long> index(data.size());
    for (std::size_t i = 0; i < index.size(); ++i) index[i] = static_cast<Long>(i);
    for (bool decreasing : {false, true}) {
        SortIndex<Long>(data, index, decreasing);
        for (std::size_t k = 1; k < index.size(); ++k) {
            const Long a = data[static_cast<std::size_t>(index[k - 1])];
            const Long b = data[static_cast<std::size_t>(index[k])];
            EXPECT_TRUE(decreasing ? a >= b : a <= b) << k;
        }
        std::vector<Long> seen = index;
        std::sort(seen.begin(), seen.end());
        for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<Long>(i));
    }
    const std::vector<std::string> names = {"b", "c", "a"};
    std::vector<Long> idx = {0, 1, 2};
    SortIndex<std::string>(names, idx, false);
    EXPECT_EQ(idx, (std::vector<Long>{2, 0, 1}));
    std::vector<Long> bad = {0, 7, 1};  // 7 is outside the data: nothing happens
    SortIndex<std::string>(names, bad, false);
    EXPECT_EQ(bad, (std::vector<Long>{0, 7, 1}));
}

TEST(Math, CopyAndZeroMemoryStayInBounds) {
    struct Case {
        Long destStart, srcStart, length, result;
    };
    const Case cases[] = {
        {0, 0, 4, 0},  {4, 0, 4, 0},  {5, 0, 4, 1}, {0, 5, 4, 1}, {0, 0, 0, 1},
        {-1, 0, 2, 1}, {0, -1, 2, 1}, {0, 0, 9, 1}, {7, 7, 1, 0}, {INT32_MAX, 0, 1, 1},
    };
    const std::vector<std::uint8_t> src = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> dest(8, 0xEE);
        const auto before = dest;
        EXPECT_EQ(CopyMemory(dest, c.destStart, src, c.srcStart, c.length), c.result)
            << c.destStart << " " << c.srcStart << " " << c.length;
        if (c.result == 1) {
            EXPECT_EQ(dest, before);
            continue;
        }
        for (Long k = 0; k < c.length; ++k) {
            EXPECT_EQ(dest[static_cast<std::size_t>(c.destStart + k)],
                      src[static_cast<std::size_t>(c.srcStart + k)]);
        }
    }
    std::vector<std::uint8_t> overlap = {1, 2, 3, 4, 5};
    EXPECT_EQ(CopyMemory(overlap, 1, overlap, 0, 4), 0);
    EXPECT_EQ(overlap, (std::vector<std::uint8_t>{1, 1, 2, 3, 4}));

    std::vector<std::uint8_t> z = {1, 2, 3, 4};
    EXPECT_EQ(ZeroMemory(z, 1, 2), 0);
    EXPECT_EQ(z, (std::vector<std::uint8_t>{1, 0, 0, 4}));
    EXPECT_EQ(ZeroMemory(z, 3, 2), 1);
    EXPECT_EQ(ZeroMemory(z, 0, -1), 1);
    EXPECT_EQ(z, (std::vector<std::uint8_t>{1, 0, 0, 4}));
}

TEST(Math, RandomIsRepeatableAndInRange) {
    MathRandom a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const Long x = a.Range(-3, 5);
        EXPECT_EQ(x, b.Range(-3, 5));
        differs |= x != c.Range(-3, 5);
        EXPECT_GE(x, -3);
        EXPECT_LE(x, 5);
    }
    EXPECT_TRUE(differs);
    std::array<int, 4> hits{};
    for (int i = 0; i < 4000; ++i) ++hits[static_cast<std::size_t>(a.Range(3, 0))];
    for (int h : hits) EXPECT_GT(h, 800);
    const Long wide = a.Range(INT32_MIN, INT32_MAX);
    (void)wide;  // the full range must not overflow (sanitizers check)
}

}  // namespace
}  // namespace brumil::core
