#pragma once
// CmgBBIFunction: the picture operations, one shared instance gBBIFunction().
//
// Common rules
// - Pixels are 0xAARRGGBB. Channel results are rounded to the nearest value
//   and kept within 0..255.
// - Every blit clips to both pictures: negative positions and rectangles
//   larger than either picture draw only the part that lies inside both.
// - Unscaled blits (destination, source, x, y, width, height, sx, sy): width or
//   height 0 (or less) means the source's width or height.
// - Scaled blits take a destination rectangle (x, y, width, height) and a source
//   rectangle (sx, sy, sw, sh); a size of 0 (or less) means the picture's own
//   size less the position. A destination pixel is drawn when the source pixel
//   its centre maps to lies inside the source picture.
// - A picture may be both destination and source; the source is then read as it
//   was before the operation.

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/vb_types.h"
#include "image/cmg_bbi.h"

namespace brumil::image {

class CmgBBIFunction {
public:
    CmgBBIFunction();

    // Shown when a picture load with a non-empty error text fails: (error text,
    // file name). The shell installs a message box with OK and Cancel whose
    // Cancel ends the program; without one nothing is shown.
    std::function<void(std::string_view message, std::string_view fileName)> LoadErrorPrompt;

    // A shared work picture, 256 x 1: its row holds a 256-entry colour ramp
    // for BBIDrawLineCircle.
    CmgBBI Pen;

    // ---- Unscaled blits ----
    // Copy at factor 1.0; any other factor (clamped to 0..1) blends all four
    // channels: dst + (src - dst) x factor.
    void BBIBlt(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width = 0, Long height = 0,
                Long sx = 0, Long sy = 0, Single factor = 1.0f);
    // Saturating sum of all four channels.
    void BBIBltAdd(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width = 0, Long height = 0,
                   Long sx = 0, Long sy = 0);
    // dst x src / 255 on all four channels.
    void BBIBltMul(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width = 0, Long height = 0,
                   Long sx = 0, Long sy = 0);
    // dst.rgb = 255 - src.rgb, dst.alpha = src.alpha (onto itself: inverts).
    void BBIBltNot(CmgBBI& dst, const CmgBBI& src, Long x = 0, Long y = 0, Long width = 0,
                   Long height = 0, Long sx = 0, Long sy = 0);
    // Effect modes: 0 BBIBlt with factor `reality`; 1 BBIBltAdd; 2 BBIBltMul;
    // 3 BBIBltNot; 4 source-alpha blend: dst.rgb += (src.rgb - dst.rgb) x
    // src.alpha / 255 x reality, dst.alpha kept. Other modes act as 0.
    void BBIBltFX(CmgBBI& dst, const CmgBBI& src, Long dx, Long dy, Long width, Long height,
                  Long sx, Long sy, Long bltMode = 0, Single bltReality = 1.0f);
    // dst becomes src at half size (integer halves, at least 1): each pixel the
    // rounded mean of a 2x2 block. Works in place.
    void BBIBltHalfSize(CmgBBI& dst, const CmgBBI& src);

    // ---- Scaled blits ----
    // Nearest-pixel scaled copy, blended by factor as BBIBlt.
    void BBIExpandBlt(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width, Long height,
                      Long sx, Long sy, Long sw = 0, Long sh = 0, Single factor = 1.0f);
    // Bilinear scaled copy of all four channels; samples stay inside the source
    // rectangle. Sizes 0 mean whole pictures.
    void BBILinearBlt(CmgBBI& dst, const CmgBBI& src, Long x = 0, Long y = 0, Long width = 0,
                      Long height = 0, Long sx = 0, Long sy = 0, Long sw = 0, Long sh = 0);
    // Nearest-pixel scaled copy with colour and alpha selection. Per pixel:
    //   sel = (src And c10) Or (c11 And Not c10)
    //   rgb = sel.rgb x c6, each channel limited to 255
    //   a   = c1 x (c2 <> 0 ? sel.alpha / 255 : 1)
    //   c3 <> 0 (additive): dst.rgb += (rgb + c7.rgb) x a, dst.alpha += sel.alpha x a
    //   otherwise:          dst.rgb += (rgb + c7.rgb - dst.rgb) x a,
    //                       dst.alpha += (sel.alpha - dst.alpha) x a
    //   only the bits set in c8 are written (0xFFFFFF leaves dst's alpha alone).
    // c4, c5, c9 and c12 are accepted and have no effect. With (1, 0, 0, 0, 0,
    // 1, 0, 0xFFFFFF, 0, -1, 0, 0) it copies the colour channels; with c2 -1,
    // c10 0xFF000000 and c11 a colour it paints the colour under the source's
    // alpha (text).
    void BBIExpandChooseBlt(CmgBBI& dst, const CmgBBI& src, Long x, Long y, Long width, Long height,
                            Long sx, Long sy, Long sw, Long sh, Single c1, Integer c2, Integer c3,
                            Long c4, Long c5, Single c6, Long c7, Long c8, Long c9, Long c10,
                            Long c11, Long c12);

