#pragma once
// The graphics settings dialog drawn as a modeless window over the game
// (overlay_window.h). The view draws what its client describes each frame
// and reports clicks and pointer movement; the dialog's behaviour is the
// client's.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/overlay_window.h"

namespace brumil::platform {

struct GraphicsDialogGroup {
    std::string frameCaption;
    std::vector<std::string> options;
    int selected = 0;
};

struct GraphicsDialogFrame : OverlayDialogHead {
    // In the order of the window: the first half of the groups goes in the
    // left column, the rest in the right one.
    std::vector<GraphicsDialogGroup> groups;
    std::string help;  // the help label, CR LF between lines
};

class GraphicsDialogClient {
public:
    virtual ~GraphicsDialogClient() = default;
    virtual GraphicsDialogFrame Describe() = 0;
    virtual void OptionClicked(int group, int option) = 0;
    // The pointer moved over an option, or over the window's free area
    // (neither an option, a group's frame nor a button or the help label).
    virtual void PointerOverOption(int group, int option) = 0;
    virtual void PointerOverFreeArea() = 0;
    virtual void OkClicked() = 0;
    virtual void CancelClicked() = 0;
    virtual void CloseBoxClicked() = 0;
};

// The view; `font` is the face its texts are drawn with (its glyphs should
// hold every caption and help text).
std::unique_ptr<OverlayWindow> MakeGraphicsDialogView(GraphicsDialogClient& client,
                                                      const OverlayFont& font);

}  // namespace brumil::platform
