#pragma once
// What CApi's window helpers (SetupForm, FormOnPosition) need of a window.
// Core knows no window system: the shell hands them its windows (the main
// window, the dialogs drawn over the picture) through this interface.
//
// All positions and sizes are in screen pixels; font sizes in points.

#include <optional>
#include <string>
#include <string_view>

#include "core/vb_types.h"

namespace brumil::core {

class ApiForm {
public:
    virtual ~ApiForm() = default;

    // The window's top-left corner on the screen.
    virtual void Position(Long& x, Long& y) const = 0;
    virtual void Move(Long x, Long y) = 0;
    // The client area's top-left corner on the screen.
    virtual void ClientOrigin(Long& x, Long& y) const = 0;
    // The screen the window is kept inside, and the window's outer size;
    // 0 where not known, which leaves that side unclamped.
    virtual void ScreenSize(Long& width, Long& height) const = 0;
    virtual void OuterSize(Long& width, Long& height) const = 0;

    virtual void ClientSize(Long& width, Long& height) const = 0;
    virtual void SetClientSize(Long width, Long height) = 0;
    virtual void SetTopmost(bool topmost) = 0;
    // The face and size every control of the window is drawn with.
    virtual void SetFont(std::string_view name, Long points) = 0;
    virtual std::string FontName() const = 0;
    virtual Long FontPoints() const = 0;
    // True removes the caption and the sizing border.
    virtual void SetNoCaption(bool noCaption) = 0;
};

// The optional values of CApi::SetupForm, in its order; an empty one keeps
// the window's state.
struct FormSetup {
    std::optional<Long> x = std::nullopt;
    std::optional<Long> y = std::nullopt;
    std::optional<Long> clientWidth = std::nullopt;
    std::optional<Long> clientHeight = std::nullopt;
    std::optional<bool> topmost = std::nullopt;
    std::optional<Long> fontSize = std::nullopt;  // 0 gives 9
    std::optional<std::string> fontName = std::nullopt;
    std::optional<bool> noCaption = std::nullopt;
};

// A font size in points as pixels on the usual 96-dot-per-inch screen,
// rounded as the system rounds it (8 points: 11 pixels, 9 points: 12).
Long FontPixelsOfPoints(Long points);

}  // namespace brumil::core
