#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/api.h"
#include "core/pak_archive.h"
#include "temp_root.h"

namespace brumil::core {
namespace {

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

// A data root with one plain file and an archive standing for "\data\sound".
class PakFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_.Write("data/bgm/theme.txt", "plain theme");
        const std::vector<PakInput> files = {
            {"Zio1x01.wav", Bytes("first entry")},
            {"zio1x02.wav", Bytes("second")},
            {"empty.sli", {}},
            {"text.sli", Bytes("loop\0tail")},
        };
        const auto pak = BuildPak(files);
        ASSERT_TRUE(pak.has_value());
        root_.Write("data/sound.pak", AsText(*pak));
    }
    testing::TempDataRoot root_;
};

TEST_F(PakFixture, PlainFilesAndArchiveEntriesOpenAlike) {
    struct Case {
        const char* path;
        bool found;
        bool inArchive;
        const char* content;
    };
    const Case cases[] = {
        {"\\data\\bgm\\theme.txt", true, false, "plain theme"},
        {"\\DATA\\BGM\\THEME.TXT", true, false, "plain theme"},
        {"\\data\\sound\\zio1x01.wav", true, true, "first entry"},
        {"\\data\\Sound\\ZIO1X02.WAV", true, true, "second"},
        {"\\data\\sound\\empty.sli", true, true, ""},
        {"\\data\\sound\\zio1x03.wav", false, false, ""},
        {"\\data\\music\\zio1x01.wav", false, false, ""},
        {"zio1x01.wav", false, false, ""},
        {"", false, false, ""},
    };
    for (const auto& c : cases) {
        CApi api;
        ASSERT_EQ(api.PakFileOpen(c.path), c.found ? 0 : 1) << c.path;
        if (!c.found) {
            EXPECT_EQ(api.PakFileNumber(), 0);
            EXPECT_EQ(api.PakFileRecnumber(), 0);
            continue;
        }
        const std::string content = c.content;
        EXPECT_EQ(api.PakFileLength(), static_cast<Long>(content.size())) << c.path;
        EXPECT_NE(api.PakFileNumber(), 0);
        EXPECT_EQ(api.PakFileRecnumber() > 1, c.inArchive) << c.path;
        EXPECT_EQ(api.PakFilePath().ends_with(c.inArchive ? "sound.pak" : "theme.txt"), true)
            << api.PakFilePath();
        std::vector<std::uint8_t> got(content.size());
        EXPECT_EQ(api.ReadBytes(api.PakFileNumber(), api.PakFileRecnumber(), got),
                  static_cast<Long>(content.size()));
        EXPECT_EQ(AsText(got), content) << c.path;
        api.PakFileClose();
        EXPECT_EQ(api.PakFileNumber(), 0);
    }
}

TEST_F(PakFixture, SecondOpenKeepsTheFirstFileOpen) {
    CApi api;
    ASSERT_EQ(api.PakFileOpen("\\data\\sound\\zio1x01.wav"), 0);
    const Long first = api.PakFileNumber();
    const Long firstPos = api.PakFileRecnumber();
    ASSERT_EQ(api.PakFileOpen("\\data\\bgm\\theme.txt"), 0);
    EXPECT_NE(api.PakFileNumber(), first);
    std::vector<std::uint8_t> got(5);
    EXPECT_EQ(api.ReadBytes(first, firstPos, got), 5);
    EXPECT_EQ(AsText(got), "first");
    api.FileClose(first);
    EXPECT_EQ(api.ReadBytes(first, firstPos, got), -1);
}

TEST_F(PakFixture, LoadTextReadsEntriesAndCutsAtNul) {
    CApi api;
    EXPECT_EQ(api.LoadText("\\data\\sound\\text.sli"), "loop");
    EXPECT_EQ(api.LoadText("\\data\\bgm\\theme.txt"), "plain theme");
    EXPECT_EQ(api.LoadText("\\data\\sound\\none.sli"), "");
}

TEST(Pak, HostileArchivesAreRefused) {
    const auto good = BuildPak(std::vector<PakInput>{{"a.txt", Bytes("hello")}});
    ASSERT_TRUE(good.has_value());
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"magic only", std::vector<std::uint8_t>(good->begin(), good->begin() + 8)});
    cases.push_back({"table cut", std::vector<std::uint8_t>(good->begin(), good->begin() + 15)});
    cases.push_back({"data cut", std::vector<std::uint8_t>(good->begin(), good->end() - 1)});
    auto badMagic = *good;
    badMagic[0] = 'X';
    cases.push_back({"bad magic", badMagic});
    auto hugeCount = *good;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = 0xFF;
    cases.push_back({"huge count", hugeCount});
    auto countTooHigh = *good;
    countTooHigh[8] = 2;
    cases.push_back({"count past table", countTooHigh});
    auto longName = *good;
    longName[12] = 0xFF;
    longName[13] = 0xFF;
    cases.push_back({"name length past file", longName});
    auto zeroName = *good;
    zeroName[12] = 0;
    cases.push_back({"empty name", zeroName});
    auto slashName = *good;
    slashName[14] = '/';
    cases.push_back({"slash in name", slashName});
    auto bigOffset = *good;
    bigOffset[12 + 2 + 5 + 3] = 0x7F;  // offset high byte
    cases.push_back({"offset past end", bigOffset});
    auto bigLength = *good;
    bigLength[12 + 2 + 5 + 4 + 3] = 0xFF;  // length high byte
    cases.push_back({"length past end", bigLength});

    for (const auto& c : cases) {
        testing::TempDataRoot root;
        root.Write("data/x.pak", AsText(c.bytes));
        EXPECT_FALSE(ReadPakIndex("\\data\\x.pak").has_value()) << c.what;
        CApi api;
        EXPECT_EQ(api.PakFileOpen("\\data\\x\\a.txt"), 1) << c.what;
        EXPECT_EQ(api.LoadText("\\data\\x\\a.txt"), "") << c.what;
    }
    testing::TempDataRoot root;
    root.Write("data/x.pak", AsText(*good));
    EXPECT_EQ(CApi().LoadText("\\data\\x\\A.TXT"), "hello");
}

TEST(Pak, BuildRefusesBadNames) {
    EXPECT_FALSE(BuildPak(std::vector<PakInput>{{"", {}}}).has_value());
    EXPECT_FALSE(BuildPak(std::vector<PakInput>{{"a/b", {}}}).has_value());
    EXPECT_FALSE(BuildPak(std::vector<PakInput>{{"a", {}}, {"A", {}}}).has_value());
    EXPECT_FALSE(BuildPak(std::vector<PakInput>{{std::string(256, 'n'), {}}}).has_value());
    const auto empty = BuildPak(std::vector<PakInput>{});
    ASSERT_TRUE(empty.has_value());
    const auto entries = ParsePakIndex(*empty, empty->size());
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());
}

}  // namespace
}  // namespace brumil::core
