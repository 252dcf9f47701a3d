// The transition-mask script: bracketed commands drawn into a picture.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "image/cmg_bbi_function.h"
#include "platform/pixel/pixel_kernels.h"

namespace brumil::image {

namespace px = platform::pixel;

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Comma-separated whole numbers; nothing when any is missing or malformed.
std::optional<std::vector<long>> ParseNumbers(std::string_view text, std::size_t count) {
    std::vector<long> out;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = Trim(text.substr(0, comma));
        long v = 0;
        const auto res = std::from_chars(item.data(), item.data() + item.size(), v);
        if (item.empty() || res.ec != std::errc() || res.ptr != item.data() + item.size())
            return std::nullopt;
        out.push_back(v);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (out.size() != count) return std::nullopt;
    return out;
}

void DrawBox(CmgBBI& pic, long w, long h, long a, long b, long c) {
    if (w < 1 || h < 1) return;
    w = std::min<long>(w, kMaxPictureSide);
    h = std::min<long>(h, kMaxPictureSide);
    const double cx = pic.GetWidth() / 2.0;
    const double cy = pic.GetHeight() / 2.0;
    const double hw = w / 2.0;
    const double hh = h / 2.0;
    const long x0 = std::max<long>(0, std::lround(std::floor(cx - hw)));
    const long y0 = std::max<long>(0, std::lround(std::floor(cy - hh)));
    const long x1 = std::min<long>(pic.GetWidth(), std::lround(std::floor(cx - hw)) + w);
    const long y1 = std::min<long>(pic.GetHeight(), std::lround(std::floor(cy - hh)) + h);
    for (long y = y0; y < y1; ++y) {
        px::Pixel* row = pic.Row(y);
        const double dy = std::fabs(y + 0.5 - cy) / hh;
        for (long x = x0; x < x1; ++x) {
            const double dx = std::fabs(x + 0.5 - cx) / hw;
            const double d = std::min(1.0, std::max(dx, dy));
            const double g = d < 0.5 ? a + (b - a) * (d / 0.5) : b + (c - b) * ((d - 0.5) / 0.5);
            const int v = static_cast<int>(std::clamp<long>(std::lround(g), 0, 255));
            row[x] = px::MakeArgb(255, v, v, v);
        }
    }
}

}  // namespace

void CmgBBIFunction::Transer(CmgBBI& picture, std::string_view script) {
    std::size_t pos = 0;
    while (true) {
        const auto open = script.find('[', pos);
        if (open == std::string_view::npos) return;
        const auto close = script.find(']', open + 1);
        if (close == std::string_view::npos) return;
        pos = close + 1;
        const std::string_view body = Trim(script.substr(open + 1, close - open - 1));
        const auto space = body.find_first_of(" \t");
        const std::string_view name = body.substr(0, space);
        const std::string_view args =
            space == std::string_view::npos ? std::string_view{} : body.substr(space + 1);
        if (name == "box") {
            if (auto n = ParseNumbers(args, 5))
                DrawBox(picture, (*n)[0], (*n)[1], (*n)[2], (*n)[3], (*n)[4]);
        }
        // Other commands are not part of this script language's use here: skipped.
    }
}

}  // namespace brumil::image
