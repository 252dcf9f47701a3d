#include "render/ark_math.h"

#include <algorithm>
#include <cmath>

namespace brumil::render {

Vec4 TransformRow(const D3DMATRIX& m, Single x, Single y, Single z, Single w) {
    Vec4 r;
    r.x = x * m.rc11 + y * m.rc21 + z * m.rc31 + w * m.rc41;
    r.y = x * m.rc12 + y * m.rc22 + z * m.rc32 + w * m.rc42;
    r.z = x * m.rc13 + y * m.rc23 + z * m.rc33 + w * m.rc43;
    r.w = x * m.rc14 + y * m.rc24 + z * m.rc34 + w * m.rc44;
    return r;
}

bool NormalizeOrZero(D3DVECTOR& v) {
    const Single length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f) || !std::isfinite(length)) {
        v = {};
        return false;
    }
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

bool InvertMatrix(D3DMATRIX& out, const D3DMATRIX& in) {
    // Work in double on [A | I]; the result is stored back in single precision.
    double a[4][8] = {};
    double largest = 0.0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            a[r][c] = in.At(r, c);
            if (!std::isfinite(a[r][c])) return false;
            largest = std::max(largest, std::fabs(a[r][c]));
        }
        a[r][4 + r] = 1.0;
    }
    if (largest == 0.0) return false;
    const double tiny = largest * 1e-9;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        }
        if (!(std::fabs(a[pivot][col]) > tiny)) return false;
        if (pivot != col) std::swap(a[pivot], a[col]);
        const double inv = 1.0 / a[col][col];
        for (int c = 0; c < 8; ++c) a[col][c] *= inv;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0) continue;
            const double f = a[r][col];
            for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
        }
    }
    D3DMATRIX result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const auto v = static_cast<Single>(a[r][4 + c]);
            if (!std::isfinite(v)) return false;
            result.At(r, c) = v;
        }
    }
    out = result;
    return true;
}

std::optional<std::vector<Integer>> BuildWireIndices(Long primitiveType, Long count, bool indexed,
                                                     std::span<const Integer> indices,
                                                     Long indexCount) {
    const Long n = indexed ? indexCount : count;
    if (indexed && (indexCount < 0 || static_cast<std::size_t>(indexCount) > indices.size())) {
        return std::nullopt;
    }
    if (!indexed && n > 32768) return std::nullopt;  // vertex numbers must fit 16 bits
    auto vertexOf = [&](Long j) {
        return indexed ? indices[static_cast<std::size_t>(j)] : static_cast<Integer>(j);
    };
    std::vector<Integer> lines;
    if (primitiveType == platform::D3DPT_TRIANGLELIST) {
        if (n < 3 || n % 3 != 0) return std::nullopt;
        lines.reserve(static_cast<std::size_t>(2 * n));
        for (Long i = 0; i + 2 < n; i += 3) {
            const Integer a = vertexOf(i), b = vertexOf(i + 1), c = vertexOf(i + 2);
            lines.insert(lines.end(), {a, b, b, c, c, a});
        }
    } else if (primitiveType == platform::D3DPT_TRIANGLESTRIP) {
        if (n < 3) return std::nullopt;
        lines.reserve(static_cast<std::size_t>(4 * n - 6));
        for (Long i = 0; i + 1 < n; ++i) lines.insert(lines.end(), {vertexOf(i), vertexOf(i + 1)});
        for (Long i = 0; i + 2 < n; ++i) lines.insert(lines.end(), {vertexOf(i), vertexOf(i + 2)});
    } else {
        return std::nullopt;
    }
    return lines;
}

}  // namespace brumil::render
