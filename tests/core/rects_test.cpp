#include "core/rects.h"

#include <gtest/gtest.h>

namespace brumil::core {
namespace {

TEST(CRect, ExpandTrimScale) {
    CRect r;
    EXPECT_TRUE(r.IsZero());
    r.Expand(10, 10, 5, 5);  // empty takes the argument
    EXPECT_EQ(r, CRect(10, 10, 5, 5));
    r.Expand(0, 0, 0, 100);  // empty argument changes nothing
    EXPECT_EQ(r, CRect(10, 10, 5, 5));
    r.ExpandRect(CRect(0, 12, 2, 10));
    EXPECT_EQ(r, CRect(0, 10, 15, 12));
    r.TrimRect(CRect(5, 5, 100, 10));
    EXPECT_EQ(r, CRect(5, 10, 10, 5));
    r.TrimRect(CRect(100, 100, 5, 5));  // no overlap
    EXPECT_EQ(r, CRect(0, 0, 0, 0));

    CRect s(3, 5, 7, 9);
    s.ScaleSize(0.5);  // 1.5, 2.5, 3.5, 4.5 -> halves to even
    EXPECT_EQ(s, CRect(2, 2, 4, 4));
    s.ScaleExpand(2);
    EXPECT_EQ(s, CRect(0, 0, 8, 8));
    EXPECT_TRUE(s.PointIn(0, 0));
    EXPECT_FALSE(s.PointIn(8, 0));
    EXPECT_FALSE(CRect(0, 0, 0, 5).PointIn(0, 0));
    s.Delete();
    EXPECT_TRUE(s.IsZero());
}

TEST(CRect, ExtremeEdgesDoNotOverflow) {
    CRect r(INT32_MAX - 5, 0, 10, 10);
    r.ExpandRect(CRect(0, 0, 10, 10));
    EXPECT_EQ(r.X, 0);
    EXPECT_EQ(r.Width, INT32_MAX);
}

TEST(CRects, LayoutLines) {
    struct Case {
        const char* line;
        Long slot;
        CRect rect;
        bool enabled;
        const char* caption;
    };
    const Case cases[] = {
        {"  0,180,230,280, 25,1,Start Game", 0, {180, 230, 280, 25}, true, "Start Game"},
        {"  1,180,260,280, 25,1,Free Fight 1P vs CP",
         1,
         {180, 260, 280, 25},
         true,
         "Free Fight 1P vs CP"},
        {"3,1,2,3,4,0,a, b,, c", 3, {1, 2, 3, 4}, false, "a, b,, c"},  // caption keeps commas
        {"5,1,2,3,4,1,", 5, {1, 2, 3, 4}, true, ""},
        {"6,1,2,3,4,1", 6, {1, 2, 3, 4}, true, ""},
        {"7,1,2,3,4,1,日本語、キャプション\r\n", 7, {1, 2, 3, 4}, true, "日本語、キャプション"},
        {"-1,9,9,9,9,1,appended", 8, {9, 9, 9, 9}, true, "appended"},
        {"1024,9,9,9,9,1,also appended", 9, {9, 9, 9, 9}, true, "also appended"},
        {"0,1,1,1,1,-1,replaced", 0, {1, 1, 1, 1}, true, "replaced"},
    };
    CRects rects;
    for (const auto& c : cases) {
        Long slot = 99;
        EXPECT_EQ(rects.Setting(c.line, slot), c.slot) << c.line;
        EXPECT_EQ(slot, c.slot);
        ASSERT_NE(rects.Item(c.slot), nullptr) << c.line;
        EXPECT_EQ(*rects.Item(c.slot), c.rect) << c.line;
        EXPECT_EQ(rects.ItemEnabled(c.slot), c.enabled) << c.line;
        EXPECT_EQ(rects.ItemCaption(c.slot), c.caption) << c.line;
    }
    EXPECT_EQ(rects.Count(), 10);
    EXPECT_EQ(rects.Item(2), nullptr);  // never set
    EXPECT_EQ(rects.ItemCaption(2), "");
    EXPECT_EQ(rects.Item(10), nullptr);
    EXPECT_EQ(rects.Item(-1), nullptr);
}

TEST(CRects, MalformedLinesAreRefused) {
    const char* lines[] = {"",
                           "abc",
                           "0,1,2,3,4",
                           "0,1,2,x,4,1,cap",
                           ",1,2,3,4,1,cap",
                           "0;1;2;3;4;1;cap",
                           "0,1,2,3,,1,cap"};
    CRects rects;
    for (const char* line : lines) {
        Long slot = 5;
        EXPECT_EQ(rects.Setting(line, slot), -1) << line;
        EXPECT_EQ(slot, -1) << line;
    }
    EXPECT_EQ(rects.Count(), 0);
}

TEST(CRects, LayoutLineRoundTrips) {
    CRects a;
    a.Setting("  4,10,20,30,40,0,Caption, with comma");
    CRects b;
    EXPECT_EQ(b.Setting(a.LayoutLine(4)), 4);
    EXPECT_EQ(b.LayoutLine(4), "4,10,20,30,40,0,Caption, with comma");
    EXPECT_EQ(a.LayoutLine(0), "");
}

// A 3x2 grid of 100x50 items with 20-pixel gaps; item 4 disabled, slot 6 unused,
// item 7 a lone item below the grid.
CRects Grid() {
    CRects r;
    const char* lines[] = {
        "0,0,0,100,50,1,a",    "1,120,0,100,50,1,b",  "2,240,0,100,50,1,c",   "3,0,70,100,50,1,d",
        "4,120,70,100,50,0,e", "5,240,70,100,50,1,f", "7,120,300,100,50,1,g",
    };
    for (const char* l : lines) r.Setting(l);
    return r;
}

TEST(CRects, PointIndex) {
    const CRects r = Grid();
    struct Case {
        Long x, y;
        bool enabledOnly;
        Long expected;
    };
    const Case cases[] = {
        {0, 0, true, 0},     {99, 49, true, 0},   {100, 0, true, -1},   {130, 80, false, 4},
        {130, 80, true, -1}, {339, 119, true, 5}, {500, 500, true, -1}, {125, 310, true, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.PointIndex(c.x, c.y, c.enabledOnly), c.expected) << c.x << "," << c.y;
    }
}

TEST(CRects, LinearIndexSkipsAndWraps) {
    const CRects r = Grid();
    struct Case {
        Long from, step;
        bool enabledOnly;
        Long expected;
    };
    const Case cases[] = {
        {0, 1, true, 1}, {3, 1, true, 5},  {3, 1, false, 4},  {5, 1, true, 7},
        {7, 1, true, 0}, {0, -1, true, 7}, {7, -1, true, 5},  {5, -1, true, 3},
        {2, 0, true, 2}, {-1, 1, true, 0}, {-1, -1, true, 7}, {2, 5, true, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.LinearIndex(c.from, c.step, c.enabledOnly), c.expected)
            << c.from << " step " << c.step;
    }
    CRects one;
    one.Setting("2,0,0,1,1,1,x");
    EXPECT_EQ(one.LinearIndex(2, 1, true), 2);
    EXPECT_EQ(CRects().LinearIndex(0, 1, true), 0);
}

TEST(CRects, NextIndexFollowsTheDirection) {
    const CRects r = Grid();
    struct Case {
        Long from, dx, dy;
        bool enabledOnly;
        Long expected;
    };
    const Case cases[] = {
        {0, 1, 0, true, 1},
        {1, 1, 0, true, 2},
        {2, 1, 0, true, 2},  // nothing further right
        {0, 0, 1, true, 3},
        {1, 0, 1, true, 7},
        {1, 0, 1, false, 4},  // disabled 4 skipped
        {3, 1, 0, true, 5},
        {5, -1, 0, true, 3},
        {3, 0, -1, true, 0},
        {0, 1, 1, true, 5},
        {7, 0, -1, true, 1},
        {7, 0, -1, false, 4},
        {6, 1, 0, true, 0},  // slot not in use: first
                             // match
        {0, 0, 0, true, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.NextIndex(c.from, c.dx, c.dy, c.enabledOnly), c.expected)
            << c.from << " (" << c.dx << "," << c.dy << ")";
    }
}

}  // namespace
}  // namespace brumil::core
