#include <gtest/gtest.h>

#include <cstdint>

#include "framework/display.h"
#include "framework/maxwell.h"
#include "framework/splib.h"
#include "frontend/view.h"
#include "image/cmg_bbi_function.h"
#include "platform/base/clock.h"

namespace brumil::frontend {
namespace {

using core::CRect;
using framework::gBackDDS;

constexpr Long kRed = 0xFFFF0000;
constexpr Long kBlue = 0xFF0000FF;
constexpr std::uint32_t kMarker = 0x123456;

std::uint32_t Back(int x, int y) {
    return gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
}

class ViewPaint : public ::testing::Test {
protected:
    void Start(bool halfSize, bool highQuality = false) {
        framework::DisplaySettings s;
        s.halfSize = halfSize;
        s.highQuality = highQuality;
        ASSERT_TRUE(framework::DisplayStart(s));
        view.Layer()->Resize(640, 480, 3);
        background = CLayerObject(view.Layer(), 0);
        front = CLayerObject(view.Layer(), 1);
        image::gBBIFunction().BBIDrawColorFill(*background.BBI(), 0, 0, 640, 480, 0, kRed);
    }
    void TearDown() override { framework::DisplayStop(); }
    CRect TakePresented() {
        CRect r = host.Config().PaintRect;
        host.Config().PaintRect.Delete();
        return r;
    }

    platform::ManualClock clock;
    framework::CMaxwell host{clock};
    CView view{&host};
    CLayerObject background, front;
};

TEST_F(ViewPaint, FirstPaintPresentsTheLayerThenNothingUntilSomethingChanges) {
    Start(false);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(0, 0, 640, 480));
    EXPECT_EQ(Back(639, 479), 0xFF0000u);

    gBackDDS()->BltColorFill(kMarker);
    view.Paint();
    EXPECT_TRUE(TakePresented().IsZero());
    EXPECT_TRUE(view.LastDirty().IsZero());
    EXPECT_EQ(Back(5, 5), kMarker) << "nothing copied";

    image::gBBIFunction().BBIDrawColorFill(*front.BBI(), 30, 40, 10, 5, 0, kBlue);
    front.Dirt()->Create(30, 40, 10, 5);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(30, 40, 10, 5));
    EXPECT_EQ(Back(30, 40), 0x0000FFu);
    EXPECT_EQ(Back(29, 40), kMarker);
}

TEST_F(ViewPaint, AtHalfScaleTheDirtyRectangleIsScaledAndPresentedGrown) {
    Start(true);
    ASSERT_EQ(framework::GetDrawScale(), 0.5f);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(-1, -1, 322, 242));
    EXPECT_EQ(Back(319, 239), 0xFF0000u);

    gBackDDS()->BltColorFill(kMarker);
    image::gBBIFunction().BBIDrawColorFill(*front.BBI(), 100, 100, 40, 20, 0, kBlue);
    front.Dirt()->Create(100, 100, 40, 20);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(49, 49, 22, 12));
    EXPECT_EQ(view.LastDirty(), CRect(49, 49, 22, 12));
    for (auto [x, y] : {std::pair{50, 50}, {69, 59}, {60, 55}}) {
        EXPECT_EQ(Back(x, y), 0x0000FFu) << x << "," << y;
    }
    EXPECT_EQ(Back(49, 49), 0xFF0000u) << "the grown border comes from the scaled picture";
    EXPECT_EQ(Back(70, 60), 0xFF0000u);
    EXPECT_EQ(Back(48, 48), kMarker);
    EXPECT_EQ(Back(71, 61), kMarker);

    view.Paint();
    EXPECT_TRUE(TakePresented().IsZero()) << "an empty dirty rectangle presents nothing";
}

// What the view reports to the frame host is the rectangle it drew on the back
// surface, in back-buffer pixels, at every drawing scale.
TEST_F(ViewPaint, PresentedRectangleIsInBackBufferPixelsAtEveryScale) {
    struct Case {
        bool halfSize, highQuality;
        Single scale;
        Long backWidth, backHeight;
        CRect presented;  // of a dirty (100, 100, 40, 20)
    };
    const Case cases[] = {
        {false, false, 1.0f, 640, 480, CRect(100, 100, 40, 20)},
        {true, false, 0.5f, 320, 240, CRect(49, 49, 22, 12)},
        {false, true, 1.6f, 1024, 768, CRect(159, 159, 66, 34)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale);
        Start(c.halfSize, c.highQuality);
        ASSERT_EQ(framework::GetDrawScale(), c.scale);
        ASSERT_EQ(gBackDDS()->Width(), c.backWidth);
        ASSERT_EQ(gBackDDS()->Height(), c.backHeight);
        view.Paint();
        TakePresented();
        gBackDDS()->BltColorFill(kMarker);
        image::gBBIFunction().BBIDrawColorFill(*front.BBI(), 100, 100, 40, 20, 0, kBlue);
        front.Dirt()->Create(100, 100, 40, 20);
        view.Paint();
        const CRect r = TakePresented();
        EXPECT_EQ(r, c.presented);
        // The blue block fills the presented rectangle but for the one-pixel
        // border added around a scaled copy; outside it the back is untouched.
        const int border = c.scale == 1.0f ? 0 : 1;
        EXPECT_EQ(Back(r.X + border, r.Y + border), 0x0000FFu);
        EXPECT_EQ(Back(r.X + r.Width - 1 - border, r.Y + r.Height - 1 - border), 0x0000FFu);
        EXPECT_EQ(Back(r.X - 1, r.Y - 1), kMarker);
        EXPECT_EQ(Back(r.X + r.Width, r.Y + r.Height), kMarker);
        framework::DisplayStop();
    }
}

