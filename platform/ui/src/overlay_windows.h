#pragma once
// The windows a menu overlay draws after its menu (overlay_window.h): their
// fonts, added to the ImGui atlas outside a frame, and their drawing in the
// overlay's frame. Used with the overlay's ImGui context current.

#include <imgui.h>

#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "platform/overlay_window.h"

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

// Sets the next window's position when it appears: at a screen position
// (converted to the client area) when it has one, else at the picture's
// top-left corner. Afterwards the user may move it.
inline void PlaceNextOverlayWindow(bool placed, int screenX, int screenY,
                                   const OverlayPlace& place) {
    const ImVec2 pos =
        placed ? ImVec2(float(screenX - place.clientScreenX), float(screenY - place.clientScreenY))
               : ImVec2(float(place.pictureX), float(place.pictureY));
    ImGui::SetNextWindowPos(pos, ImGuiCond_Appearing);
}

// A text as ImGui shows it: line breaks as LF alone.
inline std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

}  // namespace brumil::platform
