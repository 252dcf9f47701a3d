#pragma once
// Small single-precision vector and matrix helpers of the 3D library, in the
// row-vector convention of the device: a point is the row (x, y, z, 1)
// multiplied from the left.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::render {

using platform::D3DMATRIX;
using platform::D3DVECTOR;

// The four components of (x, y, z, w) x m, each rounded to single precision.
struct Vec4 {
    Single x = 0, y = 0, z = 0, w = 0;
};
Vec4 TransformRow(const D3DMATRIX& m, Single x, Single y, Single z, Single w);

// Normalises v in place. A vector of zero or non-finite length becomes the zero
// vector, so degenerate faces never put NaN into vertex data. Answers true when
// v had a usable length.
bool NormalizeOrZero(D3DVECTOR& v);

// Gauss-Jordan elimination with partial pivoting. Writes the inverse of `in`
// to `out` and answers true; answers false and leaves `out` untouched when the
// matrix is singular or so close to it that the inverse would not be finite
// (a pivot below 1e-9 of the largest element). `out` may be `in`.
bool InvertMatrix(D3DMATRIX& out, const D3DMATRIX& in);

// Line pairs that outline the triangles of a triangle list (type 4) or strip
// (type 5) of `count` vertices, or of `indexCount` entries of `indices` when
// `indexed`. The vertex numbers count from the draw's first vertex, as the
// draw's own do. Nothing for any other type, a list whose length is not a
// positive multiple of 3, a strip shorter than 3, an index count past the
// array, or a vertex number that does not fit 16 bits.
std::optional<std::vector<Integer>> BuildWireIndices(Long primitiveType, Long count, bool indexed,
                                                     std::span<const Integer> indices,
                                                     Long indexCount);

}  // namespace brumil::render