    // ---- Whole-picture operations ----
    // Colour and alpha selection of dst by src (pixel by pixel over the part both
    // cover). The alpha argument picks dst's new alpha: 0 the luminance of
    // src, anything else src's alpha. The rgb argument picks dst's colour: 1 takes
    // src's colour, 0 and 2 keep dst's. So (mask, 2, 0) makes the mask's
    // brightness dst's alpha and (itself, 0, 0) turns brightness into alpha.
    void BBIChooseCA(CmgBBI& dst, const CmgBBI& src, Long rgb = 0, Long alpha = 1);
    // Stencil cross-fade into dst of A and B over (x, y, width, height) of dst,
    // read from (sx, sy) of A and B (sizes 0: the whole picture). t is limited
    // to 0..1, v to at least 0.0001. With s = B.alpha / 255:
    //   m = clamp((t x (1 + v) - s) / v, 0, 1);   dst = A x (1 - m) + B x m
    // on all four channels. t 0 gives A, t 1 gives B; a large v is a plain
    // cross-fade, a small v a soft wipe that reveals low stencil values first.
    // `extra` is accepted and has no effect.
    void BBIStencilFlip(CmgBBI& dst, const CmgBBI& a, const CmgBBI& b, Long x, Long y, Long width,
                        Long height, Long sx, Long sy, Long extra, Single t, Single v);
    // Per colour channel: the min..max range found in the picture is stretched
    // to 0..255, applied at `level` percent (0..100): c + (stretched - c) x
    // level / 100. A channel with one value only is left alone.
    void BBIAutoLevelRGB(CmgBBI& picture, Long level);
    // Scales the picture to width x add / div and height x add / div (rounded,
    // at least 1) with bilinear filtering, when add <> div, div >= 1, add >= 1.
    void EfectScale(CmgBBI& target, Long addLength, Long divLength);

    // ---- Colour keys ----
    // Pixels whose colour (rgb) equals colorkey's become 0 (transparent black).
    void BBIKeying(CmgBBI& dst, Long colorkey);
    // Gives every fully transparent pixel the mean colour of its visible
    // 8-neighbours (alpha stays 0), so filtering does not darken keyed edges.
    void BBIKeyingFilter(CmgBBI& dst);
    // BBIKeying, then softens the edge between kept and keyed pixels. Counting
    // 8-neighbours in the keyed picture: with inEdge a kept pixel with n keyed
    // neighbours keeps alpha x (16 - n) / 16; with outEdge a keyed pixel with m
    // kept neighbours takes their mean colour and alpha min(maxEdge, 255) x m / 8.
    void BBIKeyingAntiAreas(CmgBBI& dst, Long colorkey, bool inEdge = true, bool outEdge = true,
                            Long maxEdge = 63);

    // ---- Fills and drawing ----
    void BBIClear(CmgBBI& dst, Long r, Long g, Long b, Long a = 255);
    void BBIClearRGB(CmgBBI& dst, Long r, Long g, Long b);
    // Channels whose bits are set in mask keep their value, the others are set.
    void BBIClearMask(CmgBBI& dst, Long r, Long g, Long b, Long a, Long mask);
    // Fills a rectangle with colour (alpha in the top byte); flags 0 writes the
    // colour, flags 1 blends its colour channels by its alpha (dst alpha kept).
    void BBIDrawColorFill(CmgBBI& dst, Long x, Long y, Long width, Long height, Long flags,
                          Long colour);
    void fxOut(CmgBBI& dst, Long x, Long y, Long width, Long height, Long color = 0);
    // The 1-pixel outline of the rectangle.
    void fxOutLine(CmgBBI& dst, Long x, Long y, Long width, Long height, Long color = 0);
    // Draws a ramp as a circle centred in dst: a pixel at distance r from the
    // centre, with R half the smaller side, takes the src pixel at
    // (x1 + (x2 - x1) x t, y1 + (y2 - y1) x t), t = min(r / R, 1), coordinates
    // rounded and held inside src. With the 256 x 1 Pen and (0, 0, 255, 255)
    // entry i of the ramp lands at r = R x i / 255.
    void BBIDrawLineCircle(CmgBBI& dst, const CmgBBI& src, Long x1, Long y1, Long x2, Long y2);

    // ---- Transition masks ----
    // Runs a script of bracketed commands on the picture. The command:
    //   [box w,h,a,b,c]  over a w x h box centred in the picture, an opaque grey
    //     d = max(|dx| / (w / 2), |dy| / (h / 2)) from the centre (0..1), grey
    //     a at d 0, b at d 0.5, c at d 1, linear between, limited to 0..255;
    //     the rest of the picture is left alone.
    // An unknown command, or one with a missing or malformed number, is skipped.
    void Transer(CmgBBI& picture, std::string_view script);
};

// The shared instance, made on first use.
CmgBBIFunction& gBBIFunction();

}  // namespace brumil::image
