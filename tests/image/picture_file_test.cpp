#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/pak_archive.h"
#include "image/bbi_format.h"
#include "image/bmp_format.h"
#include "image/cmg_bbi_function.h"
#include "picture_util.h"
#include "platform/base/files.h"
#include "platform/pixel/jpeg_codec.h"
#include "temp_root.h"

namespace brumil::image {
namespace {

using test::At;
using test::Ramp;

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

CmgBBI Sample() {
    // Odd width so that 24-bit rows carry padding; varied alpha.
    CmgBBI p = Ramp(5, 3);
    p.dwSetPixel(4, 2, static_cast<Long>(0x40ABCDEFu));
    p.dwSetPixel(0, 0, static_cast<Long>(0x00010203u));
    return p;
}

TEST(PictureFiles, RoundTrips) {
    testing::TempDataRoot root;
    const CmgBBI sample = Sample();
    struct Case {
        const char* file;
        int kind;  // 0 BMP 24, 1 BMP 32, 2 BBI
    };
    const Case cases[] = {{"\\p24.bmp", 0}, {"\\p32.bmp", 1}, {"\\p.bbi", 2}};
    for (const auto& c : cases) {
        const Long saved =
            c.kind == 2 ? sample.SaveBBI(c.file) : sample.SaveBMP(c.file, c.kind == 0 ? 24 : 32);
        ASSERT_EQ(saved, 0) << c.file;
        CmgBBI back;
        ASSERT_EQ(back.CreateBBIfromFile(c.file), 0) << c.file;
        ASSERT_EQ(back.GetWidth(), 5) << c.file;
        ASSERT_EQ(back.GetHeight(), 3) << c.file;
        for (Long y = 0; y < 3; ++y) {
            for (Long x = 0; x < 5; ++x) {
                std::uint32_t expect = At(sample, x, y);
                if (c.kind == 0) expect |= 0xFF000000u;  // 24-bit files read as opaque
                EXPECT_EQ(At(back, x, y), expect) << c.file << " " << x << "," << y;
            }
        }
    }
}

TEST(PictureFiles, BmpLayoutOnDisk) {
    const CmgBBI sample = Sample();
    const auto bytes = EncodeBmp(sample.ToPictureData(), 24);
    // 54 header bytes, rows of 5 x 3 = 15 bytes padded to 16, bottom-up.
    ASSERT_EQ(bytes.size(), 54u + 16u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);
    // First stored row is the picture's last: pixel (0, 2) = 0xFF000200 as B, G, R.
    EXPECT_EQ(bytes[54], 0x00);
    EXPECT_EQ(bytes[55], 0x02);
    EXPECT_EQ(bytes[56], 0x00);
    EXPECT_EQ(bytes[54 + 15], 0x00) << "padding";
}

TEST(PictureFiles, TopDownAndBitfieldBmpAreRead) {
    auto pic = Sample().ToPictureData();
    auto bytes = EncodeBmp(pic, 32);
    // Flip to top-down: negate the height and reverse the rows.
    const std::int32_t negative = -3;
    for (int i = 0; i < 4; ++i) bytes[22 + i] = static_cast<std::uint8_t>(negative >> (8 * i));
    std::vector<std::uint8_t> flipped(bytes.begin(), bytes.begin() + 54);
    for (int row = 2; row >= 0; --row)
        flipped.insert(flipped.end(), bytes.begin() + 54 + row * 20,
                       bytes.begin() + 54 + (row + 1) * 20);
    auto decoded = DecodeBmp(flipped);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->argb, pic.argb);
}

TEST(PictureFiles, JpegIsDecoded) {
    testing::TempDataRoot root;
    CmgBBI colour;
    colour.CreateBBI(16, 8, 0);
    for (Long y = 0; y < 8; ++y)
        for (Long x = 0; x < 16; ++x)
            colour.dwSetPixel(x, y, static_cast<Long>(x < 8 ? 0xFFE02010u : 0xFF10E020u));
    const auto jpeg = platform::EncodeJpeg(colour.Pixels(), 16, 8, 95);
    ASSERT_FALSE(jpeg.empty());
    root.Write("photo.jpg", AsText(jpeg));
    CmgBBI back;
    ASSERT_EQ(back.CreateBBIfromFile("\\photo.jpg"), 0);
    ASSERT_EQ(back.GetWidth(), 16);
    ASSERT_EQ(back.GetHeight(), 8);
    const std::uint32_t left = At(back, 2, 4);
    const std::uint32_t right = At(back, 13, 4);
    EXPECT_EQ(left >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((left >> 16) & 0xFF), 0xE0, 12);
    EXPECT_NEAR(static_cast<int>((right >> 8) & 0xFF), 0xE0, 12);
    EXPECT_NEAR(static_cast<int>(right & 0xFF), 0x20, 12);
}

// Damaged and hostile files: status 1 and the picture as it was.
TEST(PictureFiles, DamagedFilesAreRefusedCleanly) {
    testing::TempDataRoot root;
    const auto bmp = EncodeBmp(Sample().ToPictureData(), 24);
    const auto bbi = EncodeBbi(Sample().ToPictureData());
    auto patched = [](std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        return b;
    };
    auto cut = [](std::vector<std::uint8_t> b, std::size_t size) {
        b.resize(size);
        return b;
    };
    const auto jpegOk = platform::EncodeJpeg(Sample().Pixels(), 5, 3, 90);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"truncated bmp rows", cut(bmp, bmp.size() - 10)},
        {"bmp header only", cut(bmp, 30)},
        {"bmp huge width", patched(bmp, 18, 100000, 4)},
        {"bmp huge height", patched(bmp, 22, 0x7FFFFFFF, 4)},
        {"bmp most negative height", patched(bmp, 22, 0x80000000u, 4)},
        {"bmp zero width", patched(bmp, 18, 0, 4)},
        {"bmp 3 bits", patched(bmp, 28, 3, 2)},
        {"bmp compressed", patched(bmp, 30, 1, 4)},
        {"bmp data offset past end", patched(bmp, 10, 0xFFFFFFF0u, 4)},
        {"bmp info size past end", patched(bmp, 14, 0xFFFFFFF0u, 4)},
        {"bbi truncated", cut(bbi, bbi.size() - 1)},
        {"bbi huge", patched(bbi, 4, 9000, 2)},
        {"bbi row length differs", patched(bbi, 8, 6, 2)},
        {"bbi wrong bits", patched(bbi, 10, 24, 2)},
        {"jpeg cut in half", cut(jpegOk, jpegOk.size() / 2)},
        {"jpeg header only", cut(jpegOk, 4)},
        {"unknown kind", std::vector<std::uint8_t>{'G', 'I', 'F', '8', '9', 'a'}},
        {"empty file", {}},
    };
    for (const auto& c : cases) {
        root.Write("bad.bin", AsText(c.bytes));
        CmgBBI p = Ramp(3, 2);
        EXPECT_EQ(p.CreateBBIfromFile("\\bad.bin"), 1) << c.name;
        EXPECT_EQ(p.GetWidth(), 3) << c.name;
        EXPECT_EQ(p.GetHeight(), 2) << c.name;
        EXPECT_EQ(At(p, 2, 1), At(Ramp(3, 2), 2, 1)) << c.name;
    }
    CmgBBI p;
    EXPECT_EQ(p.CreateBBIfromFile("\\missing.bmp"), 1);
    EXPECT_EQ(p.GetWidth(), 1);
}

