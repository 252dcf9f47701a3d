// Bitmap files of every kind a paint program writes, made byte by byte here:
// palette, run-length, 16-bit, mask and old-header kinds, 24 and 32 bits; and
// the 32-bit alpha rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/bmp_format.h"
#include "image/cmg_bbi.h"
#include "picture_util.h"
#include "temp_root.h"

namespace brumil::image {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::vector<std::uint32_t>;

constexpr std::uint32_t kA = 0xFF102030u;
constexpr std::uint32_t kB = 0xFFF0E0D0u;
constexpr std::uint32_t kC = 0xFF00FF00u;
// Colours a 5-bit channel holds exactly.
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

void U16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void U32(Bytes& b, std::uint32_t v) {
    U16(b, v & 0xFFFF);
    U16(b, v >> 16);
}

struct BmpSpec {
    int width = 0;
    int height = 0;  // negative: rows top to bottom
    int bits = 24;
    std::uint32_t compression = 0;
    Pixels palette;                    // 0x00RRGGBB
    std::vector<std::uint32_t> masks;  // after a 40-byte header
    Bytes rows;                        // pixel data as stored
    bool coreHeader = false;           // the 12-byte header with 3-byte palette entries
};

// A whole file: file header, info header, masks or palette, rows.
Bytes MakeBmp(const BmpSpec& s) {
    Bytes head;
    if (s.coreHeader) {
        U32(head, 12);
        U16(head, static_cast<std::uint32_t>(s.width));
        U16(head, static_cast<std::uint32_t>(s.height));
        U16(head, 1);
        U16(head, static_cast<std::uint32_t>(s.bits));
        // This header has no count of colours: the palette is always full.
        Pixels full = s.palette;
        if (s.bits <= 8) full.resize(std::size_t{1} << s.bits, 0);
        for (const std::uint32_t c : full) {
            head.push_back(static_cast<std::uint8_t>(c));
            head.push_back(static_cast<std::uint8_t>(c >> 8));
            head.push_back(static_cast<std::uint8_t>(c >> 16));
        }
    } else {
        U32(head, 40);
        U32(head, static_cast<std::uint32_t>(s.width));
        U32(head, static_cast<std::uint32_t>(s.height));
        U16(head, 1);
        U16(head, static_cast<std::uint32_t>(s.bits));
        U32(head, s.compression);
        U32(head, static_cast<std::uint32_t>(s.rows.size()));
        U32(head, 2835);
        U32(head, 2835);
        U32(head, static_cast<std::uint32_t>(s.palette.size()));
        U32(head, 0);
        for (const std::uint32_t m : s.masks) U32(head, m);
        for (const std::uint32_t c : s.palette) U32(head, c & 0xFFFFFFu);
    }
    Bytes out = {'B', 'M'};
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + head.size());
    U32(out, static_cast<std::uint32_t>(offset + s.rows.size()));
    U32(out, 0);
    U32(out, offset);
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), s.rows.begin(), s.rows.end());
    return out;
}

// 16-bit pixels of the two layouts, from colours whose channels are 0 or 255.
std::uint32_t Pack555(std::uint32_t c) {
    return ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F);
}
std::uint32_t Pack565(std::uint32_t c) {
    return ((c >> 19) & 0x1F) << 11 | ((c >> 10) & 0x3F) << 5 | ((c >> 3) & 0x1F);
}

// Rows of 16-bit pixels, bottom row first, each padded to 4 bytes.
Bytes Rows16(const std::vector<Pixels>& bottomUp, std::uint32_t (*pack)(std::uint32_t)) {
    Bytes b;
    for (const auto& row : bottomUp) {
        for (const std::uint32_t c : row) U16(b, pack(c));
        while (b.size() % 4 != 0) b.push_back(0);
    }
    return b;
}

