#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <span>
#include <vector>

#include "gfx_test_util.h"
#include "texture_writes.h"

namespace brumil::platform {
namespace {

using testing::MakeSurface;
using testing::MakeTexture;

TEST(Surface, RefusesSidesOutsideTheRange) {
    EXPECT_EQ(MakeSurface(0, 5), nullptr);
    EXPECT_EQ(MakeSurface(5, -1), nullptr);
    EXPECT_EQ(MakeSurface(kMaxSurfaceSide + 1, 1), nullptr);
    EXPECT_NE(MakeSurface(1, 1), nullptr);
}

TEST(Surface, FormatsKeepTheirPrecisionWhenPixelsArrive) {
    struct Case {
        PixelFormat format;
        std::uint32_t in, out;
        int code;
    };
    const Case cases[] = {
        {PixelFormat::Argb8888, 0x12345678u, 0x12345678u, 8888},
        // A texture without alpha in its format is opaque, whatever the
        // fourth byte says.
        {PixelFormat::Rgb888, 0x12345678u, 0xFF345678u, 888},
        {PixelFormat::Rgb888, 0x00000000u, 0xFF000000u, 888},
        {PixelFormat::Rgb555, 0x00FF0800u, 0xFFFF0800u, 555},
        {PixelFormat::Argb4444, 0x12345678u, 0x11335577u, 4444},
        {PixelFormat::Argb4444, 0xFFFFFFFFu, 0xFFFFFFFFu, 4444},
        {PixelFormat::Argb1555, 0x80FF0800u, 0xFFFF0800u, 1555},
        {PixelFormat::Argb1555, 0x7F0000FFu, 0x000000FFu, 1555},
        {PixelFormat::Rgb565, 0x00FF04FFu, 0xFFFF04FFu, 565},
    };
    for (const Case& c : cases) {
        SurfacePtr s = MakeTexture(1, 1, {c.in}, c.format);
        EXPECT_EQ(s->PixelAt(0, 0), c.out) << c.code;
        EXPECT_EQ(PixelFormatCode(c.format), c.code);
        s->BltColorFill(c.in);
        EXPECT_EQ(s->PixelAt(0, 0), c.out) << c.code;
        const SurfacePtr from = MakeTexture(1, 1, {c.in}, PixelFormat::Argb8888);
        s->BltColorFill(0u);
        ASSERT_TRUE(s->Blt(s->Rect(), *from, from->Rect(), false));
        EXPECT_EQ(s->PixelAt(0, 0), c.out) << c.code;
    }
}

// The display format carries no alpha: a target of it keeps the bytes it is
// given unless it is a texture, and as a source it reads opaque wherever the
// target has alpha.
TEST(Surface, DisplayFormatAlphaAsTargetAndAsSource) {
    struct End {
        PixelFormat format;
        bool texture;
    };
    struct Case {
        const char* name;
        End target, source;
        std::uint32_t in, out;
    };
    const Case cases[] = {
        {"plain display target keeps the bytes",
         {PixelFormat::Rgb888, false},
         {PixelFormat::Argb8888, true},
         0x12345678u,
         0x12345678u},
        {"display-format texture is opaque",
         {PixelFormat::Rgb888, true},
         {PixelFormat::Argb8888, true},
         0x12345678u,
         0xFF345678u},
        {"display-format source onto alpha",
         {PixelFormat::Argb8888, true},
         {PixelFormat::Rgb888, false},
         0x00345678u,
         0xFF345678u},
        {"display-format source onto 4444",
         {PixelFormat::Argb4444, true},
         {PixelFormat::Rgb888, false},
         0x00FFFFFFu,
         0xFFFFFFFFu},
        {"alpha source keeps its alpha",
         {PixelFormat::Argb8888, true},
         {PixelFormat::Argb8888, false},
         0x00345678u,
         0x00345678u},
        {"display to display keeps the bytes",
         {PixelFormat::Rgb888, false},
         {PixelFormat::Rgb888, false},
         0x00345678u,
         0x00345678u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SurfacePtr from = MakeSurface(1, 1, c.source.format, c.source.texture);
        from->MutablePixels()[0] = c.in;
        const SurfacePtr to = MakeSurface(1, 1, c.target.format, c.target.texture);
        ASSERT_TRUE(to->Blt(to->Rect(), *from, from->Rect(), false));
        EXPECT_EQ(to->PixelAt(0, 0), c.out);
    }
}

TEST(Surface, FillIsClippedToTheSurface) {
    SurfacePtr s = MakeSurface(4, 3);
    EXPECT_TRUE(s->BltColorFill({-5, 1, 2, 100}, 0xFF0000FFu));
    const std::vector<std::uint32_t> want = {
        0, 0, 0, 0, 0xFF0000FFu, 0xFF0000FFu, 0, 0, 0xFF0000FFu, 0xFF0000FFu, 0, 0};
    EXPECT_EQ(testing::PixelsOf(*s), want);
}

TEST(Surface, KeyedBlitSkipsKeyPixelsAndClips) {
    SurfacePtr src = MakeSurface(3, 1);
    {
        auto lock = src->Lock();
        lock.Pixels()[0] = 0xFF112233u;
        lock.Pixels()[1] = 0x00000000u;
        lock.Pixels()[2] = 0xFF445566u;
    }
    // The display format compares colour bits only: alpha does not count.
    src->SetColorKey(0xAB000000u);
    SurfacePtr dst = MakeSurface(3, 2);
    dst->BltColorFill(0xFF999999u);
    EXPECT_TRUE(dst->Blt({1, 1, 4, 2}, *src, src->Rect(), true));
    EXPECT_EQ(dst->PixelAt(0, 1), 0xFF999999u);
    EXPECT_EQ(dst->PixelAt(1, 1), 0xFF112233u);
    EXPECT_EQ(dst->PixelAt(2, 1), 0xFF999999u);  // key pixel skipped
    EXPECT_EQ(dst->PixelAt(0, 0), 0xFF999999u);
    // Without the key flag every pixel is copied.
    EXPECT_TRUE(dst->Blt({0, 0, 3, 1}, *src, src->Rect(), false));
    EXPECT_EQ(dst->PixelAt(1, 0), 0u);
}

TEST(Surface, StretchedBlitTakesTheNearestSourcePixel) {
    SurfacePtr src = MakeSurface(2, 2);
    {
        auto l = src->Lock();
        const std::uint32_t px[4] = {1, 2, 3, 4};
        std::copy(px, px + 4, l.Pixels().begin());
    }
    SurfacePtr dst = MakeSurface(4, 4);
    EXPECT_TRUE(dst->Blt(dst->Rect(), *src, src->Rect(), false));
    const std::vector<std::uint32_t> up = {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4};
    EXPECT_EQ(testing::PixelsOf(*dst), up);
    // Shrinking a 4x4 to 2x2 picks the pixel under each destination centre.
    SurfacePtr small = MakeSurface(2, 2);
    {
        auto l = dst->Lock();
        for (int i = 0; i < 16; ++i) l.Pixels()[i] = std::uint32_t(i);
    }
    EXPECT_TRUE(small->Blt(small->Rect(), *dst, dst->Rect(), false));
    EXPECT_EQ(testing::PixelsOf(*small), (std::vector<std::uint32_t>{5, 7, 13, 15}));
}

TEST(Surface, PartlyOutsideBlitKeepsItsMapping) {
    SurfacePtr src = MakeSurface(4, 1);
    {
        auto l = src->Lock();
        for (int i = 0; i < 4; ++i) l.Pixels()[i] = std::uint32_t(10 + i);
    }
    SurfacePtr dst = MakeSurface(4, 1);
    // Destination starts left of the surface: the visible part shows source 2, 3.
    EXPECT_TRUE(dst->Blt({-2, 0, 2, 1}, *src, src->Rect(), false));
    EXPECT_EQ(dst->PixelAt(0, 0), 12u);
    EXPECT_EQ(dst->PixelAt(1, 0), 13u);
    EXPECT_EQ(dst->PixelAt(2, 0), 0u);
    // A source rectangle reaching past its surface copies only what exists.
    SurfacePtr d2 = MakeSurface(4, 1);
    EXPECT_TRUE(d2->Blt({0, 0, 4, 1}, *src, {2, 0, 6, 1}, false));
    EXPECT_EQ(testing::PixelsOf(*d2), (std::vector<std::uint32_t>{12, 13, 0, 0}));
}

TEST(Surface, DepthSurfacesBlitOnlyToEachOther) {
    SurfacePtr z1 = MakeSurface(2, 2, PixelFormat::Depth32F);
    SurfacePtr z2 = MakeSurface(2, 2, PixelFormat::Depth32F);
    SurfacePtr c = MakeSurface(2, 2);
    EXPECT_TRUE(z1->DepthFill(z1->Rect(), 0.25f));
    EXPECT_TRUE(z2->Blt(z2->Rect(), *z1, z1->Rect(), false));
    EXPECT_EQ(z2->DepthAt(1, 1), 0.25f);
    EXPECT_FALSE(c->Blt(c->Rect(), *z1, z1->Rect(), false));
    EXPECT_FALSE(z1->BltColorFill(0));
    EXPECT_FALSE(z1->Lock().Ok());
}

TEST(Surface, LostSurfacesRefuseWorkUntilRestored) {
    SurfacePtr s = MakeSurface(2, 2);
    SurfacePtr t = MakeSurface(2, 2);
    s->MarkLost();
    EXPECT_FALSE(s->BltColorFill(1));
    EXPECT_FALSE(s->Lock().Ok());
    EXPECT_FALSE(t->Blt(t->Rect(), *s, s->Rect(), false));
    EXPECT_FALSE(s->DrawBox(0, 0, 2, 2));
    EXPECT_TRUE(s->Restore());
    EXPECT_TRUE(s->BltColorFill(1));
}

// What is kept from a surface's pixels (a device's padded copy) stays while
// the generation does: every way of writing the pixels moves it, and the
// reads a device makes on every draw must not, or nothing could be kept.
TEST(Surface, GenerationMovesWithEveryColourWriteAndNothingElse) {
    // `direct` is a view of the pixels taken before the generation is read.
    using Op =
        std::function<void(const SurfacePtr& s, Surface& other, std::span<std::uint32_t> direct)>;
    struct Case {
        const char* name;
        Op op;
        bool moves;
    };
    std::vector<Case> cases = {
        {"pixels read", [](const SurfacePtr& s, Surface&, auto) { (void)s->Pixels(); }, false},
        {"pixel read", [](const SurfacePtr& s, Surface&, auto) { (void)s->PixelAt(1, 1); }, false},
        {"blit from it",
         [](const SurfacePtr& s, Surface& other, auto) {
             other.Blt(other.Rect(), *s, s->Rect(), false);
         },
         false},
        {"colour key set", [](const SurfacePtr& s, Surface&, auto) { s->SetColorKey(0x00123456u); },
         false},
        {"blit from itself",
         [](const SurfacePtr& s, Surface&, auto) {
             s->Blt({1, 0, 4, 4}, *s, {0, 0, 3, 4}, false);
         },
         true},
        {"ellipse", [](const SurfacePtr& s, Surface&, auto) { s->DrawEllipse(0, 0, 4, 4); }, true},
        {"rounded box",
         [](const SurfacePtr& s, Surface&, auto) { s->DrawRoundedBox(0, 0, 4, 4, 2, 2); }, true},
        {"a device drawing into it",
         [](const SurfacePtr& s, Surface&, auto) {
             SoftDeviceOptions options;
             options.threads = 1;
             auto dev = CreateSoftDevice(s, nullptr, options);
             dev->BeginScene();
             dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
             testing::DrawStrip(*dev, testing::Quad(0, 0, 4, 4, 0xFF00FF00u));
             dev->EndScene();
         },
         true},
    };
    for (const testing::TextureWrite& w : testing::kTextureWrites) {
        cases.push_back({w.name,
                         [w](const SurfacePtr& s, Surface&, std::span<std::uint32_t> direct) {
                             w.write(*s, direct);
                         },
                         true});
    }
    for (const Case& c : cases) {
        SurfacePtr s = MakeTexture(4, 4, std::vector<std::uint32_t>(16, 0xFF808080u));
        SurfacePtr other = MakeSurface(4, 4, PixelFormat::Argb8888, true);
        const std::span<std::uint32_t> direct = s->MutablePixels();
        const std::uint64_t before = s->Generation();
        c.op(s, *other, direct);
        EXPECT_EQ(s->Generation() != before, c.moves) << c.name;
    }
}

TEST(Surface, HostileRectanglesNeverWriteOutside) {
    SurfacePtr s = MakeSurface(3, 3);
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    SurfacePtr src = MakeSurface(2, 2);
    src->BltColorFill(0xFFFFFFFFu);
    EXPECT_FALSE(s->Blt({small, small, big, big}, *src, src->Rect(), false));
    EXPECT_TRUE(s->BltColorFill({small, small, big, big}, 7));
    EXPECT_EQ(s->PixelAt(2, 2), 7u);
    EXPECT_FALSE(s->Blt({2, 2, 1, 1}, *src, src->Rect(), false));  // inverted
    EXPECT_FALSE(s->DrawEllipse(small, small, big, big));
    // Self-blit with overlap reads the picture as it was.
    SurfacePtr row = MakeSurface(4, 1);
    {
        auto l = row->Lock();
        for (int i = 0; i < 4; ++i) l.Pixels()[i] = std::uint32_t(i + 1);
    }
    EXPECT_TRUE(row->Blt({1, 0, 4, 1}, *row, {0, 0, 3, 1}, false));
    EXPECT_EQ(testing::PixelsOf(*row), (std::vector<std::uint32_t>{1, 1, 2, 3}));
}

// Outline drawing: the path through the outermost pixel centres, a square pen.
std::vector<std::string> Picture(const Surface& s) {
    std::vector<std::string> rows;
    for (int y = 0; y < s.Height(); ++y) {
        std::string r;
        for (int x = 0; x < s.Width(); ++x) r += s.PixelAt(x, y) != 0 ? '#' : '.';
        rows.push_back(r);
    }
    return rows;
}

TEST(SurfaceDrawing, BoxOutlineExcludesRightAndBottomBounds) {
    SurfacePtr s = MakeSurface(6, 5);
    s->SetForeColor(0xFF00);
    EXPECT_TRUE(s->DrawBox(1, 1, 5, 4));
    const std::vector<std::string> want = {"......", ".####.", ".#..#.", ".####.", "......"};
    EXPECT_EQ(Picture(*s), want);
    // The colour reference is blue-green-red: 0xFF00 is green.
    EXPECT_EQ(s->PixelAt(1, 1), 0xFF00FF00u);
}

TEST(SurfaceDrawing, WidePenCentresOnThePath) {
    SurfacePtr s = MakeSurface(9, 9);
    s->SetForeColor(0xFF);
    s->SetDrawWidth(3);
    EXPECT_TRUE(s->DrawBox(2, 2, 7, 7));
    const std::vector<std::string> want = {".........", ".#######.", ".#######.",
                                           ".#######.", ".###.###.", ".#######.",
                                           ".#######.", ".#######.", "........."};
    EXPECT_EQ(Picture(*s), want);
    EXPECT_EQ(s->PixelAt(1, 1), 0xFFFF0000u);  // red from 0x0000FF
}

TEST(SurfaceDrawing, EllipseTouchesTheBoxMidpointsButNotItsCorners) {
    SurfacePtr s = MakeSurface(11, 9);
    s->SetForeColor(0xFFFFFF);
    EXPECT_TRUE(s->DrawEllipse(0, 0, 11, 9));
    const auto p = Picture(*s);
    EXPECT_EQ(p[0][5], '#');
    EXPECT_EQ(p[8][5], '#');
    EXPECT_EQ(p[4][0], '#');
    EXPECT_EQ(p[4][10], '#');
    for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {0, 8}, {10, 8}}) EXPECT_EQ(p[y][x], '.');
    EXPECT_EQ(p[4][5], '.');  // outline only
    // Symmetric about both axes.
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 11; ++x) {
            EXPECT_EQ(p[y][x], p[y][10 - x]);
            EXPECT_EQ(p[y][x], p[8 - y][x]);
        }
    }
}

TEST(SurfaceDrawing, RoundedBoxCutsItsCorners) {
    SurfacePtr s = MakeSurface(12, 12);
    s->SetForeColor(0xFF00);
    EXPECT_TRUE(s->DrawRoundedBox(0, 0, 12, 12, 6, 6));
    const auto p = Picture(*s);
    EXPECT_EQ(p[0][0], '.');
    EXPECT_EQ(p[11][11], '.');
    EXPECT_EQ(p[0][6], '#');  // straight top edge
    EXPECT_EQ(p[6][0], '#');  // straight left edge
    EXPECT_EQ(p[6][11], '#');
    EXPECT_EQ(p[5][5], '.');
    // The outline is closed: every row between the top and bottom edges has
    // a left and a right pixel.
    for (int y = 1; y < 11; ++y) {
        EXPECT_NE(p[y].find('#'), std::string::npos);
        EXPECT_NE(p[y].find('#'), p[y].rfind('#'));
    }
    // Outside the surface nothing is drawn and nothing breaks.
    EXPECT_TRUE(s->DrawRoundedBox(-20, -20, 40, 40, 10, 10));
}

}  // namespace
}  // namespace brumil::platform
