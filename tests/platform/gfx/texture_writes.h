#pragma once
// Every way a texture's colour pixels can be changed from outside a device,
// for the tests of what is kept from them (padded copies, decoded state).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx_test_util.h"

namespace brumil::platform::testing {

struct TextureWrite {
    const char* name;
    // Changes pixels of `tex` through one path. `direct` is a view of its
    // pixels taken before, for the paths that follow writes made through
    // such a view (which alone tell nobody).
    void (*write)(Surface& tex, std::span<std::uint32_t> direct);
};

// Writes through a view kept from earlier: every channel of every pixel
// changes, in its high bits too, so a 16-bit format still sees it.
inline void WriteDirectly(Surface& tex, std::span<std::uint32_t> direct) {
    tex.Settle();  // draws recorded to read the pixels run first
    for (std::size_t i = 0; i < direct.size(); ++i) {
        direct[i] ^= 0x70A0C0F0u ^ static_cast<std::uint32_t>(i * 0x00010203u);
    }
}

inline const std::array<TextureWrite, 7> kTextureWrites = {{
    {"mutable pixels",
     [](Surface& tex, std::span<std::uint32_t>) {
         std::span<std::uint32_t> px = tex.MutablePixels();
         for (std::size_t i = 0; i < px.size(); ++i) {
             px[i] = px[i] * 2654435761u + 0x9E3779B9u + static_cast<std::uint32_t>(i);
         }
     }},
    {"lock",
     [](Surface& tex, std::span<std::uint32_t>) {
         SurfaceLock lock = tex.Lock();
         for (std::uint32_t& p : lock.Pixels()) p = (p << 8 | p >> 24) ^ 0x00FF00FFu;
     }},
    {"blit into it",
     [](Surface& tex, std::span<std::uint32_t>) {
         std::vector<std::uint32_t> px(static_cast<std::size_t>(tex.Width()) * tex.Height());
         for (std::size_t i = 0; i < px.size(); ++i) {
             px[i] = static_cast<std::uint32_t>(i + 1) * 0x9E3779B1u;
         }
         SurfacePtr from = MakeTexture(tex.Width(), tex.Height(), px);
         tex.Blt(tex.Rect(), *from, from->Rect(), false);
     }},
    {"colour fill",
     [](Surface& tex, std::span<std::uint32_t>) {
         tex.BltColorFill({0, 0, tex.Width() / 2 + 1, tex.Height()}, 0x80FF2040u);
     }},
    {"line and box",
     [](Surface& tex, std::span<std::uint32_t>) {
         tex.SetForeColor(0x0020C0FF);
         tex.SetDrawWidth(2);
         tex.DrawLine(0, tex.Height() - 1, tex.Width() - 1, 0);
         tex.DrawBox(1, 1, tex.Width() - 1, tex.Height() - 1);
     }},
    {"quantise after direct writes",
     [](Surface& tex, std::span<std::uint32_t> direct) {
         WriteDirectly(tex, direct);
         tex.QuantiseRect(tex.Rect());
     }},
    {"restore after loss",
     [](Surface& tex, std::span<std::uint32_t> direct) {
         tex.Settle();
         tex.MarkLost();
         WriteDirectly(tex, direct);
         tex.Restore();
     }},
}};

}  // namespace brumil::platform::testing
