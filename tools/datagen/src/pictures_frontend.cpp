// Pictures of the front-end screens: key set-up, logo, title, glyph atlas,
// level select and character select.

#include <cmath>
#include <string>

#include "draw.h"
#include "pictures.h"
#include "text.h"

namespace brumil::datagen {

namespace {

CmgBBI Blank(int w, int h, Colour c) {
    CmgBBI pic;
    pic.CreateBBI(w, h);
    Clear(pic, c);
    return pic;
}

// Where the title's menu captions go (the widest, "Free Fight 1P vs CP", is
// about 540 pixels): a darker plate, free of stars and orbs.
bool InTitleMenu(float x, float y, float margin) {
    return x > 36 - margin && x < 604 + margin && y > 220 - margin && y < 385 + margin;
}

// Faint scattered dots, the same for the same seed.
void Sparkles(CmgBBI& pic, std::uint32_t seed, int count, int x0, int y0, int w, int h, Colour c,
              bool calm = false) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(x0) + rng.Range(0, static_cast<float>(w));
        const float y = static_cast<float>(y0) + rng.Range(0, static_cast<float>(h));
        const float r = rng.Range(0.6f, 1.8f);
        if (calm && InTitleMenu(x, y, 0)) continue;
        Circle(pic, x, y, r, WithAlpha(c, c.a * rng.Range(0.3f, 1.0f)));
    }
}

// An arc of orbs, as a barrage seen from afar, broken where the title's menu
// goes.
void OrbArc(CmgBBI& pic, float cx, float cy, float radius, float from, float to, int n, float r,
            Colour c) {
    for (int i = 0; i < n; ++i) {
        const float a = from + (to - from) * static_cast<float>(i) / static_cast<float>(n - 1);
        const float x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
        if (InTitleMenu(x, y, r * 1.6f)) continue;
        Circle(pic, x, y, r * 1.6f, WithAlpha(c, 0.25f));
        Circle(pic, x, y, r, c);
        Circle(pic, x, y, r * 0.5f, Rgb(0xFFFFFF, 0.9f));
    }
}

void KeySetup(Output& out) {
    CmgBBI pic = Blank(640, 480, {});
    GradientV(pic, 0, 0, 640, 480, Rgb(0xF6F3EA), Rgb(0xDDE6EE));
    Circle(pic, 600, 440, 170, Rgb(0xC8D8E8, 0.35f));
    Circle(pic, 40, 20, 110, Rgb(0xE8DCC0, 0.35f));
    RoundRect(pic, 140, 58, 470, 326, 14, Rgb(0xFFFFFF, 0.55f));
    RoundFrame(pic, 140, 58, 470, 326, 14, 1.5f, Rgb(0x9AAFC4, 0.8f));
    Segment(pic, {20, 52}, {620, 52}, 1.5f, Rgb(0x7D95AE, 0.7f));
    // The confirm button the "決定" item stands on.
    RoundRect(pic, 172, 399, 300, 50, 12, Rgb(0x20304A, 0.25f));
    RoundRect(pic, 170, 395, 300, 50, 12, Rgb(0x3C6E9E));
    RoundRect(pic, 174, 398, 292, 20, 9, Rgb(0xFFFFFF, 0.18f));
    RoundFrame(pic, 170, 395, 300, 50, 12, 1.5f, Rgb(0x1E3C5C));
    TextCentred(pic, 320, 420, "決定", {kMincho, 30, 1, 0}, Rgb(0xFFFFFF), 1, Rgb(0x1E3C5C, 0.6f));
    out.Picture("appconfig.bmp", pic, 24);
}

void Cursor(Output& out) {
    CmgBBI pic = Blank(256, 32, Rgb(0, 0));
    for (int y = 0; y < 32; ++y) {
        const float v =
            1.0f - std::pow(std::fabs(static_cast<float>(y) + 0.5f - 16.0f) / 16.0f, 2.0f);
        for (int x = 0; x < 256; ++x) {
            const float fx = static_cast<float>(x) + 0.5f;
            const float e = std::clamp(std::min(fx, 256.0f - fx) / 56.0f, 0.0f, 1.0f);
            const float soft = e * e * (3 - 2 * e);
            const float b = soft * (0.5f + 0.5f * v);
            pic.Row(y)[x] = Pack({b, b, b, b});
        }
    }
    out.Picture("cursor.bmp", pic, 32);
}

void Logo(Output& out) {
    CmgBBI pic = Blank(640, 480, Rgb(0xFFFFFF));
    const Colour ink = Rgb(0x24365A);
    Circle(pic, 320, 190, 74, ink);
    Circle(pic, 320, 190, 62, Rgb(0xFFFFFF));
    Polygon(pic, Star(320, 190, 54, 22, 4, 0), Rgb(0x4A78B8));
    Polygon(pic, Star(320, 190, 34, 12, 4, kPi / 4), Rgb(0x9CC0E8));
    Circle(pic, 320, 190, 8, Rgb(0xFFFFFF));
    TextCentred(pic, 320, 310, "PELMOR", {kGothic, 52, 2, 10}, ink);
    Segment(pic, {230, 344}, {410, 344}, 2, Rgb(0x4A78B8));
    TextCentred(pic, 320, 364, "works", {kPGothic, 18, 0, 4}, Rgb(0x6A7A98));
    out.Picture("pelmor logo w3.bmp", pic, 24);
}

