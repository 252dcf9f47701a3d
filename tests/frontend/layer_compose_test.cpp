#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "frontend/layer.h"
#include "frontend/layer_object.h"
#include "image/cmg_bbi_function.h"

namespace brumil::frontend {
namespace {

using core::CRect;

constexpr Long kRed = 0xFFFF0000;
constexpr Long kBlue = 0xFF0000FF;
constexpr Long kGreen = 0xFF00FF00;

// The colour channels: the default selection writes no alpha.
std::uint32_t Rgb(const image::CmgBBI& p, Long x, Long y) {
    return static_cast<std::uint32_t>(p.dwGetPixel(x, y)) & 0xFFFFFFu;
}

void Fill(CLayer& layer, Long entry, const CRect& r, Long colour) {
    image::gBBIFunction().BBIDrawColorFill(*layer.BBI(entry), r.X, r.Y, r.Width, r.Height, 0,
                                           colour);
    layer.Dirt(entry)->ExpandRect(r);
}

TEST(LayerResize, SizesAndCountsAreRaisedToTheirMinimum) {
    struct Case {
        Long w, h, n;
        Long wantW, wantH, wantN;
    };
    const Case cases[] = {
        {0, 0, 0, 8, 8, 1}, {-5, 3, -2, 8, 8, 1},       {640, 480, 4, 640, 480, 4},
        {9, 8, 1, 9, 8, 1}, {9000, 20, 2, 8000, 20, 2},
    };
    for (const Case& c : cases) {
        CLayer layer;
        layer.Resize(c.w, c.h, c.n);
        EXPECT_EQ(layer.Width(), c.wantW) << c.w;
        EXPECT_EQ(layer.Height(), c.wantH) << c.h;
        EXPECT_EQ(layer.Count(), c.wantN) << c.n;
        EXPECT_EQ(layer.Picture().GetWidth(), c.wantW);
        EXPECT_EQ(*layer.Dirt(0), CRect(0, 0, c.wantW, c.wantH)) << "whole layer dirty on entry 0";
        EXPECT_EQ(layer.Config(c.wantN - 1)->Rect, CRect(0, 0, c.wantW, c.wantH));
    }
}

TEST(LayerResize, ANewLayerIsEightByEightWithOneEntry) {
    CLayer layer;
    EXPECT_EQ(layer.Width(), 8);
    EXPECT_EQ(layer.Height(), 8);
    EXPECT_EQ(layer.Count(), 1);
    EXPECT_EQ(*layer.Dirt(0), CRect(0, 0, 8, 8));
}

TEST(LayerResize, AllRemoveDropsEntriesAndRedirtiesTheWholeLayer) {
    CLayer layer;
    layer.Resize(32, 16, 3);
    layer.Config(2)->LinkIndex = 1;
    Fill(layer, 2, CRect(0, 0, 4, 4), kRed);
    CRect dirty;
    layer.DoCompose(dirty);
    layer.AllRemove();
    EXPECT_EQ(layer.Count(), 3);
    EXPECT_EQ(layer.Config(2)->LinkIndex, 0);
    EXPECT_FALSE(layer.HasBBI(2));
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, CRect(0, 0, 32, 16));
    EXPECT_EQ(Rgb(layer.Picture(), 1, 1), 0u) << "the old entry content is gone";
}

TEST(LayerCompose, FirstComposeDirtiesAllAndAnUnchangedSecondDrawsNothing) {
    CLayer layer;
    layer.Resize(64, 32, 2);
    Fill(layer, 0, CRect(0, 0, 64, 32), kRed);
    CRect dirty;
    image::CmgBBI& target = layer.DoCompose(dirty);
    EXPECT_EQ(&target, &layer.Picture());
    EXPECT_EQ(dirty, CRect(0, 0, 64, 32));
    EXPECT_EQ(Rgb(target, 63, 31), 0xFF0000u);

    target.dwSetPixel(5, 5, kGreen);  // would be overdrawn by any composition
    layer.DoCompose(dirty);
    EXPECT_TRUE(dirty.IsZero());
    EXPECT_EQ(Rgb(target, 5, 5), 0x00FF00u);
}

TEST(LayerCompose, OnlyTheDirtyPartIsRecomposedAndIsTrimmedToTheLayer) {
    CLayer layer;
    layer.Resize(64, 32, 2);
    CRect dirty;
    layer.DoCompose(dirty);
    layer.BBI(1)->dwSetPixel(62, 30, kBlue);
    layer.Dirt(1)->Create(60, 28, 20, 20);  // reaches beyond the layer
    image::CmgBBI& target = layer.DoCompose(dirty);
    EXPECT_EQ(dirty, CRect(60, 28, 4, 4));
    EXPECT_EQ(Rgb(target, 62, 30), 0x0000FFu);
}

TEST(LayerCompose, RemoveRecomposesWhatLayBelow) {
    for (bool erase : {true, false}) {
        CLayer layer;
        layer.Resize(64, 48, 2);
        Fill(layer, 0, CRect(0, 0, 64, 48), kRed);
        Fill(layer, 1, CRect(10, 10, 20, 20), kBlue);
        CRect dirty;
        image::CmgBBI& target = layer.DoCompose(dirty);
        ASSERT_EQ(Rgb(target, 15, 15), 0x0000FFu);

        layer.Remove(1, erase);
        layer.DoCompose(dirty);
        EXPECT_EQ(dirty, CRect(10, 10, 20, 20)) << "the painted area is handed back";
        EXPECT_EQ(Rgb(target, 15, 15), 0xFF0000u);
        EXPECT_EQ(Rgb(target, 29, 29), 0xFF0000u);
        EXPECT_EQ(Rgb(*layer.BBI(1), 15, 15), erase ? 0u : 0x0000FFu);

        layer.DoCompose(dirty);
        EXPECT_TRUE(dirty.IsZero()) << "a removed entry is not composed again";
    }
}

TEST(LayerCompose, RemovedContentDoesNotLingerWhereNoEntryCoversIt) {
    CLayer layer;
    layer.Resize(32, 32, 2);
    Fill(layer, 0, CRect(0, 0, 32, 32), kGreen);
    CRect dirty;
    image::CmgBBI& target = layer.DoCompose(dirty);
    ASSERT_EQ(Rgb(target, 3, 3), 0x00FF00u);
    layer.Remove(0, false);
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, CRect(0, 0, 32, 32));
    EXPECT_EQ(target.dwGetPixel(3, 3), 0);
}

