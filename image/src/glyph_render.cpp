// Glyph pictures: face lookup through the font table, rendering, blur, the
// glyph atlas and the glyph cache.

#include <algorithm>
#include <cmath>

#include "image/cmg_bbi_function.h"
#include "image/cmg_bbi_string.h"
#include "platform/base/files.h"
#include "platform/font/font_face.h"
#include "platform/pixel/pixel_kernels.h"
#include "utf8.h"

namespace brumil::image {

namespace px = platform::pixel;

namespace {

constexpr std::size_t kCacheLimit = 4096;
constexpr int kAtlasSide = 256;
constexpr int kAtlasCell = 32;

// Index of a character in the atlas, or -1.
int AtlasIndex(char32_t c) {
    if (c == U' ') return 0;
    if (c == U'.') return 1;
    if (c >= U'0' && c <= U'9') return 2 + static_cast<int>(c - U'0');
    if (c >= U'A' && c <= U'Z') return 12 + static_cast<int>(c - U'A');
    if (c >= U'a' && c <= U'z') return 38 + static_cast<int>(c - U'a');
    return -1;
}

// One box pass of radius r along rows (horizontal) or columns.
void BoxPass(std::vector<int>& v, int w, int h, int r, bool horizontal) {
    std::vector<int> out(v.size(), 0);
    const int len = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    const int span = 2 * r + 1;
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> int& {
            return horizontal ? v[static_cast<std::size_t>(l) * w + i]
                              : v[static_cast<std::size_t>(i) * w + l];
        };
        auto put = [&](int i) -> int& {
            return horizontal ? out[static_cast<std::size_t>(l) * w + i]
                              : out[static_cast<std::size_t>(i) * w + l];
        };
        int sum = 0;
        for (int i = -r; i <= r; ++i)
            if (i >= 0 && i < len) sum += at(i);
        for (int i = 0; i < len; ++i) {
            put(i) = (sum + span / 2) / span;
            const int drop = i - r;
            const int add = i + r + 1;
            if (drop >= 0) sum -= at(drop);
            if (add < len) sum += at(add);
        }
    }
    v.swap(out);
}

void Blur(std::vector<std::uint8_t>& cov, int w, int h, int r) {
    if (r <= 0 || w <= 0 || h <= 0) return;
    std::vector<int> v(cov.begin(), cov.end());
    for (int pass = 0; pass < 2; ++pass) {
        BoxPass(v, w, h, r, true);
        BoxPass(v, w, h, r, false);
    }
    for (std::size_t i = 0; i < cov.size(); ++i)
        cov[i] = static_cast<std::uint8_t>(std::clamp(v[i], 0, 255));
}

std::string LocationKey(const platform::FontLocation& loc) {
    return loc.file.string() + "#" + std::to_string(loc.index);
}

}  // namespace

CmgBBIString::CmgBBIString() = default;
CmgBBIString::~CmgBBIString() = default;

CmgBBIString& gBBIString() {
    static CmgBBIString instance;
    return instance;
}

Long CmgBBIString::PixelSize() const {
    return std::clamp<Long>(FontSize, 1, 512);
}

void CmgBBIString::EnsureTable() {
    if (tableLoaded_ && tableFolder_ == FontFolder) return;
    table_ = FontTable();
    std::string file = FontFolder;
    if (!file.empty() && file.back() != '\\' && file.back() != '/') file += '\\';
    file += "fonts.txt";
    if (auto bytes = platform::ReadFile(file)) {
        table_.Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                     FontFolder);
    }
    tableFolder_ = FontFolder;
    tableLoaded_ = true;
    byName_.clear();
}

platform::FontFace* CmgBBIString::OpenTarget(const FontTarget& target) {
    std::optional<platform::FontLocation> loc;
    if (target.kind == FontTarget::Kind::File) {
        loc = platform::FontLocation{platform::MapPath(target.value), target.index};
    } else {
        loc = platform::FindFontFamily(target.value);
    }
    if (!loc) return nullptr;
    const std::string key = LocationKey(*loc);
    auto it = faces_.find(key);
    if (it == faces_.end()) {
        auto face = platform::FontFace::Open(*loc);
        if (!face) return nullptr;
        it = faces_.emplace(key, std::move(face)).first;
    }
    return it->second.get();
}

