// Character portraits (420 x 420 with alpha, one per side) and battle sprite
// sheets (4 x 4 cells of 64, blue tone for the first player, red for the second).

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "characters.h"
#include "frontend/application_config.h"
#include "pictures.h"
#include "text.h"

namespace brumil::datagen {

namespace {

constexpr Colour kClear{1, 1, 1, 0};
const Colour kPlayerTint[2] = {Rgb(0x3058E0, 0.5f), Rgb(0xE03030, 0.5f)};

// The random pick: a grey figure behind a large question mark.
const CharacterDesign kUnknown{"chara_none",  Rgb(0x9AA2B4),   Rgb(0x6A7284), Rgb(0x7A8294),
                               Rgb(0xD0D8E8), Headpiece::Hood, HeldItem::Orb, 24};

// The character select writes the name and the description over the lower
// part of the portrait (the description ends at screen row 378 and takes up to
// seven lines of 16 pixels; the name sits below it) and places the portrait's
// top at screen row 30 plus the character's drop. Lit from above, the figure
// falls into shadow before those rows, so the texts stand on a dark ground.
constexpr int kPortraitTop = 30;
constexpr int kShadowFrom = 200, kShadowFull = 256;  // screen rows
constexpr float kShadowLevel = 0.25f;

void ShadeForTexts(CmgBBI& pic, int drop) {
    for (int y = 0; y < pic.GetHeight(); ++y) {
        const float screenRow = static_cast<float>(y + kPortraitTop + drop);
        const float t =
            std::clamp((screenRow - kShadowFrom) / (kShadowFull - kShadowFrom), 0.0f, 1.0f);
        const float k = 1.0f - (1.0f - kShadowLevel) * t * t * (3 - 2 * t);
        if (k >= 1.0f) continue;
        for (auto& p : std::span(pic.Row(y), static_cast<std::size_t>(pic.GetWidth()))) {
            const Colour c = Unpack(p);
            p = Pack({c.r * k, c.g * k, c.b * k, c.a});
        }
    }
}

CmgBBI Portrait(const CharacterDesign& d, bool rightSide, bool unknown, int drop) {
    CmgBBI pic;
    pic.CreateBBI(420, 420);
    Clear(pic, kClear);
    Pose pose;
    pose.armLift = rightSide ? 0.8f : 0.2f;
    pose.glow = rightSide ? 0.9f : 0.4f;
    pose.lean = rightSide ? 0.15f : 0.0f;
    // The right-side portrait faces left: drawn facing right, then mirrored.
    DrawFigure(pic, 10, 16, 4.0f, d, pose, kClear);
    if (rightSide) MirrorX(pic);
    if (unknown) {
        TextCentred(pic, 210, 200, "？", {kGothic, 220, 3, 0}, Rgb(0xFFFFFF, 0.95f), 6,
                    Rgb(0x30384C, 0.85f));
    }
    ShadeForTexts(pic, drop);
    return pic;
}

// Cells 0..2 idle, 5 moving left, 9 moving right; the others are further
// poses (casting, second steps, bows) so that every cell is filled.
std::array<Pose, 16> SheetPoses() {
    std::array<Pose, 16> p{};
    p[0] = {0, 0, 0.1f, 0};
    p[1] = {0, -1.5f, 0.15f, 0.2f};
    p[2] = {0, -3, 0.2f, 0.3f};
    p[3] = {0, -1.5f, 0.15f, 0.2f};
    p[4] = {0, 0, 1.0f, 0.8f};
    p[5] = {-1, 0, 0.1f, 0};
    p[6] = {-0.7f, -1.5f, 0.2f, 0};
    p[7] = {-0.3f, 0, 0.6f, 0.5f};
    p[8] = {0, -2, 0.8f, 1};
    p[9] = {1, 0, 0.1f, 0};
    p[10] = {0.7f, -1.5f, 0.2f, 0};
    p[11] = {0.3f, 0, 0.6f, 0.5f};
    p[12] = {0, 1.5f, 0.4f, 0.3f};
    p[13] = {0.2f, -2.5f, 0.9f, 0.7f};
    p[14] = {-0.2f, -2.5f, 0.9f, 0.7f};
    p[15] = {0, -4, 1.0f, 1};
    return p;
}

CmgBBI SpriteSheet(const CharacterDesign& d, int player) {
    CmgBBI sheet;
    sheet.CreateBBI(256, 256);
    Clear(sheet, kClear);
    const auto poses = SheetPoses();
    for (int i = 0; i < 16; ++i) {
        CmgBBI cell;
        cell.CreateBBI(64, 64);
        Clear(cell, kClear);
        DrawFigure(cell, 4, 8, 0.54f, d, poses[static_cast<std::size_t>(i)], kPlayerTint[player]);
        // Keep a clear margin so that filtering never picks up the neighbour cell.
        for (int k = 0; k < 64; ++k) {
            for (int m : {0, 1, 62, 63}) {
                cell.Row(m)[k] = Pack(kClear);
                cell.Row(k)[m] = Pack(kClear);
            }
        }
        Compose(sheet, cell, (i % 4) * 64, (i / 4) * 64);
    }
    return sheet;
}

}  // namespace

int CharacterFolderCount() {
    return static_cast<int>(CharacterDesigns().size()) + 1;
}

void WriteCharacterPictures(Output& out, int folderIndex) {
    if (folderIndex < 0 || folderIndex >= CharacterFolderCount()) return;
    // Folder index and character id are the same number (0 the random pick).
    const int drop = frontend::ApplicationConfig::CharaRect(folderIndex).Y;
    if (folderIndex == 0) {
        const std::string none(kUnknown.folder);
        out.Picture(none + "/images_1.bmp", Portrait(kUnknown, false, true, drop), 32);
        out.Picture(none + "/images_2.bmp", Portrait(kUnknown, true, true, drop), 32);
        return;
    }
    const CharacterDesign& d = CharacterDesigns()[static_cast<std::size_t>(folderIndex - 1)];
    const std::string folder(d.folder);
    out.Picture(folder + "/images_1.bmp", Portrait(d, false, false, drop), 32);
    out.Picture(folder + "/images_2.bmp", Portrait(d, true, false, drop), 32);
    out.Picture(folder + "/chara_0.bmp", SpriteSheet(d, 0), 32);
    out.Picture(folder + "/chara_1.bmp", SpriteSheet(d, 1), 32);
}

}  // namespace brumil::datagen
