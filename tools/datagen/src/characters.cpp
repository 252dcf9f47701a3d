#include "characters.h"

#include <cmath>

namespace brumil::datagen {

const std::array<CharacterDesign, 8>& CharacterDesigns() {
    static const std::array<CharacterDesign, 8> designs{{
        {"chara_vesna", Rgb(0xF2F4FA), Rgb(0x6C8CD8), Rgb(0xE8D9A8), Rgb(0x9CC8FF),
         Headpiece::WizardHat, HeldItem::Staff, 24},
        {"chara_pell", Rgb(0x5A6B7A), Rgb(0xD0D8E0), Rgb(0x3A3026), Rgb(0x80E0FF),
         Headpiece::Headband, HeldItem::Blade, 18},
        {"chara_odrane", Rgb(0xF8E0E8), Rgb(0xD04060), Rgb(0x2A2030), Rgb(0xFF90B8),
         Headpiece::FlowerCrown, HeldItem::Flower, 26},
        {"chara_marwenne", Rgb(0x3C2C6C), Rgb(0xC8A850), Rgb(0xB8C0D0), Rgb(0xFFB040),
         Headpiece::Hood, HeldItem::Orb, 25},
        {"chara_tolka", Rgb(0x2A1C2C), Rgb(0xB02040), Rgb(0xF0E6C8), Rgb(0xFF3050),
         Headpiece::BatWings, HeldItem::Trident, 20},
        {"chara_brisa", Rgb(0xB01828), Rgb(0x181818), Rgb(0x101010), Rgb(0xFF6040),
         Headpiece::TwinHorns, HeldItem::Wand, 23},
        {"chara_gundral", Rgb(0xFFE070), Rgb(0x60C0F0), Rgb(0xF8A0D0), Rgb(0xFFF080),
         Headpiece::StarHalo, HeldItem::CandyStar, 22},
        {"chara_emmet", Rgb(0x2C6040), Rgb(0xD8C070), Rgb(0x8A5A30), Rgb(0xFFF0B0),
         Headpiece::Helmet, HeldItem::Sword, 27},
    }};
    return designs;
}

namespace {

const Colour kSkin = Rgb(0xF6DCC8);
const Colour kLine = Rgb(0x202028, 0.9f);

struct Frame {
    float x, y, s, lean, bob;
    // Figure units to pixels; lean shears the upper body sideways.
    Pt P(float u, float v) const {
        const float shear = lean * (95 - v) * 0.12f;
        return {x + (u + shear) * s, y + (v + bob) * s};
    }
};

void Poly(CmgBBI& pic, const Frame& f, std::initializer_list<Pt> units, Colour c, bool outline) {
    std::vector<Pt> pts;
    for (const Pt& u : units) pts.push_back(f.P(u.x, u.y));
    Polygon(pic, pts, c);
    if (outline) PolygonOutline(pic, pts, std::max(1.0f, f.s * 0.7f), kLine);
}

void DrawHeadpiece(CmgBBI& pic, const Frame& f, const CharacterDesign& d) {
    const float s = f.s;
    switch (d.head) {
        case Headpiece::WizardHat:
            Poly(pic, f, {{30, 18}, {70, 18}, {58, 12}, {62, -2}, {47, 3}, {42, 12}}, d.trim, true);
            Poly(pic, f, {{26, 19}, {74, 19}, {70, 15}, {30, 15}}, d.trim, true);
            Circle(pic, f.P(62, -2).x, f.P(62, -2).y, 2.2f * s, d.accent);
            break;
        case Headpiece::Headband: {
            Poly(pic, f, {{37, 15}, {63, 15}, {63, 19}, {37, 19}}, d.trim, true);
            Poly(pic, f, {{37, 16}, {26, 22}, {28, 25}, {37, 19}}, d.trim, true);
            break;
        }
        case Headpiece::FlowerCrown:
            for (int i = 0; i < 5; ++i) {
                const Pt p = f.P(38 + 6.0f * static_cast<float>(i), 12 + (i % 2 ? -1.5f : 0.5f));
                Polygon(pic, Star(p.x, p.y, 3.6f * s, 1.8f * s, 5, 0.3f * static_cast<float>(i)),
                        d.accent);
                Circle(pic, p.x, p.y, 1.1f * s, Rgb(0xFFF4A0));
            }
            break;
        case Headpiece::Hood:
            Poly(pic, f,
                 {{33, 30},
                  {34, 14},
                  {42, 6},
                  {58, 6},
                  {66, 14},
                  {67, 30},
                  {61, 30},
                  {60, 16},
                  {40, 16},
                  {39, 30}},
                 d.robe, true);
            Circle(pic, f.P(50, 8).x, f.P(50, 8).y, 2.0f * s, d.accent);
            break;
        case Headpiece::BatWings:
            Poly(pic, f, {{38, 12}, {26, 2}, {28, 8}, {22, 8}, {27, 13}, {36, 16}}, d.robe, true);
            Poly(pic, f, {{62, 12}, {74, 2}, {72, 8}, {78, 8}, {73, 13}, {64, 16}}, d.robe, true);
            Circle(pic, f.P(50, 10).x, f.P(50, 10).y, 1.8f * s, d.accent);
            break;
        case Headpiece::TwinHorns:
            Poly(pic, f, {{39, 12}, {33, 1}, {43, 9}}, d.trim, true);
            Poly(pic, f, {{61, 12}, {67, 1}, {57, 9}}, d.trim, true);
            break;
        case Headpiece::StarHalo: {
            const Pt c = f.P(50, 6);
            Ring(pic, c.x, c.y, 10 * s, 1.5f * s, WithAlpha(d.accent, 0.9f));
            Polygon(pic, Star(c.x, c.y - 10 * s, 3.5f * s, 1.6f * s, 5, 0), d.accent);
            break;
        }
        case Headpiece::Helmet:
            Poly(pic, f,
                 {{36, 20},
                  {37, 10},
                  {44, 5},
                  {56, 5},
                  {63, 10},
                  {64, 20},
                  {60, 20},
                  {59, 13},
                  {41, 13},
                  {40, 20}},
                 d.trim, true);
            Poly(pic, f, {{49, 5}, {51, 5}, {52, -3}, {48, -3}}, d.accent, true);
            break;
    }
}

void DrawItem(CmgBBI& pic, const Frame& f, const CharacterDesign& d, Pt hand, float lift,
              float glow) {
    const float s = f.s;
    const float tipUp = 30 + 18 * lift;
    const Pt top{hand.x + 4 * s * (1 - lift), hand.y - tipUp * s};
    const Pt bottom{hand.x - 2 * s * (1 - lift), hand.y + 14 * s * (1 - lift)};
    if (glow > 0) Glow(pic, top.x, top.y, 10 * s, WithAlpha(d.accent, glow), 1.5f);
    switch (d.item) {
        case HeldItem::Staff:
            Segment(pic, bottom, top, 2.4f * s, Rgb(0x8A6A48));
            Circle(pic, top.x, top.y, 4.5f * s, d.accent);
            Ring(pic, top.x, top.y, 4.5f * s, 1.0f * s, kLine);
            break;
        case HeldItem::Blade:
            Segment(pic, hand, top, 3.0f * s, Rgb(0xE8F0F8));
            Segment(pic, {hand.x - 4 * s, hand.y}, {hand.x + 4 * s, hand.y}, 2.0f * s, d.trim);
            break;
        case HeldItem::Flower:
            Segment(pic, bottom, top, 1.6f * s, Rgb(0x40A050));
            Polygon(pic, Star(top.x, top.y, 6 * s, 3 * s, 6, 0), d.accent);
            Circle(pic, top.x, top.y, 2 * s, Rgb(0xFFF080));
            break;
        case HeldItem::Orb:
            Circle(pic, hand.x, hand.y - 9 * s, 7 * s, WithAlpha(d.accent, 0.95f));
            Circle(pic, hand.x - 2 * s, hand.y - 11 * s, 2.2f * s, Rgb(0xFFFFFF, 0.8f));
            Ring(pic, hand.x, hand.y - 9 * s, 7 * s, 0.9f * s, kLine);
            break;
        case HeldItem::Trident:
            Segment(pic, bottom, top, 2.0f * s, Rgb(0x303038));
            Segment(pic, {top.x - 5 * s, top.y + 4 * s}, {top.x + 5 * s, top.y + 4 * s}, 1.6f * s,
                    d.accent);
            for (int i = -1; i <= 1; ++i) {
                const float ox = 5.0f * s * static_cast<float>(i);
                Segment(pic, {top.x + ox, top.y + 4 * s}, {top.x + ox, top.y - 4 * s}, 1.6f * s,
                        d.accent);
            }
            break;
        case HeldItem::Wand:
            Segment(pic, hand, top, 1.8f * s, Rgb(0x181818));
            Circle(pic, top.x, top.y, 3.2f * s, d.accent);
            break;
        case HeldItem::CandyStar:
            Segment(pic, hand, top, 1.6f * s, Rgb(0xFFFFFF));
            Polygon(pic, Star(top.x, top.y, 8 * s, 3.6f * s, 5, 0.2f), d.accent);
            PolygonOutline(pic, Star(top.x, top.y, 8 * s, 3.6f * s, 5, 0.2f), 0.8f * s, kLine);
            break;
        case HeldItem::Sword:
            Segment(pic, hand, top, 4.2f * s, Rgb(0xDDE4EC));
            Segment(pic, hand, {top.x, top.y}, 1.0f * s, Rgb(0xFFFFFF));
            Segment(pic, {hand.x - 6 * s, hand.y - 2 * s}, {hand.x + 6 * s, hand.y - 2 * s},
                    2.6f * s, d.trim);
            break;
    }
}

}  // namespace

void DrawFigure(CmgBBI& pic, float x, float y, float scale, const CharacterDesign& d,
                const Pose& pose, Colour robeTint) {
    const Frame f{x, y, scale, pose.lean, pose.bob};
    const Colour robe = Mix(d.robe, WithAlpha(robeTint, 1.0f), robeTint.a);
    const float w = d.robeWidth;

    // Hair behind the head.
    Poly(pic, f, {{36, 20}, {64, 20}, {67, 42}, {60, 46}, {40, 46}, {33, 42}}, d.hair, true);
    // Robe and its trim.
    Poly(pic, f, {{42, 36}, {58, 36}, {50 + w, 95}, {50 - w, 95}}, robe, true);
    Poly(pic, f, {{50 - w + 2, 90}, {50 + w - 2, 90}, {50 + w, 95}, {50 - w, 95}}, d.trim, false);
    Poly(pic, f, {{48, 37}, {52, 37}, {53, 80}, {47, 80}}, d.trim, false);
    // Back arm.
    Segment(pic, f.P(44, 42), f.P(37, 62), 4.5f * scale, Shade(robe, 0.8f));
    // Head.
    const Pt head = f.P(50, 24);
    Circle(pic, head.x, head.y, 10.5f * scale, kSkin);
    Ring(pic, head.x, head.y, 10.5f * scale, 0.7f * scale, kLine);
    // Fringe and eyes (facing right).
    Poly(pic, f, {{39, 20}, {61, 18}, {62, 24}, {56, 21}, {50, 23}, {44, 20}, {40, 25}}, d.hair,
         false);
    Circle(pic, f.P(54, 26).x, f.P(54, 26).y, 1.3f * scale, Rgb(0x283048));
    Circle(pic, f.P(59, 26).x, f.P(59, 26).y, 1.1f * scale, Rgb(0x283048));
    DrawHeadpiece(pic, f, d);
    // Front arm holding the item.
    const Pt shoulder = f.P(56, 42);
    const Pt hand = f.P(66 + 4 * pose.armLift, 60 - 16 * pose.armLift);
    DrawItem(pic, f, d, hand, pose.armLift, pose.glow);
    Segment(pic, shoulder, hand, 4.5f * scale, robe);
    Circle(pic, hand.x, hand.y, 2.4f * scale, kSkin);
}

}  // namespace brumil::datagen
