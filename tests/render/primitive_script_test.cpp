// The primitive script: cutting, value rules, defaults, capacities and the
// billboard reader.
#include "render/primitive_script.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "render/ark_primitive.h"

namespace brumil::render {
namespace {

std::vector<std::pair<int, std::string>> Cut(std::string_view script) {
    std::vector<std::pair<int, std::string>> out;
    CutPrimitiveScript(script, [&](std::uint8_t letter, std::string_view digits) {
        out.emplace_back(letter, std::string(digits));
    });
    return out;
}

TEST(PrimitiveScript, CuttingIntoNumbers) {
    using V = std::vector<std::pair<int, std::string>>;
    struct Case {
        const char* script;
        V want;
    };
    const Case cases[] = {
        {"", {}},
        {"12 34", {}},  // before the first letter: dropped
        {"w0 1 2", {{kClassW, "0"}, {kClassW, "1"}, {kClassW, "2"}}},
        {"w12h3", {{kClassW, "12"}, {kClassH, "3"}}},
        {"c8F12", {{kClassC, "8"}, {kClassC, "12"}}},   // upper case skipped, ends a number
        {"a-5.25", {{kClassA, "5"}, {kClassA, "25"}}},  // signs and points only separate
        {"a1\r\n2\t3", {{kClassA, "1"}, {kClassA, "2"}, {kClassA, "3"}}},
        {"a7zb9", {{kClassA, "7"}, {kClassA, "9"}}},  // unknown letters are ignored
        {"x1y2i3q1", {{kClassX, "1"}, {kClassY, "2"}, {kClassI, "3"}, {kClassQ, "1"}}},
        {"a\xE3\x81\x82"
         "5",
         {{kClassA, "5"}}},  // bytes above 127 are skipped
    };
    for (const auto& c : cases) EXPECT_EQ(Cut(c.script), c.want) << c.script;
}

TEST(PrimitiveScript, ValuesAreLimitedAndDividedWhenTheNumberEnds) {
    struct Case {
        const char* script;
        std::vector<Single> w;
    };
    const Case cases[] = {
        {"w0 1 2", {0, 1 / 80.0f, 2 / 80.0f}},  // divisor 80: a narrow patch
        {"f2 w0 1 2", {0, 0.5f, 1}},            // unit wide
        {"w5f7", {5 / 80.0f, 0.5f, 1}},         // 5 is valued under 80, then defaults
        {"f80 w120 40", {1.0f, 0.5f, 1}},       // 120 is limited to 80
        {"f0 w1", {1.0f, 0.5f, 1}},             // divisor at least 1
        {"f99999 w10000", {1.0f, 0.5f, 1}},     // divisor at most 10000
        {"w99999999999999999999999", {1.0f, 0.5f, 1}},
    };
    for (const auto& c : cases) {
        const auto l = ReadPrimitiveScript(c.script, 0, 0);
        ASSERT_EQ(l.w.size(), c.w.size()) << c.script;
        for (std::size_t i = 0; i < c.w.size(); ++i) {
            EXPECT_FLOAT_EQ(l.w[i], c.w[i]) << c.script << " " << i;
        }
    }
}

TEST(PrimitiveScript, ColoursFlagAndDroppedLetters) {
    struct Case {
        const char* script;
        std::vector<std::uint32_t> colours;
        Long q;
    };
    const Case cases[] = {
        {"c80", {0x80}, 0},
        {"c8F12", {0x8, 0x12}, 0},
        {"c80000000", {0x80000000u}, 0},
        {"c00000000012345678", {0x12345678u}, 0},  // leading zeros do not count
        {"c123456789", {0}, 0},                    // nine digits do not fit
        {"q1", {}, 1},
        {"q7", {}, 1},
        {"x5 y5 i5 c1", {0x1}, 0},
    };
    for (const auto& c : cases) {
        const auto l = ReadPrimitiveScript(c.script, 0, 0x7);
        ASSERT_GE(l.c.size(), c.colours.size()) << c.script;
        for (std::size_t i = 0; i < c.colours.size(); ++i) {
            EXPECT_EQ(static_cast<std::uint32_t>(l.c[i]), c.colours[i]) << c.script;
        }
        // The rest is the default colour.
        EXPECT_EQ(l.c.back(), c.colours.empty() ? 0x7 : l.c.back()) << c.script;
        EXPECT_EQ(l.q, c.q) << c.script;
    }
}

TEST(PrimitiveScript, DefaultsFillAThreeByTwoGrid) {
    const auto l = ReadPrimitiveScript("", 0.25f, 0x11);
    EXPECT_EQ(l.w, (std::vector<Single>{0, 0.5f, 1}));
    EXPECT_EQ(l.h, (std::vector<Single>{0, 1}));
    EXPECT_EQ(l.u, (std::vector<Single>{0, 0.5f, 1, 0, 0.5f, 1}));
    EXPECT_EQ(l.v, (std::vector<Single>{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(l.a, std::vector<Single>(6, 0.25f));
    EXPECT_EQ(l.c, std::vector<Long>(6, 0x11));
    EXPECT_EQ(l.e, std::vector<Single>(2, 0.25f));
    EXPECT_EQ(l.r, std::vector<Single>(3, 0.25f));

    // Given entries stay; missing ones follow them.
    const auto one = ReadPrimitiveScript("w40 h40 a80 u8", 0, 0);
    EXPECT_EQ(one.w, (std::vector<Single>{0.5f, 0.5f, 1}));
    EXPECT_EQ(one.h, (std::vector<Single>{0.5f, 1}));
    EXPECT_EQ(one.a.front(), 1.0f);
    EXPECT_EQ(one.a[1], 0.0f);
    EXPECT_FLOAT_EQ(one.u.front(), 0.1f);
    EXPECT_EQ(one.u[1], 0.5f);
}

TEST(PrimitiveScript, CapacitiesDropTheRest) {
    std::string w = "w", a = "a";
    for (int i = 0; i < 51; ++i) w += std::to_string(i % 80) + " ";
    for (int i = 0; i < 2600; ++i) a += "1 ";
    const auto l = ReadPrimitiveScript(w + a, 0, 0);
    ASSERT_EQ(l.w.size(), 50u);
    EXPECT_FLOAT_EQ(l.w.back(), 49 / 80.0f);
    EXPECT_EQ(l.a.size(), 2500u);
}

TEST(PrimitiveScript, ReadingReplacesThePreviousLists) {
    CIMArkPrimitive prim;
    prim.ReadPrimitiveScript("w1 2 3 4 5", 0, 0);
    EXPECT_EQ(prim.ScriptLists().w.size(), 5u);
    prim.ReadPrimitiveScript("", 0, 0);
    EXPECT_EQ(prim.ScriptLists().w.size(), 3u);
}

TEST(BillBoardScript, ValueRulesAndNoDefaults) {
    const auto l =
        ReadBillBoardScript("u40 v80 x20 y100 w0 2000 16 h8 i5 1500 f2 u1 a5 e5 r5 c5 q1");
    EXPECT_EQ(l.u, (std::vector<Single>{0.5f, 0.5f}));
    EXPECT_EQ(l.v, (std::vector<Single>{1.0f}));
    EXPECT_EQ(l.x, (std::vector<Single>{0.25f}));
    EXPECT_EQ(l.y, (std::vector<Single>{1.0f}));
    EXPECT_EQ(l.w, (std::vector<Single>{1, 1024, 16}));  // 1..1024, not divided
    EXPECT_EQ(l.h, (std::vector<Single>{8}));
    EXPECT_EQ(l.i, (std::vector<Long>{5, 1000}));
    const auto empty = ReadBillBoardScript("");
    EXPECT_TRUE(empty.u.empty() && empty.w.empty() && empty.i.empty());
}

}  // namespace
}  // namespace brumil::render
