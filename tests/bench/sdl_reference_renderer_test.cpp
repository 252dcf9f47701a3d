#include "bench/support/sdl_reference_renderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace brumil::bench {
namespace {

std::uint32_t At(const SdlReferenceRenderer& r, int x, int y) {
    return r.Pixels()[static_cast<std::size_t>(y * r.Pitch() + x)];
}

TEST(SdlReferenceRenderer, CopiesAndBlendsWhereAsked) {
    auto r = SdlReferenceRenderer::Create(8, 8);
    ASSERT_NE(r, nullptr);
    const std::vector<std::uint32_t> red(4, 0xFFFF0000u), halfGreen(4, 0x8000FF00u);
    const int copy = r->AddTexture(red, 2, 2, false, false);
    const int blend = r->AddTexture(halfGreen, 2, 2, true, false);
    ASSERT_GE(copy, 0);
    ASSERT_GE(blend, 0);
    r->Clear(0xFF0000FFu);
    EXPECT_TRUE(r->Draw(copy, 0, 0, 2, 2, 2, 2, 2, 2, 0.0));
    EXPECT_TRUE(r->Draw(blend, 0, 0, 2, 2, 5, 5, 2, 2, 0.0));
    r->Finish();
    EXPECT_EQ(At(*r, 0, 0) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(At(*r, 2, 2) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(At(*r, 3, 3) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(At(*r, 4, 4) & 0xFFFFFFu, 0x0000FFu);
    // Half green over blue: both channels near half.
    const std::uint32_t mixed = At(*r, 5, 5);
    EXPECT_NEAR(double((mixed >> 8) & 255), 128.0, 2.0);
    EXPECT_NEAR(double(mixed & 255), 127.0, 2.0);
}

TEST(SdlReferenceRenderer, RefusesBadSizesAndTextures) {
    EXPECT_EQ(SdlReferenceRenderer::Create(0, 8), nullptr);
    auto r = SdlReferenceRenderer::Create(4, 4);
    ASSERT_NE(r, nullptr);
    const std::vector<std::uint32_t> three(3, 0xFFFFFFFFu);
    EXPECT_EQ(r->AddTexture(three, 2, 2, false, false), -1);  // too few pixels
    EXPECT_FALSE(r->Draw(0, 0, 0, 1, 1, 0, 0, 1, 1, 0.0));    // no such texture
}

}  // namespace
}  // namespace brumil::bench