// Rows of B, G, R (and A) bytes, in the order given, each padded to 4 bytes.
Bytes RowsTrue(const std::vector<Pixels>& rows, int bits) {
    Bytes b;
    for (const auto& row : rows) {
        for (const std::uint32_t c : row) {
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
            if (bits == 32) b.push_back(static_cast<std::uint8_t>(c >> 24));
        }
        while (b.size() % 4 != 0) b.push_back(0);
    }
    return b;
}

struct KindCase {
    const char* name;
    BmpSpec spec;
    int width, height;
    Pixels expected;  // rows top to bottom
};

// A 3 x 2 picture (odd width: every kind pads its rows) unless a case says
// otherwise: top row A B C, bottom row C A B.
const Pixels kAbc = {kA, kB, kC, kC, kA, kB};

std::vector<KindCase> KindCases() {
    std::vector<KindCase> cases;
    {
        BmpSpec s{3, 2, 1, 0, {0x102030, 0xF0E0D0}, {}, {}};
        // Bottom row B A B = 101, top row A B A = 010, high bit first.
        s.rows = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};
        cases.push_back({"1-bit palette", s, 3, 2, {kA, kB, kA, kB, kA, kB}});
    }
    {
        BmpSpec s{3, 2, 4, 0, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {}};
        s.rows = {0x20, 0x10, 0, 0, 0x01, 0x20, 0, 0};
        cases.push_back({"4-bit palette", s, 3, 2, kAbc});
    }
    {
        BmpSpec s{3, 2, 8, 0, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {}};
        s.rows = {2, 0, 1, 0, 0, 1, 2, 0};
        cases.push_back({"8-bit palette", s, 3, 2, kAbc});
    }
    {
        BmpSpec s{3, -2, 8, 0, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {}};
        s.rows = {0, 1, 2, 0, 2, 0, 1, 0};
        cases.push_back({"8-bit palette, rows top to bottom", s, 3, 2, kAbc});
    }
    {
        // 4 x 2: bottom row C C C A as runs, top row A A B C in absolute mode.
        BmpSpec s{4, 2, 8, 1, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {}};
        s.rows = {3, 2, 1, 0, 0, 0, 0, 4, 0, 0, 1, 2, 0, 1};
        cases.push_back({"8-bit run-length", s, 4, 2, {kA, kA, kB, kC, kC, kC, kC, kA}});
    }
    {
        BmpSpec s{4, 2, 4, 2, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {}};
        s.rows = {3, 0x22, 1, 0x00, 0, 0, 0, 4, 0x00, 0x12, 0, 1};
        cases.push_back({"4-bit run-length", s, 4, 2, {kA, kA, kB, kC, kC, kC, kC, kA}});
    }
    {
        BmpSpec s{3, 2, 16, 0, {}, {}, {}};
        s.rows = Rows16({{kBlue, kRed, kWhite}, {kRed, kWhite, kBlue}}, Pack555);
        cases.push_back({"16-bit 5-5-5", s, 3, 2, {kRed, kWhite, kBlue, kBlue, kRed, kWhite}});
    }
    {
        BmpSpec s{3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, {}};
        s.rows = Rows16({{kBlue, kRed, kWhite}, {kRed, kWhite, kBlue}}, Pack565);
        cases.push_back(
            {"16-bit 5-6-5 by masks", s, 3, 2, {kRed, kWhite, kBlue, kBlue, kRed, kWhite}});
    }
    {
        BmpSpec s{3, 2, 24, 0, {}, {}, RowsTrue({{kC, kA, kB}, {kA, kB, kC}}, 24)};
        cases.push_back({"24-bit", s, 3, 2, kAbc});
    }
    {
        const Pixels half = {0x80102030u, kB, kC, kC, kA, 0x00F0E0D0u};
        BmpSpec s{
            3, 2, 32, 0, {}, {}, RowsTrue({{kC, kA, 0x00F0E0D0u}, {0x80102030u, kB, kC}}, 32)};
        cases.push_back({"32-bit with alpha", s, 3, 2, half});
    }
    {
        BmpSpec s{
            3, 2, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF}, RowsTrue({{kC, kA, kB}, {kA, kB, kC}}, 32)};
        cases.push_back({"32-bit by the usual masks", s, 3, 2, kAbc});
    }
    {
        // Red in the first byte, blue in the third: the colours swap places.
        BmpSpec s{3,
                  2,
                  32,
                  3,
                  {},
                  {0xFF, 0xFF00, 0xFF0000},
                  RowsTrue({{kBlue, kRed, kWhite}, {kRed, kWhite, kBlue}}, 32)};
        cases.push_back(
            {"32-bit by other masks", s, 3, 2, {kBlue, kWhite, kRed, kRed, kBlue, kWhite}});
    }
    {
        BmpSpec s{3, 2, 24, 0, {}, {}, RowsTrue({{kC, kA, kB}, {kA, kB, kC}}, 24)};
        s.coreHeader = true;
        cases.push_back({"24-bit, 12-byte header", s, 3, 2, kAbc});
    }
    {
        BmpSpec s{3, 2, 8, 0, {0x102030, 0xF0E0D0, 0x00FF00}, {}, {2, 0, 1, 0, 0, 1, 2, 0}};
        s.coreHeader = true;
        cases.push_back({"8-bit palette, 12-byte header", s, 3, 2, kAbc});
    }
    return cases;
}

