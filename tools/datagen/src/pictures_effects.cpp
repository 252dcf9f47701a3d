// Effect pictures of the battle: flashes, rings, magic circles, bullet sheets,
// glow lines and sparkle animations. Pictures of light are drawn on black
// with alpha equal to their brightness; keyed pictures sit on their key colour.

#include <cmath>
#include <string>

#include "draw.h"
#include "pictures.h"
#include "text.h"

namespace brumil::datagen {

namespace {

const Colour kBlack = Rgb(0x000000);

CmgBBI Black(int w, int h) {
    CmgBBI pic;
    pic.CreateBBI(w, h);
    Clear(pic, kBlack);
    return pic;
}

CmgBBI Transparent(int w, int h) {
    CmgBBI pic;
    pic.CreateBBI(w, h);
    Clear(pic, Rgb(0xFFFFFF, 0));
    return pic;
}

void Flash(Output& out) {
    CmgBBI pic = Black(128, 128);
    Glow(pic, 64, 64, 64, Rgb(0xFFF0D0), 2.2f);
    Glow(pic, 64, 64, 30, Rgb(0xFFFFFF), 1.2f);
    for (int i = 0; i < 8; ++i) {
        const float a = kPi * static_cast<float>(i) / 4.0f;
        const float len = (i % 2 == 0) ? 60.0f : 40.0f;
        for (int s = 0; s < 24; ++s) {
            const float t = static_cast<float>(s) / 24.0f;
            Glow(pic, 64 + std::cos(a) * len * t, 64 + std::sin(a) * len * t, 5 * (1 - t) + 1,
                 Rgb(0xFFE8B0), 1.0f);
        }
    }
    AlphaFromBrightness(pic);
    out.Picture("magic0.bmp", pic, 32);
}

void RingPicture(Output& out) {
    CmgBBI pic = Black(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - 64, static_cast<float>(y) + 0.5f - 64);
            const float inner = std::exp(-std::pow((d - 52) / 5.0f, 2.0f));
            const float trail = d < 52 ? 0.35f * std::pow(d / 52, 3.0f) : 0.0f;
            AddLight(pic, x, y, Rgb(0xA0D8FF), inner + trail);
            AddLight(pic, x, y, Rgb(0xFFFFFF), 0.6f * std::exp(-std::pow((d - 52) / 2.0f, 2.0f)));
        }
    }
    AlphaFromBrightness(pic);
    out.Picture("magic1.bmp", pic, 32);
}

void Hexagram(Output& out) {
    CmgBBI pic = Transparent(128, 128);
    const Colour c = Rgb(0xFFE0F0);
    Ring(pic, 64, 64, 58, 2.5f, c);
    Ring(pic, 64, 64, 50, 1.2f, WithAlpha(c, 0.8f));
    PolygonOutline(pic, Regular(64, 64, 50, 3, 0), 2, c);
    PolygonOutline(pic, Regular(64, 64, 50, 3, kPi), 2, c);
    Circle(pic, 64, 64, 7, WithAlpha(c, 0.9f));
    Circle(pic, 64, 6, 4, Rgb(0xFFFFFF));  // a mark at the top shows the turn
    out.Picture("magic2.bmp", pic, 32);
}

// Magic circles: rings, a polygon figure, rune marks and one bright pointer,
// so that the turning is visible.
void MagicCircle(Output& out, const char* name, std::uint32_t rgb, int corners, int step,
                 std::uint32_t seed) {
    CmgBBI pic = Transparent(256, 256);
    const Colour c = Rgb(rgb);
    const float cx = 128, cy = 128;
    Ring(pic, cx, cy, 122, 3, c);
    Ring(pic, cx, cy, 112, 1.5f, WithAlpha(c, 0.85f));
    Ring(pic, cx, cy, 74, 2, WithAlpha(c, 0.9f));
    Ring(pic, cx, cy, 30, 2, c);
    auto corner = Regular(cx, cy, 108, corners, 0.3f);
    for (int i = 0; i < corners; ++i) {
        const Pt a = corner[static_cast<std::size_t>(i)];
        const Pt b = corner[static_cast<std::size_t>((i + step) % corners)];
        Segment(pic, a, b, 2, WithAlpha(c, 0.9f));
    }
    Rng rng(seed);
    const std::string runes = "ABCDEFGHJKLMNPRSTVXZ";
    for (int i = 0; i < 16; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / 16.0f;
        const float x = cx + 93 * std::sin(a), y = cy - 93 * std::cos(a);
        const std::string rune(
            1, runes[static_cast<std::size_t>(rng.Below(static_cast<int>(runes.size())))]);
        TextCentred(pic, x, y, rune, {kGothic, 14, 0, 0}, WithAlpha(c, 0.95f));
    }
    // The pointer: one arrow on the outer ring.
    Polygon(pic, std::vector<Pt>{{cx, 2}, {cx + 9, 18}, {cx - 9, 18}}, Rgb(0xFFFFFF));
    Circle(pic, cx + 52, cy, 6, WithAlpha(c, 0.9f));
    out.Picture(name, pic, 32);
}

