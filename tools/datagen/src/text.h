#pragma once
// Text for the generated pictures, rendered by the image library's text
// renderer (the Japanese faces of the font table) into a coverage mask that
// can be thickened, outlined and blended in any colour.

#include <string>
#include <string_view>
#include <vector>

#include "draw.h"

namespace brumil::datagen {

// Names of the font table: "ＭＳ ゴシック" (gothic), "ＭＳ Ｐゴシック"
// (proportional gothic), "楷書" (mincho).
inline constexpr std::string_view kGothic = "ＭＳ ゴシック";
inline constexpr std::string_view kPGothic = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kMincho = "楷書";

struct TextStyle {
    std::string_view font = kPGothic;
    int size = 20;    // em in pixels
    int bold = 0;     // extra pixels of horizontal thickening
    int spacing = 0;  // extra pixels between characters
};

// Coverage of one line of text, one float (0..1) a pixel.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> cover;
    float At(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : cover[y * width + x];
    }
};

TextMask RenderText(std::string_view text, const TextStyle& style);
// The mask grown by r pixels in every direction (a round pen).
TextMask Dilate(const TextMask& mask, int r);
// The mask resampled to `width` columns (linear across each row), e.g. to
// widen a half-width face.
TextMask StretchX(const TextMask& mask, int width);
// Blends the mask in colour c with its top-left corner at (x, y).
void BlendMask(CmgBBI& pic, const TextMask& mask, int x, int y, Colour c);

// One line of text centred on (cx, cy); an outline of the given width in
// outlineColour is drawn under it when outline > 0.
void TextCentred(CmgBBI& pic, float cx, float cy, std::string_view text, const TextStyle& style,
                 Colour c, int outline = 0, Colour outlineColour = {});
// One line of text with its top-left at (x, y).
void TextAt(CmgBBI& pic, int x, int y, std::string_view text, const TextStyle& style, Colour c,
            int outline = 0, Colour outlineColour = {});
// The largest size up to style.size at which the text fits maxWidth.
TextStyle FitWidth(std::string_view text, TextStyle style, int maxWidth);

}  // namespace brumil::datagen