TEST(BmpKinds, EveryKindIsReadTopRowFirst) {
    for (const KindCase& c : KindCases()) {
        SCOPED_TRACE(c.name);
        const auto decoded = DecodeBmp(MakeBmp(c.spec));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->width, c.width);
        EXPECT_EQ(decoded->height, c.height);
        EXPECT_EQ(decoded->argb, c.expected);
    }
}

TEST(BmpKinds, EveryKindLoadsAsAPictureFile) {
    testing::TempDataRoot root;
    for (const KindCase& c : KindCases()) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = MakeBmp(c.spec);
        root.Write("kind.bmp", std::string(bytes.begin(), bytes.end()));
        CmgBBI p;
        ASSERT_EQ(p.CreateBBIfromFile("\\kind.bmp"), 0);
        ASSERT_EQ(p.GetWidth(), c.width);
        EXPECT_EQ(test::At(p, 0, 0), c.expected[0]);
        EXPECT_EQ(test::At(p, c.width - 1, c.height - 1), c.expected.back());
    }
}

// Each kind damaged: refused, and a picture being loaded keeps what it held.
TEST(BmpKinds, DamagedFilesOfEachKindAreRefused) {
    const auto cases = KindCases();
    auto spec = [&](const char* name) {
        for (const auto& c : cases) {
            if (std::string(c.name) == name) return c.spec;
        }
        return BmpSpec{};
    };
    auto cut = [](Bytes b, std::size_t n) {
        b.resize(b.size() - n);
        return b;
    };
    BmpSpec outside = spec("8-bit palette");
    outside.rows[1] = 7;  // the palette has 3 entries
    BmpSpec noEnd = spec("8-bit run-length");
    noEnd.rows.resize(noEnd.rows.size() - 2);  // no end-of-picture mark
    BmpSpec wide = spec("16-bit 5-5-5");
    wide.width = 100000;
    BmpSpec oddBits = spec("4-bit palette");
    oddBits.bits = 3;
    BmpSpec rle24 = spec("24-bit");
    rle24.compression = 1;
    BmpSpec rle4On8 = spec("8-bit run-length");
    rle4On8.compression = 2;
    BmpSpec masksOn8 = spec("8-bit palette");
    masksOn8.compression = 3;
    masksOn8.masks = {0xE0, 0x1C, 0x03};
    struct Damaged {
        const char* name;
        Bytes bytes;
    };
    const std::vector<Damaged> damaged = {
        {"1-bit rows cut short", cut(MakeBmp(spec("1-bit palette")), 5)},
        {"4-bit rows cut short", cut(MakeBmp(spec("4-bit palette")), 5)},
        {"8-bit rows cut short", cut(MakeBmp(spec("8-bit palette")), 5)},
        {"16-bit rows cut short", cut(MakeBmp(spec("16-bit 5-5-5")), 5)},
        {"24-bit rows cut short", cut(MakeBmp(spec("24-bit")), 5)},
        {"12-byte header rows cut short", cut(MakeBmp(spec("24-bit, 12-byte header")), 5)},
        {"8-bit index outside the palette", MakeBmp(outside)},
        {"8-bit run-length without its end", MakeBmp(noEnd)},
        {"16-bit far too wide", MakeBmp(wide)},
        {"3 bits a pixel", MakeBmp(oddBits)},
        {"run-length coding of 24-bit rows", MakeBmp(rle24)},
        {"run-length 4 named on 8-bit rows", MakeBmp(rle4On8)},
        {"masks on 8-bit rows", MakeBmp(masksOn8)},
        {"header cut inside the palette", cut(MakeBmp(spec("8-bit palette")), 14)},
    };
    testing::TempDataRoot root;
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        EXPECT_FALSE(DecodeBmp(d.bytes).has_value());
        root.Write("bad.bmp", std::string(d.bytes.begin(), d.bytes.end()));
        CmgBBI p = test::Ramp(3, 2);
        EXPECT_EQ(p.CreateBBIfromFile("\\bad.bmp"), 1);
        EXPECT_EQ(p.GetWidth(), 3);
        EXPECT_EQ(test::At(p, 2, 1), test::At(test::Ramp(3, 2), 2, 1));
    }
}