// Sixteen bullet shapes in cells of 64, drawn as light on black.
void BulletCell(CmgBBI& pic, int cell, float ox, float oy) {
    const float cx = ox + 32, cy = oy + 32;
    const Colour hues[] = {Rgb(0xFF3040), Rgb(0x30A0FF), Rgb(0x40FF70), Rgb(0xFFD030),
                           Rgb(0xC040FF), Rgb(0xFF60C0), Rgb(0x30FFF0), Rgb(0xFF8020)};
    const Colour h = hues[cell % 8];
    const Colour white = Rgb(0xFFFFFF);
    switch (cell) {
        case 0:  // orb
            Glow(pic, cx, cy, 28, h, 1.5f);
            Circle(pic, cx, cy, 14, h);
            Circle(pic, cx, cy, 9, white);
            break;
        case 1:  // ring orb
            Glow(pic, cx, cy, 28, h, 2.0f);
            Ring(pic, cx, cy, 16, 5, h);
            Circle(pic, cx, cy, 7, white);
            break;
        case 2:  // small pellet
            Glow(pic, cx, cy, 18, h, 1.5f);
            Circle(pic, cx, cy, 6, white);
            break;
        case 3:  // star
            Glow(pic, cx, cy, 28, h, 2.0f);
            Polygon(pic, Star(cx, cy, 24, 10, 5, 0), h);
            Polygon(pic, Star(cx, cy, 13, 5, 5, 0), white);
            break;
        case 4:  // diamond
            Glow(pic, cx, cy, 26, h, 2.0f);
            Polygon(pic, Regular(cx, cy, 22, 4, 0), h);
            Polygon(pic, Regular(cx, cy, 11, 4, 0), white);
            break;
        case 5:  // rice grain (points up)
            Glow(pic, cx, cy, 28, h, 2.0f);
            FillSdf(
                pic, cx - 12, cy - 26, cx + 12, cy + 26,
                [&](float px, float py) {
                    return std::hypot((px - cx) / 10.0f, (py - cy) / 24.0f) * 10.0f - 10.0f;
                },
                h);
            FillSdf(
                pic, cx - 6, cy - 16, cx + 6, cy + 16,
                [&](float px, float py) {
                    return std::hypot((px - cx) / 5.0f, (py - cy) / 14.0f) * 5.0f - 5.0f;
                },
                white);
            break;
        case 6:  // arrowhead (points up)
            Glow(pic, cx, cy, 26, h, 2.0f);
            Polygon(pic,
                    std::vector<Pt>{
                        {cx, cy - 26}, {cx + 16, cy + 20}, {cx, cy + 10}, {cx - 16, cy + 20}},
                    h);
            Polygon(pic, std::vector<Pt>{{cx, cy - 14}, {cx + 7, cy + 8}, {cx - 7, cy + 8}}, white);
            break;
        case 7:  // cross
            Glow(pic, cx, cy, 26, h, 2.0f);
            RoundRect(pic, cx - 5, cy - 24, 10, 48, 4, h);
            RoundRect(pic, cx - 24, cy - 5, 48, 10, 4, h);
            Circle(pic, cx, cy, 6, white);
            break;
        case 8:  // crescent
            Glow(pic, cx, cy, 26, h, 2.0f);
            FillSdf(
                pic, cx - 22, cy - 22, cx + 22, cy + 22,
                [&](float px, float py) {
                    return std::max(SdCircle(px, py, cx, cy, 20),
                                    -SdCircle(px, py, cx + 9, cy - 6, 16));
                },
                h);
            break;
        case 9:  // large orb
            Glow(pic, cx, cy, 31, h, 1.2f);
            Circle(pic, cx, cy, 22, h);
            Circle(pic, cx, cy, 15, white);
            break;
        case 10:  // square
            Glow(pic, cx, cy, 26, h, 2.0f);
            RoundRect(pic, cx - 15, cy - 15, 30, 30, 5, h);
            RoundRect(pic, cx - 7, cy - 7, 14, 14, 3, white);
            break;
        case 11:  // flower
            Glow(pic, cx, cy, 28, h, 2.0f);
            for (int i = 0; i < 6; ++i) {
                const float a = kPi * static_cast<float>(i) / 3.0f;
                Circle(pic, cx + 12 * std::cos(a), cy + 12 * std::sin(a), 8, h);
            }
            Circle(pic, cx, cy, 8, white);
            break;
        case 12:  // knife (points up)
            Glow(pic, cx, cy, 28, h, 2.0f);
            Polygon(
                pic,
                std::vector<Pt>{{cx, cy - 28}, {cx + 8, cy + 6}, {cx, cy + 12}, {cx - 8, cy + 6}},
                h);
            RoundRect(pic, cx - 3, cy + 10, 6, 16, 2, h);
            Segment(pic, {cx, cy - 22}, {cx, cy + 4}, 3, white);
            break;
        case 13:  // glowing bubble
            Glow(pic, cx, cy, 30, h, 1.0f);
            Ring(pic, cx, cy, 20, 3, white);
            Circle(pic, cx - 7, cy - 7, 5, WithAlpha(white, 0.8f));
            break;
        case 14:  // oval (points up)
            Glow(pic, cx, cy, 28, h, 1.6f);
            RoundRect(pic, cx - 9, cy - 22, 18, 44, 9, h);
            RoundRect(pic, cx - 4, cy - 15, 8, 30, 4, white);
            break;
        default:  // heart
            Glow(pic, cx, cy, 26, h, 2.0f);
            Circle(pic, cx - 8, cy - 4, 10, h);
            Circle(pic, cx + 8, cy - 4, 10, h);
            Polygon(pic, std::vector<Pt>{{cx - 17, cy}, {cx + 17, cy}, {cx, cy + 20}}, h);
            Circle(pic, cx, cy, 5, white);
            break;
    }
}