TEST(PictureFiles, ErrorTextGoesToThePromptOnlyWhenGiven) {
    testing::TempDataRoot root;
    std::vector<std::string> shown;
    auto& f = gBBIFunction();
    auto saved = f.LoadErrorPrompt;
    f.LoadErrorPrompt = [&](std::string_view msg, std::string_view file) {
        shown.push_back(std::string(msg) + "|" + std::string(file));
    };
    CmgBBI p;
    p.CreateBBIfromFile("\\nothing.bmp", "");
    EXPECT_TRUE(shown.empty());
    p.CreateBBIfromFile("\\nothing.bmp", "画像が読めません");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "画像が読めません|\\nothing.bmp");
    Sample().SaveBMP("\\ok.bmp");
    p.CreateBBIfromFile("\\ok.bmp", "画像が読めません");
    EXPECT_EQ(shown.size(), 1u) << "a successful load shows nothing";
    f.LoadErrorPrompt = saved;
}

TEST(PictureFiles, LoadsFromAPakArchiveWhenThePlainFileIsMissing) {
    testing::TempDataRoot root;
    const auto bmp = EncodeBmp(Sample().ToPictureData(), 32);
    const core::PakInput files[] = {{"Other.bin", {1, 2, 3}}, {"Face.BMP", bmp}};
    const auto pak = core::BuildPak(files);
    ASSERT_TRUE(pak.has_value());
    root.Write("data/chara.pak", AsText(*pak));
    CmgBBI p;
    ASSERT_EQ(p.CreateBBIfromFile("\\data\\chara\\face.bmp"), 0);
    EXPECT_EQ(p.GetWidth(), 5);
    EXPECT_EQ(At(p, 4, 2), 0x40ABCDEFu);
    EXPECT_EQ(p.CreateBBIfromFile("\\data\\chara\\other.bin"), 1) << "an entry that is no picture";
}

TEST(PictureFiles, CopyIsIndependent) {
    CmgBBI a = Sample();
    CmgBBI b;
    b.CreateBBICopy(a);
    a.dwSetPixel(1, 1, 0);
    EXPECT_EQ(b.GetWidth(), 5);
    EXPECT_NE(b.dwGetPixel(1, 1), 0);
}

}  // namespace
}  // namespace brumil::image
