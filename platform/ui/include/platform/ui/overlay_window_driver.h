#pragma once
// The null mode of the overlay's windows: a bare Dear ImGui context with
// ImGui's own font and no renderer, in which windows are drawn frame by frame
// under a scripted pointer. Tests drive the dialog views with it and check
// what the views report.

#include "platform/ui/overlay_window.h"

struct ImGuiContext;

namespace brumil::platform {

class OverlayWindowDriver {
public:
    OverlayWindowDriver(float width, float height);
    ~OverlayWindowDriver();
    OverlayWindowDriver(const OverlayWindowDriver&) = delete;
    OverlayWindowDriver& operator=(const OverlayWindowDriver&) = delete;

    // One frame with the pointer at (x, y) and the left button held or not;
    // a press followed by a release over the same item is a click.
    void Frame(OverlayWindow& window, float x, float y, bool buttonDown,
               const OverlayPlace& place = {});

private:
    ImGuiContext* context_ = nullptr;
    ImGuiContext* previous_ = nullptr;
};

}  // namespace brumil::platform
