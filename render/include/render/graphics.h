#pragma once
// CGraphics: a drawable picture. Its content always lives in `Image` (main
// memory); on demand it also lives in `Surface`, as a DirectDraw-like
// off-screen surface (ExistDDS) or as a Direct3D texture (ExistDDSTexture),
// made from the picture the first time a draw needs it and made again after
// the picture changes (Refresh) or the device drops it (Release).
//
// Ownership: graphic objects are shared (std::shared_ptr); the texture cache
// holds its entries, callers hold their own. Each object listens to the
// framework: TerminateDraw and VideoMemoryRelease drop its surface,
// VideoMemoryCash makes its texture again.
//
// Whoever writes `Image` directly calls Refresh afterwards.

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"
#include "framework/splib.h"
#include "image/cmg_bbi.h"
#include "image/text_box.h"
#include "platform/gfx/d3d_types.h"
#include "platform/gfx/surface.h"
#include "render/im_device.h"

namespace brumil::core {
class CRect;
}

namespace brumil::render {

class CGraphics final : private framework::ILibEvents {
public:
    CGraphics();
    ~CGraphics() override;
    CGraphics(const CGraphics&) = delete;
    CGraphics& operator=(const CGraphics&) = delete;

    // ---- Public values ----
    image::CmgBBI Image;           // the picture, 0xAARRGGBB
    platform::SurfacePtr Surface;  // off-screen surface or texture; nothing until made
    bool UseSystemMemory = false;  // ExistDDS makes its surface in system memory

    // ---- State ----
    // The picture changed: the next use refills the surface or texture.
    void Refresh();
    // Drops the surface (device shutdown, video-memory release). The picture
    // stays in Image.
    void Release();

    // Corner colours for Direct3D draws (top-left, top-right, bottom-left,
    // bottom-right). color sets all four and reads the top-left one.
    Long color() const { return colors_[0]; }
    void color(Long value) { colors_.fill(value); }
    // Corner i for 0..3; other corners read 0 and ignore writes.
    Long ColorIndex(Long i) const;
    void ColorIndex(Long i, Long value);

    Long Width() const { return Image.GetWidth(); }
    Long Height() const { return Image.GetHeight(); }
    // The part of the surface the picture covers, and the surface's size.
    Single tu() const { return texU_; }
    Single tv() const { return texV_; }
    Single tw() const { return static_cast<Single>(surfaceWidth_); }
    Single th() const { return static_cast<Single>(surfaceHeight_); }
    // How many times the picture was halved for its texture (0 = full size).
    Long HalfLevel() const { return halfLevel_; }

    // ---- Content ----
    // A width x height picture; with clear it is all zero, without it a
    // picture of the same size keeps its pixels.
    void Add(Long width, Long height, bool clear);
    // Loads a picture file: 0 when loaded, 1 when not (the picture is then
    // unchanged). A non-empty message is shown when the load fails.
    Long Load(std::string_view file, std::string_view message = {});
    // A width x height picture with the text laid out in it (four layout
    // values of the text renderer: character and line spacing, horizontal and
    // vertical alignment). With step the characters are drawn one per
    // LoadTextNext, otherwise all at once.
    void LoadText(std::string_view text, Long width, Long height, Long fontSize,
                  std::string_view fontName, Long fontBlur, bool fontAntiAreas, Long spaceX,
                  Long spaceY, Long alignX, Long alignY, bool step);
    // The same with a status: 0 when every character got its glyph, 1 when
    // one could not be drawn.
    void LoadText(std::string_view text, Long width, Long height, Long fontSize,
                  std::string_view fontName, Long fontBlur, bool fontAntiAreas, Long spaceX,
                  Long spaceY, Long alignX, Long alignY, bool step, Long& result);
    // Draws the next character of a stepped text; false when none is left
    // (the step state then ends) or no stepped text is kept.
    bool LoadTextNext();
    // The picture becomes width x height of the source surface's content
    // (stretched). Nothing when the source is missing or lost.
    void LoadDDSTex(const platform::SurfacePtr& source, Long width, Long height);

    // ---- Children ----
    Long GetChildCount() const { return static_cast<Long>(children_.size()); }
    // Created on first use; nothing for i outside 0..count-1.
    std::shared_ptr<CGraphics> Child(Long i);
    // n < 1 empties the list.
    void ChildRedim(Long n);
    void ChildRedimPreserve(Long n);
    // Pushes a copy of the picture; pops the last copy back into the picture.
    void ChildPush();
    void ChildPop();

    // ---- Picture operations (each refreshes the surface) ----
    // Colour and alpha selection of the picture by itself.
    void ChooseCA(Long rgb, Long alpha);
    // Fills the given channels; a missing channel keeps its value.
    void ChooseColor(std::optional<Long> r = {}, std::optional<Long> g = {},
                     std::optional<Long> b = {}, std::optional<Long> a = {});
    // Scales the picture by num / den.
    void ChooseScale(Long num, Long den);
    // Colour keys by the top-left pixel: plain, with soft edges, and with soft
    // edges and the keyed pixels given their neighbours' colour.
    void ChooseColorKey();
    void ChooseColorKeyAntiAreas();
    void ChooseColorKeyAntiAreas2();
    // The expand-and-choose pass over the picture, adding `value` to the
    // colour channels.
    void ChooseVivit(Long value);

