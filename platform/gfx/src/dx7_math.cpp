#include "platform/gfx/dx7_math.h"

#include <cmath>

namespace brumil::platform {

void DirectX7::IdentityMatrix(D3DMATRIX& m) {
    m = D3DMATRIX{};
    m.rc11 = m.rc22 = m.rc33 = m.rc44 = 1.0f;
}

void DirectX7::MatrixMultiply(D3DMATRIX& result, const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a.At(i, k) * b.At(k, j);
            r.At(i, j) = s;
        }
    }
    result = r;  // result may alias a or b
}

void DirectX7::RotateXMatrix(D3DMATRIX& m, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    IdentityMatrix(m);
    m.rc22 = c;
    m.rc23 = s;
    m.rc32 = -s;
    m.rc33 = c;
}

void DirectX7::RotateYMatrix(D3DMATRIX& m, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    IdentityMatrix(m);
    m.rc11 = c;
    m.rc13 = -s;
    m.rc31 = s;
    m.rc33 = c;
}

void DirectX7::RotateZMatrix(D3DMATRIX& m, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    IdentityMatrix(m);
    m.rc11 = c;
    m.rc12 = s;
    m.rc21 = -s;
    m.rc22 = c;
}

bool DirectX7::ViewMatrix(D3DMATRIX& m, const D3DVECTOR& from, const D3DVECTOR& at,
                          const D3DVECTOR& up, float roll) {
    IdentityMatrix(m);
    D3DVECTOR z;
    VectorSubtract(z, at, from);
    const float zl = std::sqrt(VectorDotProduct(z, z));
    if (!(zl > 1e-20f)) return false;
    VectorScale(z, z, 1.0f / zl);
    D3DVECTOR x;
    VectorCrossProduct(x, up, z);
    const float xl = std::sqrt(VectorDotProduct(x, x));
    if (!(xl > 1e-20f)) return false;
    VectorScale(x, x, 1.0f / xl);
    D3DVECTOR y;
    VectorCrossProduct(y, z, x);
    m.rc11 = x.x;
    m.rc21 = x.y;
    m.rc31 = x.z;
    m.rc12 = y.x;
    m.rc22 = y.y;
    m.rc32 = y.z;
    m.rc13 = z.x;
    m.rc23 = z.y;
    m.rc33 = z.z;
    m.rc41 = -VectorDotProduct(x, from);
    m.rc42 = -VectorDotProduct(y, from);
    m.rc43 = -VectorDotProduct(z, from);
    if (roll != 0.0f) {
        D3DMATRIX r;
        RotateZMatrix(r, roll);
        MatrixMultiply(m, m, r);
    }
    return true;
}

void DirectX7::VectorSubtract(D3DVECTOR& d, const D3DVECTOR& a, const D3DVECTOR& b) {
    d = {a.x - b.x, a.y - b.y, a.z - b.z};
}

void DirectX7::VectorNormalize(D3DVECTOR& v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(l > 0.0f)) return;
    v = {v.x / l, v.y / l, v.z / l};
}

void DirectX7::VectorCrossProduct(D3DVECTOR& d, const D3DVECTOR& a, const D3DVECTOR& b) {
    d = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float DirectX7::VectorDotProduct(const D3DVECTOR& a, const D3DVECTOR& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void DirectX7::VectorScale(D3DVECTOR& d, const D3DVECTOR& s, float k) {
    d = {s.x * k, s.y * k, s.z * k};
}

void DirectX7::CreateD3DVertex(float x, float y, float z, float nx, float ny, float nz, float tu,
                               float tv, D3DVERTEX& v) {
    v = {x, y, z, nx, ny, nz, tu, tv};
}

}  // namespace brumil::platform
