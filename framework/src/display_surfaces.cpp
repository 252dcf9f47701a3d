// Surface procedures of the display: creation, colour keys, rectangles, blits,
// fills, the work surface and descriptions.
#include <algorithm>
#include <cstdint>

#include "display_state.h"

namespace brumil::framework {

using detail::State;
using platform::PixelFormat;
using platform::Surface;
using platform::SurfaceRect;

namespace {

SurfacePtr Make(Long w, Long h, PixelFormat f, bool texture) {
    platform::SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = f;
    d.memory = platform::MemoryKind::System;  // there is no video memory here
    d.texture = texture;
    SurfacePtr s = Surface::Create(d);
    if (s) detail::Register(s);
    return s;
}

// The smallest power of two from `from` that holds n; 0 when above `max`.
Long RoundUpPow2(Long n, Long from, Long max) {
    Long p = from;
    while (p < n && p <= max / 2) p *= 2;
    return p >= n && p <= max ? p : 0;
}

// A texture side the device does not report counts as the largest surface side.
Long TextureSideMax(Long reported) {
    return reported > 0 ? reported : Long{platform::kMaxSurfaceSide};
}

bool CopyIfAlive(const SurfacePtr& to, const SurfacePtr& from) {
    if (!IsDDSAlive(to) || !IsDDSAlive(from)) return false;
    return to->Blt(to->Rect(), *from, from->Rect(), false);
}

}  // namespace

Long CreateDDS(SurfacePtr& out, Long width, Long height, bool texture, bool alpha, Long /*flags*/,
               Long /*caps*/, Long /*caps2*/) {
    const auto& st = State();
    if (!st.running) return 2;
    if (width <= 0 || height <= 0) return 1;
    PixelFormat f = PixelFormat::Rgb888;
    if (texture) {
        const Long maxW = TextureSideMax(st.caps.MaxTextureWidth);
        const Long maxH = TextureSideMax(st.caps.MaxTextureHeight);
        const Long from = std::max<Long>(16, st.caps.MinTextureWidth);
        width = RoundUpPow2(width, from, maxW);
        height = RoundUpPow2(height, from, maxH);
        if (width == 0 || height == 0) return 1;
        if (st.caps.SquareOnly) width = height = std::max(width, height);
        if (alpha) {
            f = st.settings.no32BitTextures ? PixelFormat::Argb4444 : PixelFormat::Argb8888;
        }
    }
    SurfacePtr s = Make(width, height, f, texture);
    if (!s) return 1;
    out = std::move(s);
    return 0;
}

SurfacePtr CreateOffscreenDDS(Long width, Long height, bool /*systemMemory*/, Long /*extraCaps*/) {
    if (!State().running || width <= 0 || height <= 0) return nullptr;
    return Make(width, height, PixelFormat::Rgb888, false);
}

void SetColorKeyDDS(const SurfacePtr& s, bool useGiven, Long color) {
    if (!s || s->IsDepth()) return;
    if (useGiven) {
        s->SetColorKey(static_cast<std::uint32_t>(color));
    } else if (!s->IsLost()) {
        s->SetColorKey(s->PixelAt(0, 0));
    }
}

void SetDDSColorKey(const SurfacePtr& s, bool useGiven, Long color) {
    if (IsDDSAlive(s)) SetColorKeyDDS(s, useGiven, color);
}

RECT GetDDSRect(const SurfacePtr& s) {
    if (!s) return {};
    return {0, 0, s->Width(), s->Height()};
}

void SetRectWH(RECT& r, Long width, Long height, Long x, Long y) {
    r = {x, y, x + width, y + height};
}

bool ClipStretchRect(const RECT& b, RECT& d, RECT& s) {
    const std::int64_t dw = std::int64_t{d.Right} - d.Left, dh = std::int64_t{d.Bottom} - d.Top;
    const std::int64_t sw = std::int64_t{s.Right} - s.Left, sh = std::int64_t{s.Bottom} - s.Top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return true;
    std::int64_t dl = d.Left, dt = d.Top, dr = d.Right, db = d.Bottom;
    std::int64_t sl = s.Left, stp = s.Top, sr = s.Right, sb = s.Bottom;
    if (dl < b.Left) {
        sl += (b.Left - dl) * sw / dw;
        dl = b.Left;
    }
    if (dr > b.Right) {
        sr -= (dr - b.Right) * sw / dw;
        dr = b.Right;
    }
    if (dt < b.Top) {
        stp += (b.Top - dt) * sh / dh;
        dt = b.Top;
    }
    if (db > b.Bottom) {
        sb -= (db - b.Bottom) * sh / dh;
        db = b.Bottom;
    }
    if (dl >= dr || dt >= db || sl >= sr || stp >= sb) return true;
    d = {Long(dl), Long(dt), Long(dr), Long(db)};
    s = {Long(sl), Long(stp), Long(sr), Long(sb)};
    return false;
}

bool BltDDS(const SurfacePtr& dest, const SurfacePtr& src, Long x, Long y, Long width, Long height,
            Long srcX, Long srcY, bool useSrcKey, bool centre) {
    if (!IsDDSAlive(dest) || !IsDDSAlive(src)) return false;
    if (width == 0) width = src->Width();
    if (height == 0) height = src->Height();
    if (width < 0 || height < 0) return false;
    if (centre) {
        x -= width / 2;
        y -= height / 2;
    }
    const auto clampL = [](std::int64_t v) {
        return Long(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const SurfaceRect d{x, y, clampL(std::int64_t{x} + width), clampL(std::int64_t{y} + height)};
    const SurfaceRect s{srcX, srcY, clampL(std::int64_t{srcX} + width),
                        clampL(std::int64_t{srcY} + height)};
    if (d.Width() != s.Width() || d.Height() != s.Height()) return false;  // clamped: refuse
    return dest->Blt(d, *src, s, useSrcKey);
}

bool BltDDSColorFill(const SurfacePtr& dest, Long x, Long y, Long width, Long height, Long color,
                     bool centre) {
    if (!IsDDSAlive(dest) || dest->IsDepth()) return false;
    if (width == 0) width = dest->Width();
    if (height == 0) height = dest->Height();
    if (width < 0 || height < 0) return false;
    if (centre) {
        x -= width / 2;
        y -= height / 2;
    }
    const SurfaceRect r{x, y, Long(std::min<std::int64_t>(std::int64_t{x} + width, INT32_MAX)),
                        Long(std::min<std::int64_t>(std::int64_t{y} + height, INT32_MAX))};
    return dest->BltColorFill(r, static_cast<std::uint32_t>(color));
}

SurfacePtr GetWorkDDS(Long mode) {
    auto& st = State();
    if (!st.running) return nullptr;
    if (!IsDDSAlive(st.work)) {
        st.work = CreateOffscreenDDS(st.screenWidth, st.screenHeight, true, 0);
    }
    switch (mode) {
        case 1:
            CopyIfAlive(st.back, st.work);
            break;
        case 2:
            CopyIfAlive(st.work, st.back);
            break;
        case 3:
            CopyIfAlive(st.back, st.work);
            CopyIfAlive(st.zbuffer, st.zbuffer2);
            break;
        case 4:
            CopyIfAlive(st.work, st.back);
            CopyIfAlive(st.zbuffer2, st.zbuffer);
            break;
        default:
            break;  // 0 and 5 copy nothing
    }
    return st.work;
}

bool IsDDSAlive(const SurfacePtr& s) {
    return s != nullptr && !s->IsLost();
}
Long GetDDSWidth(const SurfacePtr& s) {
    return s ? s->Width() : 0;
}
Long GetDDSHeight(const SurfacePtr& s) {
    return s ? s->Height() : 0;
}

DDSDescription ReadDDSDescription(const SurfacePtr& s) {
    if (!s) return {};
    return {s->Width(), s->Height(), s->PitchBytes(), platform::PixelFormatCode(s->Format()),
            static_cast<Long>(s->Desc().memory)};
}

}  // namespace brumil::framework
