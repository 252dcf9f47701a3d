#include "render/im_texture.h"

#include <gtest/gtest.h>

#include <string>

#include "image/cmg_bbi.h"
#include "image/cmg_bbi_function.h"
#include "platform/base/files.h"
#include "render/graphics.h"
#include "render/texture_generators.h"
#include "render_test_env.h"
#include "temp_root.h"

namespace brumil::render {
namespace {

using brumil::testing::TempDataRoot;

class TextureCache : public render::testing::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        prompt_ = image::gBBIFunction().LoadErrorPrompt;
        image::gBBIFunction().LoadErrorPrompt = [this](std::string_view, std::string_view) {
            ++prompts_;
        };
        cache_.SearchPathAdd("\\", ".bmp");
        cache_.SearchPathAdd("\\", "");
    }
    void TearDown() override {
        image::gBBIFunction().LoadErrorPrompt = prompt_;
        DisplayTest::TearDown();
    }
    // A w x h BMP of one colour below the data root.
    void Picture(const std::string& name, Long w, Long h, std::uint32_t argb) {
        image::CmgBBI p;
        p.CreateBBI(w, h);
        for (auto& px : p.Pixels()) px = argb;
        const auto slash = name.rfind('\\');
        if (slash != std::string::npos) {
            platform::MakeDir("\\" + name.substr(0, slash));
        }
        ASSERT_EQ(p.SaveBMP("\\" + name, 32), 0);
    }

    TempDataRoot root_;
    CIMTexture cache_;
    int prompts_ = 0;
    std::function<void(std::string_view, std::string_view)> prompt_;
};

TEST_F(TextureCache, NamesAreCaseBlindAndLoadOnce) {
    Picture("Face.bmp", 6, 4, 0xFF112233u);
    const Long index = cache_.Add("Face.bmp");
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(cache_.AddedTexture());
    EXPECT_EQ(cache_.Item(index)->Width(), 6);
    EXPECT_EQ(cache_.Add("face.BMP"), index);
    EXPECT_FALSE(cache_.AddedTexture());
    // Without the extension the ".bmp" pair finds it, under a new name.
    EXPECT_EQ(cache_.Add("FACE"), 1);
    EXPECT_EQ(cache_.Item(1)->Width(), 6);
    EXPECT_EQ(cache_.Capacity(), 20);
}

TEST_F(TextureCache, MissingFileGivesAnEmptyEntryThatIsNotRetried) {
    const auto g = cache_.ItemAs("late.bmp");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Width(), 1);
    EXPECT_TRUE(cache_.AddedTexture());
    EXPECT_EQ(prompts_, 0);  // a missing candidate raises no message
    Picture("late.bmp", 5, 5, 0xFF000000u);
    EXPECT_EQ(cache_.ItemAs("late.bmp"), g);
    EXPECT_EQ(g->Width(), 1);
    EXPECT_FALSE(cache_.AddedTexture());
}

TEST_F(TextureCache, SearchPairsAreTriedInTheOrderAdded) {
    Picture("a\\x.bmp", 3, 3, 0xFF000000u);
    Picture("b\\x.bmp", 7, 7, 0xFF000000u);
    CIMTexture cache;
    cache.SearchPathAdd("\\b\\", "");
    cache.SearchPathAdd("\\a\\", "");
    cache.SearchPathAdd("\\b\\", "");  // already there
    cache.SearchPathAdd("\\B\\", "");  // another text: kept
    EXPECT_EQ(cache.PathCount(), 3);
    EXPECT_EQ(cache.ItemAs("x.bmp")->Width(), 7);
    // No pairs: nothing loads.
    CIMTexture bare;
    EXPECT_EQ(bare.ItemAs("x.bmp")->Width(), 1);
}

TEST_F(TextureCache, ItemOutsideTheCacheIsFreshAndUnstored) {
    cache_.Add("?alpha128x128");
    for (const Long index : {-1L, 20L, 1000L}) {
        SCOPED_TRACE(index);
        const auto a = cache_.Item(static_cast<Long>(index));
        ASSERT_NE(a, nullptr);
        EXPECT_NE(cache_.Item(static_cast<Long>(index)), a);
        EXPECT_EQ(a->Width(), 1);
    }
    // Inside the cache an unfilled slot is nothing.
    EXPECT_EQ(cache_.Item(5), nullptr);
    // Writes store inside the cache only.
    auto mine = std::make_shared<CGraphics>();
    cache_.Item(5, mine);
    EXPECT_EQ(cache_.Item(5), mine);
    cache_.Item(20, mine);
    EXPECT_EQ(cache_.Capacity(), 20);
}

TEST_F(TextureCache, EmptyNameHasTheEmptyEntry) {
    // The file the search pairs would make of an empty name is not loaded.
    Picture(".bmp", 4, 4, 0xFF00FF00u);
    Long index = 7;
    EXPECT_EQ(cache_.Add("", index), 0);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(cache_.AddedTexture());
    const auto g = cache_.Item(index);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Width(), 1);
    EXPECT_EQ(g->Height(), 1);
    EXPECT_EQ(g->Image.dwGetPixel(0, 0), 0);  // transparent
    // Named again it is the same entry; other names take the next indices.
    EXPECT_EQ(cache_.Add(""), 0);
    EXPECT_FALSE(cache_.AddedTexture());
    EXPECT_EQ(cache_.ItemAs(""), g);
    EXPECT_EQ(cache_.Add("?stage128x128"), 1);
    EXPECT_EQ(cache_.Add(".bmp"), 2);
    ASSERT_NE(cache_.Item(2), nullptr);
    EXPECT_EQ(cache_.Item(2)->Width(), 4);
    EXPECT_EQ(prompts_, 0);
}

