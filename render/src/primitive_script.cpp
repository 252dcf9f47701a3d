// The primitive script's character classes and its two readers.
#include "render/primitive_script.h"

#include <cmath>

#include "core/val.h"
#include "render/ark_primitive.h"

namespace brumil::render {

namespace {

constexpr Single kStartDivisor = 80.0f;

ScriptClassTable MakeClasses() {
    ScriptClassTable t{};
    for (char d = '0'; d <= '9'; ++d) t[static_cast<unsigned char>(d)] = kClassDigit;
    const std::pair<char, ScriptClass> letters[] = {
        {'u', kClassU}, {'v', kClassV}, {'a', kClassA}, {'e', kClassE}, {'r', kClassR},
        {'x', kClassX}, {'y', kClassY}, {'w', kClassW}, {'h', kClassH}, {'c', kClassC},
        {'f', kClassF}, {'q', kClassQ}, {'i', kClassI},
    };
    for (const auto& [ch, cls] : letters) t[static_cast<unsigned char>(ch)] = cls;
    return t;
}

template <typename T>
void Append(std::vector<T>& list, std::size_t capacity, T value) {
    if (list.size() < capacity) list.push_back(value);
}

// The number limited to 0..divisor and divided by it: always within 0..1.
Single Fraction(std::string_view digits, Single divisor) {
    return core::SValBound(digits, 0.0f, divisor) / divisor;
}

Single Divisor(std::string_view digits) {
    return core::SValBound(digits, 1.0f, 10000.0f);
}

}  // namespace

const ScriptClassTable& PrimitiveScriptClasses() {
    static const ScriptClassTable table = MakeClasses();
    return table;
}

Long ReadScriptColor(std::string_view digits) {
    std::uint32_t value = 0;
    int significant = 0;
    for (const char ch : digits) {
        const auto d = static_cast<std::uint32_t>(ch - '0');
        if (d > 9) return 0;
        if (significant == 0 && d == 0) continue;
        if (++significant > 8) return 0;
        value = value * 16u + d;
    }
    return static_cast<Long>(value);
}

PrimitiveScriptLists ReadPrimitiveScript(std::string_view script, Single defaultHeight,
                                         Long defaultColor) {
    using L = PrimitiveScriptLists;
    L lists;
    Single divisor = kStartDivisor;
    CutPrimitiveScript(script, [&](std::uint8_t letter, std::string_view digits) {
        switch (letter) {
            case kClassU:
                Append(lists.u, L::kPointCapacity, Fraction(digits, divisor));
                break;
            case kClassV:
                Append(lists.v, L::kPointCapacity, Fraction(digits, divisor));
                break;
            case kClassA:
                Append(lists.a, L::kPointCapacity, Fraction(digits, divisor));
                break;
            case kClassE:
                Append(lists.e, L::kLineCapacity, Fraction(digits, divisor));
                break;
            case kClassR:
                Append(lists.r, L::kLineCapacity, Fraction(digits, divisor));
                break;
            case kClassW:
                Append(lists.w, L::kLineCapacity, Fraction(digits, divisor));
                break;
            case kClassH:
                Append(lists.h, L::kLineCapacity, Fraction(digits, divisor));
                break;
            case kClassC:
                Append(lists.c, L::kPointCapacity, ReadScriptColor(digits));
                break;
            case kClassF:
                divisor = Divisor(digits);
                break;
            case kClassQ:
                lists.q = RoundToLong(core::SValBound(digits, 0.0f, 1.0f));
                break;
            default:
                break;  // x, y and i carry nothing for these shapes
        }
    });

    while (lists.w.size() < 3) lists.w.push_back(static_cast<Single>(lists.w.size()) / 2);
    while (lists.h.size() < 2) lists.h.push_back(static_cast<Single>(lists.h.size()));
    const auto cols = lists.w.size(), rows = lists.h.size(), points = cols * rows;
    while (lists.u.size() < points) {
        const auto k = lists.u.size();
        lists.u.push_back(static_cast<Single>(k % cols) / static_cast<Single>(cols - 1));
    }
    while (lists.v.size() < points) {
        const auto k = lists.v.size();
        lists.v.push_back(1.0f - static_cast<Single>(k / cols) / static_cast<Single>(rows - 1));
    }
    if (lists.a.size() < points) lists.a.resize(points, defaultHeight);
    if (lists.c.size() < points) lists.c.resize(points, defaultColor);
    if (lists.e.size() < rows) lists.e.resize(rows, defaultHeight);
    if (lists.r.size() < cols) lists.r.resize(cols, defaultHeight);
    return lists;
}

BillBoardScriptLists ReadBillBoardScript(std::string_view script) {
    using L = BillBoardScriptLists;
    L lists;
    Single divisor = kStartDivisor;
    CutPrimitiveScript(script, [&](std::uint8_t letter, std::string_view digits) {
        switch (letter) {
            case kClassU:
                Append(lists.u, L::kTexCapacity, Fraction(digits, divisor));
                break;
            case kClassV:
                Append(lists.v, L::kTexCapacity, Fraction(digits, divisor));
                break;
            case kClassX:
                Append(lists.x, L::kCapacity, Fraction(digits, divisor));
                break;
            case kClassY:
                Append(lists.y, L::kCapacity, Fraction(digits, divisor));
                break;
            case kClassW:
                Append(lists.w, L::kCapacity, core::SValBound(digits, 1.0f, 1024.0f));
                break;
            case kClassH:
                Append(lists.h, L::kCapacity, core::SValBound(digits, 1.0f, 1024.0f));
                break;
            case kClassI:
                Append(lists.i, L::kCapacity, RoundToLong(core::SValBound(digits, 0.0f, 1000.0f)));
                break;
            case kClassF:
                divisor = Divisor(digits);
                break;
            default:
                break;  // a, e, r, c and q carry nothing for billboards
        }
    });
    return lists;
}

void CIMArkPrimitive::ReadPrimitiveScript(std::string_view script, Single defaultHeight,
                                          Long defaultColor) {
    scriptLists_ = render::ReadPrimitiveScript(script, defaultHeight, defaultColor);
}

void CIMArkPrimitive::ReadBillBoardScript(std::string_view script) {
    billBoardLists_ = render::ReadBillBoardScript(script);
}

}  // namespace brumil::render
