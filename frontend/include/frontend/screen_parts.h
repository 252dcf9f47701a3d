#pragma once
// Pieces the menu screens share: the stencil fade drawn straight to the back
// surface, the bar cursor under the current menu item, keeping the screen's
// last frame for the next screen, and the glyph atlas of menu captions.

#include <memory>
#include <optional>
#include <string_view>

#include "core/vb_types.h"
#include "frontend/layer_object.h"
#include "image/cmg_bbi.h"

namespace brumil::frontend {

class ApplicationConfig;
class CView;
class ScreenHost;

inline constexpr Long kScreenWidth = 640;
inline constexpr Long kScreenHeight = 480;

// frame / span held to 0..1 (a span of 0 or less gives 1).
Single FadeProgress(Long frame, Long span);

// Makes `scaled` the back surface's size for the drawing scale, or drops it at
// scale 1.0.
void FitScaledPicture(std::optional<image::CmgBBI>& scaled, Single scale);

// One fade frame: the stencil mix of a and b at progress t (held to 0..1) with
// softness v into `current`, put on the back surface (through `scaled` at a
// drawing scale other than 1.0) and presented whole.
void FadeStep(ScreenHost& host, image::CmgBBI& current, std::optional<image::CmgBBI>& scaled,
              const image::CmgBBI& a, const image::CmgBBI& b, Single t, Single v);

// WorkPicture := the current view's composed layer, 640x480.
void KeepLastFrame(ApplicationConfig& app);

// The bar cursor of a menu: the picture "cursor" stretched over the current
// item's rectangle widened by `widen` on each side, in the layer entry
// `entry`. No current item (or no rectangle for it) removes the entry; answers
// whether a bar was drawn.
bool DrawBarCursor(CView& view, ScreenHost& host, Long entry, Long widen);

// The 256x256 glyph atlas of menu captions, from the picture
// "font64-x13-256x256".
std::shared_ptr<const image::CmgBBI> MakeCaptionAtlas(ScreenHost& host);

// Sets the text renderer's glyph atlas for the life of the object and puts
// the previous one back after. Captions are typed during later compositions,
// so a screen keeps its atlas set around each Paint while they type.
class GlyphAtlasScope {
public:
    explicit GlyphAtlasScope(std::shared_ptr<const image::CmgBBI> atlas);
    ~GlyphAtlasScope();
    GlyphAtlasScope(const GlyphAtlasScope&) = delete;
    GlyphAtlasScope& operator=(const GlyphAtlasScope&) = delete;

private:
    std::shared_ptr<const image::CmgBBI> previous_;
};

// The entry handle of the current view's layer.
CLayerObject Entry(CView& view, Long index);

}  // namespace brumil::frontend
