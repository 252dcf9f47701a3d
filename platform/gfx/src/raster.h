#pragma once
// The rasteriser behind the software device: triangles and lines in screen
// space, shaded pixel by pixel from a state decoded once per draw.

#include <cstdint>

#include "platform/gfx/d3d_types.h"
#include "platform/gfx/surface.h"

namespace brumil::platform::raster {

// A vertex in screen space, with every attribute in the form that varies
// linearly across the screen: uw = u * rhw, vw = v * rhw. Colours 0..255.
struct Vertex {
    float x = 0, y = 0, z = 0, rhw = 1;
    float uw = 0, vw = 0;
    float c[4] = {0, 0, 0, 0};  // diffuse b, g, r, a
    float s[4] = {0, 0, 0, 0};  // specular b, g, r, a
};

enum class Blend { None, SrcAlphaInvSrcAlpha, SrcAlphaOne, OneOne, KeepTarget, Generic };
// How the specialised loops combine texture and diffuse: colour and alpha
// each the texture's (select), texture x diffuse (modulate), or texture and
// diffuse mixed by the texture's alpha, texture plus diffuse (add) or twice
// texture x diffuse (modulate2x), both saturated; or the diffuse colour or
// alpha alone (not both: such a stage reads no texel).
enum class Combine { Select, Modulate, Diffuse, BlendTextureAlpha, Add, Modulate2x, Generic };

// Everything a pixel needs, decoded from the device state for one draw.
struct PixelState {
    std::uint32_t* target = nullptr;
    int width = 0, height = 0;  // of the target; pitch is width
    float* depth = nullptr;     // null when the depth test and write are both off
    int depthWidth = 0;
    int clipX1 = 0, clipY1 = 0, clipX2 = 0, clipY2 = 0;  // scissor, exclusive right/bottom

    // Texture of stage 0; null when none is bound.
    const std::uint32_t* tex = nullptr;
    int texW = 0, texH = 0;
    // The texture with a repeat of its first column and row after the last
    // (see PaddedTextures), for a filtered wrapping texture when the wide
    // loops may run.
    const std::uint32_t* texPadded = nullptr;
    bool texPow2 = false;
    bool wrapPow2 = false;  // power-of-two sides and wrap addressing on both axes
    int addressU = D3DTADDRESS_WRAP, addressV = D3DTADDRESS_WRAP;
    bool linear = false;
    bool colorKey = false;  // discard texels matching the key
    std::uint32_t keyValue = 0, keyMask = 0;

    D3DLong colorOp = D3DTOP_MODULATE, colorArg1 = D3DTA_TEXTURE, colorArg2 = D3DTA_DIFFUSE;
    D3DLong alphaOp = D3DTOP_SELECTARG1, alphaArg1 = D3DTA_TEXTURE, alphaArg2 = D3DTA_DIFFUSE;
    std::uint32_t tfactor = 0xFFFFFFFFu;

    bool alphaTest = false;
    D3DLong alphaFunc = D3DCMP_ALWAYS;
    int alphaRef = 0;
    bool alphaPass[256] = {};  // the alpha test's answer per alpha, made by Classify
    // The alpha test passes exactly the alphas >= alphaMin (0 when the test is
    // off, 256 when nothing passes); -1 when the passing alphas are no such
    // range. Made by Classify.
    int alphaMin = 0;

    bool zTest = false, zWrite = false;
    D3DLong zFunc = D3DCMP_LESSEQUAL;

    bool blend = false;
    D3DLong srcBlend = D3DBLEND_ONE, dstBlend = D3DBLEND_ZERO;
    bool flat = false;
    bool specularAdd = false;  // add the specular colour after the stage

    // Specialised inner loops may be used (off only to compare them with the
    // general loop).
    bool allowSpecialised = true;
    // The eight-pixel loops may stand in for the four-pixel ones where the
    // processor runs them (off only to compare the two).
    bool allowWide = true;
    // And the sixteen-pixel loops for the eight-pixel ones, likewise.
    bool allowWidest = true;

    // Derived classification for the specialised inner loops.
    Blend blendKind = Blend::None;
    Combine colorKind = Combine::Generic;
    Combine alphaKind = Combine::Generic;
    bool textureUsed = false;
};

// Fills the derived fields from the decoded state.
void Classify(PixelState& ps);

// Draws a triangle whose corners are already in screen space (any winding;
// culling is the caller's). Clips to a guard band and the scissor.
// Flat shading takes the colours of `flat`.
void DrawTriangle(const PixelState& ps, const Vertex& a, const Vertex& b, const Vertex& c,
                  const Vertex& flat);
// Draws a line from a to b, the last pixel left out.
void DrawLine(const PixelState& ps, const Vertex& a, const Vertex& b);

}  // namespace brumil::platform::raster
