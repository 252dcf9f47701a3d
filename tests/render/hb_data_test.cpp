// The scene object table and the scene file: banner, defaults of a new
// object, insertion and removal with their clamps, the active index outside
// the table, half-even reads, foreign banners, and whole files written, read
// and written again.
#include "render/hb_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/hb_data_file.h"

namespace brumil::render {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// A table of objects with the given names, each initialised.
void Fill(CHBData& t, const std::vector<std::string>& names) {
    for (const auto& n : names) {
        t.ObjectAdd();
        t.ObjectInit(t.GetCount() - 1, n);
    }
}

std::vector<std::string> Names(CHBData& t) {
    std::vector<std::string> out;
    for (Long i = 0; i < t.GetCount(); ++i) {
        t.Active(i);
        out.push_back(t.DataName());
    }
    return out;
}

TEST(CHBData, ANewTableWritesTheBanner) {
    CHBData t;
    EXPECT_EQ(t.PVAGetStrData(), Lines({"\\t 2", "@HarbeskData", "@HarbeskData 1.0", "\\e"}));
    EXPECT_EQ(t.GetCount(), 0);
    EXPECT_EQ(t.GetActiveIndex(), 0);
    EXPECT_TRUE(t.TestUniName("anything"));
}

TEST(CHBData, ObjectInitDefaults) {
    CHBData t;
    t.ObjectAdd();
    t.ObjectInit(0, "vase");
    EXPECT_EQ(t.DataName(), "vase");
    EXPECT_EQ(t.DataPrimitive(), "");
    struct Field {
        const char* name;
        double value;
        double read;
    };
    const Field fields[] = {
        {"Visible", 1, static_cast<double>(t.Visible())},
        {"PosX", 0, t.PosX()},
        {"RotateZ", 0, t.RotateZ()},
        {"ScaleX", 1, t.ScaleX()},
        {"ScaleY", 1, t.ScaleY()},
        {"ScaleZ", 1, t.ScaleZ()},
        {"CenterY", 0, t.CenterY()},
        {"NumberPrimitiveType1", 0, static_cast<double>(t.NumberPrimitiveType1())},
        {"NumberPrimitiveType2", 1, static_cast<double>(t.NumberPrimitiveType2())},
        {"NumberPrimitiveType3", 30, static_cast<double>(t.NumberPrimitiveType3())},
        {"NumberMaterialAmbR", 0, t.NumberMaterialAmbR()},
        {"NumberMaterialDifR", 1, t.NumberMaterialDifR()},
        {"NumberMaterialDifB", 1, t.NumberMaterialDifB()},
        {"NumberTextureUse", 0, static_cast<double>(t.NumberTextureUse())},
        {"NumberRenderMode1", 112, static_cast<double>(t.NumberRenderMode1())},
        {"NumberShadowColor", 0, static_cast<double>(t.NumberShadowColor())},
        {"NumberShadowAlpha", 255, static_cast<double>(t.NumberShadowAlpha())},
        {"NumberShadow", 1, static_cast<double>(t.NumberShadow())},
    };
    for (const auto& f : fields) EXPECT_EQ(f.read, f.value) << f.name;
    // The node holds 10 texts and 40 numbers.
    const std::string text = t.PVAGetStrData();
    EXPECT_NE(text.find("\\c 1\r\n\\t 10\r\n@vase\r\n"), std::string::npos);
    EXPECT_NE(text.find("\\n 40\r\n:1\r\n"), std::string::npos);
    // Re-initialising keeps the slots it does not write.
    t.NumberTextureUse(1);
    t.DataTexture1("stone.bmp");
    t.PosX(4);
    t.ObjectInit(0, "urn");
    EXPECT_EQ(t.NumberTextureUse(), 1);
    EXPECT_EQ(t.DataTexture1(), "stone.bmp");
    EXPECT_EQ(t.PosX(), 0.0f);
}

TEST(CHBData, FieldsBeforeInitAndOutsideTheTable) {
    CHBData t;
    t.ObjectAdd();
    t.DataName("lost");  // the node has no slots yet
    EXPECT_EQ(t.DataName(), "");
    EXPECT_EQ(t.ScaleX(), 0.0f);
    Fill(t, {"b"});
    for (const Long active : {5L, -1L, 2L}) {
        t.Active(active);
        t.DataName("lost");
        t.PosX(3);
        t.NumberShadow(7);
        t.Number(0, 9);
        EXPECT_EQ(t.DataName(), "") << active;
        EXPECT_EQ(t.PosX(), 0.0f) << active;
        EXPECT_EQ(t.NumberShadow(), 0) << active;
        EXPECT_EQ(t.GetActiveIndex(), active);
        t.ObjectInit(active, "ghost");
        EXPECT_EQ(t.DataName(), "");
    }
    EXPECT_EQ(t.GetCount(), 2);
    t.Active(1);
    EXPECT_EQ(t.DataName(), "b");
    EXPECT_EQ(t.PosX(), 0.0f);
}

TEST(CHBData, LongFieldsRoundHalfToEven) {
    CHBData t;
    Fill(t, {"a"});
    const std::string text = t.PVAGetStrData();
    struct Case {
        const char* stored;
        Long read;
    };
    for (const Case c : {Case{"2.5", 2}, Case{"3.5", 4}, Case{"-2.5", -2}, Case{"0.49", 0},
                         Case{"1e12", 2147483647}}) {
        // Number 22 (NumberTextureUse) is the 24th ":" line of the object.
        std::string edited = text;
        std::size_t at = edited.find("\\n 40\r\n");
        for (int i = 0; i <= 22; ++i) at = edited.find("\r\n:", at) + 2;
        edited.replace(at + 1, edited.find("\r\n", at) - at - 1, c.stored);
        ASSERT_EQ(t.PVASetStrData(edited), "");
        t.Active(0);
        EXPECT_EQ(t.NumberTextureUse(), c.read) << c.stored;
    }
    t.NumberTextureUse(1);
    EXPECT_EQ(t.NumberTextureUse(), 1);
    t.ScaleZ(0.1f);
    EXPECT_EQ(t.ScaleZ(), 0.1f);
}

TEST(CHBData, NumberReachesPositionToCentre) {
    CHBData t;
    Fill(t, {"a"});
    t.Number(0, 1.5f);
    EXPECT_EQ(t.PosX(), 1.5f);
    t.Number(11, -2);
    EXPECT_EQ(t.CenterZ(), -2.0f);
    t.Number(5, 0.25f);
    EXPECT_EQ(t.RotateZ(), 0.25f);
    t.Number(12, 9);
    t.Number(-1, 9);
    EXPECT_EQ(t.Number(12), 0.0f);
    EXPECT_EQ(t.Number(-1), 0.0f);
    EXPECT_EQ(t.NumberPrimitiveType1(), 0);  // slot 13 untouched
    EXPECT_EQ(t.Visible(), 1);               // slot 0 untouched
}

TEST(CHBData, InsertionMakesRoomAndClamps) {
    struct Case {
        Long index;
        Long handedBack;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {1, 1, {"A", "B", "B", "C"}}, {0, 0, {"A", "A", "B", "C"}}, {-4, 0, {"A", "A", "B", "C"}},
        {3, 3, {"A", "B", "C", ""}},  {9, 3, {"A", "B", "C", ""}},
    };
    for (const auto& c : cases) {
        CHBData t;
        Fill(t, {"A", "B", "C"});
        Long index = c.index;
        t.ObjectAddInsert(index);
        EXPECT_EQ(index, c.handedBack) << c.index;
        EXPECT_EQ(Names(t), c.names) << c.index;
    }
    // The copies are deep: changing one leaves the other.
    CHBData t;
    Fill(t, {"A", "B"});
    Long index = 0;
    t.ObjectAddInsert(index);
    t.ObjectInit(0, "Z");
    EXPECT_EQ(Names(t), (std::vector<std::string>{"Z", "A", "B"}));
}

TEST(CHBData, RemovalClamps) {
    struct Case {
        Long index;
        std::vector<std::string> names;
    };
    for (const Case& c :
         {Case{0, {"B", "C"}}, Case{1, {"A", "C"}}, Case{99, {"A", "B"}}, Case{-3, {"B", "C"}}}) {
        CHBData t;
        Fill(t, {"A", "B", "C"});
        t.ObjectRemove(c.index);
        EXPECT_EQ(Names(t), c.names) << c.index;
    }
    CHBData empty;
    empty.ObjectRemove(0);
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_EQ(empty.PVAGetStrData(), CHBData().PVAGetStrData());
    CHBData t;
    Fill(t, {"A", "B", "C"});
    t.ObjectRemoveName("B");
    t.ObjectRemoveName("nobody");
    EXPECT_EQ(Names(t), (std::vector<std::string>{"A", "C"}));
}

TEST(CHBData, NamesAndDuplicates) {
    CHBData t;
    Fill(t, {"A", "B", "A"});
    t.ActiveName("A");
    EXPECT_EQ(t.GetActiveIndex(), 0);
    t.ActiveName("a");  // case-sensitive
    EXPECT_EQ(t.GetActiveIndex(), -1);
    EXPECT_FALSE(t.TestUniName("B"));
    EXPECT_TRUE(t.TestUniName("C"));
    t.Active(1);
    t.PosY(7);
    t.DataPrimitive("f7 w0 1");
    t.ObjectInitDuplicate(2, "B", "B2");
    EXPECT_EQ(t.GetActiveIndex(), 2);
    EXPECT_EQ(t.DataName(), "B2");
    EXPECT_EQ(t.PosY(), 7.0f);
    EXPECT_EQ(t.DataPrimitive(), "f7 w0 1");
    t.Active(1);
    EXPECT_EQ(t.DataName(), "B");
    // Without a source the copy is a blank node with the new name.
    t.ObjectInitDuplicate(0, "missing", "blank");
    t.Active(0);
    EXPECT_EQ(t.DataName(), "blank");
    EXPECT_EQ(t.Visible(), 0);
    EXPECT_EQ(t.ScaleX(), 0.0f);
}

TEST(CHBData, ForeignBannersAreRejected) {
    CHBData t;
    Fill(t, {"A"});
    const std::string own = t.PVAGetStrData();
    const std::string foreign =
        Lines({"\\t 2", "@OtherData", "@OtherData 1.0", "\\c 1", "\\e", "\\e"});
    t.Active(4);
    EXPECT_EQ(t.PVASetStrData(foreign), "未知の形式\r\nOtherData\r\nはサポートされていません");
    EXPECT_EQ(t.GetCount(), 0);
    EXPECT_EQ(t.GetActiveIndex(), 4);
    EXPECT_EQ(t.PVAGetStrData(), CHBData().PVAGetStrData());
    EXPECT_EQ(t.PVASetStrData(""), "未知の形式\r\n\r\nはサポートされていません");
    // Another version text is accepted as read.
    std::string v2 = own;
    v2.replace(v2.find("HarbeskData 1.0"), 15, "HarbeskData 2.0");
    EXPECT_EQ(t.PVASetStrData(v2), "");
    EXPECT_EQ(t.GetCount(), 1);
    EXPECT_EQ(t.PVAGetStrData(), v2);
}

// The scene file of three new tables.
const std::vector<std::string> kEmptyFile = {"\\t 10",
                                             "@HBDFileVersion 1.0",
                                             "@\\t 2",
                                             "$@HarbeskData",
                                             "$@HarbeskData 1.0",
                                             "$\\e",
                                             "$",
                                             "@\\t 2",
                                             "$@HarbeskData",
                                             "$@HarbeskData 1.0",
                                             "$\\e",
                                             "$",
                                             "@\\t 2",
                                             "$@HarbeskData",
                                             "$@HarbeskData 1.0",
                                             "$\\e",
                                             "$",
                                             "@lightning",
                                             "@rain",
                                             "@",
                                             "@",
                                             "@",
                                             "@",
                                             "\\n 10",
                                             ":0",
                                             ":0",
                                             ":1",
                                             ":1",
                                             ":0",
                                             ":0",
                                             ":0",
                                             ":0",
                                             ":0",
                                             ":0",
                                             "\\e"};

TEST(CHBDataFile, TheEmptyFileLayout) {
    CHBDataFile f;
    ASSERT_EQ(kEmptyFile.size(), 35u);
    EXPECT_EQ(f.strData(), Lines(kEmptyFile));
}

TEST(CHBDataFile, WriteReadWriteIsIdentical) {
    CHBDataFile f;
    Fill(f.Objects(), {"tree", "rock"});
    f.Objects().Active(1);
    f.Objects().PosZ(-3.25f);
    f.Objects().DataTexture1("rock.bmp");
    Fill(f.Land(), {"ground"});
    f.Land().DataPrimitive("f7 w0 1 2\r\n 40 40");
    const std::string first = f.strData();
    CHBDataFile g;
    g.strData(first);
    EXPECT_EQ(g.strData(), first);
    EXPECT_EQ(Names(g.Objects()), (std::vector<std::string>{"tree", "rock"}));
    g.Objects().Active(1);
    EXPECT_EQ(g.Objects().PosZ(), -3.25f);
    EXPECT_EQ(g.Objects().DataTexture1(), "rock.bmp");
    g.Land().Active(0);
    EXPECT_EQ(g.Land().DataPrimitive(), "f7 w0 1 2\r\n 40 40");
    EXPECT_EQ(g.BackScreen().GetCount(), 0);
}

TEST(CHBDataFile, AFileCutInsideAnObjectsNumbersKeepsThoseRead) {
    CHBDataFile f;
    Fill(f.Objects(), {"tree"});
    f.Objects().PosX(1.25f);
    f.Objects().PosY(-2.5f);
    f.Objects().PosZ(3);
    std::string text = f.strData();
    const std::size_t cut = text.find("$:-2.5\r\n");
    ASSERT_NE(cut, std::string::npos);
    text.resize(cut + 8);
    CHBDataFile g;
    g.strData(text);
    ASSERT_EQ(Names(g.Objects()), std::vector<std::string>{"tree"});
    g.Objects().Active(0);
    EXPECT_EQ(g.Objects().Visible(), 1);
    EXPECT_EQ(g.Objects().PosX(), 1.25f);
    EXPECT_EQ(g.Objects().PosY(), -2.5f);
    EXPECT_EQ(g.Objects().PosZ(), 0.0f);    // after the cut: the default
    EXPECT_EQ(g.Objects().ScaleX(), 0.0f);  // not the 1 of a new object
}

TEST(CHBDataFile, TablesAddedToAppearInTheNextText) {
    CHBDataFile f;
    Fill(f.Land(), {"patch"});
    const std::string text = f.strData();
    EXPECT_NE(text.find("$\\c 1\r\n$\\t 10\r\n$@patch\r\n"), std::string::npos);
    CHBDataFile g;
    g.strData(text);
    EXPECT_EQ(g.Land().GetCount(), 1);
    EXPECT_EQ(g.Objects().GetCount(), 0);
}

TEST(CHBDataFile, ShortOrEmptyTextsKeepTheTableSlots) {
    for (const std::string text : {"", "\\t 1\r\n@Other 9\r\n\\e\r\n", "garbage"}) {
        CHBDataFile f;
        f.strData(text);
        EXPECT_EQ(f.Objects().GetCount(), 0);
        Fill(f.Objects(), {"kept"});
        CHBDataFile g;
        g.strData(f.strData());
        EXPECT_EQ(Names(g.Objects()), std::vector<std::string>{"kept"}) << text;
    }
    // A table text with a foreign banner gives an empty table; settings and
    // any banner are kept as read.
    CHBDataFile f;
    Fill(f.Objects(), {"x"});
    std::string text = f.strData();
    text.replace(text.find("@HBDFileVersion 1.0"), 19, "@SomeBanner");
    text.replace(text.find("@lightning"), 10, "@snow");
    const std::size_t table = text.find("$@HarbeskData");
    text.replace(table, 13, "$@Alien");
    CHBDataFile g;
    g.strData(text);
    EXPECT_EQ(g.Objects().GetCount(), 0);
    const std::string again = g.strData();
    EXPECT_NE(again.find("@SomeBanner\r\n"), std::string::npos);
    EXPECT_NE(again.find("@snow\r\n"), std::string::npos);
}

}  // namespace
}  // namespace brumil::render