TEST_F(ViewPaint, AfterTheSurfacesAreReleasedTheNextPaintPresentsEverything) {
    Start(false);
    view.Paint();
    view.Paint();
    TakePresented();
    framework::gSpLib().RaiseTerminateDraw();
    gBackDDS()->BltColorFill(kMarker);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(0, 0, 640, 480));
    EXPECT_EQ(Back(320, 240), 0xFF0000u);
    view.Paint();
    EXPECT_TRUE(TakePresented().IsZero()) << "the flag goes down after one paint";
}

TEST_F(ViewPaint, PaintGetBBIComposesWithoutPresenting) {
    Start(false);
    const image::CmgBBI& target = view.PaintGetBBI();
    EXPECT_EQ(target.GetWidth(), 640);
    EXPECT_EQ(view.LastDirty(), CRect(0, 0, 640, 480));
    EXPECT_TRUE(TakePresented().IsZero());
    EXPECT_EQ(static_cast<std::uint32_t>(target.dwGetPixel(3, 3)) & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(ViewPaint, BltReplacesTheEntryAndScalesWhenSizesDiffer) {
    Start(false);
    image::CmgBBI source;
    source.CreateBBI(10, 10, 0);
    image::gBBIFunction().BBIDrawColorFill(source, 0, 0, 10, 10, 0, kBlue);
    view.Paint();
    TakePresented();

    view.Blt(front, source, 5, 6, 10, 10, 0, 0);
    EXPECT_EQ(*front.Dirt(), CRect(5, 6, 10, 10));
    EXPECT_EQ(front.BBI()->dwGetPixel(14, 15), kBlue);
    EXPECT_EQ(front.BBI()->dwGetPixel(15, 15), 0);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(5, 6, 10, 10));

    view.Blt(front, source, 100, 100, 20, 30, 0, 0);  // scaled up
    EXPECT_EQ(front.BBI()->dwGetPixel(14, 15), 0) << "the earlier content was erased";
    EXPECT_EQ(front.BBI()->dwGetPixel(119, 129), kBlue);
    view.Paint();
    EXPECT_EQ(TakePresented(), CRect(5, 6, 115, 124)) << "old and new places";
    EXPECT_EQ(Back(10, 10), 0xFF0000u);
    EXPECT_EQ(Back(110, 110), 0x0000FFu);

    view.Blt(front, source, 0, 0, {}, {}, 0, 0);  // to the entry's own size
    EXPECT_EQ(*front.Dirt(), CRect(0, 0, 640, 480));
    EXPECT_EQ(front.BBI()->dwGetPixel(639, 479), kBlue);
}

TEST_F(ViewPaint, DrawTextTypesEveryCaptionIntoItsRectangle) {
    Start(false);
    view.Setting("0,10,10,120,30,1,Start");
    view.Setting("1,10,50,120,30,0,End");
    view.Setting("3,10,90,120,30,1,");
    front.Config()->Rect.Create(5, 2, 640, 480);
    front.Config()->TextWait = 4.0f;
    view.DrawText(front, 128);
    EXPECT_EQ(front.Config()->Rect, CRect(5, 2, 640, 480)) << "the box is restored";
    EXPECT_EQ(*front.Dirt(), CRect(15, 12, 120, 110));
    EXPECT_EQ(front.TextWaitCount(), 0) << "captions appear at once";
    const image::CmgBBI& p = *front.BBI();
    EXPECT_EQ(static_cast<std::uint32_t>(p.dwGetPixel(134, 41)), 0x80000000u) << "backing";
    EXPECT_EQ(p.dwGetPixel(15, 43), 0) << "between items";
    long ink = 0;
    for (int y = 52; y < 82; ++y) {
        for (int x = 15; x < 135; ++x) ink += p.dwGetPixel(x, y) & 0xFF;
    }
    EXPECT_GT(ink, 0) << "disabled items are drawn too";
    EXPECT_EQ(front.Text(), "") << "the last item's caption";
}

}  // namespace
}  // namespace brumil::frontend
