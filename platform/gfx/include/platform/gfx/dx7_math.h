#pragma once
// The matrix and vector operations of the DirectX 7 root object, in single
// precision. Row-vector convention: MatrixMultiply(r, a, b) gives a x b, which
// applies a first.

#include "platform/gfx/d3d_types.h"

namespace brumil::platform {

class DirectX7 {
public:
    static void IdentityMatrix(D3DMATRIX& m);
    static void MatrixMultiply(D3DMATRIX& result, const D3DMATRIX& a, const D3DMATRIX& b);
    static void RotateXMatrix(D3DMATRIX& result, float angle);
    static void RotateYMatrix(D3DMATRIX& result, float angle);
    static void RotateZMatrix(D3DMATRIX& result, float angle);
    // Left-handed look-at from `from` towards `at` with `up`, then turned by
    // `roll` radians about the line of sight. False (result the identity) when
    // from equals at or up is parallel to the line of sight.
    static bool ViewMatrix(D3DMATRIX& result, const D3DVECTOR& from, const D3DVECTOR& at,
                           const D3DVECTOR& up, float roll);
    static void VectorSubtract(D3DVECTOR& dest, const D3DVECTOR& a, const D3DVECTOR& b);
    // In place; a zero vector stays zero.
    static void VectorNormalize(D3DVECTOR& v);
    static void VectorCrossProduct(D3DVECTOR& dest, const D3DVECTOR& a, const D3DVECTOR& b);
    static float VectorDotProduct(const D3DVECTOR& a, const D3DVECTOR& b);
    static void VectorScale(D3DVECTOR& dest, const D3DVECTOR& src, float s);
    static void CreateD3DVertex(float x, float y, float z, float nx, float ny, float nz, float tu,
                                float tv, D3DVERTEX& v);
};

}  // namespace brumil::platform
