// The scene text tree: indexed access, the writer's lines, the reader's
// tolerance of malformed text, round trips, and the caps on counts and
// nesting that keep hostile texts cheap.
#include "render/pva_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace brumil::render {
namespace {

// Lines joined with CR LF, each line ended by one.
std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

const std::vector<std::string> kExample = {"\\t 2", "@A",    "@x",    "$y", "\\n 2", ":1.5",
                                           ":-2",   "\\c 1", "\\t 1", "@c", "\\e",   "\\e"};

void FillExample(PVAData& node) {
    node.DataCount(2);
    node.Data(0, "A");
    node.Data(1, "x\r\ny");
    node.NumberCount(2);
    node.Number(0, 1.5);
    node.Number(1, -2);
    node.ChildCount(1);
    node.Child(0)->DataCount(1);
    node.Child(0)->Data(0, "c");
}

TEST(PVAData, TheWorkedExampleWritesTwelveLines) {
    PVAData node;
    FillExample(node);
    EXPECT_EQ(node.strData(), Lines(kExample));
    PVAData back;
    back.strData(Lines(kExample));
    EXPECT_EQ(back.DataCount(), 2);
    EXPECT_EQ(back.Data(1), "x\r\ny");
    EXPECT_EQ(back.Number(0), 1.5);
    EXPECT_EQ(back.Number(1), -2.0);
    ASSERT_EQ(back.ChildCount(), 1);
    EXPECT_EQ(back.Child(0)->Data(0), "c");
    EXPECT_EQ(back.strData(), Lines(kExample));
}

TEST(PVAData, EmptyNodes) {
    PVAData node;
    EXPECT_EQ(node.strData(), "\\e\r\n");
    for (const std::string text : {"", "\\e\r\n", "no markers\r\nat all", "\\e"}) {
        PVAData back;
        back.DataCount(3);
        back.ChildCount(2);
        back.strData(text);
        EXPECT_EQ(back.DataCount(), 0) << text;
        EXPECT_EQ(back.NumberCount(), 0) << text;
        EXPECT_EQ(back.ChildCount(), 0) << text;
    }
    // An empty child slot writes as an empty node.
    node.ChildCount(2);
    EXPECT_EQ(node.strData(), Lines({"\\c 2", "\\e", "\\e", "\\e"}));
}

// Texts the line form must carry through unchanged.
const std::string kAwkwardTexts[] = {
    "",     "@at",      "$dollar",  "\\e",       "\\t 5",        "a\r\nb",   "end\r\n",
    "\r\n", "lone\rcr", "lone\nlf", "\r\n\r\n$", "日本語の名前", " spaced ", ":1"};

TEST(PVAData, AwkwardTextsRoundTrip) {
    PVAData node;
    const auto count = static_cast<Long>(std::size(kAwkwardTexts));
    node.DataCount(count);
    for (Long i = 0; i < count; ++i) node.Data(i, kAwkwardTexts[i]);
    node.ChildCount(1);
    node.Child(0)->DataCount(count);
    for (Long i = 0; i < count; ++i) node.Child(0)->Data(i, kAwkwardTexts[count - 1 - i]);
    PVAData back;
    back.strData(node.strData());
    ASSERT_EQ(back.DataCount(), count);
    ASSERT_EQ(back.ChildCount(), 1);
    for (Long i = 0; i < count; ++i) {
        EXPECT_EQ(back.Data(i), kAwkwardTexts[i]) << i;
        EXPECT_EQ(back.Child(0)->Data(i), kAwkwardTexts[count - 1 - i]) << i;
    }
    EXPECT_EQ(back.strData(), node.strData());
}

TEST(PVAData, NumbersKeepFifteenSignificantDigits) {
    const double values[] = {0,          1,
                             -2.25,      30,
                             0.1,        -0.001,
                             1e20,       -1e-300,
                             1.5e308,    123456789012345.0,
                             2147483647, 1.0 / 3.0,
                             2.0 / 3.0,  std::numbers::pi};
    PVAData node;
    const auto count = static_cast<Long>(std::size(values));
    node.NumberCount(count);
    for (Long i = 0; i < count; ++i) node.Number(i, values[i]);
    PVAData back;
    back.strData(node.strData());
    ASSERT_EQ(back.NumberCount(), count);
    for (Long i = 0; i < count; ++i) {
        const double v = values[i];
        const double tolerance = std::abs(v) * 5e-15;
        EXPECT_NEAR(back.Number(i), v, tolerance) << i;
    }
    // Short values are written plainly, as the form's own examples.
    PVAData plain;
    plain.NumberCount(3);
    plain.Number(0, 1);
    plain.Number(1, -2.25);
    plain.Number(2, 30);
    EXPECT_EQ(plain.strData(), Lines({"\\n 3", ":1", ":-2.25", ":30", "\\e"}));
}

struct NumberCase {
    const char* line;
    double value;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"' << c.line << '"';
}

// The text after ":" and the number it reads as.
const NumberCase kNumberCases[] = {
    {"12", 12},
    {"  12", 12},
    {"+3", 3},
    {"-4.5", -4.5},
    {"1e3", 1000},
    {"2E-2", 0.02},
    {"1.5e", 1.5},
    {"1.5e+", 1.5},
    {"7.", 7},
    {".5", 0.5},
    {"-.25", -0.25},
    {"abc", 0},
    {"", 0},
    {"-", 0},
    {".", 0},
    {"&H10", 0},
    {"1 000", 1},
    {"1D2", 1},
    {"3,5", 3},
    {"1e400", std::numeric_limits<double>::max()},
    {"12abc", 12},
    {"- 5", 0},
    {"0x1F", 0},
    {"1.2.3", 1.2},
    {"-0", 0},
    {"-1e400", -std::numeric_limits<double>::max()},
    {"1e-400", 0},
    {"000.0001e-400", 0},
    {"0.00001e309", 1e304},
    {"1.79769313486232e+308", std::numeric_limits<double>::max()},
    {"99999e99999999999", std::numeric_limits<double>::max()},
};

class PVANumberLine : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PVANumberLine, ReadsItsOwnRule) {
    PVAData node;
    node.strData(Lines({"\\n 1", std::string(":") + GetParam().line, "\\e"}));
    ASSERT_EQ(node.NumberCount(), 1);
    EXPECT_EQ(node.Number(0), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, PVANumberLine, ::testing::ValuesIn(kNumberCases));

struct ShapeCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> texts;
    std::vector<double> numbers;
    Long children;
};

