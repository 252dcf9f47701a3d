#pragma once
// Numbers of the scene text form, written and read the same way whatever the
// locale: "." as separator, up to 15 significant digits.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace brumil::render::detail {

// Shortest of the fixed and exponent forms at 15 significant digits: 1,
// -2.25, 0.1, 1e+20. Values that are not finite are written as 0, the value
// they would read back as.
inline std::string FormatSceneNumber(double value) {
    if (!std::isfinite(value)) return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

namespace scene_number {

// Whether a decimal number whose conversion went out of range is too large
// (rather than too small): its first non-zero digit, moved by the exponent,
// lies left of the point.
inline bool BeyondLargest(std::string_view mantissa, std::string_view exponent) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;
    long long magnitude = first < point ? static_cast<long long>(point - first)
                                        : -static_cast<long long>(first - point - 1);
    long long e = 0;
    std::size_t i = 0;
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) i = 1;
    for (; i < exponent.size() && e < 100000; ++i) e = e * 10 + (exponent[i] - '0');
    magnitude += negative ? -e : e;
    return magnitude > 0;
}

}  // namespace scene_number

// The longest prefix of `text` (after leading spaces) that forms a number:
// optional sign, digits with an optional "." and digits (at least one digit in
// all), optional exponent "E" or "e" with optional sign and digits. 0 when the
// text does not begin with a number. Numbers beyond the Double range read as
// the largest Double of their sign, numbers too small for it as 0, so that
// every written number reads back.
inline double ReadSceneNumber(std::string_view text) {
    std::size_t p = text.find_first_not_of(' ');
    if (p == std::string_view::npos) return 0.0;
    bool negative = false;
    if (text[p] == '+' || text[p] == '-') negative = text[p++] == '-';
    const std::size_t mantissa = p;
    auto digits = [&] {
        const std::size_t from = p;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') ++p;
        return p - from;
    };
    std::size_t count = digits();
    if (p < text.size() && text[p] == '.') {
        ++p;
        count += digits();
    }
    if (count == 0) return 0.0;
    const std::size_t mantissaEnd = p;
    std::size_t end = p;
    if (p < text.size() && (text[p] == 'E' || text[p] == 'e')) {
        ++p;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
        if (digits() > 0) end = p;
    }
    double value = 0.0;
    const auto r = std::from_chars(text.data() + mantissa, text.data() + end, value,
                                   std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        const std::string_view m = text.substr(mantissa, mantissaEnd - mantissa);
        const std::string_view e =
            end > mantissaEnd ? text.substr(mantissaEnd + 1, end - mantissaEnd - 1) : "";
        value = scene_number::BeyondLargest(m, e) ? std::numeric_limits<double>::max() : 0.0;
    } else if (r.ec != std::errc() || r.ptr != text.data() + end) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace brumil::render::detail
