// Every picture the game loads: found through the data root, of the size and
// bit depth its users expect, and drawn the way they use it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data_root.h"
#include "frontend/application_config.h"
#include "image/cmg_bbi.h"
#include "picture_cases.h"
#include "platform/base/files.h"

namespace brumil::datatest {
namespace {

using image::CmgBBI;

double Luma(std::uint32_t p) {
    return (0.30 * ((p >> 16) & 0xFF) + 0.59 * ((p >> 8) & 0xFF) + 0.11 * (p & 0xFF)) / 255.0;
}

CmgBBI Load(const std::string& name) {
    CmgBBI pic;
    EXPECT_EQ(pic.CreateBBIfromFile("\\data\\" + name), 0) << name;
    return pic;
}

class Pictures : public ::testing::Test {
protected:
    UseGeneratedRoot root_;
};

TEST_F(Pictures, EveryPictureHasItsSizeDepthAndKind) {
    for (const PictureCase& c : AllPictures()) {
        SCOPED_TRACE(c.name);
        const CmgBBI pic = Load(c.name);
        ASSERT_EQ(pic.GetWidth(), c.width);
        ASSERT_EQ(pic.GetHeight(), c.height);
        const int bits = ReadU16(platform::MapPath("\\data\\" + c.name).string(), 28);
        EXPECT_EQ(bits, (c.kind == Kind::Opaque || c.kind == Kind::Keyed) ? 24 : 32);
        ExpectKind(pic, c);
    }
}

TEST_F(Pictures, NamesAreFoundWhateverTheirCase) {
    CmgBBI pic;
    EXPECT_EQ(pic.CreateBBIfromFile("\\DATA\\Chara_Vesna\\IMAGES_1.BMP"), 0);
    EXPECT_EQ(pic.GetWidth(), 420);
    EXPECT_EQ(pic.CreateBBIfromFile("\\data\\TERGET.bmp"), 0);
    EXPECT_EQ(pic.GetWidth(), 16);
}

// 4 x 4 cells of `cell` pixels: each cell of a sheet holds something.
void ExpectCellsFilled(const CmgBBI& pic, int cell, int cells, bool byAlpha) {
    for (int i = 0; i < cells; ++i) {
        int lit = 0;
        const int ox = (i % (pic.GetWidth() / cell)) * cell,
                  oy = (i / (pic.GetWidth() / cell)) * cell;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                const auto p = pic.Row(oy + y)[ox + x];
                lit += byAlpha ? Alpha(p) > 128 : Brightest(p) > 128;
            }
        }
        EXPECT_GT(lit, 8) << "cell " << i;
    }
}

TEST_F(Pictures, SpriteSheetsFillEveryCellInsideAMargin) {
    for (const char* f : {"chara_vesna", "chara_pell", "chara_odrane", "chara_marwenne",
                          "chara_tolka", "chara_brisa", "chara_gundral", "chara_emmet"}) {
        for (const char* sheet : {"\\chara_0.bmp", "\\chara_1.bmp"}) {
            SCOPED_TRACE(std::string(f) + sheet);
            const CmgBBI pic = Load(std::string(f) + sheet);
            ExpectCellsFilled(pic, 64, 16, true);
            for (int k = 0; k < 256; ++k) {
                for (int edge : {0, 63, 64, 127, 128, 191, 192, 255}) {
                    ASSERT_EQ(Alpha(pic.Row(edge)[k]), 0u) << "row " << edge;
                    ASSERT_EQ(Alpha(pic.Row(k)[edge]), 0u) << "column " << edge;
                }
            }
        }
    }
}

TEST_F(Pictures, PlayersSheetsAreBlueAndRed) {
    const CmgBBI blue = Load("chara_odrane\\chara_0.bmp");
    const CmgBBI red = Load("chara_odrane\\chara_1.bmp");
    auto balance = [](const CmgBBI& pic) {
        double b = 0, r = 0;
        for (auto p : pic.Pixels()) {
            if (Alpha(p) < 200) continue;
            r += (p >> 16) & 0xFF;
            b += p & 0xFF;
        }
        return b - r;
    };
    EXPECT_GT(balance(blue), 0);
    EXPECT_LT(balance(red), 0);
}

