#pragma once
// A DirectDraw-like surface: a picture in memory with a size, a pixel format,
// a memory kind, a lost flag and a source colour key.
//
// Colour surfaces always hold 32-bit 0xAARRGGBB pixels whatever their format;
// a 16-bit format (4444, 1555, 565, 555) is applied when pixels arrive (Unlock,
// blit, fill, drawing), so reads see the precision the format keeps. 565 and
// 555 make every arriving pixel opaque, and so does 888 in a texture (the
// only surface whose alpha is read, by the device's sampler); an 888 source
// blitted to a surface with alpha reads as opaque. Depth
// surfaces hold one float per pixel. Surfaces are shared (std::shared_ptr):
// the last holder frees the memory.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace brumil::platform {

enum class PixelFormat {
    Rgb888,    // 32-bit display format without alpha (opaque as a texture)
    Argb8888,  // 32-bit with alpha
    Argb4444,
    Argb1555,
    Rgb565,
    Rgb555,
    Depth32F,  // a depth buffer
};

// The number a surface description reports for a format: 555, 565, 1555,
// 4444, 888, 8888, or 32 for a depth buffer.
std::int32_t PixelFormatCode(PixelFormat f);

// Where the surface would live; nothing here differs but the description.
enum class MemoryKind : std::int32_t { System = 0, NonLocalVideo = 1, LocalVideo = 2 };

struct SurfaceDesc {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb888;
    MemoryKind memory = MemoryKind::System;
    bool texture = false;
    bool managed = false;
};

// Sides beyond this are refused.
constexpr int kMaxSurfaceSide = 8192;

struct SurfaceRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // right and bottom exclusive
    int Width() const { return x2 - x1; }
    int Height() const { return y2 - y1; }
    bool Empty() const { return x2 <= x1 || y2 <= y1; }
};

class Surface;
using SurfacePtr = std::shared_ptr<Surface>;

// Drawing recorded into or from surfaces and not yet run (a device that
// rasterises a scene's draws later, on worker threads). Finish runs it; a
// surface calls it before its pixels are read or changed from outside.
class PendingDraws {
public:
    virtual ~PendingDraws() = default;
    virtual void Finish() = 0;
};

// Writable view of a locked colour surface; the format is applied when it
// ends (Unlock).
class SurfaceLock {
public:
    explicit SurfaceLock(Surface* s);
    ~SurfaceLock();
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    bool Ok() const { return surface_ != nullptr; }
    std::span<std::uint32_t> Pixels() const { return pixels_; }
    int Pitch() const { return pitch_; }  // pixels per row

private:
    Surface* surface_;
    std::span<std::uint32_t> pixels_;
    int pitch_ = 0;
};

class Surface {
public:
    // Nothing when a side is not in 1 .. kMaxSurfaceSide.
    static SurfacePtr Create(const SurfaceDesc& desc);

    const SurfaceDesc& Desc() const { return desc_; }
    int Width() const { return desc_.width; }
    int Height() const { return desc_.height; }
    PixelFormat Format() const { return desc_.format; }
    bool IsDepth() const { return desc_.format == PixelFormat::Depth32F; }
    // Bytes per row as a description reports it.
    int PitchBytes() const;
    SurfaceRect Rect() const { return {0, 0, desc_.width, desc_.height}; }

    // A lost surface refuses locks, blits and fills until restored; its
    // content is kept but counts as undefined.
    bool IsLost() const { return lost_; }
    void MarkLost() { lost_ = true; }
    bool Restore();

    // Source colour key, compared with the bits the format keeps (without
    // alpha for the display format).
    void SetColorKey(std::optional<std::uint32_t> key) { colorKey_ = key; }
    std::optional<std::uint32_t> ColorKey() const { return colorKey_; }
    bool MatchesKey(std::uint32_t pixel) const;
    // The pixel bits the key compares.
    std::uint32_t ColorKeyMask() const;

    // Colour pixels, row-major, Width() per row (empty for depth surfaces).
    std::span<const std::uint32_t> Pixels() const {
        Settle();
        return color_;
    }
    std::span<std::uint32_t> MutablePixels() {
        Settle();
        ++generation_;
        return color_;
    }
    std::span<const float> Depth() const {
        Settle();
        return depth_;
    }
    std::span<float> MutableDepth() {
        Settle();
        return depth_;
    }
    // Moves on whenever the colour pixels may be written (mutable access, a
    // lock, a blit or fill into the surface, drawing, restoring): a copy of
    // them made at one generation is still current while it stays.
    std::uint64_t Generation() const { return generation_; }
    std::uint32_t PixelAt(int x, int y) const;  // 0 outside or for depth
    float DepthAt(int x, int y) const;          // 0 outside or for colour

    // Lock for writing; fails (Ok() false) on a lost or depth surface.
    SurfaceLock Lock() { return SurfaceLock(this); }

    // Copies src's srcRect into dstRect of this surface, stretching with the
    // nearest source pixel when the sizes differ; both rectangles are clipped to
    // their surfaces (the mapping between them stays). Colour-to-colour or
    // depth-to-depth only. keySrc skips source pixels matching src's key.
    bool Blt(const SurfaceRect& dstRect, const Surface& src, const SurfaceRect& srcRect,
             bool keySrc);
    // Fills the clipped rectangle with a 0xAARRGGBB colour (after the format).
    bool BltColorFill(const SurfaceRect& rect, std::uint32_t argb);
    bool BltColorFill(std::uint32_t argb) { return BltColorFill(Rect(), argb); }
    // Depth surfaces: fills with a depth value.
    bool DepthFill(const SurfaceRect& rect, float z);

    // Outline drawing in the manner of the system's GDI: the fore colour is a
    // 0x00BBGGRR colour reference, the pen a square of DrawWidth pixels
    // centred on the path; right and bottom bounds are exclusive.
    void SetForeColor(std::int32_t colorRef) { foreColor_ = colorRef; }
    void SetDrawWidth(int width) { drawWidth_ = width < 1 ? 1 : (width > 64 ? 64 : width); }
    bool DrawBox(int x1, int y1, int x2, int y2);
    bool DrawRoundedBox(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    bool DrawEllipse(int x1, int y1, int x2, int y2);
    bool DrawLine(int x1, int y1, int x2, int y2);

    // Names the work that draws into or from this surface until it finishes;
    // another owner's work is finished first. Answers whether the owner
    // changed. Only the thread that owns the surfaces calls these.
    bool SetPending(const std::shared_ptr<PendingDraws>& pending);
    // Forgets `pending` (when it is the owner) once its work has run.
    void ClearPending(const PendingDraws* pending);
    // Runs the pending work, if any, so the pixels are final.
    void Settle() const {
        if (!pending_.expired()) SettleSlow();
    }

    // Applies the format's precision to a pixel.
    std::uint32_t Quantise(std::uint32_t argb) const;
    // Applies the format to a rectangle of pixels (after direct writes).
    void QuantiseRect(const SurfaceRect& r);

private:
    explicit Surface(const SurfaceDesc& desc);
    void Stamp(int cx, int cy);  // one pen stamp
    std::uint32_t PenPixel() const;
    void SettleSlow() const;

    SurfaceDesc desc_;
    std::vector<std::uint32_t> color_;
    std::vector<float> depth_;
    bool lost_ = false;
    std::optional<std::uint32_t> colorKey_;
    std::int32_t foreColor_ = 0;
    int drawWidth_ = 1;
    std::weak_ptr<PendingDraws> pending_;
    std::uint64_t generation_ = 0;
    friend class SurfaceLock;
};

}  // namespace brumil::platform
