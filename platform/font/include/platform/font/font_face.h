#pragma once
// Glyph rasterising: one font face opened from a file or found by family name,
// rendering one code point at a pixel size into an 8-bit coverage bitmap.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brumil::platform {

struct GlyphBitmap {
    int width = 0;                       // coverage columns
    int height = 0;                      // coverage rows
    int left = 0;                        // from the pen position to the first column, pixels
    int top = 0;                         // from the baseline up to the first row, pixels
    int advance = 0;                     // pen advance, whole pixels
    std::vector<std::uint8_t> coverage;  // width * height, 0..255
};

// Where a face lives: a file and the face index inside it.
struct FontLocation {
    std::filesystem::path file;
    int index = 0;
};

// Asks fontconfig for the face that best matches `family` for Japanese text.
// An unknown family falls back to a face that covers Japanese; nothing when
// fontconfig has no face at all.
std::optional<FontLocation> FindFontFamily(std::string_view family);

class FontFace {
public:
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Nothing when the file does not hold a scalable face.
    static std::unique_ptr<FontFace> Open(const FontLocation& where);

    bool HasGlyph(char32_t codePoint) const;
    // Share of the em above the baseline (ascender over ascender plus descender).
    double AscentRatio() const;
    std::string FamilyName() const;

    // Renders at an em of `pixelSize` pixels (1..1024): anti-aliased coverage,
    // or 0/255 when antialias is false. Nothing when the face has no glyph for
    // the code point or rendering fails.
    std::optional<GlyphBitmap> Render(char32_t codePoint, int pixelSize, bool antialias);

private:
    struct Impl;
    explicit FontFace(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace brumil::platform
