// Text layout without drawing, and drawing a text onto a picture.

#include <algorithm>

#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"
#include "utf8.h"

namespace brumil::image {

namespace {

struct LaidChar {
    Long x = 0;  // from the box's left edge, before alignment
    Long width = 0;
    std::string caption;
};

struct Line {
    Long start = 0;  // pen x at the start of the line
    Long end = 0;    // right edge of the last box (start when empty)
    Long pen = 0;    // pen x after the line
    std::vector<LaidChar> chars;
};

}  // namespace

Long CmgBBIString::CharWidth(char32_t code) {
    if (GlyphAtlas) {
        Coverage probe;
        if (AtlasCoverage(code, probe)) return probe.width;
    }
    std::string utf8;
    if (code < 0x80) {
        utf8 = static_cast<char>(code);
    } else if (code < 0x800) {
        utf8 = {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
        utf8 = {static_cast<char>(0xE0 | (code >> 12)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    } else {
        utf8 = {static_cast<char>(0xF0 | (code >> 18)),
                static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    }
    CmgBBI glyph;
    if (LoadFont(glyph, utf8)) return glyph.GetWidth();
    return std::max<Long>(1, PixelSize() / 2);
}

std::vector<TextBox> CmgBBIString::MathTextBox(std::string_view text, const TextRect& box,
                                               Long spaceX, Long spaceY, Long alignX, Long alignY,
                                               Long& x, Long& y) {
    const Long lineHeight = PixelSize();
    std::vector<Line> lines(1);
    lines[0].start = lines[0].end = lines[0].pen = x;
    while (!text.empty()) {
        const auto ch = detail::NextUtf8(text);
        if (ch.code == U'\r' || ch.code == U'\n') {
            if (ch.code == U'\r' && !text.empty() && text.front() == '\n') text.remove_prefix(1);
            lines.emplace_back();
            continue;
        }
        if (ch.code < 0x20 || ch.code == 0x7F) continue;  // TAB and other controls
        Line& line = lines.back();
        const Long width = CharWidth(ch.code);
        line.chars.push_back(LaidChar{line.pen, width, std::string(ch.bytes)});
        line.end = line.pen + width;
        line.pen += width + spaceX;
    }
    const Long lineCount = static_cast<Long>(lines.size());
    const Long blockBottom = y + lineCount * lineHeight + (lineCount - 1) * spaceY;
    Long shiftY = 0;
    if (alignY == 1) shiftY = (box.Height - blockBottom) / 2;
    if (alignY == 2) shiftY = box.Height - blockBottom;

    std::vector<TextBox> boxes;
    Long lineTop = y;
    Long endX = x;
    for (const Line& line : lines) {
        Long shiftX = 0;
        if (alignX == 1) shiftX = (box.Width - line.end) / 2;
        if (alignX == 2) shiftX = box.Width - line.end;
        for (const LaidChar& c : line.chars) {
            boxes.push_back(TextBox{box.X + c.x + shiftX, box.Y + lineTop + shiftY, c.width,
                                    lineHeight, c.caption});
        }
        endX = line.pen + shiftX;
        if (&line != &lines.back()) lineTop += lineHeight + spaceY;
    }
    x = endX;
    y = lineTop + shiftY;
    return boxes;
}

void CmgBBIString::TextOut(CmgBBI& picture, Long x, Long y, std::string_view text, Long colour,
                           Single scale) {
    if (!(scale > 0.0f)) return;
    Long cx = x;
    Long cy = y;
    const TextRect whole{0, 0, picture.GetWidth(), picture.GetHeight()};
    const auto boxes = MathTextBox(text, whole, 0, 0, 0, 0, cx, cy);
    CmgBBI glyph;
    for (const TextBox& b : boxes) {
        if (!LoadFont(glyph, b.Caption)) continue;
        const Long gx = x + RoundToLong((b.X - x) * static_cast<double>(scale));
        const Long gy = y + RoundToLong((b.Y - y) * static_cast<double>(scale));
        const Long gw =
            std::max<Long>(1, RoundToLong(glyph.GetWidth() * static_cast<double>(scale)));
        const Long gh =
            std::max<Long>(1, RoundToLong(glyph.GetHeight() * static_cast<double>(scale)));
        gBBIFunction().BBIExpandChooseBlt(picture, glyph, gx, gy, gw, gh, 0, 0, 0, 0, 1.0f, -1, 0,
                                          0, 0, 1.0f, 0, 0xFFFFFF, 0,
                                          static_cast<Long>(0xFF000000u), colour, 0);
    }
}

core::CRects CmgBBIString::MathTextBox(std::string_view text, const core::CRect& box, Long spaceX,
                                       Long spaceY, Long alignX, Long alignY, Long& x, Long& y) {
    const TextRect area{box.X, box.Y, box.Width, box.Height};
    core::CRects rects;
    Long slot = 0;
    for (const TextBox& b : MathTextBox(text, area, spaceX, spaceY, alignX, alignY, x, y)) {
        core::CRect r;
        r.Create(b.X, b.Y, b.Width, b.Height);
        // Slots past the explicit range append, which keeps the order.
        rects.Set(slot++, r, true, b.Caption);
    }
    return rects;
}

}  // namespace brumil::image
