// The padded copies the wide loops filter from: their layout, and that a copy
// is handed out only while it matches its own surface's pixels.
#include "padded_textures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx_test_util.h"
#include "texture_writes.h"

namespace brumil::platform {
namespace {

using raster::PaddedTextures;
using raster::PadTexture;
using testing::MakeTexture;

std::vector<std::uint32_t> Pattern(int w, int h, std::uint32_t salt) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < px.size(); ++i) {
        px[i] = (static_cast<std::uint32_t>(i) + salt) * 2654435761u + salt;
    }
    return px;
}

// What a padded copy of the texture's pixels as they are now holds.
std::vector<std::uint32_t> PaddedNow(const Surface& tex) {
    std::vector<std::uint32_t> out;
    PadTexture(tex.Pixels().data(), tex.Width(), tex.Height(), out);
    return out;
}

// The copy at `p` against the padded pixels of `tex` now.
::testing::AssertionResult HoldsPaddedPixelsOf(const std::uint32_t* p, const Surface& tex) {
    const std::vector<std::uint32_t> want = PaddedNow(tex);
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (p[i] != want[i]) {
            return ::testing::AssertionFailure()
                   << "texel " << i << ": " << p[i] << " for " << want[i];
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(PadTexture, EveryTexelRepeatsTheTextureAcrossTheExtraColumnAndRow) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {32, 32}, {5, 3}, {16, 4}};
    for (const Size& s : sizes) {
        const std::vector<std::uint32_t> texels = Pattern(s.w, s.h, 17);
        // Left over from a larger copy: the layout must not depend on it.
        std::vector<std::uint32_t> out(4096, 0xDEADBEEFu);
        PadTexture(texels.data(), s.w, s.h, out);
        ASSERT_EQ(out.size(), static_cast<std::size_t>(s.w + 1) * (s.h + 1)) << s.w << "x" << s.h;
        for (int y = 0; y <= s.h; ++y) {
            for (int x = 0; x <= s.w; ++x) {
                ASSERT_EQ(out[static_cast<std::size_t>(y) * (s.w + 1) + x],
                          texels[static_cast<std::size_t>(y % s.h) * s.w + x % s.w])
                    << s.w << "x" << s.h << " at " << x << ", " << y;
            }
        }
    }
}

TEST(PaddedTextures, AnUntouchedTextureKeepsItsCopy) {
    PaddedTextures padded;
    SurfacePtr tex = MakeTexture(8, 4, Pattern(8, 4, 3));
    const std::uint32_t* first = padded.Of(tex);
    EXPECT_TRUE(HoldsPaddedPixelsOf(first, *tex));
    // Reading the pixels and blitting from them writes nothing.
    SurfacePtr other = testing::MakeSurface(8, 4, PixelFormat::Argb8888, true);
    other->Blt(other->Rect(), *tex, tex->Rect(), false);
    EXPECT_EQ(tex->PixelAt(3, 2), tex->Pixels()[2 * 8 + 3]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(padded.Of(tex), first) << "call " << i;
        EXPECT_TRUE(HoldsPaddedPixelsOf(first, *tex)) << "call " << i;
    }
}

TEST(PaddedTextures, EveryWritePathMakesTheCopyAgain) {
    for (const testing::TextureWrite& w : testing::kTextureWrites) {
        for (const int side : {1, 8}) {
            PaddedTextures padded;
            SurfacePtr tex = MakeTexture(side, 4, Pattern(side, 4, 5));
            const std::span<std::uint32_t> direct = tex->MutablePixels();
            const std::vector<std::uint32_t> before = PaddedNow(*tex);
            ASSERT_TRUE(HoldsPaddedPixelsOf(padded.Of(tex), *tex)) << w.name;
            w.write(*tex, direct);
            // The path must have changed something, or a stale copy would pass.
            ASSERT_NE(PaddedNow(*tex), before) << w.name << ", " << side << " wide";
            EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(tex), *tex))
                << w.name << ", " << side << " wide";
            // Written twice over, from the copy just made.
            w.write(*tex, direct);
            EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(tex), *tex))
                << w.name << " again, " << side << " wide";
        }
    }
}

TEST(PaddedTextures, TexturesKeepCopiesOfTheirOwn) {
    PaddedTextures padded;
    SurfacePtr a = MakeTexture(8, 8, Pattern(8, 8, 1));
    SurfacePtr b = MakeTexture(8, 8, Pattern(8, 8, 2));
    // Both come from the same steps, so their generations agree too.
    ASSERT_EQ(a->Generation(), b->Generation());
    const std::uint32_t* pa = padded.Of(a);
    const std::uint32_t* pb = padded.Of(b);
    EXPECT_NE(pa, pb);
    EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(a), *a));
    EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(b), *b));
    // Writing one leaves the other's copy as it was.
    a->BltColorFill(0xFF102030u);
    EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(a), *a));
    EXPECT_EQ(padded.Of(b), pb);
    EXPECT_TRUE(HoldsPaddedPixelsOf(pb, *b));
}

TEST(PaddedTextures, ANewTextureNeverGetsTheCopyOfOneThatIsGone) {
    PaddedTextures padded;
    for (std::uint32_t round = 0; round < 16; ++round) {
        // Same size and history each round, so a new surface may well land
        // where the last one was, with the same generation; only the
        // content differs.
        SurfacePtr tex = MakeTexture(4, 4, Pattern(4, 4, round * 101u + 7u));
        ASSERT_TRUE(HoldsPaddedPixelsOf(padded.Of(tex), *tex)) << "round " << round;
    }
    // One texture kept alive across others coming and going keeps its own.
    SurfacePtr kept = MakeTexture(4, 4, Pattern(4, 4, 999));
    padded.Of(kept);
    for (std::uint32_t round = 0; round < 4; ++round) {
        SurfacePtr passing = MakeTexture(4, 4, Pattern(4, 4, round));
        EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(passing), *passing)) << "round " << round;
    }
    EXPECT_TRUE(HoldsPaddedPixelsOf(padded.Of(kept), *kept));
}

}  // namespace
}  // namespace brumil::platform
