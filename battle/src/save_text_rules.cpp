#include "battle/save_text_rules.h"

#include <charconv>
#include <cstdint>

namespace brumil::battle::save_text {
namespace {

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string_view> SplitFileLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

std::optional<Long> ParseDecimalLong(std::string_view text) {
    while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Parsed as a 64-bit magnitude so that -2147483648 is reachable; from_chars
    // rejects any sign or blank left after the one taken above.
    std::int64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (ec != std::errc{} || end != text.data() + text.size() || magnitude < 0) return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<Long>(value);
}

std::string_view TakeUntil(std::string_view& rest, char delimiter) {
    const std::size_t at = rest.find(delimiter);
    std::string_view head = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + 1);
    return head;
}

std::string StripLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n' && c != '\0') out.push_back(c);
    }
    return out;
}

std::string ReplaceLineBreaks(std::string_view text, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.append(replacement);
        } else if (c == '\n') {
            out.append(replacement);
        } else if (c != '\0') {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace brumil::battle::save_text
