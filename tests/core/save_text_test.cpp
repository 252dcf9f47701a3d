#include "core/save_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/api.h"
#include "core/text_file.h"
#include "temp_root.h"

namespace brumil::core {
namespace {

std::string ReadHost(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SaveText, RoundTripsAnyText) {
    const std::string texts[] = {
        "",
        "[Brumil8x コンフィグデータ]\r\nKey=Value\r\n",
        std::string("nul\0inside", 10),
        std::string("\xFF\xFE bytes that are not UTF-8 \x80", 30),
        std::string(100000, 'x'),
    };
    testing::TempDataRoot root;
    std::filesystem::create_directories(root.Path() / "save");
    for (const auto& text : texts) {
        CApi api;
        ASSERT_EQ(api.SaveTextEncode("\\save\\system.sav", text), 0);
        const std::string raw = ReadHost(root.Path() / "save" / "system.sav");
        EXPECT_TRUE(raw.starts_with("BRSAVTX1"));
        if (text.size() > 20) {
            EXPECT_EQ(raw.find(text.substr(0, 20)), std::string::npos);
        }
        EXPECT_EQ(api.LoadText("\\save\\system.sav"), text);
    }
}

TEST(SaveText, DamageIsDetected) {
    const auto good = EncodeSaveText("score=12345\r\nname=プレイヤー\r\n");
    struct Case {
        const char* what;
        std::size_t at;  // byte to change, or SIZE_MAX to cut the last byte
        std::uint8_t xorWith;
    };
    const Case cases[] = {
        {"text byte", 20, 0x01}, {"last byte", good.size() - 1, 0x80}, {"length", 8, 0x01},
        {"checksum", 13, 0x10},  {"truncated", SIZE_MAX, 0},
    };
    for (const auto& c : cases) {
        auto bad = good;
        if (c.at == SIZE_MAX)
            bad.pop_back();
        else
            bad[c.at] ^= c.xorWith;
        EXPECT_FALSE(DecodeSaveText(bad).has_value()) << c.what;
        testing::TempDataRoot root;
        root.Write("save/system.sav", std::string(bad.begin(), bad.end()));
        TextFileState state = TextFileState::kRead;
        EXPECT_EQ(LoadTextFile("\\save\\system.sav", state), "") << c.what;
        // Told apart from a missing file, so the shell can keep it aside.
        EXPECT_EQ(state, TextFileState::kUnreadable) << c.what;
    }
    EXPECT_FALSE(DecodeSaveText(std::vector<std::uint8_t>{'B', 'R', 'S'}).has_value());
}

TEST(SaveText, PlainFilesStillLoad) {
    testing::TempDataRoot root;
    root.Write("save/config.fig", "\xEF\xBB\xBFplain=1\r\n");
    root.Write("save/nul.txt", std::string("before\0after", 12));
    CApi api;
    EXPECT_EQ(api.LoadText("\\save\\config.fig"), "plain=1\r\n");
    EXPECT_EQ(api.LoadText("\\save\\nul.txt"), "before");
    EXPECT_EQ(api.LoadText("\\save\\missing.txt"), "");
    TextFileState state = TextFileState::kUnreadable;
    root.Write("save/empty.txt", "");
    EXPECT_EQ(LoadTextFile("\\save\\empty.txt", state), "");
    EXPECT_EQ(state, TextFileState::kRead);
    EXPECT_EQ(LoadTextFile("\\save\\missing.txt", state), "");
    EXPECT_EQ(state, TextFileState::kMissing);
    EXPECT_EQ(api.SaveText("\\save\\out.txt", "日本語"), 0);
    EXPECT_EQ(ReadHost(root.Path() / "save" / "out.txt"), "日本語");
    EXPECT_EQ(api.SaveText("\\nofolder\\out.txt", "x"), 1);
}

}  // namespace
}  // namespace brumil::core
