#include "platform/gfx/surface.h"

#include <algorithm>
#include <cstdint>

namespace brumil::platform {

std::int32_t PixelFormatCode(PixelFormat f) {
    switch (f) {
        case PixelFormat::Rgb888:
            return 888;
        case PixelFormat::Argb8888:
            return 8888;
        case PixelFormat::Argb4444:
            return 4444;
        case PixelFormat::Argb1555:
            return 1555;
        case PixelFormat::Rgb565:
            return 565;
        case PixelFormat::Rgb555:
            return 555;
        case PixelFormat::Depth32F:
            return 32;
    }
    return 0;
}

SurfaceLock::SurfaceLock(Surface* s) : surface_(nullptr) {
    if (s == nullptr || s->IsLost() || s->IsDepth()) return;
    s->Settle();
    ++s->generation_;
    surface_ = s;
    pixels_ = s->color_;
    pitch_ = s->Width();
}

SurfaceLock::~SurfaceLock() {
    if (surface_ != nullptr) surface_->QuantiseRect(surface_->Rect());
}

SurfacePtr Surface::Create(const SurfaceDesc& desc) {
    if (desc.width < 1 || desc.height < 1 || desc.width > kMaxSurfaceSide ||
        desc.height > kMaxSurfaceSide) {
        return nullptr;
    }
    return SurfacePtr(new Surface(desc));
}

Surface::Surface(const SurfaceDesc& desc) : desc_(desc) {
    const std::size_t n = static_cast<std::size_t>(desc.width) * desc.height;
    if (IsDepth()) {
        depth_.assign(n, 1.0f);
    } else {
        color_.assign(n, 0u);
    }
}

bool Surface::SetPending(const std::shared_ptr<PendingDraws>& pending) {
    const std::shared_ptr<PendingDraws> current = pending_.lock();
    if (current == pending) return false;
    if (current != nullptr) current->Finish();
    pending_ = pending;
    return true;
}

void Surface::ClearPending(const PendingDraws* pending) {
    if (pending_.lock().get() == pending) pending_.reset();
}

void Surface::SettleSlow() const {
    if (const std::shared_ptr<PendingDraws> p = pending_.lock()) p->Finish();
}

int Surface::PitchBytes() const {
    switch (desc_.format) {
        case PixelFormat::Argb4444:
        case PixelFormat::Argb1555:
        case PixelFormat::Rgb565:
        case PixelFormat::Rgb555:
            return desc_.width * 2;
        default:
            return desc_.width * 4;
    }
}

bool Surface::Restore() {
    Settle();
    ++generation_;
    lost_ = false;
    return true;
}

namespace {

std::uint32_t Expand4(std::uint32_t v) {
    return v * 17u;
}
std::uint32_t Expand5(std::uint32_t v) {
    return (v << 3) | (v >> 2);
}
std::uint32_t Expand6(std::uint32_t v) {
    return (v << 2) | (v >> 4);
}

// The bits a format keeps, for key comparison.
std::uint32_t KeyMask(PixelFormat f) {
    switch (f) {
        case PixelFormat::Rgb888:
        case PixelFormat::Rgb565:
        case PixelFormat::Rgb555:
            return 0x00FFFFFFu;
        default:
            return 0xFFFFFFFFu;
    }
}

}  // namespace

std::uint32_t Surface::Quantise(std::uint32_t p) const {
    const std::uint32_t a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    switch (desc_.format) {
        case PixelFormat::Argb4444:
            return Expand4(a >> 4) << 24 | Expand4(r >> 4) << 16 | Expand4(g >> 4) << 8 |
                   Expand4(b >> 4);
        case PixelFormat::Argb1555:
            return (a >= 128 ? 0xFF000000u : 0u) | Expand5(r >> 3) << 16 | Expand5(g >> 3) << 8 |
                   Expand5(b >> 3);
        case PixelFormat::Rgb565:
            return 0xFF000000u | Expand5(r >> 3) << 16 | Expand6(g >> 2) << 8 | Expand5(b >> 3);
        case PixelFormat::Rgb555:
            return 0xFF000000u | Expand5(r >> 3) << 16 | Expand5(g >> 3) << 8 | Expand5(b >> 3);
        case PixelFormat::Rgb888:
            // The display format has no alpha. Only a texture has its alpha
            // read (by the device's sampler): there every pixel is opaque.
            return desc_.texture ? 0xFF000000u | p : p;
        default:
            return p;
    }
}

void Surface::QuantiseRect(const SurfaceRect& r) {
    Settle();
    ++generation_;
    const PixelFormat f = desc_.format;
    if (f == PixelFormat::Argb8888 || IsDepth()) return;
    if (f == PixelFormat::Rgb888 && !desc_.texture) return;
    const int x1 = std::max(r.x1, 0), y1 = std::max(r.y1, 0);
    const int x2 = std::min(r.x2, Width()), y2 = std::min(r.y2, Height());
    for (int y = y1; y < y2; ++y) {
        std::uint32_t* row = color_.data() + static_cast<std::size_t>(y) * Width();
        for (int x = x1; x < x2; ++x) row[x] = Quantise(row[x]);
    }
}

bool Surface::MatchesKey(std::uint32_t pixel) const {
    if (!colorKey_) return false;
    const std::uint32_t mask = KeyMask(desc_.format);
    return ((pixel ^ Quantise(*colorKey_)) & mask) == 0;
}

std::uint32_t Surface::ColorKeyMask() const {
    return KeyMask(desc_.format);
}

std::uint32_t Surface::PixelAt(int x, int y) const {
    Settle();
    if (IsDepth() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return color_[static_cast<std::size_t>(y) * Width() + x];
}

float Surface::DepthAt(int x, int y) const {
    Settle();
    if (!IsDepth() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return depth_[static_cast<std::size_t>(y) * Width() + x];
}

bool Surface::Blt(const SurfaceRect& dstRect, const Surface& src, const SurfaceRect& srcRect,
                  bool keySrc) {
    if (lost_ || src.lost_ || IsDepth() != src.IsDepth()) return false;
    Settle();
    src.Settle();
    ++generation_;
    if (dstRect.Empty() || srcRect.Empty()) return false;
    // Work in 64 bits: the rectangles may come from hostile arithmetic.
    const std::int64_t dw = static_cast<std::int64_t>(dstRect.x2) - dstRect.x1;
    const std::int64_t dh = static_cast<std::int64_t>(dstRect.y2) - dstRect.y1;
    const std::int64_t sw = static_cast<std::int64_t>(srcRect.x2) - srcRect.x1;
    const std::int64_t sh = static_cast<std::int64_t>(srcRect.y2) - srcRect.y1;
    constexpr std::int64_t kMaxSpan = std::int64_t{1} << 26;
    if (dw > kMaxSpan || dh > kMaxSpan || sw > kMaxSpan || sh > kMaxSpan) return false;
    const int cx1 = static_cast<int>(std::max<std::int64_t>(dstRect.x1, 0));
    const int cy1 = static_cast<int>(std::max<std::int64_t>(dstRect.y1, 0));
    const int cx2 = static_cast<int>(std::min<std::int64_t>(dstRect.x2, Width()));
    const int cy2 = static_cast<int>(std::min<std::int64_t>(dstRect.y2, Height()));
    if (cx1 >= cx2 || cy1 >= cy2) return true;  // wholly clipped: nothing to do
    const bool useKey = keySrc && src.colorKey_.has_value() && !IsDepth();
    // A source without alpha reads as opaque where alpha counts; a target
    // without alpha takes its bytes as they are.
    const bool alphaCounts = !IsDepth() && (desc_.format != PixelFormat::Rgb888 || desc_.texture);
    const std::uint32_t sourceAlpha =
        alphaCounts && src.desc_.format == PixelFormat::Rgb888 ? 0xFF000000u : 0u;
    const Surface* from = &src;
    std::vector<std::uint32_t> copyColor;  // overlapping self-blit reads a copy
    std::vector<float> copyDepth;
    for (int y = cy1; y < cy2; ++y) {
        // Source row of this destination row's centre.
        const std::int64_t sy = srcRect.y1 + ((2 * (y - dstRect.y1) + 1) * sh) / (2 * dh);
        if (sy < 0 || sy >= src.Height()) continue;
        for (int x = cx1; x < cx2; ++x) {
            const std::int64_t sx = srcRect.x1 + ((2 * (x - dstRect.x1) + 1) * sw) / (2 * dw);
            if (sx < 0 || sx >= src.Width()) continue;
            const std::size_t si = static_cast<std::size_t>(sy) * src.Width() + sx;
            const std::size_t di = static_cast<std::size_t>(y) * Width() + x;
            if (from == this && copyColor.empty() && copyDepth.empty()) {
                copyColor = color_;
                copyDepth = depth_;
            }
            if (IsDepth()) {
                depth_[di] = (from == this) ? copyDepth[si] : src.depth_[si];
            } else {
                const std::uint32_t p = (from == this) ? copyColor[si] : src.color_[si];
                if (useKey && src.MatchesKey(p)) continue;
                color_[di] = Quantise(p | sourceAlpha);
            }
        }
    }
    return true;
}

bool Surface::BltColorFill(const SurfaceRect& r, std::uint32_t argb) {
    if (lost_ || IsDepth()) return false;
    Settle();
    ++generation_;
    const int x1 = std::max(r.x1, 0), y1 = std::max(r.y1, 0);
    const int x2 = std::min(r.x2, Width()), y2 = std::min(r.y2, Height());
    const std::uint32_t p = Quantise(argb);
    for (int y = y1; y < y2; ++y) {
        std::uint32_t* row = color_.data() + static_cast<std::size_t>(y) * Width();
        std::fill(row + x1, row + std::max(x1, x2), p);
    }
    return true;
}

bool Surface::DepthFill(const SurfaceRect& r, float z) {
    if (lost_ || !IsDepth()) return false;
    Settle();
    const int x1 = std::max(r.x1, 0), y1 = std::max(r.y1, 0);
    const int x2 = std::min(r.x2, Width()), y2 = std::min(r.y2, Height());
    for (int y = y1; y < y2; ++y) {
        float* row = depth_.data() + static_cast<std::size_t>(y) * Width();
        std::fill(row + x1, row + std::max(x1, x2), z);
    }
    return true;
}

}  // namespace brumil::platform
