#include "sound/wave_file.h"

#include <gtest/gtest.h>

#include "sound/riff_scan.h"
#include "wave_builder.h"

namespace brumil::sound {
namespace {

using test::Ramp;
using test::RiffBuilder;

TEST(RiffChunkWalker, SkipsChunksBySizeAndPadByte) {
    const auto bytes = RiffBuilder().Chunk("LIST", 25).Chunk("junk", 4).Chunk("cue ", 3).Bytes();
    RiffChunkWalker w(bytes);
    ASSERT_TRUE(w.HasRiffHeader());
    EXPECT_EQ(w.RiffSize(), bytes.size() - 8);
    struct Want {
        const char* tag;
        std::uint32_t size;
        std::uint64_t header;
    };
    const Want want[] = {{"LIST", 25, 12}, {"junk", 4, 12 + 8 + 26}, {"cue ", 3, 12 + 34 + 12}};
    for (const auto& c : want) {
        auto chunk = w.Next();
        ASSERT_TRUE(chunk) << c.tag;
        EXPECT_TRUE(chunk->Is(c.tag));
        EXPECT_EQ(chunk->size, c.size);
        EXPECT_EQ(chunk->headerOffset, c.header);
        EXPECT_EQ(chunk->bodyAvailable, c.size);
    }
    EXPECT_FALSE(w.Next());
    EXPECT_EQ(w.Position(), bytes.size());
}

TEST(RiffChunkWalker, ChunkRunningPastTheEndEndsTheWalk) {
    auto bytes = RiffBuilder().Chunk("LIST", 8).Bytes();
    bytes[16] = 0xFF;  // LIST now claims 255 bytes
    RiffChunkWalker w(bytes);
    auto chunk = w.Next();
    ASSERT_TRUE(chunk);
    EXPECT_EQ(chunk->size, 255u);
    EXPECT_EQ(chunk->bodyAvailable, 8u);
    std::array<Byte, 9> body{};
    EXPECT_FALSE(w.ReadBody(*chunk, 0, body));
    EXPECT_TRUE(w.ReadBody(*chunk, 0, std::span(body).first(8)));
    EXPECT_FALSE(w.Next());
}

TEST(RiffChunkWalker, ReadsThroughACallbackFromAnOffset) {
    // Chunks without a RIFF header, starting 6 bytes into the source.
    std::vector<Byte> src(6, 0xEE);
    const auto chunks = RiffBuilder().Chunk("abcd", 2).Chunk("efgh", 0).Bytes();
    src.insert(src.end(), chunks.begin() + 12, chunks.end());
    int reads = 0;
    RiffChunkWalker w(
        [&](std::uint64_t off, std::span<Byte> out) {
            ++reads;
            if (off + out.size() > src.size()) return false;
            std::copy_n(src.begin() + static_cast<long>(off), out.size(), out.begin());
            return true;
        },
        src.size(), 6);
    EXPECT_FALSE(w.HasRiffHeader());
    auto a = w.Next();
    auto b = w.Next();
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->Is("abcd"));
    EXPECT_EQ(b->headerOffset, 6u + 10u);
    EXPECT_FALSE(w.Next());
    EXPECT_GT(reads, 0);
}

struct ParseCase {
    const char* name;
    std::vector<Byte> file;
    WaveParseStatus status;
    Integer bits, channels;
    Long hz, dataSize, blocks;
    std::uint64_t dataOffset;
};

TEST(ParseWaveFile, FormatsSizesAndChunkLayouts) {
    const auto s1002 = Ramp(1002);
    const ParseCase cases[] = {
        {"canonical 16-bit stereo cut to whole frames",
         RiffBuilder().Fmt(1, 2, 44100, 16).Data(s1002).Bytes(), WaveParseStatus::Pcm, 16, 2, 44100,
         1000, 250, 44},
        {"8-bit mono", RiffBuilder().Fmt(1, 1, 22050, 8).Data(Ramp(100)).Bytes(),
         WaveParseStatus::Pcm, 8, 1, 22050, 100, 100, 44},
        {"24-bit mono", RiffBuilder().Fmt(1, 1, 48000, 24).Data(Ramp(31)).Bytes(),
         WaveParseStatus::Pcm, 24, 1, 48000, 30, 10, 44},
        {"fmt 18 then fact then data",
         RiffBuilder().Fmt(1, 1, 8000, 16, 18).Chunk("fact", 4).Data(Ramp(20)).Bytes(),
         WaveParseStatus::Pcm, 16, 1, 8000, 20, 10, 58},
        {"fmt 14 takes bits from the block align",
         RiffBuilder().Fmt(1, 2, 11025, 16, 14).Data(Ramp(8)).Bytes(), WaveParseStatus::Pcm, 16, 2,
         11025, 8, 2, 42},
        {"odd LIST chunk before data is skipped with its pad",
         RiffBuilder().Fmt(1, 2, 44100, 16).Chunk("LIST", 25).Data(Ramp(16)).Bytes(),
         WaveParseStatus::Pcm, 16, 2, 44100, 16, 4, 44 + 34},
        {"LIST before fmt",
         RiffBuilder().Chunk("LIST", 26).Fmt(1, 1, 4000, 8).Data(Ramp(3)).Bytes(),
         WaveParseStatus::Pcm, 8, 1, 4000, 3, 3, 44 + 34},
        {"data size 0 takes the rest", RiffBuilder().Fmt(1, 1, 8000, 8).Data(Ramp(9), 0).Bytes(),
         WaveParseStatus::Pcm, 8, 1, 8000, 9, 9, 44},
        {"data size -1 takes the rest",
         RiffBuilder().Fmt(1, 1, 8000, 8).Data(Ramp(9), 0xFFFFFFFF).Bytes(), WaveParseStatus::Pcm,
         8, 1, 8000, 9, 9, 44},
        {"data size beyond the file takes what is there",
         RiffBuilder().Fmt(1, 2, 8000, 16).Data(Ramp(10), 5000).Bytes(), WaveParseStatus::Pcm, 16,
         2, 8000, 8, 2, 44},
        {"96000 Hz is the top", RiffBuilder().Fmt(1, 1, 96000, 8).Data(Ramp(4)).Bytes(),
         WaveParseStatus::Pcm, 8, 1, 96000, 4, 4, 44},
        {"Ogg stream", {'O', 'g', 'g', 'S', 0, 2, 0, 0}, WaveParseStatus::Ogg, 0, 0, 0, 0, 0, 0},
        {"float", RiffBuilder().Fmt(3, 1, 8000, 16).Data(Ramp(4)).Bytes(), WaveParseStatus::Failed,
         0, 0, 0, 0, 0, 0},
        {"extensible", RiffBuilder().Fmt(0xFFFE, 1, 8000, 16).Data(Ramp(4)).Bytes(),
         WaveParseStatus::Failed, 0, 0, 0, 0, 0, 0},
        {"3 channels", RiffBuilder().Fmt(1, 3, 8000, 16).Data(Ramp(12)).Bytes(),
         WaveParseStatus::Failed, 16, 3, 8000, 0, 0, 0},
        {"0 channels", RiffBuilder().Fmt(1, 0, 8000, 16).Data(Ramp(12)).Bytes(),
         WaveParseStatus::Failed, 0, 0, 0, 0, 0, 0},
        {"12 bits", RiffBuilder().Fmt(1, 1, 8000, 12).Data(Ramp(12)).Bytes(),
         WaveParseStatus::Failed, 12, 1, 8000, 0, 0, 0},
        {"3999 Hz", RiffBuilder().Fmt(1, 1, 3999, 8).Data(Ramp(4)).Bytes(), WaveParseStatus::Failed,
         8, 1, 3999, 0, 0, 0},
        {"96001 Hz", RiffBuilder().Fmt(1, 1, 96001, 8).Data(Ramp(4)).Bytes(),
         WaveParseStatus::Failed, 8, 1, 96001, 0, 0, 0},
        {"no data chunk", RiffBuilder().Fmt(1, 1, 8000, 8).Chunk("LIST", 40).Bytes(),
         WaveParseStatus::Failed, 8, 1, 8000, 0, 0, 0},
        {"empty data", RiffBuilder().Fmt(1, 1, 8000, 8).Data({}).Bytes(), WaveParseStatus::Failed,
         8, 1, 8000, 0, 0, 0},
        {"no fmt chunk", RiffBuilder().Data(Ramp(8)).Bytes(), WaveParseStatus::Failed, 0, 0, 0, 0,
         0, 0},
        {"empty file", {}, WaveParseStatus::Failed, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WaveParse p = ParseWaveFile(c.file);
        EXPECT_EQ(p.status, c.status);
        EXPECT_EQ(p.header.bits, c.bits);
        EXPECT_EQ(p.header.channels, c.channels);
        EXPECT_EQ(p.header.hz, c.hz);
        EXPECT_EQ(p.header.dataSize, c.dataSize);
        EXPECT_EQ(p.header.blocks, c.blocks);
        if (c.status == WaveParseStatus::Pcm) {
            EXPECT_EQ(p.dataOffset, c.dataOffset);
            EXPECT_EQ(p.dataLength, static_cast<std::uint64_t>(c.dataSize));
            EXPECT_EQ(p.header.blockAlign * p.header.blocks, p.header.dataSize);
        }
    }
}

TEST(ParseWaveFile, TruncatedOrHostileHeadersFail) {
    const auto good = RiffBuilder().Fmt(1, 2, 44100, 16).Data(Ramp(64)).Bytes();
    // Cut inside the RIFF header, the fmt record, and right after the data tag.
    for (std::size_t cut : {0u, 3u, 11u, 20u, 33u, 36u, 40u, 44u}) {
        std::vector<Byte> b(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_EQ(ParseWaveFile(b).status, WaveParseStatus::Failed) << "cut at " << cut;
    }
    // A fmt chunk claiming 4 GB: its record is read, the walk then runs off the
    // end and no data is found.
    auto huge = good;
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF;
    EXPECT_EQ(ParseWaveFile(huge).status, WaveParseStatus::Failed);
    // fmt smaller than its 14-byte record.
    const auto tiny = RiffBuilder().Tag("fmt ").U32(6).U16(1).U16(1).U16(0).Data(Ramp(8)).Bytes();
    EXPECT_EQ(ParseWaveFile(tiny).status, WaveParseStatus::Failed);
}

TEST(ParseWaveFile, GivesUpAfterTheStepLimit) {
    RiffBuilder b;
    b.Fmt(1, 1, 8000, 8);
    for (int i = 0; i < kWaveScanSteps; ++i) b.Chunk("pad ", 0);
    b.Data(Ramp(16));
    // The walk stops among the padding chunks and takes the bytes after them
    // as samples: the remaining empty chunks, the data tag and the samples.
    const auto p = ParseWaveFile(b.Bytes());
    ASSERT_EQ(p.status, WaveParseStatus::Pcm);
    EXPECT_EQ(p.header.dataSize, 2 * 8 + 8 + 16);
}

TEST(WaveFileHeader, FieldsAtTheirOffsets) {
    const auto h = MakeWaveFileHeader(250, 16, 2, 44100);
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(h[at] | (h[at + 1] << 8) | (h[at + 2] << 16) |
                                          (h[at + 3] << 24));
    };
    auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(h[at] | (h[at + 1] << 8)); };
    auto tag = [&](std::size_t at) { return std::string(h.begin() + at, h.begin() + at + 4); };
    EXPECT_EQ(tag(0), "RIFF");
    EXPECT_EQ(u32(4), 1050u);
    EXPECT_EQ(tag(8), "WAVE");
    EXPECT_EQ(tag(12), "fmt ");
    EXPECT_EQ(u32(16), 18u);
    EXPECT_EQ(u16(20), 1u);
    EXPECT_EQ(u16(22), 2u);
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 176400u);
    EXPECT_EQ(u16(32), 4u);
    EXPECT_EQ(u16(34), 16u);
    EXPECT_EQ(u16(36), 0u);
    EXPECT_EQ(tag(38), "fact");
    EXPECT_EQ(u32(42), 4u);
    EXPECT_EQ(u32(46), 250u);
    EXPECT_EQ(tag(50), "data");
    EXPECT_EQ(u32(54), 1000u);
}

