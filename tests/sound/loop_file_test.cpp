#include "sound/loop_file.h"

#include <gtest/gtest.h>

namespace brumil::sound {
namespace {

TEST(LoopText, KeysValuesAndLineEnds) {
    struct Case {
        const char* name;
        std::string_view text;
        LoopPoints want;
    };
    const Case cases[] = {
        {"CR LF", "LOOPSTART=44100\r\nLOOPLENGTH=882000\r\n", {44100, 882000}},
        {"LF only", "LOOPSTART=100\nLOOPLENGTH=50\n", {100, 50}},
        {"no final line end", "loopstart=7\r\nlooplength=9", {7, 9}},
        {"mixed ends", "LoopStart=1\nLoopLength=2\r\n", {1, 2}},
        {"blanks around the key", "  LoopStart \t= 12\r\n", {12, 0}},
        {"later line wins", "loopstart=1\r\nloopstart=5\r\n", {5, 0}},
        {"value not a number", "loopstart=abc\r\nlooplength=3\r\n", {0, 3}},
        {"value with a fraction rounds half to even", "loopstart=2.5\nlooplength=3.5\n", {2, 4}},
        {"hexadecimal", "loopstart=&H10\n", {16, 0}},
        {"value keeps text after the number", "loopstart=8 frames\n", {8, 0}},
        {"other keys and lines ignored", "[loop]\r\nname=x\r\nloop start=3\r\n", {0, 0}},
        {"second equals sign is part of the value", "loopstart==4\n", {0, 0}},
        {"empty", "", {0, 0}},
        {"bare CRs are not line ends", "loopstart=1\rlooplength=2\r\n", {1, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseLoopText(c.text), c.want) << c.name;
}

}  // namespace
}  // namespace brumil::sound
