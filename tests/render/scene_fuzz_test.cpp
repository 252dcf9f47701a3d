// Runs the scene fuzz entry over seeded random texts and mutations of valid
// ones, a bounded number of times, under the sanitizers of the test build.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "render/hb_data_file.h"
#include "scene_fuzz_entry.h"

namespace brumil::render {
namespace {

// Characters that mean something to one of the readers, plus a few others.
constexpr std::string_view kAlphabet = "\\\\\\tnce@$::0123456789 .-+eE_FfA\r\n\r\nxz\x7f";

std::string Random(std::mt19937& rng, std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += kAlphabet[pick(rng)];
    return s;
}

std::vector<std::string> Seeds() {
    CHBDataFile file;
    for (CHBData* t : {&file.Objects(), &file.Land()}) {
        t->ObjectAdd();
        t->ObjectInit(0, "seed");
        t->DataPrimitive("808080 404040");
        t->PosX(1.25f);
    }
    return {
        file.strData(),
        "\\t 2\r\n@A\r\n@x\r\n$y\r\n\\n 2\r\n:1.5\r\n:-2\r\n\\c 1\r\n\\t 1\r\n@c\r\n\\e\r\n\\e\r\n",
        "808080 404040 202020_", "F1234 0FFFF 12 : 8 9 A : FFFFF", "0096 9600 4848"};
}

// One of: flip a byte, insert a random run, delete a run, duplicate a run,
// cut the tail.
std::string Mutate(std::mt19937& rng, std::string s) {
    if (s.empty()) return Random(rng, 8);
    std::uniform_int_distribution<std::size_t> at(0, s.size() - 1);
    std::uniform_int_distribution<int> kind(0, 4), run(1, 40);
    const std::size_t p = at(rng);
    switch (kind(rng)) {
        case 0:
            s[p] = static_cast<char>(rng() & 0xFF);
            break;
        case 1:
            s.insert(p, Random(rng, static_cast<std::size_t>(run(rng))));
            break;
        case 2:
            s.erase(p, static_cast<std::size_t>(run(rng)));
            break;
        case 3:
            s.insert(p, s.substr(p, static_cast<std::size_t>(run(rng)) * 4));
            break;
        default:
            s.resize(p);
            break;
    }
    return s;
}

void Fuzz(const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(fuzz::SceneFuzzOne({bytes, text.size()}), "") << ::testing::PrintToString(text);
}

TEST(SceneFuzz, SeededRandomTexts) {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> length(0, 400);
    for (int i = 0; i < 400; ++i) Fuzz(Random(rng, length(rng)));
}

TEST(SceneFuzz, MutatedValidTexts) {
    std::mt19937 rng(7);
    for (const std::string& seed : Seeds()) {
        std::string text = seed;
        for (int i = 0; i < 150; ++i) {
            text = Mutate(rng, i % 10 == 0 ? seed : text);
            Fuzz(text);
        }
    }
}

TEST(SceneFuzz, HostileShapes) {
    // Deep nesting, huge counts, long rows and many rows.
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "\\c 1\r\n";
    std::string manyRows;
    for (int i = 0; i < 20000; ++i) manyRows += "4 ";
    for (const std::string& text :
         {deep, std::string("\\t 2147483647\r\n@a\r\n"), std::string("\\n 1e300\r\n:1\r\n"),
          std::string(20000, '8'), manyRows + std::string(400, '9'),
          std::string(5000, ':') + "FFFFF FFFFF FFFFF"}) {
        Fuzz(text);
    }
}

}  // namespace
}  // namespace brumil::render