TEST(WaveFileHeader, WrittenFilesParseBack) {
    struct Fmt {
        Long bits, channels, hz, blocks;
    };
    for (const Fmt f :
         {Fmt{8, 1, 22050, 7}, Fmt{16, 2, 44100, 5}, Fmt{24, 2, 96000, 3}, Fmt{16, 1, 4000, 1}}) {
        const auto h = MakeWaveFileHeader(f.blocks, f.bits, f.channels, f.hz);
        std::vector<Byte> file(h.begin(), h.end());
        const auto samples = Ramp(static_cast<std::size_t>(f.blocks * f.bits / 8 * f.channels));
        file.insert(file.end(), samples.begin(), samples.end());
        const auto p = ParseWaveFile(file);
        ASSERT_EQ(p.status, WaveParseStatus::Pcm) << f.bits << "/" << f.channels;
        EXPECT_EQ(p.header.bits, f.bits);
        EXPECT_EQ(p.header.channels, f.channels);
        EXPECT_EQ(p.header.hz, f.hz);
        EXPECT_EQ(p.header.blocks, f.blocks);
        EXPECT_EQ(p.header.fmtSize, 18);
        EXPECT_EQ(p.header.factSize, 4);
        EXPECT_EQ(p.dataOffset, kWaveFileHeaderSize);
    }
}

}  // namespace
}  // namespace brumil::sound
