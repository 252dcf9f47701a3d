#include "platform/font/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <string>

namespace brumil::platform {

namespace {

// U+3042 (HIRAGANA LETTER A): a face without it cannot show the game's texts.
constexpr FcChar32 kJapaneseProbe = 0x3042;

std::optional<FontLocation> MatchPattern(FcPattern* pattern, bool requireJapanese) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::optional<FontLocation> found;
    if (match != nullptr) {
        FcChar8* file = nullptr;
        int index = 0;
        FcCharSet* chars = nullptr;
        bool covers = true;
        if (requireJapanese && FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch)
            covers = FcCharSetHasChar(chars, kJapaneseProbe) != FcFalse;
        if (covers && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            found = FontLocation{reinterpret_cast<const char*>(file), index};
        }
        FcPatternDestroy(match);
    }
    return found;
}

}  // namespace

std::optional<FontLocation> FindFontFamily(std::string_view family) {
    if (FcInit() == FcFalse) return std::nullopt;
    const std::string name(family);
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return std::nullopt;
    if (!name.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    auto found = MatchPattern(pattern, true);
    FcPatternDestroy(pattern);
    if (found) return found;
    // The named family does not cover Japanese: any face that does.
    pattern = FcPatternCreate();
    if (pattern == nullptr) return std::nullopt;
    FcCharSet* chars = FcCharSetCreate();
    FcCharSetAddChar(chars, kJapaneseProbe);
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    found = MatchPattern(pattern, true);
    FcCharSetDestroy(chars);
    FcPatternDestroy(pattern);
    return found;
}

struct FontFace::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int currentSize = 0;
    ~Impl() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

FontFace::FontFace(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::Open(const FontLocation& where) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) return nullptr;
    const std::string file = where.file.string();
    if (FT_New_Face(impl->library, file.c_str(), where.index, &impl->face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(impl->face)) return nullptr;
    return std::unique_ptr<FontFace>(new FontFace(std::move(impl)));
}

bool FontFace::HasGlyph(char32_t codePoint) const {
    return FT_Get_Char_Index(impl_->face, codePoint) != 0;
}

double FontFace::AscentRatio() const {
    const double asc = impl_->face->ascender;
    const double desc = -static_cast<double>(impl_->face->descender);
    if (asc <= 0.0 || asc + desc <= 0.0) return 0.8;
    return asc / (asc + desc);
}

std::string FontFace::FamilyName() const {
    return impl_->face->family_name != nullptr ? impl_->face->family_name : "";
}

std::optional<GlyphBitmap> FontFace::Render(char32_t codePoint, int pixelSize, bool antialias) {
    FT_Face face = impl_->face;
    pixelSize = std::clamp(pixelSize, 1, 1024);
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0) return std::nullopt;
    if (impl_->currentSize != pixelSize) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return std::nullopt;
        impl_->currentSize = pixelSize;
    }
    const FT_Int32 loadFlags = antialias ? FT_LOAD_DEFAULT : (FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(face, index, loadFlags) != 0) return std::nullopt;
    if (FT_Render_Glyph(face->glyph, antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return std::nullopt;
    const FT_Bitmap& bm = face->glyph->bitmap;
    GlyphBitmap out;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.left = face->glyph->bitmap_left;
    out.top = face->glyph->bitmap_top;
    out.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    out.coverage.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < out.width; ++x) {
            std::uint8_t v;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays > 1) {
                v = static_cast<std::uint8_t>(row[x] * 255 / (bm.num_grays - 1));
            } else {
                v = 0;
            }
            out.coverage[static_cast<std::size_t>(y) * out.width + x] = v;
        }
    }
    return out;
}

}  // namespace brumil::platform