platform::FontFace* CmgBBIString::FaceFor(char32_t code) {
    EnsureTable();
    auto named = byName_.find(FontName);
    if (named == byName_.end()) {
        platform::FontFace* face = OpenTarget(table_.Resolve(FontName));
        if (face == nullptr && table_.Resolve(FontName).kind == FontTarget::Kind::File) {
            // A table entry naming a missing file: the family of that name.
            face = OpenTarget(FontTarget{FontTarget::Kind::Family, FontName, 0});
        }
        named = byName_.emplace(FontName, face).first;
    }
    if (named->second != nullptr && named->second->HasGlyph(code)) return named->second;
    if (!fallbackTried_) {
        fallback_ = OpenTarget(FontTarget{FontTarget::Kind::Family, "", 0});
        fallbackTried_ = true;
    }
    if (fallback_ != nullptr && fallback_->HasGlyph(code)) return fallback_;
    return nullptr;
}

bool CmgBBIString::AtlasCoverage(char32_t code, Coverage& out) const {
    if (!GlyphAtlas || GlyphAtlas->GetWidth() != kAtlasSide ||
        GlyphAtlas->GetHeight() != kAtlasSide)
        return false;
    const int index = AtlasIndex(code);
    if (index < 0) return false;
    const int cx = (index % 8) * kAtlasCell;
    const int cy = (index / 8) * kAtlasCell;
    CmgBBI cell;
    cell.CreateBBI(kAtlasCell, kAtlasCell, 0);
    for (int y = 0; y < kAtlasCell; ++y) {
        const px::Pixel* row = GlyphAtlas->Row(cy + y) + cx;
        for (int x = 0; x < kAtlasCell; ++x) {
            const int c = px::MulDiv255(px::Luminance(row[x]), px::Alpha(row[x]));
            cell.Row(y)[x] = px::MakeArgb(c, c, c, c);
        }
    }
    const int size = PixelSize();
    CmgBBI scaled;
    scaled.CreateBBI(size, size, 0);
    CmgBBIFunction scaler;
    scaler.BBILinearBlt(scaled, cell);
    out.width = size;
    out.height = size;
    out.values.resize(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.values[static_cast<std::size_t>(y) * size + x] =
                static_cast<std::uint8_t>(px::Alpha(scaled.Row(y)[x]));
    return true;
}

bool CmgBBIString::FontCoverage(char32_t code, Coverage& out) {
    platform::FontFace* face = FaceFor(code);
    if (face == nullptr) return false;
    const int size = PixelSize();
    auto glyph = face->Render(code, size, FontAntiAreas);
    if (!glyph) return false;
    const int baseline = static_cast<int>(std::lround(size * face->AscentRatio()));
    out.width = std::max(1, glyph->advance);
    out.height = size;
    out.values.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int gy = 0; gy < glyph->height; ++gy) {
        const int y = baseline - glyph->top + gy;
        if (y < 0 || y >= out.height) continue;
        for (int gx = 0; gx < glyph->width; ++gx) {
            const int x = glyph->left + gx;
            if (x < 0 || x >= out.width) continue;
            out.values[static_cast<std::size_t>(y) * out.width + x] =
                glyph->coverage[static_cast<std::size_t>(gy) * glyph->width + gx];
        }
    }
    return true;
}

void CmgBBIString::ToPicture(Coverage cov, CmgBBI& glyph) const {
    Blur(cov.values, cov.width, cov.height, std::clamp<Long>(FontBlur, 0, 32));
    glyph.CreateBBI(cov.width, cov.height, 0);
    for (int y = 0; y < cov.height; ++y) {
        px::Pixel* row = glyph.Row(y);
        for (int x = 0; x < cov.width; ++x) {
            const int c = cov.values[static_cast<std::size_t>(y) * cov.width + x];
            row[x] = KeyedGlyph ? px::MakeArgb(c, c, c, c) : px::MakeArgb(c, 255, 255, 255);
        }
    }
}

bool CmgBBIString::LoadFont(CmgBBI& glyph, std::string_view text) {
    if (text.empty()) return false;
    const char32_t code = detail::NextUtf8(text).code;
    if (code < 0x20 || code == 0x7F) return false;
    Coverage cov;
    if (AtlasCoverage(code, cov)) {
        ToPicture(std::move(cov), glyph);
        return true;
    }
    GlyphKey key{FontFolder,    FontName,  code, PixelSize(), std::clamp<Long>(FontBlur, 0, 32),
                 FontAntiAreas, KeyedGlyph};
    if (auto it = cache_.find(key); it != cache_.end()) {
        glyph.CreateBBICopy(it->second);
        return true;
    }
    if (!FontCoverage(code, cov)) return false;
    ToPicture(std::move(cov), glyph);
    if (cache_.size() >= kCacheLimit) cache_.clear();
    cache_.emplace(std::move(key), glyph);
    return true;
}

}  // namespace brumil::image