// Names the case in test listings by its fields rather than its bytes.
void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.name;
}

// Malformed and unusual texts, and what the root reads from them.
const ShapeCase kShapeCases[] = {
    {"marker letter is case-sensitive", {"\\T 2", "@a", "\\e"}, {}, {}, 0},
    {"\\text is a text group of count 0", {"\\text", "@a", "\\e"}, {}, {}, 0},
    {"\\x 5 is skipped", {"\\x 5", "\\t 1", "@a", "\\e"}, {"a"}, {}, 0},
    {"count line with the marker only", {"\\t", "@a", "\\e"}, {}, {}, 0},
    {"non-marker lines are skipped", {"junk", "@stray", "\\t 1", "@a", "\\e"}, {"a"}, {}, 0},
    {"count 3 then a number group", {"\\t 3", "\\n 1", ":5", "\\e"}, {"", "", ""}, {5}, 0},
    {"a text missing its @ keeps its default",
     {"\\t 2", "@a", "\\n 1", ":1", "\\e"},
     {"a", ""},
     {1},
     0},
    {":abc reads 0", {"\\n 2", ":abc", ":2", "\\e"}, {}, {0, 2}, 0},
    {"a group read twice resizes and overwrites from 0",
     {"\\t 2", "@a", "@b", "\\t 3", "@c", "\\e"},
     {"c", "b", ""},
     {},
     0},
    {"counts round half to even", {"\\n 2.5", ":1", ":2", "\\e"}, {}, {1, 2}, 0},
    {"negative count releases", {"\\t 1", "@a", "\\t -3", "\\e"}, {}, {}, 0},
    {"children without their end lines", {"\\c 2", "\\t 1", "@in", "\\e"}, {}, {}, 2},
    {"text ending the lines", {"\\t 1", "@a"}, {"a"}, {}, 0},
    {"a text group longer than the lines left", {"\\t 3", "@a"}, {"a", "", ""}, {}, 0},
    {"more texts than lines, then the end", {"\\t 5", "@a", "\\e"}, {"a", "", "", "", ""}, {}, 0},
    {"a whole number group short of its count",
     {"\\n 5", ":1", ":2", "\\e"},
     {},
     {1, 2, 0, 0, 0},
     0},
    {"more children than lines", {"\\t 1", "@keep", "\\c 3", "\\e"}, {"keep"}, {}, 3},
    {"$ lines after the last text", {"\\t 1", "@a", "$b", "$", "\\e"}, {"a\r\nb\r\n"}, {}, 0},
};

class PVAShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(PVAShape, ReadsWhatIsThere) {
    const ShapeCase& c = GetParam();
    PVAData node;
    node.strData(Lines(c.lines));
    ASSERT_EQ(node.DataCount(), static_cast<Long>(c.texts.size())) << c.name;
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
        EXPECT_EQ(node.Data(static_cast<Long>(i)), c.texts[i]) << c.name << " " << i;
    }
    ASSERT_EQ(node.NumberCount(), static_cast<Long>(c.numbers.size())) << c.name;
    for (std::size_t i = 0; i < c.numbers.size(); ++i) {
        EXPECT_EQ(node.Number(static_cast<Long>(i)), c.numbers[i]) << c.name << " " << i;
    }
    EXPECT_EQ(node.ChildCount(), c.children) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PVAShape, ::testing::ValuesIn(kShapeCases));

TEST(PVAData, ATruncatedTextKeepsThePartRead) {
    // The example cut after its first number: the second number keeps 0 and
    // the child group never comes.
    std::vector<std::string> cut(kExample.begin(), kExample.begin() + 6);
    PVAData node;
    node.strData(Lines(cut));
    EXPECT_EQ(node.DataCount(), 2);
    EXPECT_EQ(node.Data(1), "x\r\ny");
    ASSERT_EQ(node.NumberCount(), 2);
    EXPECT_EQ(node.Number(0), 1.5);
    EXPECT_EQ(node.Number(1), 0.0);
    EXPECT_EQ(node.ChildCount(), 0);
    // Cut inside the child: the child keeps its text, both nodes end there.
    cut.assign(kExample.begin(), kExample.begin() + 10);
    node.strData(Lines(cut));
    ASSERT_EQ(node.ChildCount(), 1);
    EXPECT_EQ(node.Child(0)->Data(0), "c");
}

TEST(PVAData, OutOfRangeAccess) {
    PVAData node;
    node.DataCount(3);
    node.NumberCount(2);
    for (const Long i : {-1, 3, 5}) {
        node.Data(i, "lost");
        EXPECT_EQ(node.Data(i), "");
    }
    for (const Long i : {-1, 2, 100}) {
        node.Number(i, 9);
        EXPECT_EQ(node.Number(i), 0.0);
    }
    EXPECT_EQ(node.Child(0), nullptr);
    EXPECT_EQ(node.Child(-1), nullptr);
    EXPECT_EQ(node.ChildCount(), 0);
    EXPECT_EQ(node.strData(), Lines({"\\t 3", "@", "@", "@", "\\n 2", ":0", ":0", "\\e"}));
}

