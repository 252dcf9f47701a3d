#include "display_state.h"

namespace brumil::framework {

void DisplayPresent(platform::Window& window, bool whole, int /*x*/, int /*y*/, int width,
                    int height) {
    const SurfacePtr& back = detail::State().back;
    if (back == nullptr) return;
    if (back->IsLost()) back->Restore();
    // The window shows the whole buffer; a dirty rectangle only decides
    // whether there is anything new to show.
    if (!whole && (width <= 0 || height <= 0)) return;
    window.Present(back->Pixels(), back->Width(), back->Height(), back->Width());
}

}  // namespace brumil::framework