// The fourth byte of 32-bit rows: padding when it is 0 in every pixel, alpha
// as soon as one pixel has any.
TEST(BmpKinds, ThirtyTwoBitAlphaOnlyWhenSomePixelHasIt) {
    struct Case {
        const char* name;
        std::uint32_t compression;
        Pixels stored;  // rows top to bottom, 2 x 2
        Pixels expected;
    };
    const Case cases[] = {
        {"all fourth bytes 0: opaque",
         0,
         {0x00102030u, 0x00F0E0D0u, 0x00000000u, 0x00FFFFFFu},
         {0xFF102030u, 0xFFF0E0D0u, 0xFF000000u, 0xFFFFFFFFu}},
        {"all 0 with the usual masks: opaque",
         3,
         {0x00102030u, 0x00F0E0D0u, 0x00000000u, 0x00FFFFFFu},
         {0xFF102030u, 0xFFF0E0D0u, 0xFF000000u, 0xFFFFFFFFu}},
        {"one pixel of alpha 1: kept exactly",
         0,
         {0x00102030u, 0x01F0E0D0u, 0x00000000u, 0x00FFFFFFu},
         {0x00102030u, 0x01F0E0D0u, 0x00000000u, 0x00FFFFFFu}},
        {"mixed alpha: kept exactly",
         0,
         {0xFF102030u, 0x80F0E0D0u, 0x00000000u, 0x40FFFFFFu},
         {0xFF102030u, 0x80F0E0D0u, 0x00000000u, 0x40FFFFFFu}},
        {"all opaque",
         0,
         {0xFF102030u, 0xFFF0E0D0u, 0xFF000000u, 0xFFFFFFFFu},
         {0xFF102030u, 0xFFF0E0D0u, 0xFF000000u, 0xFFFFFFFFu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec s{2, -2, 32, c.compression, {}, {}, {}};
        if (c.compression == 3) s.masks = {0xFF0000, 0xFF00, 0xFF};
        s.rows = RowsTrue({{c.stored[0], c.stored[1]}, {c.stored[2], c.stored[3]}}, 32);
        const auto decoded = DecodeBmp(MakeBmp(s));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->argb, c.expected);
    }
}

}  // namespace
}  // namespace brumil::image
