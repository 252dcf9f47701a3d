#pragma once
// What the two settings dialogs (graphics settings, key configuration) share:
// the font every control is drawn with and the colon rule of their texts.

#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::app {

// The dialogs' font, looked up through the image library's font table, and
// its size in points.
inline constexpr std::string_view kDialogFontName = "ＭＳ Ｐゴシック";
inline constexpr Long kDialogFontPoints = 9;

// The captions of the two buttons every dialog has.
inline constexpr std::string_view kCommandOKCaption = "決定";
inline constexpr std::string_view kCommandCancelCaption = "キャンセル";

class DialogWindow;
// The dialogs' window set up as it loads (CApi::SetupForm): the font above.
void SetupDialogForm(DialogWindow& window);

// A colon marks a line break in the dialogs' captions and help texts: every
// half-width ":" and full-width "：" becomes CR LF, so "：：" leaves an
// empty line.
std::string ColonLineBreaks(std::string_view text);

}  // namespace brumil::app
