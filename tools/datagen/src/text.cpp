#include "text.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "image/cmg_bbi_string.h"

namespace brumil::datagen {

namespace {

// Sets the shared renderer for the generator and puts its settings back after.
class RendererSettings {
public:
    explicit RendererSettings(const TextStyle& style) : s_(image::gBBIString()) {
        saved_ = {s_.KeyedGlyph, s_.FontName, s_.FontSize, s_.FontBlur, s_.FontAntiAreas};
        savedFolder_ = s_.FontFolder;
        savedAtlas_ = s_.GlyphAtlas;
        s_.KeyedGlyph = true;
        s_.FontFolder.clear();
        s_.FontName = std::string(style.font);
        s_.FontSize = style.size;
        s_.FontBlur = 0;
        s_.FontAntiAreas = true;
        s_.GlyphAtlas.reset();
    }
    ~RendererSettings() {
        s_.KeyedGlyph = saved_.keyed;
        s_.FontName = saved_.name;
        s_.FontSize = saved_.size;
        s_.FontBlur = saved_.blur;
        s_.FontAntiAreas = saved_.anti;
        s_.FontFolder = savedFolder_;
        s_.GlyphAtlas = savedAtlas_;
    }
    RendererSettings(const RendererSettings&) = delete;
    RendererSettings& operator=(const RendererSettings&) = delete;
    image::CmgBBIString& Get() { return s_; }

private:
    struct Saved {
        bool keyed;
        std::string name;
        Long size, blur;
        bool anti;
    };
    image::CmgBBIString& s_;
    Saved saved_;
    std::string savedFolder_;
    std::shared_ptr<const image::CmgBBI> savedAtlas_;
};

}  // namespace

TextMask RenderText(std::string_view text, const TextStyle& style) {
    // The renderer is shared (settings and glyph cache): one text at a time.
    static std::mutex renderer;
    const std::lock_guard lock(renderer);
    RendererSettings settings(style);
    auto& s = settings.Get();
    Long x = 0, y = 0;
    const image::TextRect box{0, 0, 100000, style.size};
    const auto boxes = s.MathTextBox(text, box, style.spacing, 0, 0, 0, x, y);
    TextMask mask;
    mask.width = std::max<int>(1, x + style.bold + 2);
    mask.height = style.size;
    mask.cover.assign(static_cast<std::size_t>(mask.width) * mask.height, 0.0f);
    image::CmgBBI glyph;
    for (const auto& b : boxes) {
        if (!s.LoadFont(glyph, b.Caption)) continue;
        for (int gy = 0; gy < glyph.GetHeight() && gy < mask.height; ++gy) {
            for (int gx = 0; gx < glyph.GetWidth(); ++gx) {
                const float a = static_cast<float>(glyph.Row(gy)[gx] >> 24) / 255.0f;
                if (a <= 0) continue;
                for (int k = 0; k <= style.bold; ++k) {
                    const int mx = b.X + gx + k;
                    if (mx < 0 || mx >= mask.width) continue;
                    float& m = mask.cover[static_cast<std::size_t>(gy) * mask.width + mx];
                    m = std::max(m, a);
                }
            }
        }
    }
    return mask;
}

TextMask Dilate(const TextMask& mask, int r) {
    TextMask out;
    out.width = mask.width + 2 * r;
    out.height = mask.height + 2 * r;
    out.cover.assign(static_cast<std::size_t>(out.width) * out.height, 0.0f);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float best = 0;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    const float d = std::hypot(static_cast<float>(dx), static_cast<float>(dy));
                    const float w = std::clamp(static_cast<float>(r) + 0.5f - d, 0.0f, 1.0f);
                    if (w > 0) best = std::max(best, w * mask.At(x - r + dx, y - r + dy));
                }
            }
            out.cover[static_cast<std::size_t>(y) * out.width + x] = best;
        }
    }
    return out;
}

TextMask StretchX(const TextMask& mask, int width) {
    TextMask out;
    out.width = std::max(1, width);
    out.height = mask.height;
    out.cover.assign(static_cast<std::size_t>(out.width) * out.height, 0.0f);
    const float k = static_cast<float>(mask.width) / static_cast<float>(out.width);
    for (int x = 0; x < out.width; ++x) {
        // The source position of this column's centre, between two source columns.
        const float sx = (static_cast<float>(x) + 0.5f) * k - 0.5f;
        const int x0 = static_cast<int>(std::floor(sx));
        const float t = sx - static_cast<float>(x0);
        for (int y = 0; y < out.height; ++y) {
            out.cover[static_cast<std::size_t>(y) * out.width + x] =
                (1 - t) * mask.At(x0, y) + t * mask.At(x0 + 1, y);
        }
    }
    return out;
}

void BlendMask(CmgBBI& pic, const TextMask& mask, int x, int y, Colour c) {
    for (int my = 0; my < mask.height; ++my) {
        for (int mx = 0; mx < mask.width; ++mx) {
            const float a = mask.cover[static_cast<std::size_t>(my) * mask.width + mx];
            if (a > 0) Put(pic, x + mx, y + my, c, a);
        }
    }
}

void TextAt(CmgBBI& pic, int x, int y, std::string_view text, const TextStyle& style, Colour c,
            int outline, Colour outlineColour) {
    const TextMask mask = RenderText(text, style);
    if (outline > 0) BlendMask(pic, Dilate(mask, outline), x - outline, y - outline, outlineColour);
    BlendMask(pic, mask, x, y, c);
}

void TextCentred(CmgBBI& pic, float cx, float cy, std::string_view text, const TextStyle& style,
                 Colour c, int outline, Colour outlineColour) {
    const TextMask mask = RenderText(text, style);
    // The ink's own extent decides the centre, so that captions sit in the middle
    // of their band whatever the face's ascent.
    int x0 = mask.width, x1 = -1, y0 = mask.height, y1 = -1;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.At(x, y) > 0.1f) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0) return;
    const int left = static_cast<int>(std::lround(cx - static_cast<float>(x0 + x1 + 1) / 2));
    const int top = static_cast<int>(std::lround(cy - static_cast<float>(y0 + y1 + 1) / 2));
    if (outline > 0) {
        BlendMask(pic, Dilate(mask, outline), left - outline, top - outline, outlineColour);
    }
    BlendMask(pic, mask, left, top, c);
}

TextStyle FitWidth(std::string_view text, TextStyle style, int maxWidth) {
    while (style.size > 6) {
        const TextMask m = RenderText(text, style);
        int right = -1;
        int left = m.width;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                if (m.At(x, y) > 0.1f) {
                    right = std::max(right, x);
                    left = std::min(left, x);
                }
            }
        }
        if (right - left + 1 <= maxWidth) break;
        --style.size;
    }
    return style;
}

}  // namespace brumil::datagen
