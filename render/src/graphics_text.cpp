// CGraphics: text rendered into the picture, at once or one character per
// step.

#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"
#include "render/graphics.h"

namespace brumil::render {

using image::gBBIString;

void CGraphics::ApplyTextFont() const {
    auto& s = gBBIString();
    s.FontSize = textFontSize_;
    s.FontName = textFontName_;
    s.FontBlur = textFontBlur_;
    s.FontAntiAreas = textFontAntiAreas_;
}

bool CGraphics::DrawTextGlyph(const image::TextBox& box) {
    image::CmgBBI glyph;
    if (!gBBIString().LoadFont(glyph, box.Caption)) return false;
    image::gBBIFunction().BBIBltAdd(Image, glyph, box.X, box.Y);
    return true;
}

void CGraphics::LoadText(std::string_view text, Long width, Long height, Long fontSize,
                         std::string_view fontName, Long fontBlur, bool fontAntiAreas, Long spaceX,
                         Long spaceY, Long alignX, Long alignY, bool step, Long& result) {
    Add(width, height, true);
    textFontSize_ = fontSize;
    textFontName_ = std::string(fontName);
    textFontBlur_ = fontBlur;
    textFontAntiAreas_ = fontAntiAreas;
    ApplyTextFont();
    Long x = 0, y = 0;
    auto layout = gBBIString().MathTextBox(text, image::TextRect{0, 0, width, height}, spaceX,
                                           spaceY, alignX, alignY, x, y);
    result = 0;
    if (step) {
        textLayout_ = std::move(layout);
        nextChar_ = 1;
        return;
    }
    // A text drawn at once replaces any text being stepped.
    textLayout_.clear();
    nextChar_ = 0;
    for (const auto& box : layout) {
        if (!DrawTextGlyph(box)) result = 1;
    }
}

void CGraphics::LoadText(std::string_view text, Long width, Long height, Long fontSize,
                         std::string_view fontName, Long fontBlur, bool fontAntiAreas, Long spaceX,
                         Long spaceY, Long alignX, Long alignY, bool step) {
    Long result = 0;
    LoadText(text, width, height, fontSize, fontName, fontBlur, fontAntiAreas, spaceX, spaceY,
             alignX, alignY, step, result);
}

bool CGraphics::LoadTextNext() {
    if (nextChar_ < 1) return false;
    if (nextChar_ > static_cast<Long>(textLayout_.size())) {
        nextChar_ = 0;
        textLayout_.clear();
        return false;
    }
    // Another text may have changed the shared font since.
    ApplyTextFont();
    DrawTextGlyph(textLayout_[static_cast<std::size_t>(nextChar_ - 1)]);
    ++nextChar_;
    Refresh();
    return true;
}

}  // namespace brumil::render