TEST(PVAData, CountsResizeKeepingWhatFits) {
    PVAData node;
    node.DataCount(3);
    node.Data(0, "a");
    node.Data(2, "c");
    node.DataCount(2);
    node.DataCount(4);
    EXPECT_EQ(node.Data(0), "a");
    EXPECT_EQ(node.Data(2), "");  // cut off, then added back empty
    node.ChildCount(3);
    PVAData* kept = node.Child(0);
    kept->DataCount(1);
    node.ChildCount(1);
    EXPECT_EQ(node.Child(0), kept);
    node.ChildCount(0);
    EXPECT_EQ(node.Child(0), nullptr);
    node.NumberCount(-1);
    EXPECT_EQ(node.NumberCount(), 0);
}

TEST(PVAData, ImportReplacesOnlyTheTexts) {
    PVAData node;
    node.NumberCount(2);
    node.Number(1, 4);
    const std::vector<std::string> items = {"p", "q", "r"};
    node.strInport(items);
    EXPECT_EQ(node.DataCount(), 3);
    EXPECT_EQ(node.Data(2), "r");
    EXPECT_EQ(node.Number(1), 4.0);
    node.strInport({});
    EXPECT_EQ(node.DataCount(), 0);
    EXPECT_EQ(node.NumberCount(), 2);
}

TEST(PVAData, ReadingFromAGivenPosition) {
    const std::vector<std::string_view> lines = {"\\t 1", "@skip", "\\e", "\\n 1",
                                                 ":7",    "\\e",   "tail"};
    PVAData node;
    Long position = 3;
    node.strDataProg(lines, position);
    EXPECT_EQ(position, 6);
    EXPECT_EQ(node.DataCount(), 0);
    EXPECT_EQ(node.Number(0), 7.0);
    position = -1;
    node.strDataProg(lines, position);
    EXPECT_EQ(node.NumberCount(), 0);
    EXPECT_EQ(position, -1);
}

TEST(PVAData, HostileCountsStopTheRead) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> texts;  // what was read before the refusal
        Long numbers = 0;
    };
    const Case cases[] = {
        {{"\\t 99999999", "@a", "\\e"}, {}},
        {{"\\t 1", "@keep", "\\n 2000000", ":1", "\\e"}, {"keep"}},
        {{"\\t 1", "@keep", "\\c 1e9", "\\e"}, {"keep"}},
        // Each count is allowed, together they pass what one read makes room
        // for: the second is refused.
        {{"\\t 1", "@keep", "\\n 600000", "\\n 600000", "\\e"}, {"keep"}, 600000},
    };
    for (const auto& c : cases) {
        PVAData node;
        node.strData(Lines(c.lines));
        ASSERT_EQ(node.DataCount(), static_cast<Long>(c.texts.size())) << c.lines[2];
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(node.Data(static_cast<Long>(i)), c.texts[i]);
        }
        EXPECT_EQ(node.NumberCount(), c.numbers) << c.lines[2];
        EXPECT_EQ(node.ChildCount(), 0);
    }
    // Reading stops at the refusal: a later group is not read either.
    PVAData node;
    Long position = 0;
    const std::vector<std::string_view> lines = {"\\n 1000001", ":1", "\\t 1", "@x", "\\e"};
    node.strDataProg(lines, position);
    EXPECT_EQ(node.DataCount(), 0);
    EXPECT_EQ(position, 5);
}

// A chain of `depth` nested single children.
std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "\\c 1\r\n";
    for (int i = 0; i <= depth; ++i) text += "\\e\r\n";
    return text;
}

int DepthOf(PVAData& root) {
    int depth = 1;
    for (PVAData* node = &root; node->ChildCount() > 0; node = node->Child(0)) ++depth;
    return depth;
}

TEST(PVAData, NestingIsCappedAtOneThousandLevels) {
    struct Case {
        int nested;
        int depth;
    };
    for (const Case c : {Case{10, 11}, Case{999, 1000}, Case{1000, 1000}, Case{50000, 1000}}) {
        PVAData root;
        root.strData(Nested(c.nested));
        EXPECT_EQ(DepthOf(root), c.depth) << c.nested;
    }
    PVAData root;
    root.strData(Nested(999));
    EXPECT_EQ(root.strData(), Nested(999));
}

}  // namespace
}  // namespace brumil::render
