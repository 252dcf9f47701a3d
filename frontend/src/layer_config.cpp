#include "frontend/layer_config.h"

namespace brumil::frontend {

CLayerConfig::CLayerConfig() {
    Add(1.0f, 0, 0, 1.0f, 0, 0xFFFFFF, 0, -1, 0);
    AddFont(20, "ＭＳ ゴシック", 0, true);
    TextColor = -1;
}

void CLayerConfig::Add(Single choose1, Integer choose2, Integer choose3, Single choose6,
                       Long choose7, Long choose8, Long choose9, Long choose10, Long choose11) {
    Choose1 = choose1;
    Choose2 = choose2;
    Choose3 = choose3;
    Choose6 = choose6;
    Choose7 = choose7;
    Choose8 = choose8;
    Choose9 = choose9;
    Choose10 = choose10;
    Choose11 = choose11;
}

void CLayerConfig::AddText(Long color, Single choose1, Integer choose3, const TextLayout& layout) {
    Choose11 = color;
    Choose1 = choose1;
    Choose2 = -1;
    Choose3 = choose3;
    Choose6 = 1.0f;
    Choose7 = 0;
    Choose8 = 0xFFFFFF;
    Choose9 = 0;
    Choose10 = static_cast<Long>(0xFF000000u);
    if (layout.X) Rect.X = *layout.X;
    if (layout.Y) Rect.Y = *layout.Y;
    if (layout.Width) Rect.Width = *layout.Width;
    if (layout.Height) Rect.Height = *layout.Height;
    if (layout.CharSpace) CharSpace = *layout.CharSpace;
    if (layout.LineSpace) LineSpace = *layout.LineSpace;
    if (layout.AlignH) AlignH = *layout.AlignH;
    if (layout.AlignV) AlignV = *layout.AlignV;
    if (layout.TextWait) TextWait = *layout.TextWait;
}

void CLayerConfig::AddFont(Long fontSize, std::string_view fontName, Long fontBlur,
                           bool fontAntiAreas) {
    FontSize = fontSize;
    FontName = std::string(fontName);
    FontBlur = fontBlur;
    FontAntiAreas = fontAntiAreas;
}

}  // namespace brumil::frontend
