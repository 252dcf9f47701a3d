#include "core/val.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace brumil::core {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // The next non-blank character without consuming it, or '\0' at the end.
    char Peek() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void Take() { ++pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

int DigitValue(char c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v >= 0 && v < radix ? v : -1;
}

std::optional<double> ParseRadix(Scanner& s, int radix) {
    std::uint64_t value = 0;
    int digits = 0;
    bool overflow = false;
    for (int d; (d = DigitValue(s.Peek(), radix)) >= 0; s.Take()) {
        if (value == 0 && d == 0) continue;  // leading zeros are not significant
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull) overflow = true;
        ++digits;
    }
    if (digits == 0) {
        // "&H0" reads as 0; "&H" alone is not a number.
        return std::nullopt;
    }
    if (overflow) return std::nullopt;
    // A trailing "&" marks a 32-bit literal: "&H8000&" is 32768, "&H8000" -32768.
    const bool longSuffix = s.Peek() == '&';
    if (value <= 0xFFFF && !longSuffix)
        return static_cast<double>(static_cast<std::int16_t>(value));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

std::optional<double> ParseLeadingNumber(std::string_view text) {
    Scanner s(text);
    if (s.Peek() == '&') {
        s.Take();
        const char kind = s.Peek();
        int radix = 0;
        if (kind == 'H' || kind == 'h')
            radix = 16;
        else if (kind == 'O' || kind == 'o')
            radix = 8;
        if (radix == 0) return std::nullopt;
        s.Take();
        // A run of zeros alone is still the number 0.
        bool sawZero = false;
        while (s.Peek() == '0') {
            sawZero = true;
            s.Take();
        }
        if (DigitValue(s.Peek(), radix) < 0) {
            return sawZero ? std::optional<double>(0.0) : std::nullopt;
        }
        return ParseRadix(s, radix);
    }

    std::string literal;
    if (s.Peek() == '+' || s.Peek() == '-') {
        literal.push_back(s.Peek());
        s.Take();
    }
    bool mantissaDigits = false;
    while (DigitValue(s.Peek(), 10) >= 0) {
        literal.push_back(s.Peek());
        s.Take();
        mantissaDigits = true;
    }
    if (s.Peek() == '.') {
        literal.push_back('.');
        s.Take();
        while (DigitValue(s.Peek(), 10) >= 0) {
            literal.push_back(s.Peek());
            s.Take();
            mantissaDigits = true;
        }
    }
    if (!mantissaDigits) return std::nullopt;
    const char e = s.Peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        s.Take();
        std::string exponent = "e";
        if (s.Peek() == '+' || s.Peek() == '-') {
            exponent.push_back(s.Peek());
            s.Take();
        }
        bool expDigits = false;
        while (DigitValue(s.Peek(), 10) >= 0) {
            // Past a few digits the value is 0 or infinite anyway.
            if (exponent.size() < 8) exponent.push_back(s.Peek());
            s.Take();
            expDigits = true;
        }
        if (expDigits) literal += exponent;
    }
    // strtod reads the C locale's decimal point, which is what the text uses.
    return std::strtod(literal.c_str(), nullptr);
}

double Val(std::string_view text) {
    return ParseLeadingNumber(text).value_or(0.0);
}

Long LVal(std::string_view text) {
    const double v = Val(text);
    if (std::isinf(v)) return v > 0 ? INT32_MAX : INT32_MIN;
    return RoundToLong(v);
}

Long LValBound(std::string_view text, Long min, Long max) {
    if (min > max) std::swap(min, max);
    return std::clamp(LVal(text), min, max);
}

Single SValBound(std::string_view text, Single min, Single max) {
    if (min > max) std::swap(min, max);
    const double v = Val(text);
    if (v <= static_cast<double>(min)) return min;
    if (v >= static_cast<double>(max)) return max;
    return static_cast<Single>(v);
}

}  // namespace brumil::core
