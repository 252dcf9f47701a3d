#include "platform/codec/codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/codec/helper_random.h"

namespace brumil::platform {
namespace {

std::vector<std::uint8_t> Samples(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((i * i / 7) ^ (i >> 3));
    return v;
}

TEST(Codec, EveryProgramRoundTrips) {
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {}, {0}, {1, 2, 3}, std::vector<std::uint8_t>(70000, 0x55), Samples(12345)};
    for (std::uint32_t program = 0; program < kCodecProgramCount; ++program) {
        for (const auto& in : inputs) {
            const auto block = EncodeBlock(in, program);
            ASSERT_TRUE(block.has_value()) << program;
            EXPECT_EQ(BlockProgram(*block), program);
            EXPECT_EQ(std::memcmp(block->data(), "BRC1", 4), 0);
            const auto out = DecodeBlock(*block);
            ASSERT_TRUE(out.has_value()) << program << " size " << in.size();
            EXPECT_EQ(*out, in) << program;
        }
    }
    EXPECT_FALSE(EncodeBlock(Samples(10), kCodecProgramCount).has_value());
}

TEST(Codec, CompressingProgramsShrinkRepetitiveData) {
    const std::vector<std::uint8_t> flat(70000, 0x55);
    EXPECT_EQ(EncodeBlock(flat, 0)->size(), flat.size() + kCodecHeaderSize);
    for (std::uint32_t program = 1; program < kCodecProgramCount; ++program) {
        EXPECT_LT(EncodeBlock(flat, program)->size(), flat.size() / 50) << program;
    }
}

TEST(Codec, CorruptBlocksAreRefused) {
    const auto stored = *EncodeBlock(Samples(100), 0);
    const auto deflated = *EncodeBlock(Samples(5000), 2);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> block;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"header cut", std::vector<std::uint8_t>(stored.begin(), stored.begin() + 11)});
    auto magic = stored;
    magic[0] = 'X';
    cases.push_back({"bad magic", magic});
    auto program = stored;
    program[4] = 77;
    cases.push_back({"unknown program", program});
    cases.push_back({"stored cut", std::vector<std::uint8_t>(stored.begin(), stored.end() - 1)});
    auto storedLonger = stored;
    storedLonger.push_back(0);
    cases.push_back({"stored extra byte", storedLonger});
    cases.push_back(
        {"deflate cut", std::vector<std::uint8_t>(deflated.begin(), deflated.end() - 5)});
    auto flipped = deflated;
    flipped[deflated.size() / 2] ^= 0xFF;
    cases.push_back({"deflate flipped", flipped});
    auto shortLength = deflated;
    shortLength[8] ^= 0x01;
    cases.push_back({"announced length differs", shortLength});
    auto hugeLength = deflated;
    hugeLength[11] = 0x3F;
    cases.push_back({"announced length hostile", hugeLength});
    auto tooBig = deflated;
    tooBig[11] = 0xFF;
    cases.push_back({"announced length past limit", tooBig});
    auto deflatedExtra = deflated;
    deflatedExtra[8] = static_cast<std::uint8_t>(deflatedExtra[8] - 1);  // one byte fewer announced
    cases.push_back({"stream longer than announced", deflatedExtra});
    for (const auto& c : cases) EXPECT_FALSE(DecodeBlock(c.block).has_value()) << c.what;
}

TEST(Codec, Crc32MatchesTheStandardCheckValue) {
    const char* check = "123456789";
    EXPECT_EQ(Crc32(std::span(reinterpret_cast<const std::uint8_t*>(check), 9)), 0xCBF43926u);
    const auto data = Samples(1000);
    const auto whole = Crc32(data);
    const auto parts = Crc32(std::span(data).subspan(400), Crc32(std::span(data).first(400)));
    EXPECT_EQ(whole, parts);
}

TEST(HelperRandom, SeededSequencesRepeat) {
    HelperRandom a(1), b(1), c(2);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const auto x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs |= x != c.Next();
    }
    EXPECT_TRUE(differs);
    a.Seed(1);
    b.Seed(1);
    EXPECT_EQ(a.Next(), b.Next());
}

TEST(HelperRandom, BelowIsBoundedAndCoversTheRange) {
    HelperRandom r(99);
    std::uint32_t out = 123;
    EXPECT_FALSE(r.Below(0, out));
    EXPECT_EQ(out, 0u);
    std::array<int, 6> hits{};
    for (int i = 0; i < 6000; ++i) {
        ASSERT_TRUE(r.Below(6, out));
        ASSERT_LT(out, 6u);
        ++hits[out];
    }
    for (int h : hits) EXPECT_GT(h, 800);
    ASSERT_TRUE(r.Below(1, out));
    EXPECT_EQ(out, 0u);
}

}  // namespace
}  // namespace brumil::platform
