#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frontend/layer.h"
#include "image/cmg_bbi_string.h"

namespace brumil::frontend {
namespace {

using core::CRect;

// Sum of the colour channels of a picture over a rectangle.
long Ink(const image::CmgBBI& p, const CRect& r) {
    long sum = 0;
    for (Long y = r.Y; y < r.Bottom(); ++y) {
        for (Long x = r.X; x < r.Right(); ++x) {
            const auto v = static_cast<std::uint32_t>(p.dwGetPixel(x, y));
            sum += (v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF);
        }
    }
    return sum;
}

class LayerText : public ::testing::Test {
protected:
    void SetUp() override {
        image::gBBIString().FontFolder.clear();
        layer.Resize(320, 64, 4);
        CRect dirty;
        layer.DoCompose(dirty);  // entry 0's first composition out of the way
    }
    // Composes n times; answers the compositions (1-based) that drew anything.
    std::vector<int> ComposeTimes(int n) {
        std::vector<int> drawn;
        for (int i = 1; i <= n; ++i) {
            CRect dirty;
            layer.DoCompose(dirty);
            if (!dirty.IsZero()) drawn.push_back(i);
        }
        return drawn;
    }
    CLayer layer;
};

TEST_F(LayerText, CharactersAppearAfterTheirRoundedWait) {
    struct Case {
        Single wait;
        std::vector<int> drawnAt;
    };
    const Case cases[] = {
        {0.0f, {1}},        {1.0f, {2, 3, 4}},
        {3.0f, {4, 7, 10}}, {2.5f, {3, 5, 7}},  // 2.5 rounds to 2
        {3.5f, {5, 9, 13}},                     // 3.5 rounds to 4
        {-2.0f, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wait);
        layer.AllRemove();
        ComposeTimes(1);
        layer.Config(1)->TextWait = c.wait;
        layer.Text(1, "ABC");
        EXPECT_EQ(ComposeTimes(14), c.drawnAt);
        EXPECT_EQ(layer.TextWaitCount(1), 0);
    }
}

TEST_F(LayerText, WaitCountCountsDownAndGlyphsLandInTheirBoxes) {
    layer.Config(1)->TextWait = 3.0f;
    layer.Text(1, "AB");
    const CRect region = *layer.TextRgn(1);
    ASSERT_FALSE(region.IsZero());
    const CRect first(region.X, region.Y, region.Width / 2, region.Height);
    const CRect second(region.X + region.Width / 2, region.Y, region.Width / 2, region.Height);
    std::vector<Long> counts;
    for (int i = 0; i < 7; ++i) {
        counts.push_back(layer.TextWaitCount(1));
        if (i == 4) {
            EXPECT_GT(Ink(*layer.BBI(1), first), 0);
            EXPECT_EQ(Ink(*layer.BBI(1), second), 0);
            EXPECT_GT(Ink(layer.Picture(), first), 0) << "composed onto the layer";
        }
        ComposeTimes(1);
    }
    EXPECT_EQ(counts, (std::vector<Long>{2, 2, 2, 2, 1, 1, 1}));
    EXPECT_EQ(layer.TextWaitCount(1), 0);
    EXPECT_GT(Ink(*layer.BBI(1), second), 0);
    EXPECT_EQ(layer.Text(1), "AB");
}

TEST_F(LayerText, TextNoWaitFinishesAtTheNextComposition) {
    layer.Config(1)->TextWait = 5.0f;
    layer.Text(1, "ABCD");
    ComposeTimes(2);
    EXPECT_EQ(layer.TextWaitCount(1), 4);
    layer.TextNoWait(1);
    EXPECT_EQ(ComposeTimes(1), (std::vector<int>{1}));
    EXPECT_EQ(layer.TextWaitCount(1), 0);
    EXPECT_GT(Ink(*layer.BBI(1), *layer.TextRgn(1)), 0);
}

TEST_F(LayerText, SettingATextErasesThePreviousOne) {
    layer.Text(1, "WWWW");
    ComposeTimes(1);
    const CRect old = *layer.TextRgn(1);
    layer.Text(1, "");
    EXPECT_EQ(Ink(*layer.BBI(1), old), 0);
    CRect dirty;
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, old) << "the old text's area is recomposed";
    EXPECT_EQ(Ink(layer.Picture(), old), 0);
}

TEST_F(LayerText, CommandAppendsWhileTyping) {
    layer.Config(1)->TextWait = 3.0f;
    layer.Text(1, "AB");
    layer.Locate(1, 120, 0);
    ComposeTimes(4);  // "A" is out
    ASSERT_EQ(layer.TextWaitCount(1), 1);
    layer.Command(1, "CD");
    EXPECT_EQ(layer.TextWaitCount(1), 3);
    EXPECT_EQ(layer.Text(1), "CD");
    EXPECT_GT(layer.Config(1)->LocateX, 120) << "the cursor moves past the text";
    const CRect region = *layer.TextRgn(1);
    EXPECT_GT(region.Right(), 120);
    EXPECT_EQ(ComposeTimes(10), (std::vector<int>{3, 6, 9}));
    EXPECT_GT(Ink(*layer.BBI(1), CRect(120, 0, 200, 64)), 0);
}

TEST_F(LayerText, CommandOnAnIdleEntryStartsAfreshAtTheCursor) {
    layer.Text(1, "AB");
    ComposeTimes(1);
    layer.Config(1)->TextWait = 2.0f;
    layer.Locate(1, 200, 10);
    layer.Command(1, "XY");
    EXPECT_EQ(layer.TextWaitCount(1), 2);
    const CRect region = *layer.TextRgn(1);
    EXPECT_EQ(region.X, 200);
    EXPECT_EQ(region.Y, 10);
    EXPECT_EQ(ComposeTimes(6), (std::vector<int>{3, 5}));
    EXPECT_GT(Ink(*layer.BBI(1), CRect(0, 0, 100, 64)), 0) << "Command keeps the picture";
}

TEST_F(LayerText, TextOutDrawsAtOnceAndRoundsTheWait) {
    layer.Config(2)->TextWait = 2.5f;
    layer.TextOut(2, "Hi");
    EXPECT_EQ(layer.TextWaitCount(2), 0);
    EXPECT_EQ(layer.Config(2)->TextWait, 2.0f);
    EXPECT_GT(Ink(*layer.BBI(2), *layer.TextRgn(2)), 0);
    CRect dirty;
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, *layer.TextRgn(2));
}