TEST_F(Pictures, EffectSheetsFillEveryCell) {
    ExpectCellsFilled(Load("costom256A.bmp"), 64, 16, false);
    ExpectCellsFilled(Load("costom256B.bmp"), 64, 16, false);
    for (int i = 1; i <= 4; ++i)
        ExpectCellsFilled(Load("ani" + std::to_string(i) + ".bmp"), 64, 16, false);
    for (const char* keyed : {"bitmap128A.bmp", "bitmap128B.bmp"}) {
        const CmgBBI pic = Load(keyed);
        const std::uint32_t key = pic.Row(0)[0] & 0xFFFFFF;
        for (int i = 0; i < 16; ++i) {
            int fg = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x)
                    fg += (pic.Row((i / 4) * 32 + y)[(i % 4) * 32 + x] & 0xFFFFFF) != key;
            }
            EXPECT_GT(fg, 20) << keyed << " cell " << i;
        }
    }
}

TEST_F(Pictures, GlyphAtlasHasEveryCharacterButTheSpace) {
    const CmgBBI atlas = Load("font64-x13-256x256.bmp");
    for (int i = 0; i < 64; ++i) {
        int ink = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const auto p = atlas.Row((i / 8) * 32 + y)[(i % 8) * 32 + x];
                ink += Alpha(p) > 0;
                if (Alpha(p) > 0) {
                    ASSERT_EQ(p & 0xFFFFFF, 0xFFFFFFu) << "glyphs are white";
                }
            }
        }
        if (i == 0) {
            EXPECT_EQ(ink, 0) << "the space is empty";
        } else {
            EXPECT_GT(ink, 10) << "cell " << i;
        }
    }
}

// Captions from the atlas advance 28 pixels a character (a 32-pixel cell less
// 4): glyphs much narrower than the cell leave gaps that split the words.
TEST_F(Pictures, GlyphAtlasGlyphsFillTheirCells) {
    const CmgBBI atlas = Load("font64-x13-256x256.bmp");
    std::vector<int> widths;
    for (int i = 2; i < 64; ++i) {  // digits and letters
        int left = 32, right = -1;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (Alpha(atlas.Row((i / 8) * 32 + y)[(i % 8) * 32 + x]) > 96) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        widths.push_back(right - left + 1);
    }
    std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
    EXPECT_GE(widths[widths.size() / 2], 20) << "median ink width of the glyphs";
}

// The character select writes each side's description (up to seven 16-pixel
// lines ending at row 378) and name (centred on row 428) over the portrait
// placed by the character's rectangle; grey and black texts need a dark ground.
TEST_F(Pictures, CharacterTextsStandOnADarkGround) {
    const CmgBBI back = Load("select_character1.bmp");
    struct Box {
        int x0, x1, y0, y1;
    };
    struct Side {
        const char* picture;
        int centreX;
        Box description, name;
    };
    const Side sides[] = {{"images_1.bmp", 140, {20, 320, 266, 378}, {0, 260, 414, 442}},
                          {"images_2.bmp", 500, {320, 620, 266, 378}, {380, 640, 414, 442}}};
    for (int id = 0; id <= 8; ++id) {
        const core::CRect r = frontend::ApplicationConfig::CharaRect(id);
        for (const Side& side : sides) {
            const std::string name = frontend::ApplicationConfig::CharaFolder(id) + side.picture;
            SCOPED_TRACE(name);
            const CmgBBI portrait = Load(name);
            const int left = r.X + side.centreX - r.Width / 2, top = r.Y + 240 - r.Height / 2;
            for (const Box& b : {side.description, side.name}) {
                double sum = 0;
                int n = 0;
                for (int y = b.y0; y < b.y1; ++y) {
                    for (int x = b.x0; x < b.x1; ++x) {
                        const int px = x - left, py = y - top;
                        double l = Luma(back.Row(y)[x]);
                        if (px >= 0 && py >= 0 && px < portrait.GetWidth() &&
                            py < portrait.GetHeight()) {
                            const auto p = portrait.Row(py)[px];
                            const double a = Alpha(p) / 255.0;
                            l = a * Luma(p) + (1 - a) * l;
                        }
                        sum += l;
                        ++n;
                    }
                }
                EXPECT_LT(sum / n, 0.3) << "rows " << b.y0 << " to " << b.y1;
            }
        }
    }
}

