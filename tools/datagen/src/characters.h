#pragma once
// The eight characters as simple figures: a robe, a head with hair, a headpiece
// and a held item, each character with its own colours and shapes. The same
// figure is drawn large for the portraits and small for the battle sprites.

#include <array>
#include <string_view>

#include "draw.h"

namespace brumil::datagen {

enum class Headpiece {
    WizardHat,
    Headband,
    FlowerCrown,
    Hood,
    BatWings,
    TwinHorns,
    StarHalo,
    Helmet
};
enum class HeldItem { Staff, Blade, Flower, Orb, Trident, Wand, CandyStar, Sword };

struct CharacterDesign {
    std::string_view folder;  // data sub-folder, e.g. "chara_vesna"
    Colour robe;
    Colour trim;
    Colour hair;
    Colour accent;  // headpiece and item glow
    Headpiece head;
    HeldItem item;
    float robeWidth;  // half width of the robe's hem, in figure units
};

// Ids 1 to 8 in the order of the character folders.
const std::array<CharacterDesign, 8>& CharacterDesigns();

struct Pose {
    float lean = 0;     // -1 leaning left .. 1 leaning right
    float bob = 0;      // vertical offset in figure units (positive down)
    float armLift = 0;  // 0 arm down .. 1 arm raised with the item
    float glow = 0;     // 0..1 light around the item
};

// Draws the figure in a box of 100 x 100 figure units with its top-left at
// (x, y) and `scale` pixels per unit, facing right. robeTint (alpha as the
// amount) colours the robe, e.g. blue for the first player.
void DrawFigure(CmgBBI& pic, float x, float y, float scale, const CharacterDesign& d,
                const Pose& pose, Colour robeTint);

}  // namespace brumil::datagen
