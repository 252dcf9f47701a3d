#include "battle/hud_sprite.h"

#include "framework/display.h"
#include "render/admin_lib.h"
#include "render/graphics.h"
#include "render/im_device.h"
#include "render/im_texture.h"

namespace brumil::battle {
namespace {

constexpr Single kFixed = 256.0f;
constexpr Long kWholePixelMask = ~Long{0xFF};

Long Fixed(Single value) {
    return RoundToLong(static_cast<double>(value) * kFixed);
}

}  // namespace

HudSprite MakeHudSprite(Long textureIndex, Single width, Single height, Single originX,
                        Single originY, Single u, Single v, Single uWidth, Single vHeight) {
    HudSprite s;
    s.TextureIndex = textureIndex;
    s.OriginX = Fixed(originX);
    s.OriginY = Fixed(originY);
    s.Width = Fixed(width);
    s.Height = Fixed(height);
    s.U0 = Fixed(u);
    s.V0 = Fixed(v);
    s.U1 = Fixed(u + uWidth);
    s.V1 = Fixed(v + vHeight);
    return s;
}

void LoadHudSprite(std::string_view name, Single width, Single height, Single originX,
                   Single originY, Single u, Single v, Single uWidth, Single vHeight,
                   HudSprite& sprite, Long keyFlag) {
    auto& textures = render::gIMTexture();
    const Long index = textures.Add(name);
    if (textures.AddedTexture() && keyFlag == 1) {
        if (auto g = textures.Item(index)) g->ChooseColorKeyAntiAreas2();
    }
    sprite = MakeHudSprite(index, width, height, originX, originY, u, v, uWidth, vHeight);
}

HudQuad HudSpriteQuad(const HudSprite& sprite, Long x, Long y, Single drawScale) {
    HudQuad q;
    q.x = static_cast<Single>((x & kWholePixelMask) / 256);
    q.y = static_cast<Single>((y & kWholePixelMask) / 256);
    q.width = static_cast<Single>(sprite.Width) / kFixed;
    q.height = static_cast<Single>(sprite.Height) / kFixed;
    if (drawScale != 1.0f) {
        q.x *= drawScale;
        q.y *= drawScale;
        q.width *= drawScale;
        q.height *= drawScale;
    }
    q.originX = static_cast<Single>(sprite.OriginX) / kFixed;
    q.originY = static_cast<Single>(sprite.OriginY) / kFixed;
    q.u0 = static_cast<Single>(sprite.U0) / kFixed;
    q.v0 = static_cast<Single>(sprite.V0) / kFixed;
    q.u1 = static_cast<Single>(sprite.U1) / kFixed;
    q.v1 = static_cast<Single>(sprite.V1) / kFixed;
    return q;
}

HudQuad HudRectQuad(Long x, Long y, Single width, Single height, Single originX, Single originY,
                    Single u, Single v, Single uWidth, Single vHeight, Single drawScale) {
    HudQuad q;
    q.x = static_cast<Single>(x) / kFixed;
    q.y = static_cast<Single>(y) / kFixed;
    q.width = width;
    q.height = height;
    if (drawScale != 1.0f) {
        q.x *= drawScale;
        q.y *= drawScale;
        q.width *= drawScale;
        q.height *= drawScale;
    }
    q.originX = originX;
    q.originY = originY;
    q.u0 = u;
    q.v0 = v;
    q.u1 = u + uWidth;
    q.v1 = v + vHeight;
    return q;
}

void DrawHudQuad(Long textureIndex, const HudQuad& quad, Long renderCode, Long colour, Single angle,
                 Single scale) {
    auto g = render::gIMTexture().Item(textureIndex);
    if (!g) return;
    render::CIMDevice& device = render::gIMDevice();
    g->ExistDDSTexture(true, true);
    device.SetTexture(g->Surface);
    const Single tu = g->tu();
    const Single tv = g->tv();
    const std::array<Long, 4> colours{colour, colour, colour, colour};
    device.SetRenderModeLE(renderCode);
    std::array<platform::D3DTLVERTEX, 4> v{};
    render::CIMDevice::GetD3DTLVERTEX_Box(v, quad.x - 0.5f, quad.y - 0.5f, quad.width, quad.height,
                                          quad.originX, quad.originY, quad.u0 * tu, quad.v0 * tv,
                                          quad.u1 * tu, quad.v1 * tv, angle, scale, colours);
    if (auto& d = framework::gD3DDevice()) {
        // A failed draw is dropped: the next sprite starts afresh.
        d->DrawPrimitive(platform::D3DPT_TRIANGLESTRIP, platform::D3DFVF_TLVERTEX,
                         std::span<const platform::D3DTLVERTEX>(v), 4, 0);
    }
}

void DrawHudSprite(const HudSprite& sprite, Long x, Long y, Long renderCode, Long colour,
                   Single angle, Single scale) {
    DrawHudQuad(sprite.TextureIndex, HudSpriteQuad(sprite, x, y, framework::GetDrawScale()),
                renderCode, colour, angle, scale);
}

void DrawHudSpriteRect(const HudSprite& sprite, Long x, Long y, Single width, Single height,
                       Single originX, Single originY, Single u, Single v, Single uWidth,
                       Single vHeight, Long renderCode, Long colour, Single angle, Single scale) {
    DrawHudQuad(sprite.TextureIndex,
                HudRectQuad(x, y, width, height, originX, originY, u, v, uWidth, vHeight,
                            framework::GetDrawScale()),
                renderCode, colour, angle, scale);
}

}  // namespace brumil::battle
