#include "core/val.h"

#include <gtest/gtest.h>

namespace brumil::core {
namespace {

TEST(Val, LValReadsLeadingNumbersLikeVal) {
    struct Case {
        const char* text;
        Long expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {"&H", 0},
        {"&HG1", 0},
        {"12", 12},
        {"  42abc", 42},
        {"\t-7,3", -7},
        {"1 2 3", 123},  // blanks inside the number are skipped, as Val does
        {"+5", 5},
        {"2.5", 2},  // halves to even
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"0.5", 0},
        {"1.5", 2},
        {".75", 1},
        {"1e3", 1000},
        {"2.5E1", 25},
        {"1D2", 100},
        {"1e", 1},
        {"&H10", 16},
        {"&hff", 255},
        {"&HFFFF", -1},      // 16-bit literal
        {"&HFFFF&", 65535},  // the "&" suffix makes it 32-bit
        {"&H8000&", 32768},
        {"&H8000", -32768},
        {"&H7FFF", 32767},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H80000000", INT32_MIN},
        {"&H0", 0},
        {"&O17", 15},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"1e400", INT32_MAX},
        {"-1e400", INT32_MIN},
        {"2147483646.5", 2147483646},
    };
    for (const auto& c : cases) EXPECT_EQ(LVal(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Val, HexBeyondThirtyTwoBitsIsNotANumber) {
    EXPECT_EQ(LVal("&H100000000"), 0);
    EXPECT_FALSE(ParseLeadingNumber("&H1FFFFFFFF").has_value());
}

TEST(Val, LValBoundClampsToTheRange) {
    struct Case {
        const char* text;
        Long min, max, expected;
    };
    const Case cases[] = {
        {"50", 0, 10, 10}, {"-50", 0, 10, 0}, {"5", 0, 10, 5},
        {"7", 10, 0, 7},   {"x", -5, 5, 0},   {"x", 3, 9, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LValBound(c.text, c.min, c.max), c.expected) << c.text;
    }
}

TEST(Val, SValBoundIsSinglePrecisionAndClamped) {
    struct Case {
        const char* text;
        Single expected;
    };
    const Case cases[] = {
        {"1.25", 1.25f},   {"-0.5x", -0.5f},    {"garbage", 0.0f},
        {"1e9", 32767.0f}, {"-1e9", -32767.0f}, {"0.1", 0.1f},
    };
    for (const auto& c : cases) EXPECT_EQ(SValBound(c.text), c.expected) << c.text;
    EXPECT_EQ(SValBound("5", 0.0f, 1.0f), 1.0f);
}

}  // namespace
}  // namespace brumil::core
