// Head-up display pictures, the ground tiles of the stage and the two
// full-screen pictures of the battle (frame and network wait).

#include <cmath>
#include <string>

#include "draw.h"
#include "pictures.h"
#include "text.h"

namespace brumil::datagen {

namespace {

const Colour kClear = Rgb(0xFFFFFF, 0);
const Colour kWhite = Rgb(0xFFFFFF);
const Colour kOutline = Rgb(0x101828, 0.85f);

CmgBBI Make(int w, int h, Colour c) {
    CmgBBI pic;
    pic.CreateBBI(w, h);
    Clear(pic, c);
    return pic;
}

void Target(Output& out) {
    CmgBBI pic = Make(16, 16, kClear);
    Ring(pic, 8, 8, 6, 1.4f, kWhite);
    for (float a : {0.0f, kPi / 2, kPi, 3 * kPi / 2}) {
        Segment(pic, {8 + 4 * std::cos(a), 8 + 4 * std::sin(a)},
                {8 + 7.5f * std::cos(a), 8 + 7.5f * std::sin(a)}, 1, kWhite);
    }
    FlattenOnKey(pic, 0x000000);
    out.Picture("terget.bmp", pic, 24);
}

// Quarters: filled gem, its outer layer, and two empty slot frames.
void LifeIcons(Output& out) {
    CmgBBI pic = Make(64, 64, Rgb(0x000000, 0));
    const auto gem = Regular(16, 16, 12, 4, 0);
    Polygon(pic, gem, Rgb(0xB0B0B0));
    Polygon(pic, std::vector<Pt>{{16, 4}, {28, 16}, {16, 16}}, Rgb(0xE8E8E8));
    Polygon(pic, std::vector<Pt>{{4, 16}, {16, 28}, {16, 16}}, Rgb(0x808080));
    Circle(pic, 13, 11, 2, Rgb(0xFFFFFF));
    PolygonOutline(pic, Regular(48, 16, 13, 4, 0), 2.5f, Rgb(0xF0F0F0));
    PolygonOutline(pic, Regular(48, 16, 9, 4, kPi / 4), 1.2f, Rgb(0xC0C0C0, 0.8f));
    Polygon(pic, Regular(16, 48, 13, 4, 0), Rgb(0x606060, 0.45f));
    PolygonOutline(pic, Regular(16, 48, 13, 4, 0), 2, Rgb(0xE0E0E0));
    PolygonOutline(pic, Regular(48, 48, 11, 4, 0), 1.5f, Rgb(0xD0D0D0));
    out.Picture("lifeiconset.bmp", pic, 32);
}

void Word(Output& out, const char* file, int size, const char* text) {
    CmgBBI pic = Make(size, size, kClear);
    const TextStyle style = FitWidth(text, {kGothic, size / 3, 1, 1}, size - 6);
    TextCentred(pic, static_cast<float>(size) / 2, static_cast<float>(size) / 2, text, style,
                kWhite, 1, kOutline);
    out.Picture(file, pic, 32);
}

void Digits(Output& out, const char* file, bool outline) {
    CmgBBI pic = Make(128, 128, outline ? kClear : Rgb(0x000000, 0));
    for (int d = 0; d < 10; ++d) {
        const float cx = static_cast<float>((d % 4) * 32) + 16,
                    cy = static_cast<float>((d / 4) * 32) + 16;
        const std::string text(1, static_cast<char>('0' + d));
        if (outline) {
            TextCentred(pic, cx, cy, text, {kGothic, 26, 1, 0}, kWhite, 1, kOutline);
        } else {
            // Light on black: the colour channels carry the coverage as well.
            CmgBBI cell = Make(32, 32, Rgb(0x000000, 0));
            TextCentred(cell, 16, 16, text, {kGothic, 26, 1, 0}, kWhite);
            for (auto& p : cell.Pixels()) {
                const std::uint32_t a = p >> 24;
                p = (a << 24) | (a << 16) | (a << 8) | a;
            }
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    pic.Row(static_cast<int>(cy) - 16 + y)[static_cast<int>(cx) - 16 + x] =
                        cell.Row(y)[x];
                }
            }
        }
    }
    out.Picture(file, pic, 32);
}

void LevelBands(Output& out) {
    CmgBBI pic = Make(64, 128, kClear);
    const char* names[] = {"Easy", "Normal", "Hard", "Fantastic", "Madness", "Apocalypse"};
    const int tops[] = {0, 21, 42, 64, 85, 106};
    for (int i = 0; i < 6; ++i) {
        const TextStyle style = FitWidth(names[i], {kPGothic, 15, 0, 0}, 58);
        TextCentred(pic, 32, static_cast<float>(tops[i]) + 10, names[i], style, kWhite, 1,
                    kOutline);
    }
    out.Picture("font_level.bmp", pic, 32);
}

void Gauge(Output& out) {
    CmgBBI pic = Make(64, 64, kWhite);
    GradientV(pic, 0, 0, 64, 64, Rgb(0xFFFFFF), Rgb(0xC8D0DC));
    FillRect(pic, 0, 0, 64, 2, Rgb(0xFFFFFF));
    out.Picture("gauge.bmp", pic, 24);
}