void BulletSheets(Output& out) {
    CmgBBI a = Black(256, 256);
    for (int i = 0; i < 16; ++i) {
        CmgBBI cell = Black(64, 64);
        BulletCell(cell, i, 0, 0);
        Compose(a, cell, (i % 4) * 64, (i / 4) * 64);
    }
    AlphaFromBrightness(a);
    out.Picture("costom256A.bmp", a, 32);

    // Vertical streaks of different widths and colours: beams and lasers.
    CmgBBI b = Black(256, 256);
    const std::uint32_t colours[] = {0xFF4060, 0x40A0FF, 0x60FF80, 0xFFE040};
    for (int i = 0; i < 16; ++i) {
        const int ox = (i % 4) * 64, oy = (i / 4) * 64;
        const Colour c = Rgb(colours[i % 4]);
        const float width = 3.0f + static_cast<float>(i / 4) * 3.0f;
        for (int y = 1; y < 63; ++y) {
            const float v = std::sin(kPi * (static_cast<float>(y) + 0.5f) / 64.0f);
            for (int x = 1; x < 63; ++x) {
                const float d = std::fabs(static_cast<float>(x) + 0.5f - 32) / width;
                const float core = std::exp(-d * d * 4.0f);
                const float halo = std::exp(-d * d * 0.5f) * 0.6f;
                AddLight(b, ox + x, oy + y, c, halo * std::pow(v, 0.3f));
                AddLight(b, ox + x, oy + y, Rgb(0xFFFFFF), core * std::pow(v, 0.3f));
            }
        }
    }
    AlphaFromBrightness(b);
    out.Picture("costom256B.bmp", b, 32);
}

