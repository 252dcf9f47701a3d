#pragma once
// The primitive script: a run of lower-case letters, each followed by decimal
// numbers ("f7 w0 1 2 h0 1 f80 a40 40 ..."). A letter selects a list, every
// number after it is appended to that list, and "f" sets the divisor that the
// following numbers are divided by. Only "0"-"9" make numbers, so values are
// whole and never negative; any other character (upper case, blanks, signs,
// points, line breaks, bytes above 127) is skipped but ends a number. A number
// is valued when it ends, with the divisor in force at that moment.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::render {

// Character classes of the script, one per 8-bit code.
enum ScriptClass : std::uint8_t {
    kClassIgnored = 0,
    kClassU = 1,
    kClassV = 2,
    kClassA = 3,
    kClassE = 4,
    kClassR = 5,
    kClassX = 6,
    kClassY = 7,
    kClassW = 11,
    kClassH = 12,
    kClassC = 21,
    kClassF = 22,
    kClassQ = 23,
    kClassI = 24,
    kClassDigit = 254,
    kClassEnd = 255,
};

using ScriptClassTable = std::array<std::uint8_t, 256>;
const ScriptClassTable& PrimitiveScriptClasses();

// Cuts the script into (letter class, digits) pairs in order. Numbers before
// the first letter are dropped. The callback sees the class of the letter in
// force and the digit text of a finished number.
template <typename OnNumber>
void CutPrimitiveScript(std::string_view script, OnNumber&& onNumber) {
    const auto& classes = PrimitiveScriptClasses();
    std::string_view::size_type numberStart = 0, numberLength = 0;
    std::uint8_t letter = kClassIgnored;
    for (std::string_view::size_type pos = 0; pos <= script.size(); ++pos) {
        const std::uint8_t cls = pos == script.size()
                                     ? std::uint8_t{kClassEnd}
                                     : classes[static_cast<unsigned char>(script[pos])];
        if (cls != kClassDigit && numberLength > 0) {
            if (letter != kClassIgnored) onNumber(letter, script.substr(numberStart, numberLength));
            numberLength = 0;
        }
        if (cls == kClassDigit) {
            if (numberLength == 0) numberStart = pos;
            ++numberLength;
        } else if (cls == kClassEnd) {
            break;
        } else if (cls != kClassIgnored) {
            letter = cls;
        }
    }
}

// The lists of a land, revolution or tetra script. Values beyond a list's
// capacity are dropped.
struct PrimitiveScriptLists {
    static constexpr std::size_t kLineCapacity = 50;     // w, h, e, r
    static constexpr std::size_t kPointCapacity = 2500;  // u, v, a, c

    std::vector<Single> w;  // column positions 0..1
    std::vector<Single> h;  // row positions 0..1
    std::vector<Single> u;  // texture u per grid point
    std::vector<Single> v;  // texture v per grid point
    std::vector<Single> a;  // height per grid point
    std::vector<Long> c;    // pre-lit colour per grid point, 0xAARRGGBB
    std::vector<Single> e;  // height floor per row
    std::vector<Single> r;  // height floor per column
    Long q = 0;             // flag 0 or 1, kept for the generators that want it

    Long Columns() const { return static_cast<Long>(w.size()); }
    Long Rows() const { return static_cast<Long>(h.size()); }
};

// Reads a land script: u, v, a, e, r, w and h take their number limited to
// 0..divisor and divided by it; f sets the divisor (1..10000, 80 at start); q
// the flag; c reads its digits as a hexadecimal colour; x, y and i are dropped.
// Then the defaults fill the grid: columns 0, 0.5, 1 and rows 0, 1 while too
// few, u across the columns 0..1, v 1..0 down the rows, heights, floors and
// colours from the given defaults.
PrimitiveScriptLists ReadPrimitiveScript(std::string_view script, Single defaultHeight,
                                         Long defaultColor);

// The lists of a billboard animation table. No defaults are added.
struct BillBoardScriptLists {
    static constexpr std::size_t kTexCapacity = 200;  // u, v
    static constexpr std::size_t kCapacity = 100;     // x, y, w, h, i

    std::vector<Single> u, v;  // 0..1
    std::vector<Single> x, y;  // 0..1
    std::vector<Single> w, h;  // 1..1024, not divided
    std::vector<Long> i;       // 0..1000
};

BillBoardScriptLists ReadBillBoardScript(std::string_view script);

// The digits of a "c" number read as a hexadecimal 32-bit colour ("80" is
// 0x80). More than eight significant digits do not fit and read 0.
Long ReadScriptColor(std::string_view digits);

}  // namespace brumil::render