TEST_F(TextureCache, ClearRestartsIndicesAndKeepsThePairs) {
    Picture("one.bmp", 2, 2, 0xFF000000u);
    cache_.Add("?alpha128x128");
    cache_.Add("?stage128x128");
    cache_.Clear();
    EXPECT_EQ(cache_.Capacity(), 0);
    EXPECT_EQ(cache_.Add("one"), 0);
    EXPECT_TRUE(cache_.AddedTexture());
    EXPECT_EQ(cache_.Item(0)->Width(), 2);
    EXPECT_EQ(cache_.PathCount(), 2);
}

TEST_F(TextureCache, OptionNames) {
    Picture("other.bmp", 8, 4, 0xFF808080u);
    Picture("keyed.bmp", 4, 4, 0xFFFF00FFu);
    Picture("ca.bmp", 2, 2, 0xFF404040u);
    struct Case {
        const char* name;
        Long width, height;
        Long x, y;
        std::uint32_t pixel;
    };
    const std::vector<Case> cases = {
        // A later file serves when an earlier one is missing; then halved.
        {"?div2:missing.bmp:other.bmp", 4, 2, 1, 1, 0xFF808080u},
        {"?DIV4:other", 2, 1, 0, 0, 0xFF808080u},
        {"?missing.bmp", 1, 1, 0, 0, 0u},
        // Without a loaded file the divisor is not applied.
        {"?alpha256x256:div2", 256, 256, 128, 128, 0u},
        // Brightness to alpha.
        {"?ca:other.bmp", 8, 4, 0, 0, 0x80808080u},
        // Soft colour key by the top-left pixel.
        {"?aa:keyed.bmp", 4, 4, 0, 0, 0u},
        // After an empty word "ca" is a file name, not an option.
        {"?:ca", 2, 2, 0, 0, 0xFF404040u},
        {"?v0:other.bmp", 8, 4, 7, 3, 0xFF808080u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto g = cache_.ItemAs(c.name);
        EXPECT_EQ(g->Width(), c.width);
        EXPECT_EQ(g->Height(), c.height);
        EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(c.x, c.y)), c.pixel);
    }
    EXPECT_EQ(prompts_, 0);
}

TEST_F(TextureCache, GeneratedSpot) {
    const auto g = cache_.ItemAs("?alpha256x256");
    ASSERT_EQ(g->Width(), 256);
    // The ramp runs from the first colour (white) at ratio 0 to the second
    // (transparent black) at ratio 1; the ratio is 1 at the centre, falls along
    // half a cosine and is 0 from 48 of 255 ramp entries outwards.
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(128, 128)), 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(0, 0)), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(128, 128 + 60)), 0xFFFFFFFFu);
    // Entry 24 of the ramp is half way: at distance 128 x 24 / 255 = 12.
    const auto mid = static_cast<std::uint32_t>(g->Image.dwGetPixel(128 + 12, 128));
    EXPECT_NEAR(static_cast<int>(mid >> 24), 128, 10);
    EXPECT_NEAR(static_cast<int>(mid & 0xFF), 128, 10);
}

TEST_F(TextureCache, GeneratedStageGrid) {
    const auto g = cache_.ItemAs("?stage128x128");
    ASSERT_EQ(g->Width(), 128);
    // 4 x 4 cells of 32: the first cell in the first colour, the last in the
    // last; the outline is transparent black.
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(2, 30)), 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(98, 126)), 0x404040u);
    EXPECT_EQ(static_cast<std::uint32_t>(g->Image.dwGetPixel(96, 126)), 0u);
    // Cell 16 carries its two digits in its top half, right of the quarter
    // (inside the outline).
    Long inked = 0, left = 0;
    for (Long y = 97; y < 112; ++y) {
        for (Long x = 97; x < 127; ++x) {
            const auto p = static_cast<std::uint32_t>(g->Image.dwGetPixel(x, y));
            if (p != 0x404040u) (x < 96 + 8 ? left : inked) += 1;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(left, 0);
}

TEST(StageTexture, CellsAreGuarded) {
    CGraphics g;
    EXPECT_EQ(CreateStageTexture(g, 64, 0), 1);
    EXPECT_EQ(g.Width(), 1);
    // One cell has no ramp to run along: it takes the first colour.
    EXPECT_EQ(CreateStageTexture(g, 32, 1), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(g.Image.dwGetPixel(1, 30)), 0u);
    // More than 16 cells count as 16.
    EXPECT_EQ(CreateStageTexture(g, 64, 40), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(g.Image.dwGetPixel(61, 63)), 0u);  // outline
    EXPECT_EQ(static_cast<std::uint32_t>(g.Image.dwGetPixel(61, 62)), 0x404040u);
}

}  // namespace
}  // namespace brumil::render
