#pragma once
// SDL2's own software renderer drawing into a memory picture, behind a narrow
// interface: the yardstick the software device's speed is compared with. No
// window and no display are needed.

#include <cstdint>
#include <memory>
#include <span>

namespace brumil::bench {

class SdlReferenceRenderer {
public:
    // Nothing when SDL cannot make the picture or the renderer.
    static std::unique_ptr<SdlReferenceRenderer> Create(int width, int height);
    ~SdlReferenceRenderer();
    SdlReferenceRenderer(const SdlReferenceRenderer&) = delete;
    SdlReferenceRenderer& operator=(const SdlReferenceRenderer&) = delete;

    // A texture from row-major 0xAARRGGBB pixels; drawn blended by its alpha
    // when `blend`, copied when not; bilinear when `linear`. Answers its
    // number, or -1.
    int AddTexture(std::span<const std::uint32_t> argb, int width, int height, bool blend,
                   bool linear);
    void Clear(std::uint32_t argb);
    // Draws the texture's (sx, sy, sw, sh) into the rectangle (x, y, w, h),
    // turned about the rectangle's centre by `degrees` clockwise on the screen.
    bool Draw(int texture, int sx, int sy, int sw, int sh, int x, int y, int w, int h,
              double degrees);
    // Runs every queued draw; the picture is complete afterwards.
    void Finish();
    // The picture, row-major 0xAARRGGBB, Pitch() pixels per row.
    std::span<const std::uint32_t> Pixels() const;
    int Pitch() const;

private:
    struct Impl;
    explicit SdlReferenceRenderer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace brumil::bench
