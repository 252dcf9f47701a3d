#pragma once
// CmgBBIString: the text renderer, one shared instance gBBIString().
//
// Glyphs are cells of the font size's height (FontSize pixels, the em) and the
// character's advance width, the baseline at the face's ascent share of the
// em. A glyph picture carries the coverage in alpha; with KeyedGlyph its colour
// channels carry the coverage too (white premultiplied, so uncovered pixels are
// exactly 0, the colour key of glyph textures); without it they are white.
// FontBlur r blurs the coverage (two box passes of radius r) inside the cell.
// FontAntiAreas False renders hard 0/255 coverage.
//
// Glyph atlas: while GlyphAtlas holds a 256 x 256 picture of 8 x 8 cells of 32
// x 32, the 64 characters " ", ".", "0"-"9", "A"-"Z", "a"-"z" (row-major in that
// order) come from its cells: coverage = luminance x alpha / 255 of the cell,
// scaled to FontSize x FontSize, then blurred like a font glyph; their advance
// is FontSize. Any other picture, or none, leaves every character to the font.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/rects.h"
#include "core/vb_types.h"
#include "image/cmg_bbi.h"
#include "image/font_table.h"
#include "image/text_box.h"

namespace brumil::platform {
class FontFace;
}

namespace brumil::image {

class CmgBBIString {
public:
    CmgBBIString();
    ~CmgBBIString();
    CmgBBIString(const CmgBBIString&) = delete;
    CmgBBIString& operator=(const CmgBBIString&) = delete;

    bool KeyedGlyph = true;                  // keyed glyph rendering (see above)
    std::string FontFolder;                  // program path of the folder holding "fonts.txt"
    std::string FontName = "ＭＳ ゴシック";  // a name of the font table or a family
    Long FontSize = 20;                      // em in pixels, used within 1..512
    Long FontBlur = 0;                       // blur radius in pixels, used within 0..32
    bool FontAntiAreas = true;
    std::shared_ptr<const CmgBBI> GlyphAtlas;  // nothing: every glyph from the font

    // glyph becomes the picture of the first character of text in the current
    // settings. False (glyph untouched) when the text is empty, starts with CR,
    // LF or TAB, or no face has the character.
    bool LoadFont(CmgBBI& glyph, std::string_view text);

    // Lays text out in box without drawing. (x, y) is the start inside the box
    // and returns the position after the text, both relative to the box. Each
    // drawable character gets a box (advance x FontSize, in picture
    // coordinates) captioned with it, and x grows by its width plus spaceX.
    // CR, LF and CR LF end a line (y grows by FontSize plus spaceY, x restarts
    // at 0); TAB and other control characters make no box and no space. Lines
    // never wrap. alignX 1 / 2 centre / right-align each line in the box width
    // (a line's width runs from its start to the end of its last box); alignY
    // 1 / 2 centre / bottom-align the block (from y to the last line's bottom)
    // in the box height; halves are truncated toward zero.
    std::vector<TextBox> MathTextBox(std::string_view text, const TextRect& box, Long spaceX,
                                     Long spaceY, Long alignX, Long alignY, Long& x, Long& y);
    // The same layout as captioned rectangles, slot i for the i-th box: the
    // form the graphic object and the screens read.
    core::CRects MathTextBox(std::string_view text, const core::CRect& box, Long spaceX,
                             Long spaceY, Long alignX, Long alignY, Long& x, Long& y);

    // Draws text onto picture from (x, y) in the colour's rgb under the glyph
    // coverage, glyphs and advances scaled by scale.
    void TextOut(CmgBBI& picture, Long x, Long y, std::string_view text, Long colour,
                 Single scale = 1.0f);

    // The advance of one character in the current settings, in pixels.
    Long CharWidth(char32_t code);

private:
    struct Coverage {
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> values;
    };
    using GlyphKey = std::tuple<std::string, std::string, char32_t, Long, Long, bool, bool>;

    Long PixelSize() const;
    platform::FontFace* FaceFor(char32_t code);
    platform::FontFace* OpenTarget(const FontTarget& target);
    bool AtlasCoverage(char32_t code, Coverage& out) const;
    bool FontCoverage(char32_t code, Coverage& out);
    void ToPicture(Coverage cov, CmgBBI& glyph) const;
    void EnsureTable();

    FontTable table_;
    std::string tableFolder_;
    bool tableLoaded_ = false;
    std::map<std::string, std::unique_ptr<platform::FontFace>> faces_;  // by file#index
    std::map<std::string, platform::FontFace*, std::less<>> byName_;    // folder + name
    platform::FontFace* fallback_ = nullptr;
    bool fallbackTried_ = false;
    std::map<GlyphKey, CmgBBI> cache_;
};

// The shared instance, made on first use.
CmgBBIString& gBBIString();

}  // namespace brumil::image