TEST_F(Pictures, LevelBandsStayInsideTheirRows) {
    const CmgBBI pic = Load("font_level.bmp");
    const int tops[] = {0, 21, 42, 64, 85, 106};
    std::vector<int> inBand(128, -1);
    for (int b = 0; b < 6; ++b) {
        for (int y = tops[b]; y < tops[b] + 20; ++y) inBand[static_cast<std::size_t>(y)] = b;
    }
    std::vector<int> ink(6, 0);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (Alpha(pic.Row(y)[x]) == 0) continue;
            ASSERT_GE(inBand[static_cast<std::size_t>(y)], 0) << "ink between bands at row " << y;
            ++ink[static_cast<std::size_t>(inBand[static_cast<std::size_t>(y)])];
        }
    }
    for (int b = 0; b < 6; ++b) EXPECT_GT(ink[static_cast<std::size_t>(b)], 30) << "band " << b;
}

TEST_F(Pictures, LevelLabelsSitInTheirRowsOnWhite) {
    const CmgBBI pic = Load("level.bmp");
    EXPECT_EQ(pic.Row(300)[100] & 0xFFFFFF, 0xFFFFFFu)
        << "left of the rows the sheet leaves the picture";
    for (int k = 0; k < 6; ++k) {
        double darkest = 1;
        for (int y = 85 + 67 * k; y < 85 + 67 * k + 60; ++y) {
            for (int x = 228; x < 588; ++x) darkest = std::min(darkest, Luma(pic.Row(y)[x]));
        }
        EXPECT_LT(darkest, 0.3) << "label " << k;
    }
}

// The widest caption, "Free Fight 1P vs CP", spans 18 advances of 28 pixels and
// a last cell of 32, centred on the screen: x 52 to 588.
TEST_F(Pictures, TitleIsCalmWhereTheWhiteCaptionsGo) {
    const CmgBBI art = Load("start.bmp");
    const CmgBBI mul = Load("start1.bmp");
    double brightest = 0;
    for (int y = 230; y < 375; ++y) {
        for (int x = 52; x < 588; ++x) {
            brightest = std::max(brightest, Luma(art.Row(y)[x]) * Luma(mul.Row(y)[x]));
        }
    }
    EXPECT_LT(brightest, 0.5);
    EXPECT_LT(Luma(mul.Row(302)[320]), Luma(mul.Row(100)[320]))
        << "the plate under the menu is darker";
}

TEST_F(Pictures, ScreenDetailsWhereTheirUsersLook) {
    const CmgBBI config = Load("appconfig.bmp");
    EXPECT_LT(Luma(config.Row(440)[200]), 0.6) << "the 決定 button";
    EXPECT_GT(Luma(config.Row(470)[100]), 0.8) << "light ground";
    const CmgBBI strip = Load("select_character2.bmp");
    EXPECT_EQ(Alpha(strip.Row(100)[320]), 0u);
    EXPECT_GT(Alpha(strip.Row(420)[100]), 200u);
    const CmgBBI cursor = Load("cursor.bmp");
    EXPECT_GT(Brightest(cursor.Row(16)[128]), 230u);
    EXPECT_LT(Brightest(cursor.Row(16)[0]), 10u);
    const CmgBBI back = Load("TheBackScreen.bmp");
    EXPECT_LT(Luma(back.Row(1)[320]), 0.3);
}

}  // namespace
}  // namespace brumil::datatest
