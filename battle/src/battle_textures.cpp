#include "battle/battle_textures.h"

#include <string>

#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_texture.h"

namespace brumil::battle {
namespace {

constexpr Long kBlendPlain = 593;
constexpr Long kBlendAdd = 597;
constexpr Long kCells4x4 = 10;

constexpr std::array<EffectSlot, kEffectSlotCount> kEffects = {{
    {8, "magic0", true, false, kBlendPlain, 0},
    {9, "magic1", true, false, kBlendPlain, 0},
    {10, "magic2", false, false, kBlendPlain, 0},
    {11, "magic3", false, false, kBlendPlain, 0},
    {12, "magic4", false, false, kBlendPlain, 0},
    {13, "magic5", false, false, kBlendPlain, 0},
    {14, "magic6", false, false, kBlendPlain, 0},
    {16, "costom256A", true, false, kBlendPlain, kCells4x4},
    {17, "bitmap128A", false, true, kBlendPlain, kCells4x4},
    {18, "bitmap128B", false, true, kBlendPlain, kCells4x4},
    {24, "direct64_niz1", true, false, kBlendAdd, 0},
    {25, "direct64_niz2", true, false, kBlendAdd, 0},
    {26, "costom256B", true, false, kBlendAdd, kCells4x4},
    {32, "ani1", true, true, kBlendPlain, kCells4x4},
    {33, "ani2", true, true, kBlendPlain, kCells4x4},
    {34, "ani3", true, true, kBlendPlain, kCells4x4},
    {35, "ani4", true, true, kBlendPlain, kCells4x4},
}};

void SetSlot(PlayerRecord& record, Long slot, Long texture, Long blend, Long cells) {
    const auto s = static_cast<std::size_t>(slot);
    record.SpriteTexture[s] = texture;
    record.SpriteBlend[s] = blend;
    record.SpriteCells[s] = cells;
}

}  // namespace

const std::array<EffectSlot, kEffectSlotCount>& EffectSlots() {
    return kEffects;
}

void LoadCharaTextures(const BGameOption& options, PlayerRecord& record) {
    render::CIMTexture& cache = render::gIMTexture();
    const std::string name0 = std::string(options.CharaFolder(0)) + "chara_0.bmp";
    const std::string name1 = std::string(options.CharaFolder(1)) + "chara_1.bmp";
    record.CharaSlot = record.Index;
    SetSlot(record, 0, cache.Add(name0), kBlendPlain, kCells4x4);
    SetSlot(record, 1, cache.Add(name1), kBlendPlain, kCells4x4);
    const Long d = record.Index == 0 ? -1 : 1;
    const Long chara = options.CharaID(record.Index);
    if (chara == 1 || chara == 2) {
        record.SpawnDX = -kSpawnShift * d;
        record.SpawnDY = 0;
    }
}

void LoadEffectTextures(PlayerRecord& record) {
    render::CIMTexture& cache = render::gIMTexture();
    for (const EffectSlot& row : kEffects) {
        const Long index = cache.Add(row.name);
        if (cache.AddedTexture()) {
            if (const auto graphic = cache.Item(index)) {
                if (row.vivit) graphic->ChooseVivit(0);
                if (row.colorKey) graphic->ChooseColorKeyAntiAreas2();
            }
        }
        SetSlot(record, row.slot, index, row.blend, row.cells);
    }
}

}  // namespace brumil::battle