void Title(Output& out) {
    CmgBBI pic = Blank(640, 480, {});
    // Night sky over a warm horizon.
    GradientV(pic, 0, 0, 640, 300, Rgb(0x0C1634), Rgb(0x4A3470));
    GradientV(pic, 0, 300, 640, 180, Rgb(0x4A3470), Rgb(0xC07860));
    Sparkles(pic, 11, 180, 0, 0, 640, 300, Rgb(0xFFFFFF, 0.9f), true);
    Circle(pic, 588, 50, 30, Rgb(0xFFF4D8, 0.95f));
    Circle(pic, 577, 43, 26, Rgb(0x151B3C));  // a crescent
    // Barrages on both sides of the name, above the menu.
    OrbArc(pic, 30, 140, 120, -1.0f, 0.7f, 8, 6, Rgb(0x60C8FF));
    OrbArc(pic, 30, 140, 80, -0.9f, 0.8f, 6, 4, Rgb(0xA0E8FF));
    OrbArc(pic, 610, 160, 120, 2.45f, 4.0f, 7, 6, Rgb(0xFF7090));
    OrbArc(pic, 610, 160, 80, 2.3f, 4.0f, 6, 4, Rgb(0xFFB0C0));
    // Hills.
    std::vector<Pt> hills{{0, 480}, {0, 420}};
    for (int x = 0; x <= 640; x += 16) {
        const float fx = static_cast<float>(x);
        hills.push_back({fx, 420 - 22 * std::sin(fx / 90.0f) - 12 * std::sin(fx / 37.0f + 1)});
    }
    hills.push_back({640, 480});
    Polygon(pic, hills, Rgb(0x1A1430));
    TextCentred(pic, 320, 120, "Brumil", {kPGothic, 96, 2, 2}, Rgb(0xFFFFFF), 4,
                Rgb(0x3A2C7A, 0.8f));
    TextCentred(pic, 320, 190, "barrage duel", {kPGothic, 22, 0, 6}, Rgb(0xE0D8FF, 0.9f));
    out.Picture("start.bmp", pic, 24);

    // The multiply layer: a soft vignette and a darker calm plate under the
    // white captions of the menu.
    CmgBBI mul = Blank(640, 480, Rgb(0xFFFFFF));
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const float dx = (static_cast<float>(x) - 320) / 360,
                        dy = (static_cast<float>(y) - 240) / 300;
            const float v = 1.0f - 0.35f * std::clamp(dx * dx + dy * dy - 0.35f, 0.0f, 1.0f);
            const float plate =
                std::clamp(0.5f - SdRoundBox(static_cast<float>(x), static_cast<float>(y), 320, 302,
                                             284, 72, 30) /
                                      36.0f,
                           0.0f, 1.0f);
            const float k = v * (1.0f - 0.35f * plate);
            mul.Row(y)[x] = Pack({k, k, k * 1.02f, 1});
        }
    }
    out.Picture("start1.bmp", mul, 24);
}

// " ", ".", "0"-"9", "A"-"Z", "a"-"z" in cells of 32, white, alpha the coverage.
// Captions advance a whole cell less a few pixels a character, so the glyphs
// must fill their cells: the half-width face is stretched to the cell's width.
void GlyphAtlas(Output& out) {
    CmgBBI pic = Blank(256, 256, Rgb(0xFFFFFF, 0));
    std::string chars = " .";
    for (char c = '0'; c <= '9'; ++c) chars += c;
    for (char c = 'A'; c <= 'Z'; ++c) chars += c;
    for (char c = 'a'; c <= 'z'; ++c) chars += c;
    const TextStyle style{kGothic, 28, 0, 0};
    constexpr int kCell = 32, kFilled = 30;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const int cx = static_cast<int>(i % 8) * kCell, cy = static_cast<int>(i / 8) * kCell;
        if (chars[i] == ' ') continue;
        // The face is monospaced: every glyph is stretched by the same factor.
        const TextMask narrow = RenderText(std::string(1, chars[i]), style);
        const TextMask m = StretchX(narrow, narrow.width * kFilled / (narrow.width - 2));
        // Centred across the cell; the baseline is the same for every cell.
        const int left = cx + (kCell - m.width) / 2;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                const float a = std::min(1.0f, m.At(x, y));
                const int px = left + x, py = cy + 2 + y;
                if (a > 0 && px >= cx && px < cx + kCell && py < cy + kCell) {
                    pic.Row(py)[px] = Pack({1, 1, 1, a});
                }
            }
        }
    }
    out.Picture("font64-x13-256x256.bmp", pic, 32);
}

struct LevelTheme {
    const char* file;
    const char* mode;
    std::uint32_t top, bottom, ink;
};

