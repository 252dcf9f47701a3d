#pragma once
// The windows a menu overlay draws after its menu (overlay_window.h): their
// fonts, added to the ImGui atlas outside a frame, and their drawing in the
// overlay's frame. Used with the overlay's ImGui context current.

#include <imgui.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "platform/ui/overlay_window.h"

namespace brumil::platform {

class OverlayWindows {
public:
    void Add(OverlayWindow& window);
    void Remove(OverlayWindow& window);
    bool Empty() const { return entries_.empty(); }

    // Adds the fonts of the windows added since the last call; windows that
    // ask for the same face at the same size share one font with the glyphs
    // of all of them. True when the atlas changed, so its texture must be
    // made again. Call before the frame begins.
    bool LoadFonts();
    // Draws every window, each with its font.
    void Draw(const OverlayPlace& place);
    // True when a window takes every key.
    bool CapturesKeys();

private:
    struct Entry {
        OverlayWindow* window = nullptr;
        ImFont* font = nullptr;
        bool fontLoaded = false;
    };

    std::vector<Entry> entries_;
    // Glyph ranges handed to the atlas, which keeps the pointers.
    std::list<ImVector<ImWchar>> ranges_;
};

}  // namespace brumil::platform

namespace brumil::platform {

// Begins a dialog's window, sized to its contents, with a close box that
// clears `open`; `id` keeps the window's state whatever its caption. When it
// appears the window goes to the head's screen position (converted to the
// client area) or else to the picture's top-left corner; afterwards the user
// may move it. Whatever its position, the whole window stays inside the
// display. As with ImGui::Begin, ImGui::End must follow whatever the answer;
// false means nothing is to be drawn in it.
inline bool BeginOverlayDialog(const OverlayDialogHead& head, const char* id,
                               const OverlayPlace& place, bool& open) {
    const ImVec2 pos = head.placed ? ImVec2(float(head.screenX - place.clientScreenX),
                                            float(head.screenY - place.clientScreenY))
                                   : ImVec2(float(place.pictureX), float(place.pictureY));
    ImGui::SetNextWindowPos(pos, ImGuiCond_Appearing);
    const std::string title = head.caption + "###" + id;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoSavedSettings;
    const bool shown = ImGui::Begin(title.c_str(), &open, flags);
    const ImVec2 at = ImGui::GetWindowPos();
    const ImVec2 size = ImGui::GetWindowSize();
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const ImVec2 inside(std::clamp(at.x, 0.0f, std::max(0.0f, display.x - size.x)),
                        std::clamp(at.y, 0.0f, std::max(0.0f, display.y - size.y)));
    if (inside.x != at.x || inside.y != at.y) ImGui::SetWindowPos(inside);
    return shown;
}

// A text as ImGui shows it: line breaks as LF alone.
inline std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace brumil::platform
