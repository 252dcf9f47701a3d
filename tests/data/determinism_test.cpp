// The generator writes the same bytes every time (two sets generated apart
// agree), and the contact sheet shows every picture.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "data_root.h"
#include "datagen/datagen.h"
#include "platform/base/files.h"

namespace brumil::datatest {
namespace {

std::map<std::string, std::vector<std::uint8_t>> ReadTree(const std::filesystem::path& root) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root / "data")) {
        if (!e.is_regular_file()) continue;
        auto bytes = platform::ReadFile(e.path().string());
        files[std::filesystem::relative(e.path(), root).generic_string()] =
            bytes ? *bytes : std::vector<std::uint8_t>{};
    }
    return files;
}

TEST(DataSet, GeneratingAgainGivesIdenticalBytes) {
    const auto first = ReadTree(GeneratedRoot());
    const auto second = ReadTree(GeneratedAgainRoot());
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        const auto it = second.find(name);
        ASSERT_NE(it, second.end()) << name;
        EXPECT_TRUE(it->second == bytes) << name << " differs";
    }
}

TEST(DataSet, ContactSheetHasATileForEveryPicture) {
    const auto files = ReadTree(GeneratedRoot());
    int pictures = 0;
    for (const auto& [name, bytes] : files) pictures += name.ends_with(".bmp");
    const image::CmgBBI sheet = datagen::MakeContactSheet(GeneratedRoot());
    // Tiles of 168 x (168 + 18), eight to a row.
    EXPECT_EQ(sheet.GetWidth(), 8 * 168);
    EXPECT_EQ(sheet.GetHeight(), (pictures + 7) / 8 * 186);
    EXPECT_EQ(sheet.SaveBMP(std::string(BRUMIL_BUILD_DIR) + "/contact_sheet.bmp", 24), 0);
}

}  // namespace
}  // namespace brumil::datatest
