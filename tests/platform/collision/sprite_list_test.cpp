#include "platform/collision/sprite_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "recorder.h"

namespace brumil::platform::collision {
namespace {

using testing::Live;

// Twice the signed area of a triangle on a y-down screen: positive when it
// runs clockwise as seen.
double Turn(const D3DTLVERTEX& a, const D3DTLVERTEX& b, const D3DTLVERTEX& c) {
    return (b.sx - a.sx) * (c.sy - a.sy) - (b.sy - a.sy) * (c.sx - a.sx);
}

TEST(GetList, FilesBySlotWithTheSelection) {
    // Y in pixels; split at 240 pixels.
    struct Rec {
        std::int32_t state, kind, yPx;
    };
    const Rec recs[] = {
        {1, 3, 10},  {1, 3, 300}, {1, 0, 239}, {1, 63, 240}, {0, 3, 10},
        {1, 64, 10}, {1, -1, 10}, {2, 3, 100}, {1, 0, 500},
    };
    std::vector<ShotRecord> pool;
    for (const Rec& r : recs) {
        ShotRecord s = Live(0, r.yPx * 256);
        s.State = r.state;
        s.DrawKind = r.kind;
        pool.push_back(s);
    }
    struct Case {
        std::int32_t selection;
        std::vector<std::int32_t> slot0, slot3, slot63;
    };
    const Case cases[] = {
        {0, {2, 8}, {0, 1, 7}, {3}},
        {1, {2}, {0, 7}, {}},
        {2, {8}, {1}, {3}},
        {9, {}, {}, {}},
    };
    const auto size = pool.size();
    for (const Case& c : cases) {
        std::vector<std::int32_t> indexes(64 * size, -9);
        std::vector<std::int32_t> counts(64, 77);  // stale counts are reset
        GetList(pool, c.selection, 240 * 256, indexes, counts);
        const auto list = [&](std::size_t k) {
            return std::vector<std::int32_t>(
                indexes.begin() + static_cast<long>(k * size),
                indexes.begin() + static_cast<long>(k * size) + counts[k]);
        };
        EXPECT_EQ(list(0), c.slot0) << c.selection;
        EXPECT_EQ(list(3), c.slot3) << c.selection;
        EXPECT_EQ(list(63), c.slot63) << c.selection;
        int total = 0;
        for (std::int32_t n : counts) total += n;
        EXPECT_EQ(total, static_cast<int>(c.slot0.size() + c.slot3.size() + c.slot63.size()));
    }
    // Short work arrays: nothing filed, nothing written.
    std::vector<std::int32_t> shortIndexes(64 * size - 1, -9);
    std::vector<std::int32_t> counts(64, 5);
    GetList(pool, 0, 0, shortIndexes, counts);
    EXPECT_EQ(counts[0], 5);
}

class GetTLSTest : public ::testing::Test {
protected:
    void SetUp() override {
        cells.assign(kCellGroupEntries, 0);
        // Cell 5: left 64, top 0, right 128, bottom 256 (texel edges, 256 = whole).
        cells[5] = 64;
        cells[64 + 5] = 0;
        cells[128 + 5] = 128;
        cells[192 + 5] = 256;
    }
    ShotRecord Sprite() const {
        ShotRecord r = Live(16 * 256, 32 * 256);
        r.DrawW = 8 * 256;
        r.DrawH = 4 * 256;
        r.ScaleX = r.ScaleY = 128;
        r.Spin = 0;
        r.SpriteSlot = 5 + 64;  // masked to 5
        r.Color = 0x12345678;
        r.Alpha = 300;
        return r;
    }
    std::vector<std::int32_t> cells;
};

TEST_F(GetTLSTest, CornersByAnglePivotScaleAndDrawScale) {
    struct Case {
        const char* what;
        std::int32_t angle, spin, scale, scaleX, scaleY, draw256;
        float tlx, tly, brx, bry;  // expected top-left and bottom-right corners
    };
    const Case cases[] = {
        {"upright, centred", 0, 0, 256, 128, 128, 256, 12, 30, 20, 34},
        {"drawing scale 2", 0, 0, 256, 128, 128, 512, 24, 60, 40, 68},
        {"record scale 2", 0, 0, 512, 128, 128, 256, 8, 28, 24, 36},
        {"pivot at the bottom centre", 0, 0, 256, 128, 256, 256, 12, 28, 20, 32},
        {"pivot at the top left", 0, 0, 256, 0, 0, 256, 16, 32, 24, 36},
        // A quarter turn clockwise: the sprite's up now points right.
        {"quarter turn by Angle", 1024, 0, 256, 128, 128, 256, 18, 28, 14, 36},
        {"quarter turn by Spin", 0, 1024, 256, 128, 128, 256, 18, 28, 14, 36},
        {"half turn split over both", 1024, 1024, 256, 128, 128, 256, 20, 34, 12, 30},
        {"negative angle read modulo the turn", -3072, 0, 256, 128, 128, 256, 18, 28, 14, 36},
    };
    for (const Case& c : cases) {
        std::array<ShotRecord, 1> pool{Sprite()};
        pool[0].Angle = c.angle;
        pool[0].Spin = c.spin;
        pool[0].Scale = c.scale;
        pool[0].ScaleX = c.scaleX;
        pool[0].ScaleY = c.scaleY;
        std::array<D3DTLVERTEX, 6> v{};
        const std::int32_t index = 0;
        ASSERT_EQ(GetTLS(v, {c.draw256, 256, 256}, cells, {&index, 1}, 1, pool), 6) << c.what;
        EXPECT_NEAR(v[0].sx, c.tlx, 1e-3) << c.what;
        EXPECT_NEAR(v[0].sy, c.tly, 1e-3) << c.what;
        EXPECT_NEAR(v[4].sx, c.brx, 1e-3) << c.what;
        EXPECT_NEAR(v[4].sy, c.bry, 1e-3) << c.what;
        EXPECT_GT(Turn(v[0], v[1], v[2]), 0) << c.what << ": first triangle clockwise";
        EXPECT_GT(Turn(v[3], v[4], v[5]), 0) << c.what << ": second triangle clockwise";
        // Shared corners of the two triangles.
        EXPECT_EQ(v[1].sx, v[3].sx);
        EXPECT_EQ(v[2].sy, v[5].sy);
    }
}

TEST_F(GetTLSTest, ColourTextureAndDepth) {
    std::array<ShotRecord, 1> pool{Sprite()};
    std::array<D3DTLVERTEX, 6> v{};
    const std::int32_t index = 0;
    ASSERT_EQ(GetTLS(v, {256, 128, 64}, cells, {&index, 1}, 1, pool), 6);
    const float u[6] = {0.125f, 0.25f, 0.125f, 0.25f, 0.25f, 0.125f};
    const float t[6] = {0, 0, 0.25f, 0, 0.25f, 0.25f};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(static_cast<std::uint32_t>(v[k].color), 0xFF345678u) << k;
        EXPECT_EQ(v[k].sz, 0.0f);
        EXPECT_EQ(v[k].rhw, 1.0f);
        EXPECT_FLOAT_EQ(v[k].tu, u[k]) << k;
        EXPECT_FLOAT_EQ(v[k].tv, t[k]) << k;
    }
    pool[0].Alpha = 100;
    ASSERT_EQ(GetTLS(v, {256, 256, 256}, cells, {&index, 1}, 1, pool), 6);
    EXPECT_EQ(static_cast<std::uint32_t>(v[0].color), 0x64345678u);
}

TEST_F(GetTLSTest, SkipsWhatCannotBeDrawnAndStopsWhenFull) {
    std::array<ShotRecord, 8> pool{};
    pool.fill(Sprite());
    pool[1].Alpha = 0;
    pool[2].Scale = 0;
    pool[3].State = 0;
    pool[4].DrawKind = 64;
    pool[5].Scale = -5;
    const std::int32_t indexes[] = {0, 1, 2, 3, 4, 5, -1, 8, 6, 7};
    std::vector<D3DTLVERTEX> v(60);
    EXPECT_EQ(GetTLS(v, {}, cells, indexes, 10, pool), 18);  // records 0, 6, 7
    EXPECT_EQ(GetTLS(v, {}, cells, indexes, 1, pool), 6);    // count limits the list
    EXPECT_EQ(GetTLS(v, {}, cells, indexes, 0, pool), 0);
    EXPECT_EQ(GetTLS(std::span(v).first(11), {}, cells, indexes, 10, pool), 6);
    EXPECT_EQ(GetTLS(v, {}, std::span(cells).first(255), indexes, 10, pool), 0);
}

TEST_F(GetTLSTest, AFullMainPoolFitsTheBufferOfItsCapacity) {
    std::vector<ShotRecord> pool(800, Sprite());
    std::vector<std::int32_t> indexes(64 * 800), counts(64);
    GetList(pool, 0, 0, indexes, counts);
    ASSERT_EQ(counts[0], 800);
    std::vector<D3DTLVERTEX> v(800 * kVerticesPerRecord);
    EXPECT_EQ(GetTLS(v, {}, cells, std::span(indexes).first(800), counts[0], pool), 4800);
    // Vertex centres: every record's quad is centred on its position.
    for (std::size_t r = 0; r < 800; r += 97) {
        const float cx = (v[r * 6].sx + v[r * 6 + 4].sx) / 2;
        const float cy = (v[r * 6].sy + v[r * 6 + 4].sy) / 2;
        EXPECT_NEAR(cx, 16.0f, 1e-4);
        EXPECT_NEAR(cy, 32.0f, 1e-4);
    }
}

}  // namespace
}  // namespace brumil::platform::collision
