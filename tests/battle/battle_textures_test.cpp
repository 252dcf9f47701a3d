// The sprite tables filled at match start from a temporary data folder.
#include "battle/battle_textures.h"

#include <gtest/gtest.h>

#include <string>

#include "battle_fixture.h"
#include "core/api.h"
#include "image/cmg_bbi.h"
#include "render/graphics.h"
#include "temp_root.h"

namespace brumil::battle::test {
namespace {

constexpr Long kCorner = 0xFF00FF00;  // the colour key of keyed pictures
constexpr Long kInk = 0xFFC08040;

class BattleTextures : public BattleFixture {
protected:
    void SetUp() override {
        BattleFixture::SetUp();
        Picture("chara_vesna/chara_0.bmp", 8);
        Picture("chara_vesna/chara_1.bmp", 16);
        Picture("chara_pell/chara_1.bmp", 24);
        for (const EffectSlot& e : EffectSlots()) Picture(std::string(e.name) + ".bmp", 4);
        const std::string data = core::gApi().GetAbolutePath("\\data") + "/";
        render::gIMTexture().SearchPathAdd(data, ".bmp");
        render::gIMTexture().SearchPathAdd(data, "");
    }

    // A size x size picture: the key colour with one inked pixel in the middle.
    void Picture(const std::string& relative, Long size) {
        image::CmgBBI p;
        p.CreateBBI(size, size);
        for (Long y = 0; y < size; ++y)
            for (Long x = 0; x < size; ++x) p.dwSetPixel(x, y, kCorner);
        p.dwSetPixel(size / 2, size / 2, kInk);
        const auto path = root.Path() / "data" / relative;
        std::filesystem::create_directories(path.parent_path());
        ASSERT_EQ(p.SaveBMP(path.string(), 24), 0) << relative;
    }

    static std::shared_ptr<render::CGraphics> Texture(Long index) {
        return render::gIMTexture().Item(index);
    }

    testing::TempDataRoot root;
};

TEST_F(BattleTextures, SameCharacterOnBothSidesGivesBothPicturesOfOneFolder) {
    Options().CharaID(0, 1);
    Options().CharaID(1, 1);
    for (int i = 0; i < 2; ++i) {
        P(i).Index = i;
        LoadCharaTextures(Options(), P(i));
    }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(P(i).CharaSlot, i);
        EXPECT_EQ(Texture(P(i).SpriteTexture[0])->Width(), 8);
        EXPECT_EQ(Texture(P(i).SpriteTexture[1])->Width(), 16);
        EXPECT_EQ(P(i).SpriteTexture[0], P(0).SpriteTexture[0]);
        EXPECT_EQ(P(i).SpriteTexture[1], P(0).SpriteTexture[1]);
        for (int slot : {0, 1}) {
            EXPECT_EQ(P(i).SpriteBlend[std::size_t(slot)], 593);
            EXPECT_EQ(P(i).SpriteCells[std::size_t(slot)], 10);
        }
    }
    EXPECT_NE(P(0).SpriteTexture[0], P(0).SpriteTexture[1]);
}

TEST_F(BattleTextures, EachPlayerDrawsItsOwnFolder) {
    Options().CharaID(0, 1);
    Options().CharaID(1, 2);
    P(1).Index = 1;
    LoadCharaTextures(Options(), P(1));
    EXPECT_EQ(Texture(P(1).SpriteTexture[0])->Width(), 8);   // vesna's first picture
    EXPECT_EQ(Texture(P(1).SpriteTexture[1])->Width(), 24);  // pell's second picture
}

TEST_F(BattleTextures, SpawnShiftByCharacter) {
    struct Case {
        Long chara;
        Long dx0, dx1;  // SpawnDX of player 0 and 1 (both start at 55, SpawnDY at 9)
        Long dy;
    };
    constexpr Case kCases[] = {
        {1, 7680, -7680, 0}, {2, 7680, -7680, 0}, {3, 55, 55, 9}, {8, 55, 55, 9}, {0, 55, 55, 9},
    };
    for (const Case& c : kCases) {
        Options().CharaID(0, c.chara);
        Options().CharaID(1, c.chara);
        for (int i = 0; i < 2; ++i) {
            P(i) = PlayerRecord{};
            P(i).Index = i;
            P(i).SpawnDX = 55;
            P(i).SpawnDY = 9;
            LoadCharaTextures(Options(), P(i));
            EXPECT_EQ(P(i).SpawnDX, i == 0 ? c.dx0 : c.dx1) << c.chara << " player " << i;
            EXPECT_EQ(P(i).SpawnDY, c.dy) << c.chara << " player " << i;
        }
    }
}

TEST_F(BattleTextures, EffectSlotsAreProcessedOnlyByTheLoadThatMadeThem) {
    P(0).Index = 0;
    LoadEffectTextures(P(0));
    // Keyed on first load: the corner colour became transparent.
    const auto keyed = Texture(P(0).SpriteTexture[17]);
    ASSERT_EQ(keyed->Width(), 4);
    EXPECT_EQ(static_cast<std::uint32_t>(keyed->Image.dwGetPixel(0, 0)) >> 24, 0u);
    // Paint the cached picture opaque again: a second keying would clear it.
    for (Long y = 0; y < 4; ++y)
        for (Long x = 0; x < 4; ++x) keyed->Image.dwSetPixel(x, y, kCorner);
    const auto before = Texture(P(0).SpriteTexture[32])->Image.dwGetPixel(0, 0);

    P(1).Index = 1;
    LoadEffectTextures(P(1));
    EXPECT_EQ(keyed->Image.dwGetPixel(0, 0), kCorner);
    EXPECT_EQ(Texture(P(1).SpriteTexture[32])->Image.dwGetPixel(0, 0), before);
    EXPECT_EQ(P(1).SpriteTexture, P(0).SpriteTexture);
    for (const EffectSlot& e : EffectSlots()) {
        const auto s = static_cast<std::size_t>(e.slot);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(P(i).SpriteBlend[s], e.blend) << e.name;
            EXPECT_EQ(P(i).SpriteCells[s], e.cells) << e.name;
        }
    }
    // Slots outside the table stay as the reset cleared them.
    for (std::size_t s : {2u, 7u, 15u, 19u, 23u, 27u, 31u, 36u, 63u}) {
        EXPECT_EQ(P(1).SpriteTexture[s], 0) << s;
        EXPECT_EQ(P(1).SpriteBlend[s], 0) << s;
        EXPECT_EQ(P(1).SpriteCells[s], 0) << s;
    }
}

TEST_F(BattleTextures, EffectTableRows) {
    struct Case {
        Long slot;
        Long blend, cells;
    };
    constexpr Case kCases[] = {{8, 593, 0},  {14, 593, 0},  {16, 593, 10}, {18, 593, 10},
                               {24, 597, 0}, {26, 597, 10}, {35, 593, 10}};
    P(0).Index = 0;
    LoadEffectTextures(P(0));
    for (const Case& c : kCases) {
        const auto s = static_cast<std::size_t>(c.slot);
        EXPECT_EQ(P(0).SpriteBlend[s], c.blend) << c.slot;
        EXPECT_EQ(P(0).SpriteCells[s], c.cells) << c.slot;
        EXPECT_EQ(Texture(P(0).SpriteTexture[s])->Width(), 4) << c.slot;
    }
}

}  // namespace
}  // namespace brumil::battle::test