TEST(LayerCompose, LaterEntriesBlendWithTheirSelection) {
    CLayer layer;
    layer.Resize(16, 16, 3);
    Fill(layer, 0, CRect(0, 0, 16, 16), kBlue);
    // Entry 1: opaque white where its picture is covered, painted red.
    layer.Config(1)->AddText(kRed, 1.0f, 0);
    layer.BBI(1)->dwSetPixel(2, 2, static_cast<Long>(0xFFFFFFFFu));
    layer.Dirt(1)->Create(0, 0, 8, 8);
    // Entry 2: half-opaque copy of green.
    layer.Config(2)->Choose1 = 0.5f;
    Fill(layer, 2, CRect(8, 8, 8, 8), kGreen);
    CRect dirty;
    image::CmgBBI& target = layer.DoCompose(dirty);
    EXPECT_EQ(Rgb(target, 2, 2), 0xFF0000u) << "covered pixel takes the text colour";
    EXPECT_EQ(Rgb(target, 3, 3), 0x0000FFu) << "uncovered pixel shows entry 0";
    const std::uint32_t mixed = Rgb(target, 10, 10);
    EXPECT_NEAR(static_cast<int>((mixed >> 8) & 0xFF), 128, 1);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 128, 1);
}

TEST(LayerCompose, RemoveWithoutAPictureMakesNone) {
    CLayer layer;
    layer.Resize(16, 16, 2);
    layer.Remove(1, true);
    EXPECT_FALSE(layer.HasBBI(1));
    CRect dirty;
    layer.DoCompose(dirty);
    EXPECT_FALSE(layer.HasBBI(1));
}

TEST(LayerCompose, RedrawHandsThePaintedAreaBack) {
    CLayer layer;
    layer.Resize(32, 32, 2);
    Fill(layer, 1, CRect(4, 4, 6, 6), kBlue);
    CRect dirty;
    layer.DoCompose(dirty);
    layer.Redraw(1);
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, CRect(4, 4, 6, 6));
    layer.Remove(1, false);
    layer.Redraw(1);
    EXPECT_TRUE(layer.Dirt(1)->IsZero()) << "a removed entry is not redrawn";
}

TEST(LayerIndex, InvalidIndexesDoNothingButBecomeCurrent) {
    CLayer layer;
    layer.Resize(16, 16, 2);
    for (Long bad : {-1, 2, 1000}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(layer.BBI(bad), nullptr);
        EXPECT_EQ(layer.Index(), bad);
        EXPECT_EQ(layer.Config(bad), nullptr);
        EXPECT_EQ(layer.Dirt(bad), nullptr);
        EXPECT_EQ(layer.Text(bad), "");
        EXPECT_EQ(layer.TextWaitCount(bad), 0);
        EXPECT_EQ(layer.TextRgn(bad), std::nullopt);
        layer.Remove(bad, true);
        layer.Redraw(bad);
        layer.TextNoWait(bad);
        layer.Text(bad, "A");
        layer.TextOut(bad, "A");
        layer.Command(bad, "A");
        layer.Locate(bad, 3, 4);
        EXPECT_EQ(layer.Index(), bad);
    }
    CRect dirty;
    layer.DoCompose(dirty);
    EXPECT_EQ(dirty, CRect(0, 0, 16, 16)) << "only entry 0's first composition";
    EXPECT_FALSE(layer.HasBBI(1));
}

TEST(LayerIndex, MembersWithoutAnIndexUseTheCurrentOne) {
    CLayer layer;
    layer.Resize(16, 16, 3);
    layer.SetIndex(2);
    layer.Config()->FontSize = 33;
    EXPECT_EQ(layer.Config(2)->FontSize, 33);
    layer.Dirt()->Create(1, 1, 2, 2);
    EXPECT_EQ(*layer.Dirt(2), CRect(1, 1, 2, 2));
    layer.Config(1);
    EXPECT_EQ(layer.Index(), 1);
}

TEST(LayerObject, ForwardsToItsEntryAndSharesTheLayer) {
    auto layer = std::make_shared<CLayer>();
    layer->Resize(16, 16, 3);
    CLayerObject entry(layer, 2);
    EXPECT_EQ(entry.BBI(), layer->BBI(2));
    EXPECT_EQ(entry.Config(), layer->Config(2));
    EXPECT_EQ(entry.Dirt(), layer->Dirt(2));
    entry.Locate(5, 6);
    EXPECT_EQ(layer->Config(2)->LocateX, 5);
    layer.reset();
    EXPECT_NE(entry.Config(), nullptr) << "the handle keeps the layer alive";

    CLayerObject loose;
    EXPECT_EQ(loose.EntryIndex(), -1);
    EXPECT_EQ(loose.BBI(), nullptr);
    EXPECT_EQ(loose.TextWaitCount(), 0);
    loose.Remove();
    loose.Text("A");
    EXPECT_EQ(loose.Text(), "");
}

}  // namespace
}  // namespace brumil::frontend