    // ---- Draws into this picture ----
    void Blt(const image::CmgBBI& source, Long x, Long y, Long width, Long height, Long srcX,
             Long srcY, Long mode = 0, Single extra = 1.0f);
    void BltRgn(const image::CmgBBI& source, Long x, Long y, const core::CRect& region,
                Long mode = 0, Single extra = 1.0f);

    // ---- Draws onto the back surface through the image library ----
    // Positions and sizes are in 640x480 screen units, scaled by the draw
    // scale. Width or height 0: the picture's (source) or the screen's
    // (stretched destination).
    void DrawGDI(Long x, Long y, Long width, Long height, Long srcX, Long srcY, bool centred);
    void DrawGDIRgn(Long x, Long y, const core::CRect& region, bool centred);
    void DrawGDIStretch(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                        Long srcWidth, Long srcHeight, bool centred);

    // ---- DirectDraw blits from the off-screen surface ----
    void DrawDDraw(Long x, Long y, Long width, Long height, Long srcX, Long srcY, bool centred,
                   bool keyed);
    void DrawDDrawRgn(Long x, Long y, const core::CRect& region, bool centred, bool keyed);
    void DrawDDrawStretch(Long x, Long y, Long width, Long height, Long srcX, Long srcY,
                          Long srcWidth, Long srcHeight, bool centred, bool keyed);

    // ---- Direct3D quads from the texture ----
    void DrawD3DDraw(Single x, Single y, Single width, Single height, Single srcX, Single srcY,
                     bool centred, bool keyed);
    void DrawD3DDrawRgn(Single x, Single y, const core::CRect& region, bool centred, bool keyed);
    void DrawD3DDrawStretch(Single x, Single y, Single width, Single height, Single srcX,
                            Single srcY, Single srcWidth, Single srcHeight, bool centred,
                            bool keyed);
    // The whole picture with its point (originX, originY) (fractions) at
    // (x, y), turned by angle radians and scaled.
    void DrawD3D(Single x, Single y, Single width, Single height, Single originX, Single originY,
                 Single angle, Single scale);
    // A sprite of the picture's size x scale at a projected point.
    void DrawD3DBillBoard(const platform::D3DTLVERTEX& point, Single originX, Single originY,
                          Single scale);
    // One textured triangle; texture coordinates are fractions of the picture.
    void DrawD3DPolygon(Single x1, Single y1, Single x2, Single y2, Single x3, Single y3,
                        Single tu1, Single tv1, Single tu2, Single tv2, Single tu3, Single tv3);

    // ---- Render mode of the Direct3D draws ----
    RenderModeCode GetRender() const { return renderMode_; }
    void SetRender(RenderModeCode code) { renderMode_ = code; }
    // Texture colour; alpha adds alpha blending and testing, additive adds
    // one-to-one blending, both give source-alpha additive blending.
    void SetRender_Texture(bool alpha, bool additive);

    // ---- Surfaces ----
    // Makes sure Surface is an off-screen surface (holding the picture when
    // fill); true when it exists afterwards.
    bool ExistDDS(bool fill);
    // Makes sure Surface is a texture (holding the picture when fill), halving
    // the picture as the texture limit and the half-size display ask; true
    // when it exists afterwards.
    bool ExistDDSTexture(bool fill, bool alpha);

private:
    enum class TextureMade { Made, Retry, Failed };

    void xLib_TerminateDraw() override { Release(); }
    void xLib_VideoMemoryRelease() override { Release(); }
    void xLib_VideoMemoryCash() override { ExistDDSTexture(true, true); }

    const image::CmgBBI& Source() const { return halfLevel_ > 0 ? reducedImage_ : Image; }
    Long SourceWidth() const { return Source().GetWidth(); }
    Long SourceHeight() const { return Source().GetHeight(); }
    void HalveSource();
    void DropSurface();
    TextureMade CreateTextureSurface(Long width, Long height, bool alpha);
    void UpdateTexCoords();
    bool DrawTextGlyph(const image::TextBox& box);
    void ApplyTextFont() const;
    // Texture bound, render mode applied; false when there is no texture.
    bool PrepareD3D(RenderModeCode code);
    void DrawStrip(std::span<const platform::D3DTLVERTEX> vertices);

    bool surfaceExists_ = false;
    bool surfaceFilled_ = false;
    bool surfaceIsTexture_ = false;
    Long halfLevel_ = 0;
    std::array<Long, 4> colors_{-1, -1, -1, -1};
    std::vector<std::shared_ptr<CGraphics>> children_;
    image::CmgBBI reducedImage_;
    Single texU_ = 0, texV_ = 0;
    Long surfaceWidth_ = 0, surfaceHeight_ = 0;
    RenderModeCode renderMode_ = render_mode::kTexture;

    // A text revealed one character per LoadTextNext.
    std::vector<image::TextBox> textLayout_;
    Long nextChar_ = 0;  // 1-based; 0 = none
    Long textFontSize_ = 0;
    std::string textFontName_;
    Long textFontBlur_ = 0;
    bool textFontAntiAreas_ = false;

    // Last, so that it leaves first.
    framework::LibEventSubscription subscription_{this};
};

}  // namespace brumil::render
