#pragma once
// The key configuration dialog drawn as a modeless window over the game
// (overlay_window.h). The view draws what its client describes each frame
// and reports clicks; the dialog reads the keys itself from the game's
// input, so while it is on show the view takes every key away from the
// window's own key handlers and never lets a key press one of its buttons.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/overlay_window.h"

namespace brumil::platform {

struct KeyDialogFrame : OverlayDialogHead {
    std::string player1;  // the captions above the two players' rows
    std::string player2;
    // Options 0..2n-1 are the two players' rows (n each), the last one the
    // auxiliary option; labels hold one text per row.
    std::vector<std::string> options;
    std::vector<bool> enabled;
    std::vector<std::string> labels;
    int selected = -1;
    bool okFocused = false;  // "OK" holds the keyboard focus
};

class KeyDialogClient {
public:
    virtual ~KeyDialogClient() = default;
    virtual KeyDialogFrame Describe() = 0;
    virtual void OptionClicked(int option) = 0;
    virtual void OkClicked() = 0;
    virtual void CancelClicked() = 0;
    virtual void CloseBoxClicked() = 0;
};

std::unique_ptr<OverlayWindow> MakeKeyDialogView(KeyDialogClient& client, const OverlayFont& font);

}  // namespace brumil::platform
