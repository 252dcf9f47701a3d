#include "platform/collision/sprite_list.h"

#include <cmath>

namespace brumil::platform::collision {
namespace {

bool Admitted(const ShotRecord& r, std::int32_t selection, std::int32_t split) {
    switch (selection) {
        case kSelectAll:
            return true;
        case kSelectAbove:
            return r.Y < split;
        case kSelectBelow:
            return r.Y >= split;
        default:
            return false;
    }
}

bool Drawable(const ShotRecord& r) {
    return r.State != kStateFree && r.DrawKind >= 0 && r.DrawKind < kSpriteSlots && r.Alpha > 0 &&
           r.Scale > 0;
}

}  // namespace

void GetList(std::span<const ShotRecord> pool, std::int32_t selection, std::int32_t split,
             std::span<std::int32_t> kindIndexes, std::span<std::int32_t> kindCounts) {
    const std::size_t size = pool.size();
    if (kindCounts.size() < kSpriteSlots || kindIndexes.size() < kSpriteSlots * size) return;
    for (std::size_t k = 0; k < kSpriteSlots; ++k) kindCounts[k] = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const ShotRecord& r = pool[i];
        if (r.State == kStateFree || r.DrawKind < 0 || r.DrawKind >= kSpriteSlots) continue;
        if (!Admitted(r, selection, split)) continue;
        const auto k = static_cast<std::size_t>(r.DrawKind);
        kindIndexes[k * size + static_cast<std::size_t>(kindCounts[k])] =
            static_cast<std::int32_t>(i);
        ++kindCounts[k];
    }
}

std::int32_t GetTLS(std::span<D3DTLVERTEX> vertices, TlsScale scale,
                    std::span<const std::int32_t> cells, std::span<const std::int32_t> indices,
                    std::int32_t count, std::span<const ShotRecord> pool) {
    if (cells.size() < kCellGroupEntries || count <= 0) return 0;
    const std::size_t n = std::min(indices.size(), static_cast<std::size_t>(count));
    const double draw = scale.draw256 / 256.0;
    const double tu = scale.tu256 / 256.0 / 256.0;  // per texel-edge unit (256 = whole)
    const double tv = scale.tv256 / 256.0 / 256.0;
    std::size_t written = 0;
    for (std::size_t e = 0; e < n; ++e) {
        if (vertices.size() - written < kVerticesPerRecord) break;
        const std::int32_t index = indices[e];
        if (index < 0 || static_cast<std::size_t>(index) >= pool.size()) continue;
        const ShotRecord& r = pool[static_cast<std::size_t>(index)];
        if (!Drawable(r)) continue;
        // Quad in pixels around its pivot, sprite axes (x right, y down).
        const double w = r.DrawW / 256.0 * (r.Scale / 256.0);
        const double h = r.DrawH / 256.0 * (r.Scale / 256.0);
        const double fx = r.ScaleX / 256.0, fy = r.ScaleY / 256.0;
        const double left = -fx * w, right = (1.0 - fx) * w;
        const double top = -fy * h, bottom = (1.0 - fy) * h;
        // Clockwise on a y-down screen by the drawing angle.
        const double turn =
            static_cast<double>(r.Angle & 4095) + static_cast<double>(r.Spin & 4095);
        const double theta = turn * 2.0 * 3.14159265358979323846 / 4096.0;
        const double c = std::cos(theta), s = std::sin(theta);
        const double cx = r.X / 256.0, cy = r.Y / 256.0;
        const auto cell = static_cast<std::size_t>(r.SpriteSlot & 63);
        const double u0 = cells[cell] * tu, v0 = cells[64 + cell] * tv;
        const double u1 = cells[128 + cell] * tu, v1 = cells[192 + cell] * tv;
        const std::int32_t alpha = r.Alpha > 255 ? 255 : r.Alpha;
        const auto colour =
            static_cast<std::int32_t>((static_cast<std::uint32_t>(alpha) << 24) |
                                      (static_cast<std::uint32_t>(r.Color) & 0xFFFFFFu));
        const auto corner = [&](double lx, double ly, double u, double v) {
            D3DTLVERTEX out;
            out.sx = static_cast<float>((cx + lx * c - ly * s) * draw);
            out.sy = static_cast<float>((cy + lx * s + ly * c) * draw);
            out.sz = 0.0f;
            out.rhw = 1.0f;
            out.color = colour;
            out.specular = 0;
            out.tu = static_cast<float>(u);
            out.tv = static_cast<float>(v);
            return out;
        };
        const D3DTLVERTEX tl = corner(left, top, u0, v0), tr = corner(right, top, u1, v0);
        const D3DTLVERTEX br = corner(right, bottom, u1, v1), bl = corner(left, bottom, u0, v1);
        for (const D3DTLVERTEX& v : {tl, tr, bl, tr, br, bl}) vertices[written++] = v;
    }
    return static_cast<std::int32_t>(written);
}

}  // namespace brumil::platform::collision
