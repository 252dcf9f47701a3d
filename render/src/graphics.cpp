// CGraphics: life cycle, colours, picture content, children and the picture
// operations.

#include "render/graphics.h"

#include "image/cmg_bbi_function.h"

namespace brumil::render {

using image::gBBIFunction;

CGraphics::CGraphics() {
    SetRender_Texture(false, false);
}

CGraphics::~CGraphics() = default;

void CGraphics::Refresh() {
    surfaceFilled_ = false;
    halfLevel_ = 0;
}

void CGraphics::Release() {
    Surface.reset();
    surfaceExists_ = false;
    halfLevel_ = 0;
}

Long CGraphics::ColorIndex(Long i) const {
    return i >= 0 && i <= 3 ? colors_[static_cast<std::size_t>(i)] : 0;
}

void CGraphics::ColorIndex(Long i, Long value) {
    if (i >= 0 && i <= 3) colors_[static_cast<std::size_t>(i)] = value;
}

void CGraphics::SetRender_Texture(bool alpha, bool additive) {
    renderMode_ = render_mode::kTexture | (alpha ? 0x201 : 0) | (additive ? 0x4 : 0);
}

void CGraphics::Add(Long width, Long height, bool clear) {
    // A new buffer is already zero; a kept one is cleared on request.
    if (Image.CreateBBI(width, height, 0) == 1 && clear) ChooseColor(0, 0, 0, 0);
    Refresh();
}

Long CGraphics::Load(std::string_view file, std::string_view message) {
    const Long status = Image.CreateBBIfromFile(file, message);
    Refresh();
    return status == 0 ? 0 : 1;
}

std::shared_ptr<CGraphics> CGraphics::Child(Long i) {
    if (i < 0 || i >= GetChildCount()) return nullptr;
    auto& slot = children_[static_cast<std::size_t>(i)];
    if (!slot) slot = std::make_shared<CGraphics>();
    return slot;
}

void CGraphics::ChildRedim(Long n) {
    children_.clear();
    if (n >= 1) children_.resize(static_cast<std::size_t>(n));
}

void CGraphics::ChildRedimPreserve(Long n) {
    children_.resize(n >= 1 ? static_cast<std::size_t>(n) : 0);
}

void CGraphics::ChildPush() {
    auto child = std::make_shared<CGraphics>();
    child->Image.CreateBBICopy(Image);
    child->Refresh();
    children_.push_back(std::move(child));
}

void CGraphics::ChildPop() {
    if (children_.empty()) return;
    const auto last = Child(GetChildCount() - 1);
    Image.CreateBBICopy(last->Image);
    children_.pop_back();
    Refresh();
}

void CGraphics::ChooseCA(Long rgb, Long alpha) {
    gBBIFunction().BBIChooseCA(Image, Image, rgb, alpha);
    Refresh();
}

void CGraphics::ChooseColor(std::optional<Long> r, std::optional<Long> g, std::optional<Long> b,
                            std::optional<Long> a) {
    // Missing channels keep their value.
    Long keep = 0;
    if (!a) keep |= static_cast<Long>(0xFF000000u);
    if (!r) keep |= 0xFF0000;
    if (!g) keep |= 0xFF00;
    if (!b) keep |= 0xFF;
    auto& f = gBBIFunction();
    const Long rv = r.value_or(0), gv = g.value_or(0), bv = b.value_or(0), av = a.value_or(0);
    if (keep == 0) {
        f.BBIClear(Image, rv, gv, bv, av);
    } else if (keep == static_cast<Long>(0xFF000000u)) {
        f.BBIClearRGB(Image, rv, gv, bv);
    } else {
        f.BBIClearMask(Image, rv, gv, bv, av, keep);
    }
    Refresh();
}

void CGraphics::ChooseScale(Long num, Long den) {
    gBBIFunction().EfectScale(Image, num, den);
    Refresh();
}

// The keying operations refresh too: keying a picture whose texture is
// already made must reach the texture.
void CGraphics::ChooseColorKey() {
    gBBIFunction().BBIKeying(Image, Image.dwGetPixel(0, 0));
    Refresh();
}

void CGraphics::ChooseColorKeyAntiAreas() {
    gBBIFunction().BBIKeyingAntiAreas(Image, Image.dwGetPixel(0, 0), true, true, 63);
    Refresh();
}

void CGraphics::ChooseColorKeyAntiAreas2() {
    auto& f = gBBIFunction();
    f.BBIKeyingAntiAreas(Image, Image.dwGetPixel(0, 0), true, true, 63);
    f.BBIKeyingFilter(Image);
    Refresh();
}

void CGraphics::ChooseVivit(Long value) {
    // Opacity 1, colour factor 1, `value` added to the colour, only the colour
    // channels written (mask &HFFFFFF), the source selected whole.
    gBBIFunction().BBIExpandChooseBlt(Image, Image, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0, 0, 0, 0, 1.0f,
                                      value, 0xFFFFFF, 0, -1, 0, 0);
    Refresh();
}

void CGraphics::Blt(const image::CmgBBI& source, Long x, Long y, Long width, Long height, Long srcX,
                    Long srcY, Long mode, Single extra) {
    gBBIFunction().BBIBltFX(Image, source, x, y, width, height, srcX, srcY, mode, extra);
    Refresh();
}

}  // namespace brumil::render
