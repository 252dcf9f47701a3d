#include "app/overlay_font_file.h"

#include <gtest/gtest.h>

#include <string>

#include "app/dialog_text.h"
#include "platform/base/files.h"
#include "platform/font/font_face.h"
#include "temp_root.h"

namespace brumil::app {
namespace {

struct TableCase {
    const char* name;
    const char* table;  // data/font/fonts.txt, nullptr: no table file
    std::string face;
    std::string wantFile;  // program path below the data root; empty: a family
    int wantIndex;
    const char* wantFamily;  // asked of the system when wantFile is empty
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.name;
}

class OverlayFontFileTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(OverlayFontFileTest, TheFontTableDecidesTheFace) {
    const TableCase& c = GetParam();
    testing::TempDataRoot root;
    if (c.table != nullptr) root.Write("data/font/fonts.txt", c.table);
    int index = -1;
    const std::string file = OverlayFontFile(c.face, index);
    if (!c.wantFile.empty()) {
        EXPECT_EQ(file, platform::MapPath(c.wantFile).string()) << c.name;
        EXPECT_EQ(index, c.wantIndex) << c.name;
        return;
    }
    const auto family = platform::FindFontFamily(c.wantFamily);
    ASSERT_TRUE(family) << "no system font at all";
    EXPECT_EQ(file, family->file.string()) << c.name;
    EXPECT_EQ(index, family->index) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, OverlayFontFileTest,
    ::testing::Values(
        TableCase{"dialog face from the table's file", "ＭＳ Ｐゴシック = file:dialog.ttc#2\n",
                  std::string(kDialogFontName), "\\data\\font\\dialog.ttc", 2, nullptr},
        TableCase{"menu face from the table's file", "ＭＳ ゴシック = file:menu.ttf\n",
                  "ＭＳ ゴシック", "\\data\\font\\menu.ttf", 0, nullptr},
        TableCase{"no table: built-in family", nullptr, std::string(kDialogFontName), "", 0,
                  "IPAPGothic"},
        TableCase{"the table names another family", "ＭＳ Ｐゴシック = family:IPAMincho\n",
                  std::string(kDialogFontName), "", 0, "IPAMincho"}));

}  // namespace
}  // namespace brumil::app