// Bullets in cells of 32 on a magenta key with hard edges; the loader keys the
// background out and softens the edges itself.
void KeyedBullets(Output& out, const char* name, std::uint32_t seed) {
    constexpr std::uint32_t kKey = 0xFF00FF;
    CmgBBI pic = Transparent(128, 128);
    Rng rng(seed);
    for (int i = 0; i < 16; ++i) {
        const float cx = static_cast<float>((i % 4) * 32) + 16,
                    cy = static_cast<float>((i / 4) * 32) + 16;
        const Colour h = Mix(Rgb(0x2040FF + static_cast<std::uint32_t>(rng.Below(0x60)) * 0x10000),
                             Rgb(0x20E0FF), rng.Unit());
        const float r = 6.0f + static_cast<float>(i % 4) * 2.5f;
        auto hard = [&](float rr, Colour col) {
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const float px = cx - 16 + static_cast<float>(x) + 0.5f,
                                py = cy - 16 + static_cast<float>(y) + 0.5f;
                    if (((i / 4) % 2 == 0
                             ? SdCircle(px, py, cx, cy, rr)
                             : SdRoundBox(px, py, cx, cy, rr * 0.6f, rr, rr * 0.5f)) < 0) {
                        pic.Row(static_cast<int>(py))[static_cast<int>(px)] = Pack(col);
                    }
                }
            }
        };
        hard(r, Shade(h, 0.8f));
        hard(r - 2.5f, h);
        hard(r * 0.45f, Rgb(0xFFFFFF));
    }
    FlattenOnKey(pic, kKey);
    out.Picture(name, pic, 24);
}

void GlowLine(Output& out, const char* name, std::uint32_t rgb) {
    CmgBBI pic = Black(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float d = std::fabs(static_cast<float>(x) + 0.5f - 32) / 32.0f;
            AddLight(pic, x, y, Rgb(rgb), std::pow(1.0f - d, 2.5f));
            AddLight(pic, x, y, Rgb(0xFFFFFF), std::exp(-d * d * 200.0f));
        }
    }
    AlphaFromBrightness(pic);
    out.Picture(name, pic, 32);
}

// Sixteen frames of a sparkle: it flares up, turns and fades.
void SparkleSheet(Output& out, const char* name, std::uint32_t rgb, int points) {
    CmgBBI pic = Black(256, 256);
    for (int i = 0; i < 16; ++i) {
        const float t = static_cast<float>(i) / 15.0f;
        const float size = 6.0f + 24.0f * std::sin(kPi * (0.1f + 0.85f * t));
        const float cx = static_cast<float>((i % 4) * 64) + 32,
                    cy = static_cast<float>((i / 4) * 64) + 32;
        CmgBBI cell = Black(64, 64);
        Glow(cell, 32, 32, size + 4, Rgb(rgb), 2.0f);
        Polygon(cell, Star(32, 32, size, size * 0.25f, points, t * kPi / 2),
                Mix(Rgb(rgb), Rgb(0xFFFFFF), 0.5f));
        Circle(cell, 32, 32, std::max(1.5f, size * 0.18f), Rgb(0xFFFFFF));
        Compose(pic, cell, static_cast<int>(cx) - 32, static_cast<int>(cy) - 32);
    }
    AlphaFromBrightness(pic);
    out.Picture(name, pic, 32);
}

}  // namespace

void WriteEffectPictures(Output& out) {
    Flash(out);
    RingPicture(out);
    Hexagram(out);
    MagicCircle(out, "magic3.bmp", 0xA8D0FF, 5, 2, 3);
    MagicCircle(out, "magic4.bmp", 0xFFC8A0, 6, 2, 4);
    MagicCircle(out, "magic5.bmp", 0xD0A8FF, 7, 3, 5);
    MagicCircle(out, "magic6.bmp", 0xA8FFC8, 8, 3, 6);
    BulletSheets(out);
    KeyedBullets(out, "bitmap128A.bmp", 7);
    KeyedBullets(out, "bitmap128B.bmp", 8);
    GlowLine(out, "direct64_niz1.bmp", 0x60A0FF);
    GlowLine(out, "direct64_niz2.bmp", 0xFF60B0);
    SparkleSheet(out, "ani1.bmp", 0xFFE060, 4);
    SparkleSheet(out, "ani2.bmp", 0x60C0FF, 6);
    SparkleSheet(out, "ani3.bmp", 0xFF70C0, 5);
    SparkleSheet(out, "ani4.bmp", 0x80FF90, 8);
}

}  // namespace brumil::datagen
