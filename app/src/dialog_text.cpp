#include "app/dialog_text.h"

#include "app/dialog_window.h"
#include "core/api.h"
#include "core/text.h"

namespace brumil::app {

std::string ColonLineBreaks(std::string_view text) {
    std::string out(text);
    // The text-comparing mode finds the full-width colon as well.
    core::gApi().TextChange(out, ":", "\r\n", core::kTextCompare);
    return out;
}

void SetupDialogForm(DialogWindow& window) {
    core::FormSetup setup;
    setup.fontSize = kDialogFontPoints;
    setup.fontName = std::string(kDialogFontName);
    core::gApi().SetupForm(window, setup);
}

}  // namespace brumil::app
