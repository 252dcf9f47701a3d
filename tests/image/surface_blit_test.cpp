#include <gtest/gtest.h>

#include "core/rect.h"
#include "image/cmg_bbi.h"
#include "picture_util.h"
#include "platform/gfx/surface.h"

namespace brumil::image {
namespace {

using test::At;
using test::Ramp;

platform::SurfacePtr MakeSurface(int w, int h) {
    platform::SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = platform::PixelFormat::Argb8888;
    auto s = platform::Surface::Create(d);
    s->BltColorFill(0x11111111u);
    return s;
}

TEST(SurfaceBlits, CopyClipsAndZeroSizesMeanTheWholePicture) {
    const CmgBBI pic = Ramp(4, 3);
    auto s = MakeSurface(6, 6);
    pic.BltToDDS(s.get(), -1, 4);
    EXPECT_EQ(s->PixelAt(0, 4), At(pic, 1, 0));
    EXPECT_EQ(s->PixelAt(2, 5), At(pic, 3, 1));
    EXPECT_EQ(s->PixelAt(3, 5), 0x11111111u);
    EXPECT_EQ(s->PixelAt(0, 3), 0x11111111u);

    core::CRect r;
    r.X = 1;
    r.Y = 1;
    r.Width = 2;
    r.Height = 1;
    auto t = MakeSurface(6, 6);
    pic.BltToDDSRect(t.get(), r);
    EXPECT_EQ(t->PixelAt(1, 1), At(pic, 1, 1));
    EXPECT_EQ(t->PixelAt(2, 1), At(pic, 2, 1));
    EXPECT_EQ(t->PixelAt(3, 1), 0x11111111u);
    EXPECT_EQ(t->PixelAt(1, 2), 0x11111111u);
}

TEST(SurfaceBlits, StretchLostSurfaceAndReadBack) {
    const CmgBBI pic = Ramp(2, 2);
    auto s = MakeSurface(4, 4);
    pic.BltToDDSStretch(s.get(), 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(s->PixelAt(1, 1), At(pic, 0, 0));
    EXPECT_EQ(s->PixelAt(3, 2), At(pic, 1, 1));

    auto lost = MakeSurface(4, 4);
    lost->MarkLost();
    pic.BltToDDS(lost.get(), 0, 0);
    pic.BltToDDS(nullptr, 0, 0);
    EXPECT_EQ(lost->PixelAt(0, 0), 0x11111111u);

    CmgBBI back;
    back.CreateBBI(3, 5, 0);
    back.BltToBBIGetDDS(s.get());
    EXPECT_EQ(back.GetWidth(), 3);
    EXPECT_EQ(At(back, 2, 3), s->PixelAt(2, 3));
    EXPECT_EQ(At(back, 2, 4), 0u) << "below the surface stays";
}

}  // namespace
}  // namespace brumil::image