void LevelBackgrounds(Output& out) {
    const LevelTheme themes[] = {
        {"level1.bmp", "Start Game", 0xFBE7C8, 0xF0B890, 0x8A4A20},
        {"level2.bmp", "Free Fight", 0xDDF2D8, 0xA8D8B0, 0x2E6A3A},
        {"level3.bmp", "1P vs 2P", 0xE4DCF6, 0xB8A8E0, 0x4A3A8A},
        {"level4.bmp", "1P vs Net", 0xD6EEF4, 0x98CCE0, 0x205A78},
    };
    std::uint32_t seed = 21;
    for (const auto& t : themes) {
        CmgBBI pic = Blank(640, 480, {});
        GradientV(pic, 0, 0, 640, 480, Rgb(t.top), Rgb(t.bottom));
        const Colour ink = Rgb(t.ink);
        Circle(pic, 112, 300, 150, WithAlpha(ink, 0.10f));
        Ring(pic, 112, 300, 118, 3, WithAlpha(ink, 0.18f));
        Polygon(pic, Star(112, 300, 96, 40, 6, 0), WithAlpha(ink, 0.12f));
        Sparkles(pic, seed++, 60, 0, 0, 640, 480, Rgb(0xFFFFFF, 0.8f));
        TextAt(pic, 22, 22, t.mode, FitWidth(t.mode, {kPGothic, 30, 1, 0}, 196), ink);
        Segment(pic, {22, 64}, {206, 64}, 2, WithAlpha(ink, 0.6f));
        out.Picture(t.file, pic, 24);
    }

    // The label sheet multiplied over them: white but for the labels.
    CmgBBI labels = Blank(640, 480, Rgb(0xFFFFFF));
    TextCentred(labels, 408, 44, "LEVEL SELECT", {kGothic, 26, 1, 4}, Rgb(0x3A4050));
    const char* names[] = {"Easy", "Normal", "Hard", "Fantastic", "Madness", "Apocalypse"};
    for (int k = 0; k < 6; ++k) {
        const float y = 85.0f + 67.0f * static_cast<float>(k);
        RoundRect(labels, 232, y + 4, 352, 52, 10, Rgb(0xE4E6EE));
        RoundFrame(labels, 232, y + 4, 352, 52, 10, 1.5f, Rgb(0xA8AEC0));
        for (int s = 0; s <= k; ++s) {
            const float sx = 252.0f + 11.0f * static_cast<float>(s);
            Polygon(labels, Star(sx, y + 30, 5, 2.2f, 4, 0), Rgb(0x7880A0));
        }
        TextCentred(labels, 440, y + 30, names[k], {kGothic, 30, 1, 1}, Rgb(0x262A38));
    }
    out.Picture("level.bmp", labels, 24);
}

void CharacterSelect(Output& out) {
    CmgBBI pic = Blank(640, 480, {});
    GradientV(pic, 0, 0, 640, 480, Rgb(0x5A6C94), Rgb(0x262E48));
    FillRect(pic, 0, 0, 320, 480, Rgb(0x4070D0, 0.14f));
    FillRect(pic, 320, 0, 320, 480, Rgb(0xD04050, 0.14f));
    // Light behind the portraits' heads; the rows of their texts stay dark.
    Glow(pic, 140, 150, 170, Rgb(0xC8D8FF, 0.55f), 1.6f);
    Glow(pic, 500, 150, 170, Rgb(0xFFD0D0, 0.55f), 1.6f);
    Segment(pic, {320, 70}, {320, 360}, 2, Rgb(0xFFFFFF, 0.25f));
    Sparkles(pic, 31, 90, 0, 0, 640, 480, Rgb(0xFFFFFF, 0.7f));
    TextCentred(pic, 320, 30, "CHARACTER SELECT", {kGothic, 24, 1, 4}, Rgb(0xFFFFFF, 0.9f), 2,
                Rgb(0x1A2038, 0.5f));
    out.Picture("select_character1.bmp", pic, 24);

    // Only the bottom strip (rows 360..479) is shown; the rest stays clear.
    CmgBBI strip = Blank(640, 480, Rgb(0x141C30, 0));
    GradientV(strip, 0, 360, 640, 120, Rgb(0x1A2440, 0.9f), Rgb(0x0A0E1A, 0.96f));
    for (int i = 0; i < 26; ++i) {
        const float x = static_cast<float>(i) * 28 - 40;
        Segment(strip, {x, 479}, {x + 60, 366}, 6, Rgb(0xFFFFFF, 0.04f));
    }
    FillRect(strip, 0, 362, 640, 2, Rgb(0x90A4D8, 0.9f));
    FillRect(strip, 0, 366, 640, 1, Rgb(0x90A4D8, 0.4f));
    TextCentred(strip, 320, 424, "VS", {kGothic, 40, 2, 2}, Rgb(0xFFFFFF, 0.55f));
    out.Picture("select_character2.bmp", strip, 32);
}

}  // namespace

void WriteFrontEndPictures(Output& out) {
    KeySetup(out);
    Cursor(out);
    Logo(out);
    Title(out);
    GlyphAtlas(out);
    LevelBackgrounds(out);
    CharacterSelect(out);
}

}  // namespace brumil::datagen
