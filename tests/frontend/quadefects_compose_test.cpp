#include <gtest/gtest.h>

#include <cstdint>

#include "core/math_random.h"
#include "framework/display.h"
#include "frontend/quadefects.h"

namespace brumil::frontend {
namespace {

using framework::gBackDDS;
using framework::GetWorkDDS;

constexpr std::uint32_t kFill = 0x112233;
constexpr std::uint32_t kMarker = 0x445566;

// The captured picture: every pixel different from its neighbours, never the
// outline's green.
std::uint32_t Picture(int x, int y) {
    return ((static_cast<std::uint32_t>(x) * 7u & 0xFFu) << 16) |
           ((static_cast<std::uint32_t>(y) * 5u & 0x7Fu) << 8) | 0x80u;
}

std::uint32_t Back(int x, int y) {
    return gBackDDS()->PixelAt(x, y) & 0xFFFFFFu;
}

class QuadCompose : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(framework::DisplayStart(framework::DisplaySettings{}));
        Capture();
        gBackDDS()->BltColorFill(kMarker);
        q.FillColor(static_cast<Long>(kFill));
    }
    void TearDown() override { framework::DisplayStop(); }
    // Fills the work surface with the captured picture and drops its key.
    static void Capture() {
        const framework::SurfacePtr work = GetWorkDDS(0);
        ASSERT_NE(work, nullptr);
        work->SetColorKey(std::nullopt);
        for (int y = 0; y < work->Height(); ++y) {
            for (int x = 0; x < work->Width(); ++x) {
                work->MutablePixels()[static_cast<std::size_t>(y * work->Width() + x)] =
                    0xFF000000u | Picture(x, y);
            }
        }
    }

    core::MathRandom random{99};
    CQuadefects q{random};
};

TEST_F(QuadCompose, NothingHappensBeforeASplit) {
    q.DoCompose();
    EXPECT_EQ(Back(0, 0), kMarker);
    EXPECT_EQ(Back(320, 240), kMarker);
}

TEST_F(QuadCompose, FirstFrameShowsThePictureInsideTheTilesAndKeysTheirBorders) {
    q.SplitRgnStatic(16);
    q.DoCompose();
    EXPECT_EQ(q.Counter(), 1);
    // Inside the shapes: the captured picture, in place.
    for (auto [x, y] : {std::pair{20, 20}, {220, 180}, {205, 165}, {620, 460}, {634, 474}}) {
        EXPECT_EQ(Back(x, y), Picture(x, y)) << x << "," << y;
    }
    // The corners and edges of every tile are keyed out and show the fill
    // colour of the previous rectangles; nothing keeps the marker.
    for (auto [x, y] : {std::pair{0, 0},
                        {39, 39},
                        {200, 160},
                        {239, 160},
                        {200, 199},
                        {239, 199},
                        {220, 160},
                        {639, 479}}) {
        EXPECT_EQ(Back(x, y), kFill) << x << "," << y;
    }
    const framework::SurfacePtr work = GetWorkDDS(0);
    ASSERT_TRUE(work->ColorKey().has_value());
    EXPECT_EQ(*work->ColorKey() & 0xFFFFFFu, 0x00FF00u) << "the outline colour keys";
}

TEST_F(QuadCompose, LaterFramesShrinkTheTilesTowardsTheirCentres) {
    q.SplitRgnStatic(16);  // edge 40, 20 frames: the inset grows 1 pixel a frame
    for (int f = 0; f < 11; ++f) q.DoCompose();  // the last one at t = 0.5: an ellipse
    // Tile (200, 160): shape from 210 to 230.
    EXPECT_EQ(Back(220, 180), Picture(220, 180)) << "the centre still shows";
    for (auto [x, y] : {std::pair{203, 163}, {205, 180}, {220, 196}, {211, 161}}) {
        EXPECT_EQ(Back(x, y), kFill) << x << "," << y;
    }
}

TEST_F(QuadCompose, TilesMoveByTheirVelocityBeforeTheyAreDrawn) {
    // All tiles straight up at 12 pixels a frame, no acceleration.
    q.SplitRgnAngle(16, 12.0f, 0.0f, 1.5707964f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    q.DoCompose();
    EXPECT_EQ(Back(220, 168), Picture(220, 180));
    EXPECT_EQ(Back(20, 8), Picture(20, 20));
    EXPECT_EQ(Back(220, 470), kFill) << "uncovered at the bottom";
    q.DoCompose();
    EXPECT_EQ(Back(220, 156), Picture(220, 180));
}

TEST_F(QuadCompose, AfterTheLastFrameOnlyTheFillColourRemains) {
    q.SplitRgnStatic(16);
    int frames = 0;
    while (q.Efects()) {
        q.DoCompose();
        ++frames;
    }
    EXPECT_EQ(frames, 20);
    q.DoCompose();  // t = 1: shapes of size 0
    for (int y = 0; y < 480; y += 7) {
        for (int x = 0; x < 640; x += 7) ASSERT_EQ(Back(x, y), kFill) << x << "," << y;
    }
    EXPECT_EQ(q.Counter(), 21);
    q.DoCompose();
    EXPECT_EQ(q.Counter(), 21) << "the frame after stops";
}

TEST_F(QuadCompose, AFrameWithNoTileSizeDrawsNoPicture) {
    q.SplitRgnStatic(16);
    while (q.Efects()) q.DoCompose();
    // A fresh, unkeyed capture: a blit of "the whole surface" would show it.
    Capture();
    gBackDDS()->BltColorFill(kMarker);
    q.DoCompose();
    // The previous frame's shapes (2 x 2 at the tile centres) are filled ...
    EXPECT_EQ(Back(19, 19), kFill);
    EXPECT_EQ(Back(220, 180), kFill);
    // ... and nothing else changes.
    for (auto [x, y] : {std::pair{0, 0}, {30, 30}, {100, 5}, {639, 479}}) {
        EXPECT_EQ(Back(x, y), kMarker) << x << "," << y;
    }
}

TEST_F(QuadCompose, ARestartedDisplayGetsANewMask) {
    q.SplitRgnStatic(16);
    q.DoCompose();
    framework::DisplaySettingsChange change;
    change.hardware = false;
    ASSERT_TRUE(framework::DirectDrawApplySettings(change));
    Capture();
    gBackDDS()->BltColorFill(kMarker);
    q.DoCompose();
    EXPECT_EQ(q.Counter(), 2);
    EXPECT_EQ(Back(220, 180), Picture(220, 180));
    EXPECT_EQ(Back(201, 161), kFill);
}

}  // namespace
}  // namespace brumil::frontend
