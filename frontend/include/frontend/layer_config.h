#pragma once
// CLayerConfig: the style of one layer entry — how the entry is blended onto
// the layer (the selection arguments of BBIExpandChooseBlt), the font its text
// is set in, the box the text is laid out in, the typing speed, a linked entry
// and the text cursor used by Command.
//
// Selection argument n is the n-th of the twelve values after the geometry of
// BBIExpandChooseBlt; the layer always passes 0 for arguments 4, 5 and 12.

#include <optional>
#include <string>
#include <string_view>

#include "core/rect.h"
#include "core/vb_types.h"

namespace brumil::frontend {

class CLayerConfig {
public:
    CLayerConfig();

    Single Choose1 = 1.0f;  // opacity factor
    Integer Choose2 = 0;
    Integer Choose3 = 0;
    Single Choose6 = 1.0f;
    Long Choose7 = 0;
    Long Choose8 = 0xFFFFFF;
    Long Choose9 = 0;
    Long Choose10 = -1;
    Long Choose11 = 0;  // a colour: AddText puts its colour here
    Long FontSize = 20;
    Long FontBlur = 0;
    bool FontAntiAreas = true;
    std::string FontName = "ＭＳ ゴシック";
    core::CRect Rect;    // text box, layer coordinates
    Long CharSpace = 0;  // extra space after each character
    Long LineSpace = 0;  // extra space between lines
    Long AlignH = 0;     // 0 left, 1 centre, 2 right
    Long AlignV = 0;     // 0 top, 1 middle, 2 bottom
    // Compositions each typed character waits; rounded (halves to even) when a
    // text is laid out.
    Single TextWait = 0.0f;
    Long LinkIndex = 0;   // linked entry of the same layer; 0 means none
    Long TextColor = -1;  // ARGB of typed glyphs; -1 adds the glyphs as they are
    Long LocateX = 0;     // text cursor of Command
    Long LocateY = 0;

    // Sets the nine selection fields in this order.
    void Add(Single choose1, Integer choose2, Integer choose3, Single choose6, Long choose7,
             Long choose8, Long choose9, Long choose10, Long choose11);

    // The optional layout values of AddText; an absent one keeps its value.
    struct TextLayout {
        std::optional<Long> X, Y, Width, Height, CharSpace, LineSpace, AlignH, AlignV;
        std::optional<Single> TextWait;
    };
    // Selection for text painted in `color` under the glyph coverage, the same
    // values the text renderer uses for its own glyphs, then the layout values.
    void AddText(Long color, Single choose1, Integer choose3, const TextLayout& layout = {});

    void AddFont(Long fontSize, std::string_view fontName, Long fontBlur, bool fontAntiAreas);

    // Copies every field of another configuration.
    void AddCopy(const CLayerConfig& other) { *this = other; }
};

}  // namespace brumil::frontend