TEST_F(LayerText, LinkedEntriesTakeTheSameText) {
    layer.Config(1)->LinkIndex = 2;
    layer.Config(2)->LinkIndex = 3;
    layer.Text(1, "AB");
    EXPECT_EQ(layer.Text(2), "AB");
    EXPECT_EQ(layer.Text(3), "AB") << "a chain is followed to its end";
    layer.Locate(1, 7, 8);
    EXPECT_EQ(layer.Config(2)->LocateX, 7);
    layer.Command(1, "C");
    EXPECT_EQ(layer.Text(2), "AB") << "Command does not follow the link";
    layer.Remove(1, true);
    EXPECT_EQ(layer.Index(), 1) << "the index used, not the last linked one";
    EXPECT_EQ(layer.Text(3), "");
}

TEST_F(LayerText, LinkLoopsAndBadLinksEnd) {
    struct Case {
        Long link1, link2;
    };
    const Case cases[] = {{2, 1}, {1, 0}, {2, 2}, {99, 0}, {-4, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.link1 << "," << c.link2);
        layer.AllRemove();
        layer.Config(1)->LinkIndex = c.link1;
        layer.Config(2)->LinkIndex = c.link2;
        layer.Text(1, "Q");
        layer.TextOut(1, "R");
        layer.TextNoWait(1);
        layer.Remove(1, true);
        EXPECT_EQ(layer.Text(1), "");
        EXPECT_EQ(layer.Index(), 1);
    }
    layer.AllRemove();
    layer.Config(1)->LinkIndex = 2;
    layer.Config(2)->LinkIndex = 1;
    layer.Text(1, "Q");
    EXPECT_EQ(layer.Text(2), "Q");
}

}  // namespace
}  // namespace brumil::frontend