void Emblem(Output& out) {
    CmgBBI pic = Make(64, 64, kClear);
    Ring(pic, 32, 32, 29, 2.5f, kWhite);
    Ring(pic, 32, 32, 22, 1.2f, WithAlpha(kWhite, 0.8f));
    PolygonOutline(pic, Star(32, 32, 22, 9, 5, 0), 1.8f, kWhite);
    Circle(pic, 32, 32, 4, kWhite);
    out.Picture("magiccircle.bmp", pic, 32);
}

// Value noise that wraps around the tile edges.
float TileNoise(const std::vector<float>& grid, int n, float x, float y) {
    const float gx = x * static_cast<float>(n), gy = y * static_cast<float>(n);
    const int x0 = static_cast<int>(std::floor(gx)), y0 = static_cast<int>(std::floor(gy));
    const float fx = gx - static_cast<float>(x0), fy = gy - static_cast<float>(y0);
    auto at = [&](int i, int j) {
        return grid[static_cast<std::size_t>(((j % n + n) % n) * n + ((i % n + n) % n))];
    };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

void GroundTile(Output& out, const char* file, std::uint32_t low, std::uint32_t high,
                std::uint32_t line, std::uint32_t seed) {
    CmgBBI pic = Make(256, 256, Rgb(low));
    Rng rng(seed);
    constexpr int kN = 8;
    std::vector<float> coarse(kN * kN), fine(kN * 4 * kN * 4);
    for (auto& v : coarse) v = rng.Unit();
    for (auto& v : fine) v = rng.Unit();
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / 256,
                        v = (static_cast<float>(y) + 0.5f) / 256;
            const float n =
                0.7f * TileNoise(coarse, kN, u, v) + 0.3f * TileNoise(fine, kN * 4, u, v);
            Colour c = Mix(Rgb(low), Rgb(high), n);
            // A brighter grid every 64 pixels, a fainter one every 32.
            const float fx = std::fmod(static_cast<float>(x) + 0.5f, 64.0f),
                        fy = std::fmod(static_cast<float>(y) + 0.5f, 64.0f);
            const float dMajor = std::min({fx, 64 - fx, fy, 64 - fy});
            const float gx = std::fmod(static_cast<float>(x) + 0.5f, 32.0f),
                        gy = std::fmod(static_cast<float>(y) + 0.5f, 32.0f);
            const float dMinor = std::min({gx, 32 - gx, gy, 32 - gy});
            const float major = std::clamp(1.8f - dMajor, 0.0f, 1.0f);
            const float minor = 0.35f * std::clamp(1.0f - dMinor, 0.0f, 1.0f);
            c = Mix(c, Rgb(line), std::max(major, minor));
            // Brightness decides how much of the texture shows against the lighting.
            c.a = std::clamp(0.30f * c.r + 0.59f * c.g + 0.11f * c.b, 0.0f, 1.0f);
            pic.Row(y)[x] = Pack(c);
        }
    }
    out.Picture(file, pic, 32);
}

void BackScreen(Output& out) {
    CmgBBI pic = Make(640, 480, {});
    GradientV(pic, 0, 0, 640, 480, Rgb(0x141C30), Rgb(0x0A0E1A));
    for (int x = 0; x < 640; x += 8) FillRect(pic, x, 0, 4, 480, Rgb(0xFFFFFF, 0.03f));
    FillRect(pic, 0, 0, 640, 4, Rgb(0x1C2A48));
    FillRect(pic, 0, 2, 640, 1, Rgb(0x6C8CD0));
    FillRect(pic, 0, 472, 640, 8, Rgb(0x1C2A48));
    FillRect(pic, 0, 473, 640, 1, Rgb(0x6C8CD0));
    for (int x = 8; x < 640; x += 32) FillRect(pic, x, 476, 16, 2, Rgb(0x4A6090));
    out.Picture("TheBackScreen.bmp", pic, 24);

    CmgBBI wait = Make(640, 480, {});
    GradientV(wait, 0, 0, 640, 480, Rgb(0x183848), Rgb(0x0C1C28));
    for (int i = 0; i < 6; ++i) {
        Ring(wait, 520, 400, 60.0f + 50.0f * static_cast<float>(i), 2, Rgb(0x80D0E0, 0.10f));
    }
    Glow(wait, 320, 240, 260, Rgb(0x40A0B0, 0.25f), 2.0f);
    TextCentred(wait, 540, 456, "NETWORK", {kGothic, 16, 0, 6}, Rgb(0xA0D8E8, 0.5f));
    out.Picture("WaitNetwork.bmp", wait, 24);
}

}  // namespace

void WriteHudPictures(Output& out) {
    Target(out);
    LifeIcons(out);
    Word(out, "font_life.bmp", 64, "LIFE");
    Word(out, "font_score.bmp", 64, "SCORE");
    Word(out, "font_lv.bmp", 64, "Lv");
    Word(out, "font_mp.bmp", 64, "MP");
    Word(out, "font_fps.bmp", 32, "FPS");
    Digits(out, "font_scorenumber.bmp", true);
    Digits(out, "font_datanumber.bmp", false);
    LevelBands(out);
    Gauge(out);
    Emblem(out);
    GroundTile(out, "256x256_03.bmp", 0x1E3A2A, 0x3E6A4A, 0x9CE8B0, 3);
    GroundTile(out, "256x256_04.bmp", 0x241E48, 0x463C80, 0xB0A0FF, 4);
    GroundTile(out, "256x256_06.bmp", 0x3A2A1C, 0x6A4E34, 0xFFC890, 6);
    BackScreen(out);
}

}  // namespace brumil::datagen
