#pragma once
// The head-up display's sprite painters: a HUD sprite is a part of a cached
// texture drawn as one textured screen quad (a four-vertex strip) with a
// pivot, an angle and a scale. Used by the head-up display and the
// character overlays. Positions are in 1/256 pixel of the 640 x 480 logical
// screen; the drawing scale of the display is applied here.

#include <array>
#include <string_view>

#include "core/vb_types.h"
#include "platform/gfx/d3d_types.h"

namespace brumil::battle {

// Nine 32-bit integers: the texture, the size and pivot (x 256), the used
// part of the picture (fractions x 256).
struct HudSprite {
    Long TextureIndex = 0;
    Long Width = 0, Height = 0;
    Long OriginX = 0, OriginY = 0;
    Long U0 = 0, V0 = 0, U1 = 0, V1 = 0;
    bool operator==(const HudSprite&) const = default;
};

// The record of LoadHudSprite without the texture cache: sizes in pixels,
// origin and texture part as fractions, each stored x 256 and rounded.
HudSprite MakeHudSprite(Long textureIndex, Single width, Single height, Single originX,
                        Single originY, Single u, Single v, Single uWidth, Single vHeight);

// Adds the texture to the cache (a new entry with key flag 1 gets its colour
// key with soft edges) and fills the sprite.
void LoadHudSprite(std::string_view name, Single width, Single height, Single originX,
                   Single originY, Single u, Single v, Single uWidth, Single vHeight,
                   HudSprite& sprite, Long keyFlag);

// One quad before it reaches the device: the box handed to
// GetD3DTLVERTEX_Box (screen pixels, pivot fraction) and the texture
// corners as fractions of the picture (multiplied by tu, tv when drawn).
struct HudQuad {
    Single x = 0, y = 0, width = 0, height = 0;
    Single originX = 0, originY = 0;
    Single u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

// DrawHudSprite's quad: whole pixels (low 8 bits of x, y cleared), the
// sprite's size, pivot and texture part, all times the drawing scale.
HudQuad HudSpriteQuad(const HudSprite& sprite, Long x, Long y, Single drawScale);
// DrawHudSpriteRect's quad: x, y keep their fraction; size, pivot and
// texture part as given.
HudQuad HudRectQuad(Long x, Long y, Single width, Single height, Single originX, Single originY,
                    Single u, Single v, Single uWidth, Single vHeight, Single drawScale);

void DrawHudSprite(const HudSprite& sprite, Long x, Long y, Long renderCode, Long colour,
                   Single angle, Single scale);
void DrawHudSpriteRect(const HudSprite& sprite, Long x, Long y, Single width, Single height,
                       Single originX, Single originY, Single u, Single v, Single uWidth,
                       Single vHeight, Long renderCode, Long colour, Single angle, Single scale);

// Draws a quad with the texture of cache entry `textureIndex`.
void DrawHudQuad(Long textureIndex, const HudQuad& quad, Long renderCode, Long colour, Single angle,
                 Single scale);

}  // namespace brumil::battle
