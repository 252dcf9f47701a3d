#pragma once
// Turning shot records into screen triangles for the painters: GetList files
// the records of a pool by sprite slot, GetTLS writes the triangles of one
// slot's records.

#include <cstdint>
#include <span>

#include "platform/collision/shot_record.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::platform::collision {

inline constexpr std::int32_t kSpriteSlots = 64;
// Vertices GetTLS writes per record: two triangles.
inline constexpr std::int32_t kVerticesPerRecord = 6;
// Entries of a cell group: left, top, right and bottom texel edges of 64 cells
// (256 = the whole texture), one table after the other.
inline constexpr std::int32_t kCellGroupEntries = 4 * 64;

// Selections of GetList.
inline constexpr std::int32_t kSelectAll = 0;
inline constexpr std::int32_t kSelectAbove = 1;  // Y < split
inline constexpr std::int32_t kSelectBelow = 2;  // Y >= split

// Files every live record of the pool whose DrawKind is 0..63 and that the
// selection admits (0 all, 1 Y < split, 2 Y >= split, others none), in
// ascending index: list k starts at kindIndexes[k x pool size] and gets
// kindCounts[k] entries (pool indices). The counts are set to 0 first.
// kindIndexes needs 64 x pool size entries and kindCounts 64; nothing is
// filed when either is short.
void GetList(std::span<const ShotRecord> pool, std::int32_t selection, std::int32_t split,
             std::span<std::int32_t> kindIndexes, std::span<std::int32_t> kindCounts);

// What GetTLS scales by, each x 256: the drawing scale (screen pixels per
// field pixel) and the texture's used fraction tu, tv.
struct TlsScale {
    std::int32_t draw256 = 256;
    std::int32_t tu256 = 256;
    std::int32_t tv256 = 256;
};

// Writes two clockwise triangles (TL, TR, BL and TR, BR, BL of the sprite) for
// each record named by indices (pool indices; count entries are read) and
// answers the number of vertices written. A record's quad is DrawW/256 x
// Scale/256 by DrawH/256 x Scale/256 pixels with its pivot at the fraction
// (ScaleX/256, ScaleY/256), turned clockwise by (Angle + Spin) x 2 pi / 4096
// with the sprite's up as reference, placed at (X/256, Y/256), all times the
// drawing scale. The texture cell is SpriteSlot And 63 of cells (times tu,
// tv); the colour is clamp(Alpha, 0, 255) << 24 Or (Color And 0xFFFFFF); z 0,
// rhw 1. Records that are free, out of range, with Alpha <= 0 or Scale <= 0 are
// skipped; writing stops when the vertex span is full. cells needs
// kCellGroupEntries entries, else nothing is written.
std::int32_t GetTLS(std::span<D3DTLVERTEX> vertices, TlsScale scale,
                    std::span<const std::int32_t> cells, std::span<const std::int32_t> indices,
                    std::int32_t count, std::span<const ShotRecord> pool);

}  // namespace brumil::platform::collision
