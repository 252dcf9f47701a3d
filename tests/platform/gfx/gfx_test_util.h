#pragma once
// Small helpers shared by the graphics device tests.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/soft_device.h"
#include "platform/gfx/surface.h"

namespace brumil::platform::testing {

// Which inner loops draw: the general per-pixel loop, or the specialised
// loops four, eight or sixteen pixels at a time. Where the processor lacks
// a width the next narrower one draws, so comparisons still hold.
enum class Loops { General, Four, Eight, Sixteen };

// The specialised loops, narrowest first.
inline constexpr std::array<Loops, 3> kFastLoops = {Loops::Four, Loops::Eight, Loops::Sixteen};

inline const char* LoopsName(Loops loops) {
    switch (loops) {
        case Loops::General:
            return "general loop";
        case Loops::Four:
            return "four-pixel loops";
        case Loops::Eight:
            return "eight-pixel loops";
        case Loops::Sixteen:
            return "sixteen-pixel loops";
    }
    return "?";
}

// Device options that draw with `loops` (threads as the options' default).
inline SoftDeviceOptions OptionsFor(Loops loops) {
    SoftDeviceOptions o;
    o.specialisedSpans = loops != Loops::General;
    o.wideSpans = loops == Loops::Eight || loops == Loops::Sixteen;
    o.widestSpans = loops == Loops::Sixteen;
    return o;
}

inline SurfacePtr MakeSurface(int w, int h, PixelFormat f = PixelFormat::Rgb888,
                              bool texture = false) {
    SurfaceDesc d;
    d.width = w;
    d.height = h;
    d.format = f;
    d.texture = texture;
    return Surface::Create(d);
}

// A texture whose pixels are given row by row.
inline SurfacePtr MakeTexture(int w, int h, const std::vector<std::uint32_t>& argb,
                              PixelFormat f = PixelFormat::Argb8888) {
    SurfacePtr t = MakeSurface(w, h, f, true);
    {
        SurfaceLock lock = t->Lock();
        for (std::size_t i = 0; i < argb.size() && i < lock.Pixels().size(); ++i) {
            lock.Pixels()[i] = argb[i];
        }
    }
    return t;
}

inline D3DTLVERTEX TL(float x, float y, float u, float v, std::uint32_t color = 0xFFFFFFFFu,
                      float z = 0.0f, float rhw = 1.0f) {
    D3DTLVERTEX t;
    t.sx = x;
    t.sy = y;
    t.sz = z;
    t.rhw = rhw;
    t.color = static_cast<std::int32_t>(color);
    t.tu = u;
    t.tv = v;
    return t;
}

// The four corners of an axis-aligned quad in strip order, texture 0..1,
// placed so that texel centres fall on pixel centres.
inline std::array<D3DTLVERTEX, 4> Quad(float x, float y, float w, float h,
                                       std::uint32_t color = 0xFFFFFFFFu, float z = 0.0f) {
    const float l = x - 0.5f, t = y - 0.5f, r = l + w, b = t + h;
    return {TL(l, t, 0, 0, color, z), TL(r, t, 1, 0, color, z), TL(l, b, 0, 1, color, z),
            TL(r, b, 1, 1, color, z)};
}

template <std::size_t N>
inline bool DrawStrip(Direct3DDevice7& d, const std::array<D3DTLVERTEX, N>& v) {
    return d.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, std::span<const D3DTLVERTEX>(v),
                           static_cast<D3DLong>(N), 0);
}

inline std::vector<std::uint32_t> PixelsOf(const Surface& s) {
    return {s.Pixels().begin(), s.Pixels().end()};
}

// The target's pixels, then the depth buffer's bits when there is one: what
// two drawings must agree on to be the same.
inline std::vector<std::uint32_t> PixelsAndDepth(const Surface& target, const Surface* depth) {
    std::vector<std::uint32_t> out = PixelsOf(target);
    if (depth != nullptr) {
        for (float z : depth->Depth()) out.push_back(std::bit_cast<std::uint32_t>(z));
    }
    return out;
}

// Where two readbacks (pixels, then depth words where taken) first differ,
// or success.
inline ::testing::AssertionResult Same(const std::vector<std::uint32_t>& got,
                                       const std::vector<std::uint32_t>& want) {
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] != want[i]) {
            return ::testing::AssertionFailure()
                   << "word " << i << ": " << got[i] << " for " << want[i];
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace brumil::platform::testing
