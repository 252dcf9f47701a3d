// CApi's window helpers: placing, sizing and dressing a window.
#include "core/api_form.h"

#include <algorithm>

#include "core/api.h"

namespace brumil::core {

namespace {

constexpr Long kDefaultFontPoints = 9;

// Keeps a window of `size` starting at `at` inside a screen of `screen`
// (unclamped where the screen's size is not known).
Long InsideScreen(Long at, Long size, Long screen) {
    if (screen <= 0) return at;
    return std::clamp(at, Long{0}, std::max(Long{0}, screen - std::max(Long{0}, size)));
}

}  // namespace

Long FontPixelsOfPoints(Long points) {
    // Points are 1/72 inch; halves round up.
    return (points * 96 + 36) / 72;
}

void CApi::SetupForm(ApiForm& form, const FormSetup& s) {
    if (s.clientWidth || s.clientHeight) {
        Long w = 0, h = 0;
        form.ClientSize(w, h);
        form.SetClientSize(s.clientWidth.value_or(w), s.clientHeight.value_or(h));
    }
    if (s.noCaption) form.SetNoCaption(*s.noCaption);
    if (s.topmost) form.SetTopmost(*s.topmost);
    if (s.fontSize || s.fontName) {
        Long points = s.fontSize ? *s.fontSize : form.FontPoints();
        if (points == 0) points = kDefaultFontPoints;
        form.SetFont(s.fontName ? std::string_view(*s.fontName) : form.FontName(), points);
    }
    if (s.x || s.y) {
        Long x = 0, y = 0, w = 0, h = 0, sw = 0, sh = 0;
        form.Position(x, y);
        form.OuterSize(w, h);
        form.ScreenSize(sw, sh);
        form.Move(InsideScreen(s.x.value_or(x), w, sw), InsideScreen(s.y.value_or(y), h, sh));
    }
}

void CApi::FormOnPosition(const ApiForm& form, Long& x, Long& y) {
    Long ox = 0, oy = 0;
    form.ClientOrigin(ox, oy);
    x += ox;
    y += oy;
}

}  // namespace brumil::core
