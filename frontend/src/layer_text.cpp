// Typed text of layer entries: laying a text out into per-character slots and
// drawing the characters whose wait has passed, one composition at a time.

#include <algorithm>
#include <cstdint>

#include "frontend/layer.h"
#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"

namespace brumil::frontend {

namespace {

void ApplyFont(const CLayerConfig& c) {
    auto& s = image::gBBIString();
    s.FontSize = c.FontSize;
    s.FontName = c.FontName;
    s.FontBlur = c.FontBlur;
    s.FontAntiAreas = c.FontAntiAreas;
}

}  // namespace

void CLayer::LayOut(LayerEntry& e, std::string_view text, Long& x, Long& y, bool append) {
    const CLayerConfig& c = e.config;
    ApplyFont(c);
    const image::TextRect box{c.Rect.X, c.Rect.Y, c.Rect.Width, c.Rect.Height};
    const std::vector<image::TextBox> boxes = image::gBBIString().MathTextBox(
        text, box, c.CharSpace, c.LineSpace, c.AlignH, c.AlignV, x, y);
    const Long wait = RoundToLong(c.TextWait);
    if (!append) {
        e.characters.clear();
        e.waits.clear();
        e.boxes.clear();
        e.textRegion.Delete();
    }
    for (const image::TextBox& b : boxes) {
        e.characters.push_back(b.Caption);
        e.boxes.emplace_back(b.X, b.Y, b.Width, b.Height);
        e.waits.push_back(wait);
        e.textRegion.ExpandRect(e.boxes.back());
    }
    e.text = std::string(text);
    e.length = static_cast<Long>(e.characters.size());
    if (!append) {
        e.position = 1;
        e.waitClock = -1.0f;
    }
}

void CLayer::TypingStep(LayerEntry& e) {
    if (e.position == 0 || e.length == 0) return;
    e.waitClock += 1.0f;
    Long k = 0;
    auto waitOf = [&](Long p) { return e.waits[static_cast<std::size_t>(p - 1)]; };
    while (e.position + k <= e.length &&
           static_cast<Single>(waitOf(e.position + k)) <= e.waitClock) {
        e.waitClock -= static_cast<Single>(std::max<Long>(waitOf(e.position + k), 0));
        ++k;
    }
    if (k == 0) return;

    const CLayerConfig& c = e.config;
    ApplyFont(c);
    image::CmgBBI& picture = AllocateBBI(e);
    auto& fx = image::gBBIFunction();
    image::CmgBBI glyph;
    const Long last = e.position + k - 1;
    for (Long p = e.position; p <= last; ++p) {
        const core::CRect& box = e.boxes[static_cast<std::size_t>(p - 1)];
        if (image::gBBIString().LoadFont(glyph, e.characters[static_cast<std::size_t>(p - 1)])) {
            if (c.TextColor == -1) {
                fx.BBIBltAdd(picture, glyph, box.X, box.Y, 0, 0, 0, 0);
            } else {
                const auto alpha = static_cast<std::uint32_t>(c.TextColor) >> 24;
                fx.BBIExpandChooseBlt(picture, glyph, box.X, box.Y, glyph.GetWidth(),
                                      glyph.GetHeight(), 0, 0, 0, 0,
                                      static_cast<Single>(alpha) / 255.0f, -1, 0, -1, 0, 1.0f, 0,
                                      0xFFFFFF, 0, static_cast<Long>(0xFF000000u), c.TextColor, 0);
            }
        }
        e.dirty.ExpandRect(box);
        e.position = p + 1;
    }
    if (e.position > e.length) {
        e.position = 0;
        e.length = 0;
    }
}

void CLayer::Text(At index, std::string_view text) {
    const Long i = Use(index);
    for (Long e : Chain(i)) {
        LayerEntry& entry = Entry(e);
        RemoveOne(entry, true);
        Long x = 0, y = 0;
        LayOut(entry, text, x, y, false);
    }
}

std::string CLayer::Text(At index) {
    const Long i = Use(index);
    return Valid(i) ? Entry(i).text : std::string();
}

Long CLayer::TextWaitCount(At index) {
    const Long i = Use(index);
    if (!Valid(i)) return 0;
    const LayerEntry& e = Entry(i);
    return (e.position > 0 && e.length > 0) ? e.length - e.position + 1 : 0;
}

void CLayer::TextNoWait(At index) {
    const Long i = Use(index);
    for (Long e : Chain(i)) std::fill(Entry(e).waits.begin(), Entry(e).waits.end(), 0);
}

std::optional<core::CRect> CLayer::TextRgn(At index) {
    const Long i = Use(index);
    if (!Valid(i)) return std::nullopt;
    return Entry(i).textRegion;
}

void CLayer::TextOut(At index, std::string_view text) {
    const Long i = Use(index);
    for (Long e : Chain(i)) {
        LayerEntry& entry = Entry(e);
        const Single kept = entry.config.TextWait;
        entry.config.TextWait = 0.0f;
        Long x = 0, y = 0;
        LayOut(entry, text, x, y, false);
        TypingStep(entry);
        entry.config.TextWait = static_cast<Single>(RoundToLong(kept));
        RedrawOne(entry);
    }
}

void CLayer::Locate(Long index, Long x, Long y) {
    index_ = index;
    if (!Valid(index)) return;
    CLayerConfig& c = Entry(index).config;
    c.LocateX = x;
    c.LocateY = y;
    const Long link = c.LinkIndex;
    if (link != 0 && link != index && Valid(link)) {
        Entry(link).config.LocateX = x;
        Entry(link).config.LocateY = y;
    }
}

void CLayer::Command(At index, std::string_view text) {
    const Long i = Use(index);
    if (!Valid(i)) return;
    LayerEntry& e = Entry(i);
    Long x = e.config.LocateX, y = e.config.LocateY;
    LayOut(e, text, x, y, e.length > 0);
    e.config.LocateX = x;
    e.config.LocateY = y;
}

}  // namespace brumil::frontend
