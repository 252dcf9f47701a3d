#pragma once
// The records and constants of the Direct3D 7 subset the game draws through.
// Every vertex record is 32 bytes; the numeric codes are the ones callers pass
// as plain numbers (render states, stage states, primitive types, formats).

#include <cstdint>

namespace brumil::platform {

using D3DValue = float;
using D3DLong = std::int32_t;

struct D3DVECTOR {
    float x = 0, y = 0, z = 0;
};

// Row-vector convention: a point is the row (x, y, z, 1) multiplied from the
// left; rcRC is row R, column C; the translation sits in row 4.
struct D3DMATRIX {
    float rc11 = 0, rc12 = 0, rc13 = 0, rc14 = 0;
    float rc21 = 0, rc22 = 0, rc23 = 0, rc24 = 0;
    float rc31 = 0, rc32 = 0, rc33 = 0, rc34 = 0;
    float rc41 = 0, rc42 = 0, rc43 = 0, rc44 = 0;

    // Zero-based element access: At(0, 0) is rc11.
    float& At(int row, int col) { return (&rc11)[row * 4 + col]; }
    float At(int row, int col) const { return (&rc11)[row * 4 + col]; }
};

struct D3DVIEWPORT7 {
    D3DLong lX = 0, lY = 0, lWidth = 0, lHeight = 0;
    float minz = 0, maxz = 1;
};

struct D3DCOLORVALUE {
    float r = 0, g = 0, b = 0, a = 0;
};

struct D3DRECT {
    D3DLong x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct D3DLIGHT7 {
    D3DLong dltType = 0;  // D3DLIGHT_POINT, D3DLIGHT_SPOT, D3DLIGHT_DIRECTIONAL
    D3DCOLORVALUE diffuse, specular, ambient;
    D3DVECTOR position, direction;
    float range = 0, falloff = 0;
    float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
    float theta = 0, phi = 0;  // inner and outer cone angles, radians
};

struct D3DMATERIAL7 {
    D3DCOLORVALUE diffuse, ambient, specular, emissive;
    float power = 0;
};

// Untransformed, unlit vertex: the device lights it. Format 274.
struct D3DVERTEX {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float tu = 0, tv = 0;
};

// Untransformed, pre-lit vertex. Format 482.
struct D3DLVERTEX {
    float x = 0, y = 0, z = 0;
    D3DLong reserved = 0;
    D3DLong color = 0, specular = 0;  // 0xAARRGGBB
    float tu = 0, tv = 0;
};

// Screen-space vertex in pixels (centres on integers). Format 452.
struct D3DTLVERTEX {
    float sx = 0, sy = 0, sz = 0, rhw = 0;
    D3DLong color = 0, specular = 0;
    float tu = 0, tv = 0;
};

static_assert(sizeof(D3DVERTEX) == 32 && sizeof(D3DLVERTEX) == 32 && sizeof(D3DTLVERTEX) == 32);
static_assert(sizeof(D3DMATRIX) == 64);

enum : D3DLong {
    D3DFVF_VERTEX = 274,
    D3DFVF_LVERTEX = 482,
    D3DFVF_TLVERTEX = 452,
};

enum D3DPRIMITIVETYPE : D3DLong {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

enum D3DTRANSFORMSTATETYPE : D3DLong {
    D3DTRANSFORMSTATE_WORLD = 1,
    D3DTRANSFORMSTATE_VIEW = 2,
    D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DCLEARFLAGS : D3DLong {
    D3DCLEAR_TARGET = 1,
    D3DCLEAR_ZBUFFER = 2,
    D3DCLEAR_STENCIL = 4,
};

enum D3DRENDERSTATETYPE : D3DLong {
    D3DRENDERSTATE_ANTIALIAS = 2,
    D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
    D3DRENDERSTATE_ZENABLE = 7,
    D3DRENDERSTATE_FILLMODE = 8,
    D3DRENDERSTATE_SHADEMODE = 9,
    D3DRENDERSTATE_ZWRITEENABLE = 14,
    D3DRENDERSTATE_ALPHATESTENABLE = 15,
    D3DRENDERSTATE_LASTPIXEL = 16,
    D3DRENDERSTATE_SRCBLEND = 19,
    D3DRENDERSTATE_DESTBLEND = 20,
    D3DRENDERSTATE_CULLMODE = 22,
    D3DRENDERSTATE_ZFUNC = 23,
    D3DRENDERSTATE_ALPHAREF = 24,
    D3DRENDERSTATE_ALPHAFUNC = 25,
    D3DRENDERSTATE_DITHERENABLE = 26,
    D3DRENDERSTATE_ALPHABLENDENABLE = 27,
    D3DRENDERSTATE_FOGENABLE = 28,
    D3DRENDERSTATE_SPECULARENABLE = 29,
    D3DRENDERSTATE_COLORKEYENABLE = 41,
    D3DRENDERSTATE_TEXTUREFACTOR = 60,
    D3DRENDERSTATE_CLIPPING = 136,
    D3DRENDERSTATE_LIGHTING = 137,
    D3DRENDERSTATE_AMBIENT = 139,
    D3DRENDERSTATE_NORMALIZENORMALS = 143,
};
// Render-state codes run 0 .. kRenderStateCount - 1.
constexpr D3DLong kRenderStateCount = 256;

enum D3DBLEND : D3DLong {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
};

enum D3DCMPFUNC : D3DLong {
    D3DCMP_NEVER = 1,
    D3DCMP_LESS = 2,
    D3DCMP_EQUAL = 3,
    D3DCMP_LESSEQUAL = 4,
    D3DCMP_GREATER = 5,
    D3DCMP_NOTEQUAL = 6,
    D3DCMP_GREATEREQUAL = 7,
    D3DCMP_ALWAYS = 8,
};

enum D3DCULL : D3DLong { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DSHADEMODE : D3DLong { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2 };
enum D3DANTIALIASMODE : D3DLong { D3DANTIALIAS_NONE = 0, D3DANTIALIAS_SORTINDEPENDENT = 2 };
enum D3DLIGHTTYPE : D3DLong { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

enum D3DTEXTURESTAGESTATETYPE : D3DLong {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    D3DTSS_ADDRESS = 12,
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18,
};
constexpr D3DLong kStageStateCount = 32;
constexpr D3DLong kTextureStageCount = 8;

enum D3DTEXTUREOP : D3DLong {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
    D3DTOP_MODULATE4X = 6,
    D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8,
    D3DTOP_ADDSIGNED2X = 9,
    D3DTOP_SUBTRACT = 10,
    D3DTOP_BLENDDIFFUSEALPHA = 12,
    D3DTOP_BLENDTEXTUREALPHA = 13,
    D3DTOP_BLENDFACTORALPHA = 14,
};

enum D3DTA : D3DLong {
    D3DTA_DIFFUSE = 0,
    D3DTA_CURRENT = 1,
    D3DTA_TEXTURE = 2,
    D3DTA_TFACTOR = 3,
    D3DTA_SPECULAR = 4,
};

enum D3DTEXTUREADDRESS : D3DLong {
    D3DTADDRESS_WRAP = 1,
    D3DTADDRESS_MIRROR = 2,
    D3DTADDRESS_CLAMP = 3,
};

enum D3DTEXTUREFILTER : D3DLong { D3DTFG_POINT = 1, D3DTFG_LINEAR = 2 };

// What the device can do, filled when it is created.
struct D3DCaps {
    bool CapsDither = false;
    bool CapsAlphaGreaterEqual = false;
    D3DLong CapsFilterLevel = 0;
    D3DLong CapsAntiAliasLevel = 0;
    bool CapsMultiTexture = false;
    D3DLong MaxTextureWidth = 0;
    D3DLong MaxTextureHeight = 0;
    D3DLong MinTextureWidth = 0;
    bool SquareOnly = false;
};

}  // namespace brumil::platform
