#include "sound/wit_file.h"

#include <gtest/gtest.h>

#include "wave_builder.h"

namespace brumil::sound {
namespace {

WitRecord Sample(Long bits, Long channels, std::string title, std::string info,
                 std::vector<Byte> data) {
    WitRecord r;
    r.magic = kWitMagic;
    r.dataSize = static_cast<Long>(data.size());
    r.dataBits = bits;
    r.dataChannels = channels;
    r.dataHz = 32000;
    r.playerStart = 4;
    r.playerRestart = 8;
    r.playerEnd = -1;
    r.reserved = 0x12345678;
    r.defaultStream = 1;
    r.defaultVolume = 0.75f;
    r.tagTitle = std::move(title);
    r.tagInfo = std::move(info);
    r.passCount = 3;
    r.sourceKind = kWitSourceOgg;
    r.data = std::move(data);
    return r;
}

TEST(WitFile, RecordsRoundTrip) {
    const WitRecord cases[] = {
        Sample(8, 1, "", "", {}),
        Sample(16, 2, "タイトル", "info\r\nline", test::Ramp(999)),
        Sample(8, 2, std::string(300, 'x'), "", test::Ramp(1)),
        Sample(16, 1, "", std::string("a\0b", 3), test::Ramp(4096)),
    };
    for (const auto& rec : cases) {
        const auto bytes = WriteWitFile(rec);
        EXPECT_EQ(bytes.size(), kWitHeaderSize + 2 + rec.tagTitle.size() + 2 + rec.tagInfo.size() +
                                    8 + 10 + rec.data.size());
        auto back = ReadWitFile(bytes);
        ASSERT_TRUE(back) << rec.tagTitle;
        EXPECT_EQ(*back, rec);
    }
}

TEST(WitFile, LayoutOfTheFirstBytes) {
    const auto bytes = WriteWitFile(Sample(16, 2, "ab", "", {9}));
    const std::vector<Byte> head(bytes.begin(), bytes.begin() + 4);
    EXPECT_EQ(head, (std::vector<Byte>{'W', 'I', 'T', 0xFF}));
    EXPECT_EQ(bytes[8], 16);
    EXPECT_EQ(bytes[12], 2);
    EXPECT_EQ(bytes[44], 2);  // title length, low byte
    EXPECT_EQ(bytes[45], 0);
    EXPECT_EQ(bytes[46], 'a');
    // dimension count 1, element count 1, lower bound 0, the byte.
    const std::vector<Byte> tail(bytes.end() - 11, bytes.end());
    EXPECT_EQ(tail, (std::vector<Byte>{1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 9}));
}

TEST(WitFile, TagLengthIsUnsigned) {
    const WitRecord rec = Sample(16, 2, std::string(40000, 'q'), "z", {1, 2});
    auto back = ReadWitFile(WriteWitFile(rec));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->tagTitle.size(), 40000u);
    EXPECT_EQ(back->tagInfo, "z");
}

TEST(WitFile, OverlongTagIsCutAtACharacterBoundary) {
    // 21846 three-byte characters = 65538 bytes; the cut must not split one.
    std::string title;
    for (int i = 0; i < 21846; ++i) title += "音";
    auto back = ReadWitFile(WriteWitFile(Sample(8, 1, title, "", {})));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->tagTitle.size(), 65535u);
    EXPECT_EQ(back->tagTitle, title.substr(0, 65535));
}

TEST(WitFile, HeaderChecksRefuse) {
    const auto good = WriteWitFile(Sample(16, 2, "t", "i", test::Ramp(10)));
    auto patched = [&](std::size_t at, std::vector<Byte> v) {
        auto b = good;
        std::copy(v.begin(), v.end(), b.begin() + static_cast<long>(at));
        return b;
    };
    const std::size_t dataRec = kWitHeaderSize + 3 + 3 + 8;  // dimension count
    struct Case {
        const char* name;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {"magic", patched(3, {0xFE})},
        {"24 bits", patched(8, {24})},
        {"0 bits", patched(8, {0})},
        {"3 channels", patched(12, {3})},
        {"0 channels", patched(12, {0})},
        {"two dimensions", patched(dataRec, {2})},
        {"zero dimensions", patched(dataRec, {0})},
        {"count past the end", patched(dataRec + 2, {11})},
        {"count of 4 GB", patched(dataRec + 2, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"title longer than the file", patched(kWitHeaderSize, {0xFF, 0xFF})},
        {"cut in the header", std::vector<Byte>(good.begin(), good.begin() + 40)},
        {"cut in the data", std::vector<Byte>(good.begin(), good.end() - 1)},
        {"cut before the data record", std::vector<Byte>(good.begin(), good.begin() + dataRec)},
        {"empty", {}},
    };
    ASSERT_TRUE(ReadWitFile(good));
    for (const auto& c : cases) EXPECT_FALSE(ReadWitFile(c.bytes)) << c.name;
}

}  // namespace
}  // namespace brumil::sound
