#pragma once
// The font file behind a face name, for the windows drawn over the game (the
// menu bar and the settings dialogs): the image library's font table under
// the data root decides, falling back to the system's fonts by family name.

#include <string>
#include <string_view>

namespace brumil::app {

// The file of the face `faceName` and, through `faceIndex`, the face's index
// inside it; empty (index 0) when no font is found.
std::string OverlayFontFile(std::string_view faceName, int& faceIndex);

}  // namespace brumil::app
